#include "tweed/TweedPage.h"

#include "entry/EntryFilter.h"
#include "platform/PageContext.h"
#include "printing/PrintActions.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "records/Statistics.h"
#include "spaceentry/SpaceSums.h"
#include "tweed/DiagnosisPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace qv {

namespace {

const QString kCalcular = QStringLiteral("CALCULAR");
const QString kGuia = QStringLiteral("GUIA DIAGNÓSTICO");
const QString kLimpar = QStringLiteral("LIMPAR");
const QString kVoltar = QStringLiteral("VOLTAR");

// How each state looks, row by row as the page's state table; a locked state keeps the dc
// controls as they were and leaves tLimpar "LIMPAR" for an opened analysis.
struct StateLook {
    TweedPage::State state;
    const QString* calcularCaption;
    bool calcularEnabled;
    bool locked;
};
const StateLook kLooks[] = {
    {TweedPage::State::Editing, &kCalcular, true, false},
    {TweedPage::State::ImpaChoice, &kCalcular, true, false},
    {TweedPage::State::Concluded, &kGuia, true, true},
    {TweedPage::State::Diagnosed, &kGuia, false, true},
};

void setColour(QLabel* label, Rgb c)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(c.r, c.g, c.b));
    label->setPalette(p);
}

// Radio buttons of a group with no button checked.
void uncheckAll(QButtonGroup* group)
{
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

}  // namespace

// ---- the sheet ----

TweedSheet TweedPage::sheet() const
{
    TweedSheet s;
    for (const TweedField& f : TweedFields())
        if (f.input)
            s.*(f.input) = entry(f.objectName)->text();
    s.GenMasc = m_GenMasc->isChecked();
    s.GenFem = m_GenFem->isChecked();
    s.stage = stage();
    s.dcnao = m_dcnao->isChecked();
    s.dcopcres = m_dcopcres->text();
    s.anmcl2 = m_anmcl2->isChecked();
    s.anmcl3 = m_anmcl3->isChecked();
    s.guideDone = diagnosisShown();
    // A diagnosis regenerated from a file leaves the guide cleared: keep the answers it came from.
    if (s.guideDone && m_diagnosisAnswers)
        s.guide = *m_diagnosisAnswers;
    else if (m_links.guideAnswers)
        s.guide = m_links.guideAnswers();
    return s;
}

void TweedPage::show(const TweedSheet& s)
{
    for (const TweedField& f : TweedFields())
        if (f.input)
            entry(f.objectName)->setText(s.*(f.input));
    if (s.GenMasc || s.GenFem)
        (s.GenMasc ? m_GenMasc : m_GenFem)->setChecked(true);
    else
        uncheckAll(m_gender);
    switch (s.stage) {
    case AnalysisStage::INICIAL:
        m_inicial->setChecked(true);
        break;
    case AnalysisStage::INTER1:
        m_inter1->setChecked(true);
        break;
    case AnalysisStage::INTER2:
        m_inter2->setChecked(true);
        break;
    case AnalysisStage::FINAL:
        m_final->setChecked(true);
        break;
    }
    if (s.anmcl2 || s.anmcl3)
        (s.anmcl2 ? m_anmcl2 : m_anmcl3)->setChecked(true);
    else
        uncheckAll(m_molarClass);
    if (s.dcnao) {
        const bool shown = !m_dcnao->isHidden();
        m_dcnao->setChecked(true);  // its handler shows dcopcres
        m_dcopcres->setVisible(shown);
        m_dcopcres->setText(s.dcopcres);
    } else {
        m_dcsim->setChecked(true);  // its handler hides and empties dcopcres
    }
}

void TweedPage::fillSpace(const SpaceSums& sums)
{
    entry("anaer")->setText(sums.anaer);
    entry("anaep")->setText(sums.anaep);
    entry("anmer")->setText(sums.anmer);
    entry("anmep")->setText(sums.anmep);
    entry("anper")->setText(sums.anper);
    entry("anpep")->setText(sums.anpep);
}

QString TweedPage::patientName() const { return m_twPaciente->text(); }

AnalysisStage TweedPage::stage() const
{
    if (m_inicial->isChecked())
        return AnalysisStage::INICIAL;
    if (m_inter1->isChecked())
        return AnalysisStage::INTER1;
    if (m_inter2->isChecked())
        return AnalysisStage::INTER2;
    return AnalysisStage::FINAL;
}

void TweedPage::showResults(const TweedResults& r)
{
    m_results = r;
    for (const TweedField& f : TweedFields())
        if (f.result)
            result(f.objectName)->setText(f.result(r));
    // Colours stay as the last calculation set them, also after a clear.
    if (r.horn.colour != Rgb{} || !r.horn.text.isEmpty())
        setColour(m_hornres, r.horn.colour);
    if (!r.difficulty.idlabel.isEmpty()) {
        setColour(m_idtotres, r.difficulty.colour);
        setColour(m_idlabel, r.difficulty.colour);
    }
}

// ---- workflow ----

void TweedPage::enterState(State state)
{
    const bool wasLocked = m_state == State::Concluded || m_state == State::Diagnosed;
    m_state = state;
    for (const StateLook& look : kLooks) {
        if (look.state != state)
            continue;
        m_tCalcular->setText(*look.calcularCaption);
        m_tCalcular->setEnabled(look.calcularEnabled);
        if (look.locked) {
            if (!wasLocked)
                m_tLimpar->setText(m_opened ? kLimpar : kVoltar);
        } else {
            m_tLimpar->setText(kLimpar);
            const bool choosing = state == State::ImpaChoice;
            m_dcopc->setVisible(choosing);
            m_dcsim->setVisible(choosing);
            m_dcnao->setVisible(choosing);
        }
        if (look.locked && !wasLocked)
            lock();
        else if (!look.locked)
            unlock();
    }
    syncFlags();
}

// The hidden check boxes show the flags; nothing reads them back.
void TweedPage::syncFlags()
{
    m_parcialBox->setChecked(m_parcial);
    m_completoBox->setChecked(m_completo);
    m_ds->abrirFlag()->setChecked(m_opened);
}

void TweedPage::lock()
{
    m_total->setEnabled(false);
    if (m_links.clearSpaceEntry)
        m_links.clearSpaceEntry();
    m_twPaciente->setReadOnly(true);
    m_Idade->setReadOnly(true);
    (m_GenFem->isChecked() ? m_GenMasc : m_GenFem)->setEnabled(false);
    for (QRadioButton* b : {m_inicial, m_inter1, m_inter2, m_final})
        if (!b->isChecked())
            b->setEnabled(false);
    for (const TweedField& f : TweedFields())
        if (f.input && f.group == TweedGroup::Tweed)
            entry(f.objectName)->setReadOnly(true);
    (m_dcsim->isChecked() ? m_dcnao : m_dcsim)->setEnabled(false);
    m_dcopcres->setReadOnly(true);
    for (const TweedField& f : TweedFields())
        if (f.input && f.group != TweedGroup::Tweed && f.group != TweedGroup::Patient)
            entry(f.objectName)->setReadOnly(true);
    m_parcial = true;
}

void TweedPage::unlock()
{
    for (QLineEdit* e : m_entries)
        e->setReadOnly(false);
    m_dcopcres->setReadOnly(false);
    for (QWidget* w : {static_cast<QWidget*>(m_GenMasc), static_cast<QWidget*>(m_GenFem),
                       static_cast<QWidget*>(m_inicial), static_cast<QWidget*>(m_final),
                       static_cast<QWidget*>(m_inter1), static_cast<QWidget*>(m_inter2),
                       static_cast<QWidget*>(m_dcnao), static_cast<QWidget*>(m_dcsim)})
        w->setEnabled(true);
    m_total->setEnabled(true);
}

void TweedPage::tCalcularClick()
{
    if (m_state == State::Editing || m_state == State::ImpaChoice)
        calculate();
    else if (m_links.openGuide)
        m_links.openGuide();
}

void TweedPage::calculate()
{
    const TweedSheet in = sheet();
    const TweedRefusal refusal = CheckTweedInputs(in);
    if (refusal != TweedRefusal::None) {
        m_context.warn(RefusalText(refusal));
        if (refusal == TweedRefusal::ZeroAfa)
            entry("twafa")->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        RecordStatistic('t');
    } catch (const IoError& e) {
        // Not counted, so nothing is computed either.
        m_context.failure(e.message());
        return;
    }
    TweedResults r = ComputeTweed(in);
    // The IMPA shown is the clinician's own while one is in force.
    if (in.dcnao && !m_opened)
        r.targets.dcimpares = in.dcopcres;
    showResults(r);
    m_ds->ClearPanel();
    m_diagnosisAnswers.reset();

    if (m_opened) {
        enterState(State::Concluded);
        return;
    }
    switch (m_context.confirm(ImpaQuestionText(m_results.targets.dcimpares))) {
    case platform::Answer::Yes:
        enterState(State::Concluded);
        break;
    case platform::Answer::No:
        enterImpaChoice();
        break;
    case platform::Answer::Closed:
        break;
    }
}

void TweedPage::enterImpaChoice()
{
    enterState(State::ImpaChoice);
    m_dcnao->setChecked(true);
    dcnaoClick();
    m_dcopcres->clear();
}

void TweedPage::dcsimClick()
{
    m_dcopcres->hide();
    m_dcopcres->clear();
}

void TweedPage::dcnaoClick() { m_dcopcres->show(); }

void TweedPage::tLimparClick()
{
    // "VOLTAR" only in a state concluded by the IMPA question; every other caption clears.
    const bool voltar = (m_state == State::Concluded || m_state == State::Diagnosed) && !m_opened;
    if (voltar)
        backToEditing();
    else
        fullClear();
}

void TweedPage::NewAnalysis()
{
    tLimparClick();
    tLimparClick();
}

void TweedPage::fullClear()
{
    for (const TweedField& f : TweedFields())
        if (f.input)
            entry(f.objectName)->clear();
    uncheckAll(m_gender);
    uncheckAll(m_molarClass);
    backToEditing();
    if (m_links.clearSpaceEntry)
        m_links.clearSpaceEntry();
    if (m_links.clearGuide)
        m_links.clearGuide();
}

void TweedPage::backToEditing()
{
    showResults(TweedResults{});  // colours set by a calculation survive the clears
    if (!m_dcsim->isChecked())
        m_dcsim->setChecked(true);  // its handler hides and empties dcopcres
    m_ds->ClearPanel();
    m_diagnosisAnswers.reset();
    m_parcial = false;
    m_completo = false;
    m_opened = false;
    enterState(State::Editing);
    m_inicial->setChecked(true);
}

// ---- for the guide ----

GuideInputs TweedPage::diagnosisReadings() const
{
    return {m_results.space.anantres, m_results.space.anmedres, m_results.space.anposres, m_results.twanbres};
}

void TweedPage::concludeDiagnosis()
{
    enterState(State::Diagnosed);
    if (m_links.guideAnswers)
        m_diagnosisAnswers = m_links.guideAnswers();
}

// The heading dsantinfo is shown by every generation and by nothing else.
bool TweedPage::diagnosisShown() const { return m_ds->state().antInfo; }

// ---- the analysis file and the report ----

void TweedPage::timprimirClick()
{
    if (m_reports)
        PrintTweed(*m_reports, m_context, sheet(), m_results, m_ds->state());
}

void TweedPage::tsalvarClick()
{
    const TweedSheet s = sheet();
    const QString path = TweedFileName(s.twPaciente, s.stage);

    TweedSaveState st;
    st.concluded = !m_results.difficulty.idlabel.isEmpty();
    st.diagnosed = s.guideDone;
    st.nameSafe = IsSafePatientName(s.twPaciente);
    st.parcial = m_parcial;
    st.completo = m_completo;
    // The flags are set before anything is written, so they stay set when the write fails.
    TweedSaveState before = st;
    before.fileExists = QFileInfo::exists(path);
    const auto setFlags = [this](const TweedSaveDecision& decided) {
        if (decided.checkParcial)
            m_parcial = true;
        if (decided.checkCompleto)
            m_completo = true;
        syncFlags();
    };
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
        const bool concluded = m_state == State::Concluded || m_state == State::Diagnosed;
        if (IsTweedFileAlreadyOpen(path, m_twPaciente->text(), concluded, stage()))
            m_context.error(QStringLiteral("O arquivo já está aberto!"));
        else
            openAnalysis(path);
    }
    // Every way out: the guide holds no answers (a regenerated diagnosis stays on the panel),
    // and the tray item the open-file dialog disabled is back.
    if (m_links.clearGuide)
        m_links.clearGuide();
    m_context.dialogs().setHideItemEnabled(true);
}

void TweedPage::openAnalysis(const QString& path)
{
    tLimparClick();
    m_opened = true;
    if (m_links.clearGuide)
        m_links.clearGuide();
    const AnalysisStage pathStage = StageFromPath(path);
    (pathStage == AnalysisStage::FINAL    ? m_final
     : pathStage == AnalysisStage::INTER1 ? m_inter1
     : pathStage == AnalysisStage::INTER2 ? m_inter2
                                          : m_inicial)
        ->setChecked(true);
    m_parcial = true;
    syncFlags();

    TweedSheet s;
    try {
        s = DecodeTweed(ReadTweedFileBytes(path));
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    s.stage = pathStage;
    s.anmcl2 = m_anmcl2->isChecked();  // the molar class is not in the file
    s.anmcl3 = m_anmcl3->isChecked();
    show(s);
    if (s.guideDone && m_links.restoreGuide)
        m_links.restoreGuide(s.guide);

    calculate();  // opened: no IMPA question, concluded at once
    if (!m_dcopcres->text().isEmpty()) {
        m_results.targets.dcimpares = m_dcopcres->text();
        m_dcimpares->setText(m_results.targets.dcimpares);
    }

    // A recalculation stopped by a check leaves the page editable: a diagnosis generated now
    // would come from empty results and leave CALCULAR disabled.
    if (!s.guideDone || m_state != State::Concluded)
        return;
    m_completo = true;
    syncFlags();
    if (m_links.keepGuideMinimised)
        m_links.keepGuideMinimised(true);
    if (m_links.openGuide)
        m_links.openGuide();  // the reminder, then the guide (minimised)
    if (m_links.generateDiagnosis)
        m_links.generateDiagnosis();
    if (m_links.keepGuideMinimised)
        m_links.keepGuideMinimised(false);
}

}  // namespace qv
