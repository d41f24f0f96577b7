#include "guide/GuideWindow.h"

#include "analysis/GuideRules.h"
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

GuideWindow::GuideWindow(platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint)
    , m_dialogs(dialogs)
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

    for (QCheckBox* b : {menor, maior, horcl2, direita, esquerda, sem, horcl3, aberta, suave, media, severa,
                         profunda, desarm, dessuave, dessevera})
        KeepPlace(b);
    for (std::size_t i = 0; i < kGuideAnswerCount; ++i)
        m_buttons[i] = m_controls.value(QString::fromUtf16(kGuideAnswerFields[i].name));
    showForm();

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

void GuideWindow::describeDeepBite(bool deep)
{
    for (QWidget* w : {media, severa})
        w->setAccessibleDescription(deep ? kDeepBite : kOpenBite);
}

// The rules are the guide's own pure rules on m_form. A change of a box, from the user or from
// code setting the box, runs them once; showing the form then changes the other boxes, whose
// toggles find the form already holding their state.
void GuideWindow::connectRules()
{
    for (std::size_t i = 0; i < kGuideAnswerCount; ++i) {
        const auto control = GuideControl(i);
        connect(m_buttons[i], &QAbstractButton::toggled, this, [this, control](bool on) {
            if (m_form.isChecked(control) != on)
                setControl(control, on);
        });
    }
}

void GuideWindow::setControl(GuideControl control, bool on)
{
    const GuideForm before = m_form;
    SetGuideControl(m_form, control, on);
    showForm(&before);
}

// Only what the rules changed is touched: setting a state a control already holds changes nothing.
void GuideWindow::showForm(const GuideForm* before)
{
    const auto changed = [before](const auto& now, const auto& then) { return !before || now != then; };
    if (changed(m_form.isChecked(GuideControl::clsim), before ? before->isChecked(GuideControl::clsim) : false)) {
        // A radio button of the pair is checked, never unchecked: its partner follows.
        (m_form.isChecked(GuideControl::clsim) ? clsim : clnao)->setChecked(true);
    }
    if (changed(m_form.mediaIsMedium, before ? before->mediaIsMedium : true)) {
        media->setText(m_form.mediaIsMedium ? kMedium : kMild);
        describeDeepBite(!m_form.mediaIsMedium);
    }
    for (std::size_t i = 0; i < kGuideControls; ++i) {
        QWidget* w = i < kGuideAnswerCount ? static_cast<QWidget*>(m_buttons[i])
                                           : (GuideControl(i) == GuideControl::Label1 ? label1 : label2);
        if (changed(m_form.shown[i], before ? before->shown[i] : false))
            w->setHidden(!m_form.shown[i]);
        if (changed(m_form.enabled[i], before ? before->enabled[i] : false))
            w->setEnabled(m_form.enabled[i]);
        const bool radio = GuideControl(i) == GuideControl::clsim || GuideControl(i) == GuideControl::clnao;
        if (i < kGuideAnswerCount && !radio && changed(m_form.checked[i], before ? before->checked[i] : false))
            m_buttons[i]->setChecked(m_form.checked[i]);
    }
    emit answersChanged(answers());
}

GuideAnswers GuideWindow::answers() const { return m_form.answers(); }

QAbstractButton* GuideWindow::answerControl(const QString& name) const { return m_controls.value(name); }

bool GuideWindow::answer(const QString& name) const
{
    const QAbstractButton* b = answerControl(name);
    return b && b->isChecked();
}

void GuideWindow::setAnswer(const QString& name, bool checked)
{
    for (std::size_t i = 0; i < kGuideAnswerCount; ++i) {
        if (name == QString::fromUtf16(kGuideAnswerFields[i].name)) {
            setControl(GuideControl(i), checked);
            return;
        }
    }
}

void GuideWindow::centreOnScreen()
{
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void GuideWindow::Open(const QString& pageCaption, const GuideInputs& readings)
{
    m_readings = readings;
    // The guide acts as a modal dialog: Form2 and the tray item stay disabled while it shows.
    emit mainWindowEnabledRequested(false);
    m_dialogs.setHideItemEnabled(false);
    m_dialogs.ShowNotice(platform::NoticeKind::Information, SuggestionReminderText(), pageCaption,
                         /*enableAfter=*/false);
    centreOnScreen();
    show();
    if (!isMinimized()) {
        raise();
        activateWindow();
    }
}

void GuideWindow::leaveGuide()
{
    emit mainWindowEnabledRequested(true);
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
    const GuideForm before = m_form;
    ClearGuideForm(m_form);
    showForm(&before);
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
    const GuideAnswers now = answers();
    emit diagnosisGenerated(GenerateDiagnosis(m_readings, now), now);
    leaveGuide();
}

void GuideWindow::restoreAnswers(const GuideAnswers& g)
{
    const GuideForm before = m_form;
    m_form = RestoreGuideForm(StoreGuideAnswers(g), m_form);
    showForm(&before);
}

}  // namespace qv
