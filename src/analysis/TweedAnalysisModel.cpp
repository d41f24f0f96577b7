#include "analysis/TweedAnalysisModel.h"

#include "analysis/GuideRules.h"
#include "records/IoError.h"
#include "records/Statistics.h"
#include "records/TweedFile.h"
#include "analysis/TweedAnalysis.h"

namespace qv {

namespace {

using S = TweedAnalysisModel::State;
using E = TweedAnalysisModel::Event;
using W = TweedAnalysisModel::When;
using M = TweedAnalysisModel;

// The page's workflow. CALCULAR calculates while editing and opens the guide once concluded;
// LIMPAR reads "VOLTAR" (back to editing, inputs kept) only on an analysis concluded here.
constexpr TweedAnalysisModel::Transition kTransitions[] = {
    {S::Editing, E::Calcular, W::Always, S::Editing, M::Calculate},
    {S::ImpaChoice, E::Calcular, W::Always, S::ImpaChoice, M::Calculate},
    {S::Concluded, E::Calcular, W::Always, S::Concluded, M::OpenGuide},
    {S::Diagnosed, E::Calcular, W::Always, S::Diagnosed, M::OpenGuide},

    {S::Editing, E::Refused, W::Always, S::Editing, M::NoEffect},
    {S::ImpaChoice, E::Refused, W::Always, S::ImpaChoice, M::NoEffect},
    {S::Editing, E::ConcludedOpened, W::Always, S::Concluded, M::Lock},
    {S::ImpaChoice, E::ConcludedOpened, W::Always, S::Concluded, M::Lock},
    {S::Editing, E::AnsweredYes, W::Always, S::Concluded, M::Lock},
    {S::ImpaChoice, E::AnsweredYes, W::Always, S::Concluded, M::Lock},
    {S::Editing, E::AnsweredNo, W::Always, S::ImpaChoice, M::ShowImpaChoice},
    {S::ImpaChoice, E::AnsweredNo, W::Always, S::ImpaChoice, M::ShowImpaChoice},
    {S::Editing, E::QuestionClosed, W::Always, S::Editing, M::NoEffect},
    {S::ImpaChoice, E::QuestionClosed, W::Always, S::ImpaChoice, M::NoEffect},

    {S::Concluded, E::DiagnosisGenerated, W::Always, S::Diagnosed, M::NoEffect},

    {S::Editing, E::Limpar, W::Always, S::Editing, M::FullClear},
    {S::ImpaChoice, E::Limpar, W::Always, S::Editing, M::FullClear},
    {S::Concluded, E::Limpar, W::NotOpened, S::Editing, M::BackToEditing},
    {S::Diagnosed, E::Limpar, W::NotOpened, S::Editing, M::BackToEditing},
    {S::Concluded, E::Limpar, W::Opened, S::Editing, M::FullClear},
    {S::Diagnosed, E::Limpar, W::Opened, S::Editing, M::FullClear},

    {S::Editing, E::Novo, W::Always, S::Editing, M::FullClear},
    {S::ImpaChoice, E::Novo, W::Always, S::Editing, M::FullClear},
    {S::Concluded, E::Novo, W::Always, S::Editing, M::FullClear},
    {S::Diagnosed, E::Novo, W::Always, S::Editing, M::FullClear},
};

}  // namespace

std::span<const TweedAnalysisModel::Transition> TweedAnalysisModel::Transitions() { return kTransitions; }

const TweedAnalysisModel::Transition* TweedAnalysisModel::FindTransition(State from, Event event, bool opened)
{
    for (const Transition& t : kTransitions) {
        if (t.from != from || t.event != event)
            continue;
        if (t.when == When::Always || (t.when == When::Opened) == opened)
            return &t;
    }
    return nullptr;
}

TweedAnalysisModel::TweedAnalysisModel(QObject* parent) : QObject(parent) {}

QString TweedAnalysisModel::calcularCaption() const
{
    return locked() ? QStringLiteral("GUIA DIAGNÓSTICO") : QStringLiteral("CALCULAR");
}

QString TweedAnalysisModel::limparCaption() const
{
    return locked() && !m_opened ? QStringLiteral("VOLTAR") : QStringLiteral("LIMPAR");
}

TweedSheet TweedAnalysisModel::sheetToSave(const GuideAnswers& guideNow) const
{
    TweedSheet s = m_sheet;
    // The heading of the anterior area is shown by every generation and by nothing else.
    s.guideDone = m_panel.antInfo;
    s.guide = s.guideDone && m_diagnosisAnswers ? *m_diagnosisAnswers : guideNow;
    return s;
}

GuideInputs TweedAnalysisModel::diagnosisReadings() const
{
    return {m_results.space.anantres, m_results.space.anmedres, m_results.space.anposres, m_results.twanbres};
}

void TweedAnalysisModel::setGender(bool masculino, bool feminino)
{
    m_sheet.GenMasc = masculino;
    m_sheet.GenFem = feminino;
}

void TweedAnalysisModel::setMolarClass(bool classII, bool classIII)
{
    m_sheet.anmcl2 = classII;
    m_sheet.anmcl3 = classIII;
}

void TweedAnalysisModel::chooseOwnImpa(bool own)
{
    m_sheet.dcnao = own;
    if (!own)
        m_sheet.dcopcres.clear();
}

void TweedAnalysisModel::setSheet(const TweedSheet& sheet)
{
    m_sheet = sheet;
    if (!m_sheet.dcnao)
        m_sheet.dcopcres.clear();
    emit changed();
}

void TweedAnalysisModel::setPanel(const PanelState& panel)
{
    m_panel = panel;
    emit changed();
}

void TweedAnalysisModel::markSaved(const TweedSaveDecision& decision)
{
    if (decision.checkParcial)
        m_parcial = true;
    if (decision.checkCompleto)
        m_completo = true;
    emit changed();
}

void TweedAnalysisModel::clearInputs()
{
    const AnalysisStage stage = m_sheet.stage;
    m_sheet = TweedSheet{};
    m_sheet.stage = stage;  // back to Inicial with the rest of BackToEditing
}

// Colours of the grades are the page's: a clear leaves them as the last calculation set them.
void TweedAnalysisModel::backToEditing()
{
    m_results = TweedResults{};
    m_sheet.dcnao = false;
    m_sheet.dcopcres.clear();
    m_panel = PanelState{};
    m_diagnosisAnswers.reset();
    m_parcial = false;
    m_completo = false;
    m_opened = false;
    m_impaChoiceShown = false;
    m_sheet.stage = AnalysisStage::INICIAL;
}

void TweedAnalysisModel::dispatch(Event event)
{
    const Transition* t = FindTransition(m_state, event, m_opened);
    if (!t)
        return;
    const State from = m_state;
    m_state = t->to;
    if (t->effects & FullClear)
        clearInputs();
    if (t->effects & (FullClear | BackToEditing))
        backToEditing();
    if (t->effects & Lock)
        m_parcial = true;
    if (t->effects & ShowImpaChoice) {
        m_impaChoiceShown = true;
        m_sheet.dcnao = true;
        m_sheet.dcopcres.clear();
    }
    emit transitioned(from, m_state, t->effects);
}

TweedAnalysisModel::Outcome TweedAnalysisModel::calculate()
{
    const TweedRefusal refusal = CheckTweedInputs(m_sheet);
    if (refusal != TweedRefusal::None) {
        dispatch(Event::Refused);
        return {Outcome::Refused, RefusalText(refusal), refusal == TweedRefusal::ZeroAfa};
    }
    try {
        RecordStatistic('t');
    } catch (const IoError& e) {
        // Not counted, so nothing is computed either.
        dispatch(Event::Refused);
        return {Outcome::Failed, e.message()};
    }
    m_results = ComputeTweed(m_sheet);
    // The IMPA shown is the clinician's own while one is in force; an opened analysis gets it
    // from the file once the recalculation is over.
    if (m_sheet.dcnao && !m_opened)
        m_results.targets.dcimpares = m_sheet.dcopcres;
    m_panel = PanelState{};  // it no longer matches the results
    m_diagnosisAnswers.reset();
    emit changed();
    if (m_opened) {
        dispatch(Event::ConcludedOpened);  // no IMPA question
        return {};
    }
    return {Outcome::Ask, ImpaQuestionText(m_results.targets.dcimpares)};
}

void TweedAnalysisModel::generateDiagnosis(const GuideAnswers& answers)
{
    m_panel = GenerateDiagnosis(diagnosisReadings(), answers);
    concludeDiagnosis(answers);
}

void TweedAnalysisModel::concludeDiagnosis(const GuideAnswers& answers)
{
    m_diagnosisAnswers = answers;
    emit changed();
    dispatch(Event::DiagnosisGenerated);
}

void TweedAnalysisModel::applyDiagnosis(const PanelState& panel, const GuideAnswers& answers)
{
    setPanel(panel);
    concludeDiagnosis(answers);
}

TweedAnalysisModel::Outcome TweedAnalysisModel::open(const QString& path)
{
    dispatch(Event::Limpar);
    m_opened = true;
    emit guideClearRequested();
    const AnalysisStage stage = StageFromPath(path);
    m_sheet.stage = stage;
    m_parcial = true;
    emit changed();

    TweedSheet stored;
    try {
        stored = DecodeTweed(ReadTweedFileBytes(path));
    } catch (const IoError& e) {
        return {Outcome::Failed, e.message()};
    }
    stored.stage = stage;
    stored.anmcl2 = m_sheet.anmcl2;  // the molar class is not in the file
    stored.anmcl3 = m_sheet.anmcl3;
    setSheet(stored);

    const Outcome calculated = calculate();
    KeepClinicianImpa(m_results, m_sheet);
    emit changed();
    // A recalculation stopped by a check leaves the page editable: a diagnosis generated now
    // would come from empty results.
    if (calculated.kind != Outcome::Done || !stored.guideDone || m_state != State::Concluded)
        return calculated;
    m_completo = true;
    emit changed();
    emit reminderDue();
    // The decoder restored the answers through the guide's rules; a record whose answers the
    // guide would refuse gets no diagnosis.
    const QString fault = AnswerFault(stored.guide);
    if (!fault.isEmpty())
        return {Outcome::AnswerFault, fault};
    try {
        CountGuideUse();
    } catch (const IoError& e) {
        return {Outcome::Failed, e.message()};
    }
    generateDiagnosis(stored.guide);
    return {};
}

}  // namespace qv
