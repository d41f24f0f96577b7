#include "guide/GuideWindow.h"

#include "guide/GuideRules.h"
#include "platform/Dialogs.h"
#include "records/Statistics.h"
#include "records/IoError.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <initializer_list>

namespace qv {

namespace {

const QString kCaption = QStringLiteral("Guia Diagnóstico");
const QString kMedium = QStringLiteral("Média");
const QString kMild = QStringLiteral("Suave");
const QString kOpenBite = QStringLiteral("Vertical - Mordida Aberta");
const QString kDeepBite = QStringLiteral("Vertical - Mordida Profunda");

// Boxes shown only under another answer keep their place while hidden, so the fixed-size
// window never reflows.
void KeepPlace(QWidget* w)
{
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
    w->hide();
}

void Show(std::initializer_list<QWidget*> widgets)
{
    for (QWidget* w : widgets)
        w->show();
}

void Enable(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* w : widgets)
        w->setEnabled(enabled);
}

// Hiding comes first; unchecking then runs the box's own rule when it was checked.
void HideAndUncheck(std::initializer_list<QAbstractButton*> boxes)
{
    for (QAbstractButton* b : boxes) {
        b->hide();
        b->setChecked(false);
    }
}

QLabel* Heading(const QString& name, const QString& caption)
{
    auto* label = new QLabel(caption);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* Separator(const QString& name)
{
    auto* label = new QLabel(QString(42, u'_'));
    label->setObjectName(name);
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    KeepPlace(label);
    return label;
}

}  // namespace

GuideWindow::GuideWindow(platform::Dialogs& dialogs, GuideLinks links, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint)
    , m_dialogs(dialogs)
    , m_links(std::move(links))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(kCaption);
    build();
    connectRules();
    setFixedSize(sizeHint());
}

QCheckBox* GuideWindow::box(const QString& name, const QString& caption)
{
    auto* b = new QCheckBox(caption);
    b->setObjectName(name);
    m_controls.insert(name, b);
    return b;
}

QRadioButton* GuideWindow::radio(const QString& name, const QString& caption)
{
    auto* b = new QRadioButton(caption);
    b->setObjectName(name);
    m_controls.insert(name, b);
    return b;
}

void GuideWindow::build()
{
    auto* cl = new QGroupBox(QStringLiteral("Marque a existência ou não dos seguintes complementos para diagnóstico:"));
    cl->setObjectName(QStringLiteral("cl"));

    daapinh = box(QStringLiteral("daapinh"), QStringLiteral("Existe Apinhamento"));
    menor = box(QStringLiteral("menor"), QStringLiteral("Menor que 3mm"));
    maior = box(QStringLiteral("maior"), QStringLiteral("Maior que 3mm"));
    dmapinh = box(QStringLiteral("dmapinh"), QStringLiteral("Existe Apinhamento Dentário"));
    dmrel = box(QStringLiteral("dmrel"), QStringLiteral("A relação dos molares é de Classe II"));
    dmpro = box(QStringLiteral("dmpro"), QStringLiteral("Existe protrusão dos incisivos superiores"));
    dpadq = box(QStringLiteral("dpadq"), QStringLiteral("Terceiros molares em posição ADEQUADA"));
    dpinadeq = box(QStringLiteral("dpinadeq"), QStringLiteral("Terceiros molares em posição INADEQUADA"));
    clsim = radio(QStringLiteral("clsim"), QStringLiteral("Sim"));
    clnao = radio(QStringLiteral("clnao"), QStringLiteral("Não"));
    horcl2 = box(QStringLiteral("horcl2"), QStringLiteral("Horizontal - Classe II"));
    direita = box(QStringLiteral("direita"), QStringLiteral("Subdivisão direita"));
    esquerda = box(QStringLiteral("esquerda"), QStringLiteral("Subdivisão esquerda"));
    sem = box(QStringLiteral("sem"), QStringLiteral("Sem subdivisão"));
    horcl3 = box(QStringLiteral("horcl3"), QStringLiteral("Horizontal - Classe III"));
    aberta = box(QStringLiteral("aberta"), kOpenBite);
    suave = box(QStringLiteral("suave"), kMild);
    media = box(QStringLiteral("media"), kMedium);
    severa = box(QStringLiteral("severa"), QStringLiteral("Severa"));
    profunda = box(QStringLiteral("profunda"), kDeepBite);
    desarm = box(QStringLiteral("desarm"), QStringLiteral("Desarmonia Facial"));
    dessuave = box(QStringLiteral("dessuave"), kMild);
    dessevera = box(QStringLiteral("dessevera"), QStringLiteral("Severa"));
    label1 = Separator(QStringLiteral("Label1"));
    label2 = Separator(QStringLiteral("Label2"));
    auto* clpergunta = new QLabel(QStringLiteral("Paciente possui desarmonia esquelética?"));
    clpergunta->setObjectName(QStringLiteral("clpergunta"));

    // Captions that repeat say, to a screen reader, what they answer or grade.
    const QString question = clpergunta->text();
    clsim->setAccessibleDescription(question);
    clnao->setAccessibleDescription(question);
    for (QWidget* w : {direita, esquerda, sem})
        w->setAccessibleDescription(horcl2->text());
    for (QWidget* w : {suave, media, severa})
        w->setAccessibleDescription(kOpenBite);
    for (QWidget* w : {dessuave, dessevera})
        w->setAccessibleDescription(desarm->text());

    clnao->setChecked(true);
    for (QCheckBox* b : {menor, maior, horcl2, direita, esquerda, sem, horcl3, aberta, suave, media, severa,
                         profunda, desarm, dessuave, dessevera})
        KeepPlace(b);

    // Column 0 holds the answers, columns 1 to 3 the grades beside them; answers of a
    // section are indented under its heading.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(4);
    grid->setColumnMinimumWidth(0, 16);
    int row = 0;
    const auto heading = [&](const QString& name, const QString& caption) {
        if (row > 0)
            grid->setRowMinimumHeight(row++, 8);
        grid->addWidget(Heading(name, caption), row++, 0, 1, 5);
    };
    const auto line = [&](QWidget* first, std::initializer_list<QWidget*> beside = {}) {
        grid->addWidget(first, row, 1, 1, beside.size() == 0 ? 4 : 1);
        int column = 2;
        for (QWidget* w : beside)
            grid->addWidget(w, row, column++);
        ++row;
    };

    heading(QStringLiteral("da"), QStringLiteral("A - Discrepância Anterior:"));
    line(daapinh, {menor, maior});
    heading(QStringLiteral("dm"), QStringLiteral("B - Discrepância Média:"));
    line(dmapinh);
    line(dmrel);
    line(dmpro);
    heading(QStringLiteral("dp"), QStringLiteral("C - Discrepância Posterior:"));
    line(dpadq);
    line(dpinadeq);
    heading(QStringLiteral("de"), QStringLiteral("D - Desarmonia Esquelética:"));
    line(clpergunta, {clsim, clnao});
    line(horcl2, {direita, esquerda, sem});
    line(horcl3);
    line(label1);
    line(aberta, {suave, media, severa});
    line(profunda);
    line(label2);
    line(desarm, {dessuave, dessevera});
    grid->setColumnStretch(4, 1);
    cl->setLayout(grid);

    gcancelar = new QPushButton(QStringLiteral("CANCELAR"));
    gcancelar->setObjectName(QStringLiteral("gcancelar"));
    glimpar = new QPushButton(QStringLiteral("LIMPAR"));
    glimpar->setObjectName(QStringLiteral("glimpar"));
    gdiag = new QPushButton(QStringLiteral("DIAGNÓSTICO"));
    gdiag->setObjectName(QStringLiteral("gdiag"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {gcancelar, glimpar, gdiag}) {
        b->setMinimumWidth(130);
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    outer->setSpacing(12);
    outer->addWidget(cl);
    outer->addLayout(buttons);

    connect(gcancelar, &QPushButton::clicked, this, &GuideWindow::gcancelarClick);
    connect(glimpar, &QPushButton::clicked, this, &GuideWindow::glimparClick);
    connect(gdiag, &QPushButton::clicked, this, &GuideWindow::gdiagClick);
}

bool GuideWindow::mediaIsMedium() const { return media->text() == kMedium; }

void GuideWindow::describeDeepBite(bool deep)
{
    for (QWidget* w : {media, severa})
        w->setAccessibleDescription(deep ? kDeepBite : kOpenBite);
}

// Each rule runs on a change of state only (toggled, not clicked), whether the change comes
// from the user, another rule, LIMPAR or a file being loaded.
void GuideWindow::connectRules()
{
    const auto rule = [this](QAbstractButton* b, auto f) { connect(b, &QAbstractButton::toggled, this, f); };

    rule(clsim, [this](bool on) {
        if (on)
            Show({horcl2, horcl3, aberta, profunda, desarm, label1, label2});
    });
    rule(clnao, [this](bool on) {
        if (!on)
            return;
        HideAndUncheck({horcl2, horcl3, aberta, profunda, desarm});
        label1->hide();
        label2->hide();
    });
    rule(horcl2, [this](bool on) {
        horcl3->setEnabled(!on);
        if (on)
            Show({direita, esquerda, sem});
        else
            HideAndUncheck({direita, esquerda, sem});
    });
    rule(horcl3, [this](bool on) { horcl2->setEnabled(!on); });
    rule(direita, [this](bool on) { Enable({esquerda, sem}, !on); });
    rule(esquerda, [this](bool on) { Enable({direita, sem}, !on); });
    rule(sem, [this](bool on) { Enable({esquerda, direita}, !on); });
    rule(aberta, [this](bool on) {
        profunda->setEnabled(!on);
        if (on)
            Show({suave, media, severa});
        else
            HideAndUncheck({suave, media, severa});
    });
    // The deep bite has two grades: it borrows media, captioned "Suave", and severa.
    rule(profunda, [this](bool on) {
        aberta->setEnabled(!on);
        media->setText(on ? kMild : kMedium);
        describeDeepBite(on);
        if (on)
            Show({media, severa});
        else
            HideAndUncheck({media, severa});
    });
    rule(suave, [this](bool on) { Enable({media, severa}, !on); });
    rule(media, [this](bool on) {
        if (mediaIsMedium())
            Enable({suave, severa}, !on);
        else
            severa->setEnabled(!on);
    });
    rule(severa, [this](bool on) {
        if (mediaIsMedium())
            Enable({suave, media}, !on);
        else
            media->setEnabled(!on);
    });
    rule(desarm, [this](bool on) {
        if (on)
            Show({dessuave, dessevera});
        else
            HideAndUncheck({dessuave, dessevera});
    });
    rule(dessuave, [this](bool on) { dessevera->setEnabled(!on); });
    rule(dessevera, [this](bool on) { dessuave->setEnabled(!on); });
    rule(daapinh, [this](bool on) {
        if (on)
            Show({menor, maior});
        else
            HideAndUncheck({menor, maior});
    });
    rule(menor, [this](bool on) { maior->setEnabled(!on); });
    rule(maior, [this](bool on) { menor->setEnabled(!on); });
    rule(dpadq, [this](bool on) { dpinadeq->setEnabled(!on); });
    rule(dpinadeq, [this](bool on) { dpadq->setEnabled(!on); });
}

GuideAnswers GuideWindow::answers() const
{
    GuideAnswers a;
    for (const GuideAnswerField& field : kGuideAnswerFields)
        a.*field.member = m_controls.value(QString::fromUtf16(field.name))->isChecked();
    return a;
}

QAbstractButton* GuideWindow::answerControl(const QString& name) const { return m_controls.value(name); }

bool GuideWindow::answer(const QString& name) const
{
    const QAbstractButton* b = answerControl(name);
    return b && b->isChecked();
}

void GuideWindow::setAnswer(const QString& name, bool checked)
{
    // A checked radio button cannot be unchecked by itself: its partner takes over.
    if (!checked && (name == u"clsim" || name == u"clnao")) {
        (name == u"clsim" ? clnao : clsim)->setChecked(true);
        return;
    }
    if (QAbstractButton* b = answerControl(name))
        b->setChecked(checked);
}

void GuideWindow::centreOnScreen()
{
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void GuideWindow::Open(const QString& pageCaption)
{
    // The guide acts as a modal dialog: Form2 and the tray item stay disabled while it shows.
    if (m_links.setMainWindowEnabled)
        m_links.setMainWindowEnabled(false);
    m_dialogs.setHideItemEnabled(false);
    m_dialogs.ShowNotice(platform::NoticeKind::Information,
                         QStringLiteral("O diagnóstico gerado é meramente sugestivo, devendo o profissional considerar\r"
                                        "              outros aspectos antes da definição do plano de tratamento!"),
                         pageCaption, /*enableAfter=*/false);
    centreOnScreen();
    show();
    if (!isMinimized()) {
        raise();
        activateWindow();
    }
}

void GuideWindow::leaveGuide()
{
    if (m_links.setMainWindowEnabled)
        m_links.setMainWindowEnabled(true);
    hide();
    m_dialogs.setHideItemEnabled(true);
}

void GuideWindow::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void GuideWindow::FormClose() { leaveGuide(); }

void GuideWindow::gcancelarClick()
{
    glimparClick();
    FormClose();
}

void GuideWindow::glimparClick() { ClearGuide(); }

void GuideWindow::ClearGuide()
{
    for (QAbstractButton* b : {daapinh, dmapinh, dmrel, dmpro, dpadq, dpinadeq})
        b->setChecked(false);
    clnao->setChecked(true);
}

bool GuideWindow::ValidateAnswers()
{
    const QString fault = AnswerFault(answers());
    if (fault.isEmpty())
        return false;
    m_dialogs.ShowNotice(platform::NoticeKind::Warning, fault, kCaption);
    return true;
}

void GuideWindow::gdiagClick()
{
    if (ValidateAnswers())
        return;
    // Every generation is counted before anything is written; a statistics file that cannot
    // be updated stops it with the panel untouched and the guide still open.
    try {
        CountGuideUse();
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        return;
    }
    const GuideInputs inputs = m_links.readTweedValues ? m_links.readTweedValues() : GuideInputs{};
    const PanelState panel = GenerateDiagnosis(inputs, answers());
    if (m_links.fillPanel)
        m_links.fillPanel(panel);
    if (m_links.concludeDiagnosis)
        m_links.concludeDiagnosis();
    leaveGuide();
}

void GuideWindow::restoreAnswers(const GuideAnswers& g)
{
    const auto set = [this](const char* name, bool on) { setAnswer(QLatin1String(name), on); };
    const auto checked = [this](const char* name) { return answer(QLatin1String(name)); };

    set("daapinh", g.daapinh);
    if (checked("daapinh")) {
        set("menor", g.menor);
        if (!checked("menor"))
            set("maior", true);
    }
    set("dmapinh", g.dmapinh);
    set("dmrel", g.dmrel);
    set("dmpro", g.dmpro);
    set("dpadq", g.dpadq);
    if (!checked("dpadq"))
        set("dpinadeq", true);
    set("clsim", g.clsim);
    if (!checked("clsim"))
        return;
    set("horcl2", g.horcl2);
    if (checked("horcl2"))
        set(g.direita ? "direita" : g.esquerda ? "esquerda" : "sem", true);
    set("horcl3", g.horcl3);
    set("aberta", g.aberta);
    if (checked("aberta"))
        set(g.suave ? "suave" : (g.media && !(g.profunda && g.severa)) ? "media" : "severa", true);
    set("profunda", g.profunda);
    if (checked("profunda")) {
        set("media", g.media);  // the deep bite's "Suave"
        if (!checked("media"))
            set("severa", true);
    }
    set("desarm", g.desarm);
    if (checked("desarm")) {
        set("dessuave", g.dessuave);
        if (!checked("dessuave"))
            set("dessevera", true);
    }
}

}  // namespace qv
