#include "printing/PrintActions.h"

#include "platform/PageContext.h"
#include "printing/ReportEngine.h"
#include "records/Cp1252.h"
#include "records/FileIo.h"
#include "records/IoError.h"

#include <QFileInfo>

namespace qv {

namespace {

const QString kNotConcluded = QStringLiteral("A Análise não está concluída!");
const QString kNoPlan = QStringLiteral("Não há plano de tratamento aberto!");

// Runs the report when the project is installed, with "&Ocultar" disabled while it runs.
PrintOutcome run(ReportEngine& engine, const platform::PageContext& page, const QString& report,
                 const QString& missingText)
{
    if (!QFileInfo::exists(ReportEngine::ProjectFile())) {
        page.error(missingText);
        return PrintOutcome::ProjectMissing;
    }
    platform::Dialogs& dialogs = page.dialogs();
    dialogs.setHideItemEnabled(false);
    struct Enable {
        platform::Dialogs& d;
        ~Enable() { d.setHideItemEnabled(true); }
    } enable{dialogs};
    // The engine has already told the user why a report could not run.
    return engine.RunReport(report) ? PrintOutcome::Ran : PrintOutcome::Failed;
}

}  // namespace

QString MissingComponentsText()
{
    return QStringLiteral("Alguns componentes necessários à execução do software não foram encontrados!\r"
                          "                    Reinstale o software e tente executá-lo novamente.");
}

QString MissingFeatureText()
{
    return QStringLiteral("Alguns componentes necessários à execução desta funcionalidade não foram encontrados!\r")
           + QString(26, u' ') + QStringLiteral("Reinstale o software e tente executá-lo novamente.");
}

PrintOutcome PrintEvolution(ReportEngine& engine, const platform::PageContext& page, const ReportParamList& params,
                            int lastPage)
{
    engine.ClearReportParams();
    engine.SetReportParams(params);
    engine.SetLastPage(lastPage);
    return run(engine, page, QStringLiteral("report5"), MissingFeatureText());
}

PrintOutcome PrintCephalometric(ReportEngine& engine, const platform::PageContext& page, const ReportParamList& params,
                                int lastPage)
{
    engine.ClearReportParams();
    engine.SetReportParams(params);
    engine.SetLastPage(lastPage);
    return run(engine, page, QStringLiteral("report6"), MissingFeatureText());
}

QString HistoryFilePath(const QString& plpaciente) { return QStringLiteral("Análises/") + plpaciente + QStringLiteral(".pln"); }

PrintOutcome PrintTweed(ReportEngine& engine, const platform::PageContext& page, const TweedSheet& sheet,
                        const TweedResults& results, const PanelState& panel)
{
    if (results.difficulty.idlabel.isEmpty()) {
        page.warn(kNotConcluded);
        return PrintOutcome::Refused;
    }
    const TweedReportPlan plan = BuildTweedReport(sheet, results, panel);
    // Parameters this run does not set (crosses, diagnosis groups) must not keep an earlier patient's texts.
    engine.ClearReportParams();
    engine.SetReportParams(plan.params);
    engine.SetReportParams(plan.alternatives);
    engine.SetLastPage(plan.lastPage);
    return run(engine, page, QStringLiteral("report1"), MissingFeatureText());
}

PrintOutcome PrintBolton(ReportEngine& engine, const platform::PageContext& page, const BoltonSheet& sheet,
                         const BoltonResults& results)
{
    if (results.diag12info.isEmpty()) {
        page.warn(kNotConcluded);
        return PrintOutcome::Refused;
    }
    engine.ClearReportParams();
    engine.SetReportParams(BuildBoltonReport(sheet, results));
    engine.SetLastPage(1);
    return run(engine, page, QStringLiteral("report2"), MissingFeatureText());
}

PrintOutcome PrintHistory(ReportEngine& engine, const platform::PageContext& page, const QString& plpaciente,
                          int historicoLines)
{
    if (historicoLines <= 0) {
        page.warn(kNoPlan);
        return PrintOutcome::Refused;
    }
    engine.ClearReportParams();
    const ReportParamList params = BuildHistoryReport(plpaciente, QString());
    engine.SetReportParam(params[0].name, params[0].text);
    QStringList fileLines;
    try {
        fileLines = SplitFileLines(FromCp1252(ReadFileBytes(HistoryFilePath(plpaciente))));
    } catch (const IoError& e) {
        page.failure(e.message());
        return PrintOutcome::Failed;
    }
    engine.SetReportParam(QStringLiteral("memo1"), HistoryMemo(fileLines, historicoLines));
    engine.SetLastPage(50);
    return run(engine, page, QStringLiteral("report3"), MissingFeatureText());
}

PrintOutcome PrintPlan(ReportEngine& engine, const platform::PageContext& page, const QString& popaciente,
                       const QString& outline, int outlineLines, const std::function<bool()>& posalvarclick)
{
    if (outlineLines <= 0 || popaciente.isEmpty()) {
        page.warn(kNoPlan);
        return PrintOutcome::Refused;
    }
    if (!posalvarclick || !posalvarclick())
        return PrintOutcome::Failed;
    engine.ClearReportParams();
    engine.SetReportParams(BuildPlanReport(popaciente, outline));
    engine.SetLastPage(50);
    return run(engine, page, QStringLiteral("report4"), MissingComponentsText());
}

}  // namespace qv
