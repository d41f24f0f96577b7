#include "bolton/BoltonPage.h"
#include "printing/PrintActions.h"
#include "records/PatientName.h"

#include "bolton/BoltonFile.h"
#include "bolton/BoltonMemo.h"
#include "entry/EntryFilter.h"
#include "platform/PageContext.h"
#include "records/IoError.h"
#include "records/Statistics.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QString kMolarHint = QStringLiteral("Área de transferência para Análise Total de Espaço");

// A label whose stored text keeps the program's "\r" line breaks (the report and the tests read
// it as written) but shows them as breaks.
class BreakingLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize sizeHint() const override { return textSize(); }
    QSize minimumSizeHint() const override { return textSize(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(),
                              platform::DisplayText(text()), foregroundRole());
    }

private:
    QSize textSize() const
    {
        const QRect r = fontMetrics().boundingRect(QRect(0, 0, 2000, 2000), int(alignment()), platform::DisplayText(text()));
        const QMargins m = contentsMargins();
        return {r.width() + m.left() + m.right(), r.height() + m.top() + m.bottom()};
    }
};

QFrame* line(QFrame::Shape shape)
{
    auto* f = new QFrame;
    f->setFrameShape(shape);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

QLabel* caption(const QString& text, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter)
{
    auto* l = new QLabel(text);
    l->setAlignment(align);
    return l;
}

void setColour(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

void setBold(QWidget* w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

void setPointSize(QWidget* w, qreal size)
{
    QFont f = w->font();
    f.setPointSizeF(size);
    w->setFont(f);
}

// Read-only reference table: no frame, the page's colour, an arrow cursor, no menu. The blank
// lines between data lines are drawn low so both tables fit beside each other.
QTextEdit* memo(const QString& name, const QString& text, const QString& description)
{
    auto* m = new QTextEdit;
    m->setObjectName(name);
    m->setReadOnly(true);
    m->setFrameShape(QFrame::NoFrame);
    m->setFocusPolicy(Qt::NoFocus);
    m->setContextMenuPolicy(Qt::PreventContextMenu);
    m->setTextInteractionFlags(Qt::NoTextInteraction);
    m->viewport()->setCursor(Qt::ArrowCursor);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setLineWrapMode(QTextEdit::NoWrap);
    m->viewport()->setAutoFillBackground(false);
    m->setAutoFillBackground(false);
    m->setAccessibleName(description);
    setPointSize(m, 8);
    m->document()->setDocumentMargin(2);
    // Evenly spaced tab stops: each line is S, I, gap, S, I, gap, S, I, spread under the rule.
    const QFontMetricsF fm(m->font());
    const qreal maxillary = std::max(fm.horizontalAdvance(QStringLiteral("103 --")), fm.horizontalAdvance(QStringLiteral("55,0 --")));
    const qreal rule = fm.horizontalAdvance(QString(89, u'-'));
    m->setTabStopDistance(std::max(maxillary + 8, (rule - fm.horizontalAdvance(QStringLiteral("100,4"))) / 7));
    m->setPlainText(text);
    int n = 0;
    for (QTextBlock b = m->document()->begin(); b.isValid(); b = b.next(), ++n) {
        if (n > 3 && b.text().isEmpty()) {
            QTextCursor c(b);
            QTextBlockFormat f = b.blockFormat();
            f.setLineHeight(75, QTextBlockFormat::ProportionalHeight);
            c.setBlockFormat(f);
        }
    }
    const QSizeF docSize = m->document()->size();
    m->setFixedHeight(int(std::ceil(docSize.height())) + 2);
    m->setMinimumWidth(int(std::ceil(docSize.width())) + 2);
    return m;
}

}  // namespace

BoltonPage::BoltonPage(platform::PageContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("TabSheet2"));
    buildSheet();
}

QLineEdit* BoltonPage::toothField(const QString& name, const QString& accessibleName, int typedLimit)
{
    auto* f = new QLineEdit;
    f->setObjectName(name);
    f->setAccessibleName(accessibleName);
    f->setAlignment(Qt::AlignCenter);
    f->setFixedWidth(40);
    EntryFilter::install(f, EntryRule::real(RealFamily::Positive, typedLimit, m_context.warner()));
    return f;
}

QLabel* BoltonPage::resultLabel(const QString& name, const QString& description)
{
    auto* l = name.startsWith(QStringLiteral("diag")) && name.endsWith(QStringLiteral("info")) ? new BreakingLabel
                                                                                              : new QLabel;
    l->setObjectName(name);
    l->setAccessibleDescription(description);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QPushButton* BoltonPage::button(const QString& name, const QString& text)
{
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setCursor(Qt::PointingHandCursor);
    setBold(b);
    return b;
}

void BoltonPage::buildSheet()
{
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(6);

    // Patient.
    auto* patientRow = new QHBoxLayout;
    auto* patientLabel = new QLabel(QStringLiteral("Paciente"));
    m_paciente = new QLineEdit;
    m_paciente->setObjectName(QStringLiteral("bpaciente"));
    m_paciente->setAccessibleName(QStringLiteral("Paciente"));
    patientLabel->setBuddy(m_paciente);
    EntryFilter::install(m_paciente, EntryRule::name(m_context.warner()));
    patientRow->addWidget(patientLabel);
    patientRow->addWidget(m_paciente, 1);
    page->addLayout(patientRow);

    // The worksheet.
    auto* dtd = new QGroupBox(QStringLiteral("Discrepância de Tamanho Dentário"));
    dtd->setObjectName(QStringLiteral("dtd"));
    auto* sheet = new QVBoxLayout(dtd);
    sheet->setSpacing(4);
    sheet->setContentsMargins(6, 6, 6, 6);

    // Teeth: the lower row runs from third molar to third molar, each tooth under its upper
    // partner; the midline stands between the sixth and seventh columns.
    auto* teethRow = new QHBoxLayout;
    auto* teeth = new QGridLayout;
    teeth->setHorizontalSpacing(3);
    teeth->setVerticalSpacing(3);
    auto* superior = caption(QStringLiteral("Superior"), Qt::AlignLeft | Qt::AlignVCenter);
    auto* inferior = caption(QStringLiteral("Inferior"), Qt::AlignLeft | Qt::AlignVCenter);
    teeth->addWidget(superior, 0, 0);
    teeth->addWidget(line(QFrame::HLine), 1, 1, 1, 18);
    teeth->addWidget(inferior, 2, 0);
    auto toothColumn = [](int k) { return k <= 6 ? 2 + k : 3 + k; };  // tooth 1..12
    for (int k = 1; k <= 12; ++k) {
        const QString n = QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
        m_s[size_t(k - 1)] = toothField(QStringLiteral("s") + n, QStringLiteral("Superior %1").arg(k), 4);
        m_i[size_t(k - 1)] = toothField(QStringLiteral("i") + n, QStringLiteral("Inferior %1").arg(k), 4);
        teeth->addWidget(m_s[size_t(k - 1)], 0, toothColumn(k));
        teeth->addWidget(m_i[size_t(k - 1)], 2, toothColumn(k));
    }
    teeth->addWidget(line(QFrame::VLine), 0, 9, 3, 1, Qt::AlignHCenter);
    m_termole = toothField(QStringLiteral("termole"), QStringLiteral("Terceiro molar inferior esquerdo"), 0);
    m_segmole = toothField(QStringLiteral("segmole"), QStringLiteral("Segundo molar inferior esquerdo"), 0);
    m_segmold = toothField(QStringLiteral("segmold"), QStringLiteral("Segundo molar inferior direito"), 0);
    m_termold = toothField(QStringLiteral("termold"), QStringLiteral("Terceiro molar inferior direito"), 0);
    for (QLineEdit* m : molars()) {
        QPalette p = m->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));
        m->setPalette(p);
        m->setToolTip(kMolarHint);
    }
    teeth->addWidget(m_termole, 2, 1);
    teeth->addWidget(m_segmole, 2, 2);
    teeth->addWidget(m_segmold, 2, 16);
    teeth->addWidget(m_termold, 2, 17);
    teethRow->addLayout(teeth);
    teethRow->addSpacing(8);

    // Sums beside the rows they add up.
    auto* sums = new QGridLayout;
    sums->setHorizontalSpacing(4);
    sums->setVerticalSpacing(3);
    auto addSum = [&](int row, int col, const QString& text, const QString& name) {
        sums->addWidget(caption(text + QStringLiteral(" :")), row, col);
        QLabel* l = resultLabel(name, text);
        l->setMinimumWidth(36);
        setColour(l, kBlue);
        sums->addWidget(l, row, col + 1);
    };
    addSum(0, 0, QStringLiteral("S 12"), QStringLiteral("sup12res"));
    addSum(0, 2, QStringLiteral("S 06"), QStringLiteral("sup6res"));
    sums->addItem(new QSpacerItem(0, 0), 1, 0);
    addSum(2, 0, QStringLiteral("I 12"), QStringLiteral("inf12res"));
    addSum(2, 2, QStringLiteral("I 06"), QStringLiteral("inf6res"));
    sums->setColumnMinimumWidth(1, 38);
    sums->setColumnMinimumWidth(3, 38);
    sums->setColumnMinimumWidth(2, 44);
    teethRow->addLayout(sums);
    teethRow->addStretch(1);
    sheet->addLayout(teethRow);
    sheet->addWidget(line(QFrame::HLine));

    // One half per ratio: the fraction, the search line, the reference table.
    auto* halves = new QHBoxLayout;
    halves->setSpacing(10);
    auto half = [&](const QString& teeth, const QString& sfx, const QString& memoName, const QString& memoText,
                    const QString& memoDescription) {
        auto* column = new QVBoxLayout;
        column->setSpacing(4);

        auto* fraction = new QGridLayout;
        fraction->setHorizontalSpacing(6);
        fraction->setVerticalSpacing(0);
        fraction->addWidget(caption(QStringLiteral("I ") + teeth + QStringLiteral(" :")), 0, 0);
        QLabel* cinf = resultLabel(QStringLiteral("cinf") + sfx + QStringLiteral("res"), QStringLiteral("Fração: I ") + teeth);
        QLabel* csup = resultLabel(QStringLiteral("csup") + sfx + QStringLiteral("res"), QStringLiteral("Fração: S ") + teeth);
        for (QLabel* l : {cinf, csup}) {
            l->setAlignment(Qt::AlignCenter);
            l->setMinimumWidth(44);
            setColour(l, kBlue);
        }
        fraction->addWidget(cinf, 0, 1);
        fraction->addWidget(line(QFrame::HLine), 1, 0, 1, 2);
        fraction->addWidget(caption(QStringLiteral("S ") + teeth + QStringLiteral(" :")), 2, 0);
        fraction->addWidget(csup, 2, 1);
        fraction->addWidget(caption(QStringLiteral("x 100 =")), 0, 2, 3, 1);
        QLabel* ratio = resultLabel(QStringLiteral("x100") + sfx + QStringLiteral("res"),
                                    QStringLiteral("I ") + teeth + QStringLiteral(" x 100"));
        ratio->setMinimumWidth(64);
        setColour(ratio, kBlue);
        setBold(ratio);
        fraction->addWidget(ratio, 0, 3, 3, 1);
        fraction->setColumnStretch(4, 1);
        column->addLayout(fraction);

        auto* search = new QGridLayout;
        search->setHorizontalSpacing(6);
        search->setVerticalSpacing(0);
        QLabel* busca = resultLabel(QStringLiteral("busca") + sfx, QStringLiteral("Busca ") + teeth);
        busca->setMinimumWidth(56);
        QLabel* buscaRes = resultLabel(QStringLiteral("busca") + sfx + QStringLiteral("res"), QStringLiteral("Soma buscada ") + teeth);
        QLabel* tab = resultLabel(QStringLiteral("tab") + sfx + QStringLiteral("res"), QStringLiteral("Tab ") + teeth);
        QLabel* res = resultLabel(QStringLiteral("res") + sfx, QStringLiteral("Excesso ") + teeth + QStringLiteral(" (mm)"));
        for (QLabel* l : {busca, buscaRes, tab})
            setColour(l, kBlue);
        setColour(res, kRed);
        setBold(res);
        for (QLabel* l : {buscaRes, tab, res}) {
            l->setAlignment(Qt::AlignCenter);
            l->setMinimumWidth(44);
        }
        QLabel* infoBusca = resultLabel(QStringLiteral("infobusca") + sfx + QStringLiteral("res"),
                                        QStringLiteral("Arcada buscada ") + teeth);
        QLabel* resInfo = resultLabel(QStringLiteral("res") + sfx + QStringLiteral("info"),
                                      QStringLiteral("Arcada do excesso ") + teeth);
        QLabel* tabCaption = new QLabel(QStringLiteral("Tab"));
        for (QLabel* l : {infoBusca, resInfo, tabCaption}) {
            l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            setPointSize(l, 7);
        }
        search->addWidget(busca, 0, 0);
        search->addWidget(buscaRes, 0, 1);
        search->addWidget(caption(QStringLiteral("-"), Qt::AlignCenter), 0, 2);
        search->addWidget(tab, 0, 3);
        search->addWidget(caption(QStringLiteral("="), Qt::AlignCenter), 0, 4);
        search->addWidget(res, 0, 5);
        search->addWidget(caption(QStringLiteral("mm"), Qt::AlignLeft | Qt::AlignVCenter), 0, 6);
        search->addWidget(infoBusca, 1, 1);
        search->addWidget(tabCaption, 1, 3);
        search->addWidget(resInfo, 1, 5);
        search->setColumnStretch(7, 1);
        column->addLayout(search);

        column->addWidget(memo(memoName, memoText, memoDescription));
        column->addStretch(1);
        return column;
    };
    halves->addLayout(half(QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("Memo12"), Memo12Text(),
                           QStringLiteral("Tabela de Bolton, 12 dentes")),
                      1);
    halves->addWidget(line(QFrame::VLine));
    halves->addLayout(half(QStringLiteral("06"), QStringLiteral("6"), QStringLiteral("Memo6"), Memo6Text(),
                           QStringLiteral("Tabela de Bolton, 6 dentes")),
                      1);
    sheet->addLayout(halves);
    page->addWidget(dtd);

    // Diagnosis and buttons.
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(10);
    auto* diag = new QGroupBox(QStringLiteral("Diagnóstico"));
    diag->setObjectName(QStringLiteral("diag"));
    auto* diagGrid = new QGridLayout(diag);
    diagGrid->setContentsMargins(8, 4, 8, 6);
    diagGrid->setHorizontalSpacing(16);
    diagGrid->setVerticalSpacing(2);
    auto addDiagnosis = [&](int row, const QString& sfx, const QString& teeth) {
        QLabel* info = resultLabel(QStringLiteral("diag") + sfx + QStringLiteral("info"), QStringLiteral("Diagnóstico ") + teeth);
        QLabel* text = resultLabel(QStringLiteral("diag") + sfx, QStringLiteral("Diagnóstico ") + teeth);
        info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        info->setMinimumHeight(3 * info->fontMetrics().lineSpacing());
        setColour(text, kBlue);
        setBold(text);
        text->setMinimumHeight(text->fontMetrics().lineSpacing() + 2);
        diagGrid->addWidget(info, row, 0);
        diagGrid->addWidget(text, row + 1, 0);
    };
    addDiagnosis(0, QStringLiteral("12"), QStringLiteral("12 dentes"));
    addDiagnosis(2, QStringLiteral("6"), QStringLiteral("6 dentes"));
    bottom->addWidget(diag, 1);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(8);
    buttons->setRowStretch(0, 1);
    buttons->setRowStretch(3, 1);
    m_calcular = button(QStringLiteral("bCalcular"), QStringLiteral("CALCULAR"));
    m_limpar = button(QStringLiteral("blimpar"), QStringLiteral("LIMPAR"));
    QPushButton* salvar = button(QStringLiteral("bsalvar"), QStringLiteral("SALVAR"));
    QPushButton* abrir = button(QStringLiteral("babrir"), QStringLiteral("ABRIR"));
    QPushButton* sair = button(QStringLiteral("bsair"), QStringLiteral("SAIR"));
    QPushButton* imprimir = button(QStringLiteral("bimprimir"), QStringLiteral("IMPRIMIR"));
    const QList<QPushButton*> order = {m_calcular, m_limpar, salvar, abrir, imprimir, sair};
    for (int k = 0; k < order.size(); ++k) {
        order[k]->setMinimumWidth(104);
        order[k]->setFixedHeight(34);
        buttons->addWidget(order[k], 1 + k / 3, k % 3);
    }
    bottom->addLayout(buttons);
    page->addLayout(bottom);

    m_abrirb = new QCheckBox(QStringLiteral("abrirb"), this);
    m_abrirb->setObjectName(QStringLiteral("abrirb"));
    m_abrirb->setVisible(false);

    connect(m_calcular, &QPushButton::clicked, this, &BoltonPage::bCalcularClick);
    connect(m_limpar, &QPushButton::clicked, this, &BoltonPage::blimparClick);
    connect(salvar, &QPushButton::clicked, this, &BoltonPage::bsalvarClick);
    connect(abrir, &QPushButton::clicked, this, &BoltonPage::babrirClick);
    connect(imprimir, &QPushButton::clicked, this, &BoltonPage::bimprimirClick);
    connect(sair, &QPushButton::clicked, this, [this] {
        if (isSignalConnected(QMetaMethod::fromSignal(&BoltonPage::exitRequested)))
            emit exitRequested();
        else
            QCoreApplication::exit(0);
    });

    // Tab order: patient, upper row, lower row from molar to molar, then the buttons.
    QList<QWidget*> chain = {m_paciente};
    for (QLineEdit* f : m_s)
        chain << f;
    chain << m_termole << m_segmole;
    for (QLineEdit* f : m_i)
        chain << f;
    chain << m_segmold << m_termold << m_calcular << m_limpar << salvar << abrir << sair << imprimir;
    for (int k = 0; k + 1 < chain.size(); ++k)
        setTabOrder(chain[k], chain[k + 1]);
}

std::array<QLineEdit*, 4> BoltonPage::molars() const { return {m_termole, m_segmole, m_segmold, m_termold}; }

QList<QLineEdit*> BoltonPage::allInputs() const
{
    QList<QLineEdit*> all = {m_paciente};
    for (size_t k = 0; k < 12; ++k)
        all << m_s[k] << m_i[k];
    for (QLineEdit* m : molars())
        all << m;
    return all;
}

void BoltonPage::bimprimirClick()
{
    if (!m_reports)
        return;
    BoltonReportTexts t;
    t.bpaciente = m_paciente->text();
    for (size_t k = 0; k < 12; ++k) {
        t.s[k] = m_s[k]->text();
        t.i[k] = m_i[k]->text();
    }
    const auto shown = [this](const char* name) {
        const QLabel* l = findChild<QLabel*>(QLatin1String(name));
        return l ? l->text() : QString();
    };
    t.sup12res = shown("sup12res");
    t.sup6res = shown("sup6res");
    t.inf12res = shown("inf12res");
    t.inf6res = shown("inf6res");
    t.busca12 = shown("busca12");
    t.busca6 = shown("busca6");
    t.busca12res = shown("busca12res");
    t.busca6res = shown("busca6res");
    t.infobusca12res = shown("infobusca12res");
    t.infobusca6res = shown("infobusca6res");
    t.res12info = shown("res12info");
    t.res6info = shown("res6info");
    t.tab12res = shown("tab12res");
    t.tab6res = shown("tab6res");
    t.res12 = shown("res12");
    t.res6 = shown("res6");
    t.cinf12res = shown("cinf12res");
    t.csup12res = shown("csup12res");
    t.cinf6res = shown("cinf6res");
    t.csup6res = shown("csup6res");
    t.x10012res = shown("x10012res");
    t.x1006res = shown("x1006res");
    t.diag12info = shown("diag12info");
    t.diag12 = shown("diag12");
    t.diag6info = shown("diag6info");
    t.diag6 = shown("diag6");
    PrintBolton(*m_reports, m_context, t);
}

BoltonInputs BoltonPage::inputs() const
{
    BoltonInputs in;
    in.bpaciente = m_paciente->text();
    for (size_t k = 0; k < 12; ++k) {
        in.s[k] = m_s[k]->text();
        in.i[k] = m_i[k]->text();
    }
    in.termole = m_termole->text();
    in.segmole = m_segmole->text();
    in.segmold = m_segmold->text();
    in.termold = m_termold->text();
    return in;
}

void BoltonPage::writeResults(const BoltonResults& r, bool fromTable)
{
    for (const BoltonResultLabel& entry : kBoltonResultLabels)
        if (entry.fromTable == fromTable)
            findChild<QLabel*>(QString::fromLatin1(entry.name))->setText(r.*entry.text);
}

void BoltonPage::clearResults()
{
    for (const BoltonResultLabel& entry : kBoltonResultLabels)
        findChild<QLabel*>(QString::fromLatin1(entry.name))->clear();
}

void BoltonPage::setInputsReadOnly(bool locked, bool molarsToo)
{
    m_paciente->setReadOnly(locked);
    for (size_t k = 0; k < 12; ++k) {
        m_s[k]->setReadOnly(locked);
        m_i[k]->setReadOnly(locked);
    }
    for (QLineEdit* m : molars())
        m->setReadOnly(locked && molarsToo);
}

void BoltonPage::bCalcularClick()
{
    const BoltonInputs in = inputs();
    const QString refusal = BoltonRefusal(in);
    if (!refusal.isEmpty()) {
        m_context.warn(refusal);
        return;
    }
    bool lockMolars = false;
    if (!MolarsFilled(in) && !m_abrirb->isChecked()) {
        // Closing the box without an answer is no consent either.
        if (m_context.confirm(kMolarQuestion) != platform::Answer::Yes)
            return;
        lockMolars = true;
    }
    BoltonResults r;
    try {
        RecordStatistic('b');
        r = ComputeBoltonSums(in);
        writeResults(r, false);
        // Read at every calculation, so a changed table takes effect without a restart.
        const BoltonTable table = ReadBoltonTables();
        CompleteBolton(r, table);
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    writeResults(r, true);

    setInputsReadOnly(true, lockMolars);
    m_calcular->setEnabled(false);
    if (!m_abrirb->isChecked())
        m_limpar->setText(QStringLiteral("VOLTAR"));
}

void BoltonPage::blimparClick()
{
    if (m_limpar->text() != QStringLiteral("LIMPAR")) {
        clearResults();
        setInputsReadOnly(false, false);
        m_calcular->setEnabled(true);
        m_limpar->setText(QStringLiteral("LIMPAR"));
        return;
    }
    for (QLineEdit* f : allInputs())
        f->clear();
    clearResults();
    setInputsReadOnly(false, false);
    m_calcular->setEnabled(true);
    m_abrirb->setChecked(false);
}

void BoltonPage::NewAnalysis()
{
    blimparClick();
    blimparClick();
}

void BoltonPage::bsalvarClick()
{
    if (findChild<QLabel*>(QStringLiteral("diag12"))->text().isEmpty()) {
        m_context.warn(QStringLiteral("A Análise não está concluída!"));
        return;
    }
    const BoltonInputs in = inputs();
    BoltonFileRecord record;
    record.paciente = in.bpaciente;
    record.s = in.s;
    record.i = in.i;
    record.termole = in.termole;
    record.termold = in.termold;
    record.segmole = in.segmole;
    record.segmold = in.segmold;
    if (in.bpaciente.isEmpty()) {
        m_context.warn(QStringLiteral("O nome do paciente deve ser preenchido!"));
        return;
    }
    // A name read from a file was never filtered: it must not lead outside the analyses folder.
    if (!IsSafePatientName(in.bpaciente)) {
        m_context.error(QStringLiteral("O nome do paciente contém caracteres inválidos!"));
        return;
    }
    const QString path = BoltonFilePath(in.bpaciente);
    if (QFileInfo::exists(path)) {
        m_context.error(QStringLiteral("Já existe análise para este paciente!"));
        return;
    }
    try {
        WriteBoltonFile(path, record);
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    m_context.inform(QStringLiteral("Arquivo Gravado com sucesso!"));
}

void BoltonPage::LoadBoltonFile(const QString& path)
{
    const BoltonFileRecord r = ReadBoltonFile(path);
    m_paciente->setText(r.paciente);
    for (size_t k = 0; k < 12; ++k) {
        m_s[k]->setText(r.s[k]);
        m_i[k]->setText(r.i[k]);
    }
    m_termole->setText(r.termole);
    m_termold->setText(r.termold);
    m_segmole->setText(r.segmole);
    m_segmold->setText(r.segmold);
}

void BoltonPage::babrirClick()
{
    platform::Dialogs& dialogs = m_context.dialogs();
    // The open-file dialog disabled the tray item; every way out of here enables it again.
    struct EnableHideItem {
        platform::Dialogs& d;
        ~EnableHideItem() { d.setHideItemEnabled(true); }
    } enableAtEnd{dialogs};

    const QString path =
        dialogs.OpenFile({QStringLiteral("bol"), QStringLiteral("Arquivo de Análise de Bolton|*.bol")});
    if (!path.contains(QStringLiteral(".bol")))
        return;
    const QString paciente = m_paciente->text();
    if (!paciente.isEmpty() && path.contains(paciente)) {
        m_context.error(QStringLiteral("O arquivo já está aberto!"));
        return;
    }
    blimparClick();
    try {
        LoadBoltonFile(path);
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    m_abrirb->setChecked(true);
    bCalcularClick();
}

}  // namespace qv
