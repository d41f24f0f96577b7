#include "bolton/BoltonPageLayout.h"

#include "analysis/BoltonMemo.h"
#include "entry/EntryFilter.h"
#include "platform/PageContext.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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


// Creates the controls group by group and remembers each in its slot of BoltonPageControls.
class Builder {
public:
    Builder(QWidget* page, platform::PageContext& context) : m_page(page), m_context(context) {}

    BoltonPageControls build()
    {
        auto* layout = new QVBoxLayout(m_page);
        layout->setContentsMargins(6, 6, 6, 6);
        layout->setSpacing(6);
        for (size_t k = 0; k < BoltonFields().size(); ++k)
            c.fields[k] = entryField(BoltonFields()[k]);
        layout->addLayout(patientRow());
        layout->addWidget(worksheet());
        auto* bottom = new QHBoxLayout;
        bottom->setSpacing(10);
        bottom->addWidget(diagnosis(), 1);
        bottom->addLayout(buttons());
        layout->addLayout(bottom);

        c.abrirb = new QCheckBox(QStringLiteral("abrirb"), m_page);
        c.abrirb->setObjectName(QStringLiteral("abrirb"));
        c.abrirb->setVisible(false);
        tabOrder();
        return c;
    }

private:
    QLineEdit* field(BoltonKey key) const { return c.fields[size_t(key)]; }

    QLineEdit* entryField(const BoltonField& f)
    {
        auto* e = new QLineEdit;
        e->setObjectName(f.objectName);
        e->setAccessibleName(f.caption);
        if (f.kind == BoltonFieldKind::Patient) {
            EntryFilter::install(e, EntryRule::name(m_context.warner()));
            return e;
        }
        e->setAlignment(Qt::AlignCenter);
        e->setFixedWidth(40);
        // Teeth take four typed characters; the molars, which only feed the total space window, any number.
        const int typedLimit = f.kind == BoltonFieldKind::Tooth ? 4 : 0;
        EntryFilter::install(e, EntryRule::real(RealFamily::Positive, typedLimit, m_context.warner()));
        if (f.kind == BoltonFieldKind::Molar) {
            QPalette p = e->palette();
            p.setColor(QPalette::Base, p.color(QPalette::Button));
            e->setPalette(p);
            e->setToolTip(kMolarHint);
        }
        return e;
    }

    QLabel* result(const QString& name, const QString& description)
    {
        auto* l = name.startsWith(QStringLiteral("diag")) && name.endsWith(QStringLiteral("info")) ? new BreakingLabel
                                                                                                  : new QLabel;
        l->setObjectName(name);
        l->setAccessibleDescription(description);
        l->setTextFormat(Qt::PlainText);
        for (size_t k = 0; k < kBoltonResultLabels.size(); ++k)
            if (name == QLatin1String(kBoltonResultLabels[k].name))
                c.results[k] = l;
        return l;
    }

    QPushButton* button(const QString& name, const QString& text)
    {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setCursor(Qt::PointingHandCursor);
        setBold(b);
        return b;
    }

    QHBoxLayout* patientRow()
    {
        auto* row = new QHBoxLayout;
        QLineEdit* paciente = c.fields[0];
        auto* label = new QLabel(BoltonFields()[0].caption);
        label->setBuddy(paciente);
        row->addWidget(label);
        row->addWidget(paciente, 1);
        return row;
    }

    // Teeth: the lower row runs from third molar to third molar, each tooth under its upper
    // partner; the midline stands between the sixth and seventh columns. Sums beside the rows.
    QHBoxLayout* teethRow()
    {
        auto* teethRow = new QHBoxLayout;
        auto* teeth = new QGridLayout;
        teeth->setHorizontalSpacing(3);
        teeth->setVerticalSpacing(3);
        teeth->addWidget(caption(QStringLiteral("Superior"), Qt::AlignLeft | Qt::AlignVCenter), 0, 0);
        teeth->addWidget(line(QFrame::HLine), 1, 1, 1, 18);
        teeth->addWidget(caption(QStringLiteral("Inferior"), Qt::AlignLeft | Qt::AlignVCenter), 2, 0);
        const auto toothColumn = [](int tooth) { return tooth < 6 ? 3 + tooth : 4 + tooth; };  // tooth 0..11
        const std::pair<BoltonKey, int> molarColumns[] = {
            {BoltonKey::termole, 1}, {BoltonKey::segmole, 2}, {BoltonKey::segmold, 16}, {BoltonKey::termold, 17}};
        for (size_t k = 0; k < BoltonFields().size(); ++k) {
            const BoltonField& f = BoltonFields()[k];
            if (f.kind == BoltonFieldKind::Tooth)
                teeth->addWidget(c.fields[k], f.row == &BoltonSheet::s ? 0 : 2, toothColumn(f.tooth));
        }
        for (const auto& [key, column] : molarColumns)
            teeth->addWidget(field(key), 2, column);
        teeth->addWidget(line(QFrame::VLine), 0, 9, 3, 1, Qt::AlignHCenter);
        teethRow->addLayout(teeth);
        teethRow->addSpacing(8);

        auto* sums = new QGridLayout;
        sums->setHorizontalSpacing(4);
        sums->setVerticalSpacing(3);
        auto addSum = [&](int row, int col, const QString& text, const QString& name) {
            sums->addWidget(caption(text + QStringLiteral(" :")), row, col);
            QLabel* l = result(name, text);
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
        return teethRow;
    }

    // One half per ratio: the fraction, the search line, the reference table.
    QVBoxLayout* half(const QString& teeth, const QString& sfx, const QString& memoName, const QString& memoText,
                      const QString& memoDescription)
    {
        auto* column = new QVBoxLayout;
        column->setSpacing(4);

        auto* fraction = new QGridLayout;
        fraction->setHorizontalSpacing(6);
        fraction->setVerticalSpacing(0);
        fraction->addWidget(caption(QStringLiteral("I ") + teeth + QStringLiteral(" :")), 0, 0);
        QLabel* cinf = result(QStringLiteral("cinf") + sfx + QStringLiteral("res"), QStringLiteral("Fração: I ") + teeth);
        QLabel* csup = result(QStringLiteral("csup") + sfx + QStringLiteral("res"), QStringLiteral("Fração: S ") + teeth);
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
        QLabel* ratio = result(QStringLiteral("x100") + sfx + QStringLiteral("res"), QStringLiteral("I ") + teeth + QStringLiteral(" x 100"));
        ratio->setMinimumWidth(64);
        setColour(ratio, kBlue);
        setBold(ratio);
        fraction->addWidget(ratio, 0, 3, 3, 1);
        fraction->setColumnStretch(4, 1);
        column->addLayout(fraction);

        auto* search = new QGridLayout;
        search->setHorizontalSpacing(6);
        search->setVerticalSpacing(0);
        QLabel* busca = result(QStringLiteral("busca") + sfx, QStringLiteral("Busca ") + teeth);
        busca->setMinimumWidth(56);
        QLabel* buscaRes = result(QStringLiteral("busca") + sfx + QStringLiteral("res"), QStringLiteral("Soma buscada ") + teeth);
        QLabel* tab = result(QStringLiteral("tab") + sfx + QStringLiteral("res"), QStringLiteral("Tab ") + teeth);
        QLabel* res = result(QStringLiteral("res") + sfx, QStringLiteral("Excesso ") + teeth + QStringLiteral(" (mm)"));
        for (QLabel* l : {busca, buscaRes, tab})
            setColour(l, kBlue);
        setColour(res, kRed);
        setBold(res);
        for (QLabel* l : {buscaRes, tab, res}) {
            l->setAlignment(Qt::AlignCenter);
            l->setMinimumWidth(44);
        }
        QLabel* infoBusca = result(QStringLiteral("infobusca") + sfx + QStringLiteral("res"), QStringLiteral("Arcada buscada ") + teeth);
        QLabel* resInfo = result(QStringLiteral("res") + sfx + QStringLiteral("info"), QStringLiteral("Arcada do excesso ") + teeth);
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
    }

    QGroupBox* worksheet()
    {
        auto* dtd = new QGroupBox(QStringLiteral("Discrepância de Tamanho Dentário"));
        dtd->setObjectName(QStringLiteral("dtd"));
        auto* sheet = new QVBoxLayout(dtd);
        sheet->setSpacing(4);
        sheet->setContentsMargins(6, 6, 6, 6);
        sheet->addLayout(teethRow());
        sheet->addWidget(line(QFrame::HLine));
        auto* halves = new QHBoxLayout;
        halves->setSpacing(10);
        halves->addLayout(half(QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("Memo12"), Memo12Text(),
                               QStringLiteral("Tabela de Bolton, 12 dentes")),
                          1);
        halves->addWidget(line(QFrame::VLine));
        halves->addLayout(half(QStringLiteral("06"), QStringLiteral("6"), QStringLiteral("Memo6"), Memo6Text(),
                               QStringLiteral("Tabela de Bolton, 6 dentes")),
                          1);
        sheet->addLayout(halves);
        return dtd;
    }

    QGroupBox* diagnosis()
    {
        auto* diag = new QGroupBox(QStringLiteral("Diagnóstico"));
        diag->setObjectName(QStringLiteral("diag"));
        auto* grid = new QGridLayout(diag);
        grid->setContentsMargins(8, 4, 8, 6);
        grid->setHorizontalSpacing(16);
        grid->setVerticalSpacing(2);
        auto add = [&](int row, const QString& sfx, const QString& teeth) {
            QLabel* info = result(QStringLiteral("diag") + sfx + QStringLiteral("info"), QStringLiteral("Diagnóstico ") + teeth);
            QLabel* text = result(QStringLiteral("diag") + sfx, QStringLiteral("Diagnóstico ") + teeth);
            info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            info->setMinimumHeight(3 * info->fontMetrics().lineSpacing());
            setColour(text, kBlue);
            setBold(text);
            text->setMinimumHeight(text->fontMetrics().lineSpacing() + 2);
            grid->addWidget(info, row, 0);
            grid->addWidget(text, row + 1, 0);
        };
        add(0, QStringLiteral("12"), QStringLiteral("12 dentes"));
        add(2, QStringLiteral("6"), QStringLiteral("6 dentes"));
        return diag;
    }

    QGridLayout* buttons()
    {
        auto* grid = new QGridLayout;
        grid->setSpacing(8);
        grid->setRowStretch(0, 1);
        grid->setRowStretch(3, 1);
        c.calcular = button(QStringLiteral("bCalcular"), QStringLiteral("CALCULAR"));
        c.limpar = button(QStringLiteral("blimpar"), QStringLiteral("LIMPAR"));
        c.salvar = button(QStringLiteral("bsalvar"), QStringLiteral("SALVAR"));
        c.abrir = button(QStringLiteral("babrir"), QStringLiteral("ABRIR"));
        c.sair = button(QStringLiteral("bsair"), QStringLiteral("SAIR"));
        c.imprimir = button(QStringLiteral("bimprimir"), QStringLiteral("IMPRIMIR"));
        const QList<QPushButton*> order = {c.calcular, c.limpar, c.salvar, c.abrir, c.imprimir, c.sair};
        for (int k = 0; k < order.size(); ++k) {
            order[k]->setMinimumWidth(104);
            order[k]->setFixedHeight(34);
            grid->addWidget(order[k], 1 + k / 3, k % 3);
        }
        return grid;
    }

    // Patient, upper row, lower row from molar to molar, then the buttons.
    void tabOrder()
    {
        QList<QWidget*> chain = {c.fields[0]};
        for (int k = 1; k <= 12; ++k)
            chain << field(UpperTooth(k));
        chain << field(BoltonKey::termole) << field(BoltonKey::segmole);
        for (int k = 1; k <= 12; ++k)
            chain << field(LowerTooth(k));
        chain << field(BoltonKey::segmold) << field(BoltonKey::termold) << c.calcular << c.limpar << c.salvar << c.abrir << c.sair
              << c.imprimir;
        for (int k = 0; k + 1 < chain.size(); ++k)
            QWidget::setTabOrder(chain[k], chain[k + 1]);
    }

    QWidget* m_page;
    platform::PageContext& m_context;
    BoltonPageControls c;
};

}  // namespace

BoltonPageControls BuildBoltonPage(QWidget* page, platform::PageContext& context)
{
    return Builder(page, context).build();
}

}  // namespace qv
