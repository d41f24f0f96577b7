#include "tweed/TweedPage.h"

#include "analysis/GuideRules.h"
#include "platform/PageContext.h"
#include "printing/PrintActions.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "analysis/SpaceSums.h"
#include "tweed/DiagnosisPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

namespace qv {

namespace {

using Event = TweedAnalysisModel::Event;
using Outcome = TweedAnalysisModel::Outcome;

void setColour(QLabel* label, Rgb c)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(c.r, c.g, c.b));
    label->setPalette(p);
}

// Checks one button of a group, or none.
void checkOne(QButtonGroup* group, QAbstractButton* button)
{
    if (button) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

}  // namespace

TweedPage::TweedPage(platform::PageContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    m_c = BuildTweedPage(this, context);
    connectControls();
    connect(&m_model, &TweedAnalysisModel::changed, this, &TweedPage::render);
    connect(&m_model, &TweedAnalysisModel::transitioned, this, &TweedPage::onTransition);
    connect(&m_model, &TweedAnalysisModel::guideClearRequested, this, &TweedPage::guideClearRequested);
    connect(&m_model, &TweedAnalysisModel::reminderDue, this, [this] { m_context.inform(SuggestionReminderText()); });
    render();
}

// What the clinician types or picks goes to the model as it happens; changes render() makes
// are the model's own.
void TweedPage::connectControls()
{
    for (const TweedField& f : TweedFields()) {
        if (!f.input)
            continue;
        connect(m_c.entry(f.objectName), &QLineEdit::textChanged, this, [this, field = f.input](const QString& text) {
            if (!m_rendering)
                m_model.setText(field, text);
        });
    }
    connect(m_c.dcopcres, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_rendering)
            m_model.setText(&TweedSheet::dcopcres, text);
    });
    for (QRadioButton* b : {m_c.GenMasc, m_c.GenFem})
        connect(b, &QRadioButton::toggled, this, [this] {
            if (!m_rendering)
                m_model.setGender(m_c.GenMasc->isChecked(), m_c.GenFem->isChecked());
        });
    for (QRadioButton* b : {m_c.inicial, m_c.inter1, m_c.inter2, m_c.final})
        connect(b, &QRadioButton::toggled, this, [this] {
            if (m_rendering)
                return;
            m_model.setStage(m_c.inicial->isChecked()  ? AnalysisStage::INICIAL
                             : m_c.inter1->isChecked() ? AnalysisStage::INTER1
                             : m_c.inter2->isChecked() ? AnalysisStage::INTER2
                                                       : AnalysisStage::FINAL);
        });
    for (QRadioButton* b : {m_c.anmcl2, m_c.anmcl3})
        connect(b, &QRadioButton::toggled, this, [this] {
            if (!m_rendering)
                m_model.setMolarClass(m_c.anmcl2->isChecked(), m_c.anmcl3->isChecked());
        });
    // dcsim hides and empties dcopcres; dcnao shows it.
    for (QRadioButton* b : {m_c.dcsim, m_c.dcnao})
        connect(b, &QRadioButton::toggled, this, [this] {
            if (m_rendering)
                return;
            m_model.chooseOwnImpa(m_c.dcnao->isChecked());
            render();
        });

    connect(m_c.tCalcular, &QPushButton::clicked, this, &TweedPage::tCalcularClick);
    connect(m_c.tLimpar, &QPushButton::clicked, this, &TweedPage::tLimparClick);
    connect(m_c.tsalvar, &QPushButton::clicked, this, &TweedPage::tsalvarClick);
    connect(m_c.tabrir, &QPushButton::clicked, this, &TweedPage::tabrirClick);
    connect(m_c.timprimir, &QPushButton::clicked, this, &TweedPage::timprimirClick);
    connect(m_c.tSair, &QPushButton::clicked, this, [this] { m_context.exitProgram(); });
    connect(m_c.total, &QPushButton::clicked, this, &TweedPage::spaceEntryRequested);
    connect(m_c.tracado, &QPushButton::clicked, this, &TweedPage::tracingRequested);
}

// ---- rendering ----

void TweedPage::render()
{
    const QScopedValueRollback<bool> guard(m_rendering, true);
    const TweedSheet& s = m_model.sheet();
    for (const TweedField& f : TweedFields()) {
        if (!f.input)
            continue;
        QLineEdit* e = m_c.entry(f.objectName);
        if (e->text() != s.*(f.input))
            e->setText(s.*(f.input));
    }
    if (m_c.dcopcres->text() != s.dcopcres)
        m_c.dcopcres->setText(s.dcopcres);
    checkOne(m_c.gender, s.GenMasc ? m_c.GenMasc : s.GenFem ? m_c.GenFem : nullptr);
    switch (s.stage) {
    case AnalysisStage::INICIAL:
        m_c.inicial->setChecked(true);
        break;
    case AnalysisStage::INTER1:
        m_c.inter1->setChecked(true);
        break;
    case AnalysisStage::INTER2:
        m_c.inter2->setChecked(true);
        break;
    case AnalysisStage::FINAL:
        m_c.final->setChecked(true);
        break;
    }
    checkOne(m_c.molarClass, s.anmcl2 ? m_c.anmcl2 : s.anmcl3 ? m_c.anmcl3 : nullptr);
    (s.dcnao ? m_c.dcnao : m_c.dcsim)->setChecked(true);

    const TweedResults& r = m_model.results();
    for (const TweedField& f : TweedFields())
        if (f.result)
            m_c.result(f.objectName)->setText(f.result(r));
    // Colours stay as the last calculation set them, also after a clear.
    if (r.horn.colour != Rgb{} || !r.horn.text.isEmpty())
        setColour(m_c.hornres, r.horn.colour);
    if (!r.difficulty.idlabel.isEmpty()) {
        setColour(m_c.idtotres, r.difficulty.colour);
        setColour(m_c.idlabel, r.difficulty.colour);
    }
    if (m_model.panel() != m_shownPanel) {
        m_shownPanel = m_model.panel();
        m_c.ds->showState(m_shownPanel);
    }

    // The hidden check boxes and the captions mirror the model; nothing reads them back.
    m_c.parcial->setChecked(m_model.parcial());
    m_c.completo->setChecked(m_model.completo());
    m_c.ds->abrirFlag()->setChecked(m_model.opened());
    m_c.tCalcular->setText(m_model.calcularCaption());
    m_c.tCalcular->setEnabled(m_model.calcularEnabled());
    m_c.tLimpar->setText(m_model.limparCaption());
    for (QWidget* w : {static_cast<QWidget*>(m_c.dcopc), static_cast<QWidget*>(m_c.dcsim), static_cast<QWidget*>(m_c.dcnao)})
        w->setVisible(m_model.impaChoiceShown());
    m_c.dcopcres->setVisible(m_model.ownImpaShown());
    renderLock(m_model.locked());
}

// LockPage: a concluded analysis is read-only; of each choice only the checked one stays enabled.
void TweedPage::renderLock(bool locked)
{
    m_c.total->setEnabled(!locked);
    for (QLineEdit* e : m_c.entries)
        e->setReadOnly(locked);
    m_c.dcopcres->setReadOnly(locked);
    m_c.GenMasc->setEnabled(!locked || !m_c.GenFem->isChecked());
    m_c.GenFem->setEnabled(!locked || m_c.GenFem->isChecked());
    for (QRadioButton* b : {m_c.inicial, m_c.inter1, m_c.inter2, m_c.final})
        b->setEnabled(!locked || b->isChecked());
    m_c.dcsim->setEnabled(!locked || m_c.dcsim->isChecked());
    m_c.dcnao->setEnabled(!locked || !m_c.dcsim->isChecked());
}

void TweedPage::onTransition(State, State, unsigned effects)
{
    // The total space window is cleared within LockPage, after "total" is disabled.
    if (effects & TweedAnalysisModel::Lock) {
        m_c.total->setEnabled(false);
        emit spaceEntryClearRequested();
    }
    render();
    if (effects & TweedAnalysisModel::FullClear) {
        emit spaceEntryClearRequested();
        emit guideClearRequested();
    }
    if (effects & TweedAnalysisModel::OpenGuide)
        emit guideRequested(m_context.caption(), m_model.diagnosisReadings());
    if (effects & TweedAnalysisModel::Calculate)
        runCalculation();
}

void TweedPage::runCalculation()
{
    const Outcome o = m_model.calculate();
    switch (o.kind) {
    case Outcome::Refused:
    case Outcome::Failed:
        showFault(o);
        break;
    case Outcome::Ask:
        switch (m_context.confirm(o.text)) {
        case platform::Answer::Yes:
            m_model.dispatch(Event::AnsweredYes);
            break;
        case platform::Answer::No:
            m_model.dispatch(Event::AnsweredNo);
            break;
        case platform::Answer::Closed:
            m_model.dispatch(Event::QuestionClosed);
            break;
        }
        break;
    case Outcome::Done:
    case Outcome::AnswerFault:
        break;
    }
}

// ---- the sheet ----

TweedSheet TweedPage::sheet() const
{
    return m_model.sheetToSave(m_guideAnswers);
}

void TweedPage::fillSpace(const SpaceSums& sums)
{
    TweedSheet s = m_model.sheet();
    s.anaer = sums.anaer;
    s.anaep = sums.anaep;
    s.anmer = sums.anmer;
    s.anmep = sums.anmep;
    s.anper = sums.anper;
    s.anpep = sums.anpep;
    m_model.setSheet(s);
}

// ---- the analysis file and the report ----

void TweedPage::timprimirClick()
{
    if (m_reports)
        PrintTweed(*m_reports, m_context, sheet(), m_model.results(), m_model.panel());
}

void TweedPage::tsalvarClick()
{
    const TweedSheet s = sheet();
    const QString path = TweedFileName(s.twPaciente, s.stage);

    TweedSaveState st;
    st.concluded = !m_model.results().difficulty.idlabel.isEmpty();
    st.diagnosed = s.guideDone;
    st.nameSafe = IsSafePatientName(s.twPaciente);
    st.parcial = m_model.parcial();
    st.completo = m_model.completo();
    // The flags are set before anything is written, so they stay set when the write fails.
    TweedSaveState before = st;
    before.fileExists = QFileInfo::exists(path);
    const auto setFlags = [this](const TweedSaveDecision& decided) { m_model.markSaved(decided); };
    setFlags(DecideTweedSave(before));
    // Decided again and written under the lock beside the file, on the file as it stands now:
    // another computer may have saved the same patient and stage meanwhile.
    TweedSaveDecision d;
    m_context.beforeSave();
    try {
        d = SaveTweedFile(path, s, st, setFlags);
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    switch (d.kind) {
    case TweedSaveDecision::Warning:
        m_context.warn(d.message);
        break;
    case TweedSaveDecision::Error:
        m_context.error(d.message);
        break;
    case TweedSaveDecision::Information:
        m_context.inform(d.message);
        break;
    case TweedSaveDecision::NoBox:
        break;
    }
}

void TweedPage::tabrirClick()
{
    platform::Dialogs& dialogs = m_context.dialogs();
    openFile(dialogs.OpenFile({QStringLiteral("twe"), QStringLiteral("Arquivo de Análise de Tweed|*.twe")}));
}

void TweedPage::openFile(const QString& path)
{
    if (IsTweedPath(path)) {
        if (IsTweedFileAlreadyOpen(path, patientName(), m_model.locked(), stage()))
            m_context.error(QStringLiteral("O arquivo já está aberto!"));
        else
            showOpening(m_model.open(path));
    }
    // Every way out: the guide holds no answers (a regenerated diagnosis stays on the panel),
    // and the tray item the open-file dialog disabled is back.
    emit guideClearRequested();
    m_context.dialogs().setHideItemEnabled(true);
}

// A refused calculation is a warning that sends the clinician to AFA when that is what is
// missing; a failure is an error.
void TweedPage::showFault(const Outcome& o)
{
    if (o.kind == Outcome::Failed) {
        m_context.failure(o.text);
        return;
    }
    m_context.warn(o.text);
    if (o.focusAfa)
        m_c.entry("twafa")->setFocus(Qt::OtherFocusReason);
}

void TweedPage::showOpening(const Outcome& o)
{
    switch (o.kind) {
    case Outcome::Refused:
    case Outcome::Failed:
        showFault(o);
        break;
    case Outcome::AnswerFault:
        // The guide's own warning, as its DIAGNÓSTICO would show it.
        m_context.dialogs().ShowNotice(platform::NoticeKind::Warning, o.text, QStringLiteral("Guia Diagnóstico"));
        break;
    case Outcome::Done:
    case Outcome::Ask:
        break;
    }
}

void TweedPage::applyTracingValues(const TracingValues& values)
{
    TweedSheet s = sheet();
    ApplyTracingValues(values, s);
    show(s);
}

}  // namespace qv
