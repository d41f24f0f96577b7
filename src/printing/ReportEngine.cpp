#include "printing/ReportEngine.h"

#include "platform/Dialogs.h"
#include "printing/ReportOutput.h"
#include "records/IoError.h"

namespace qv {

ReportEngine::ReportEngine(platform::Dialogs& dialogs, std::unique_ptr<report::ReportOutput> output)
    : m_dialogs(dialogs), m_output(output ? std::move(output) : std::make_unique<report::QtReportOutput>())
{
}

ReportEngine::~ReportEngine() = default;

QString ReportEngine::ProjectFile() { return QStringLiteral("Análises.rav"); }

void ReportEngine::SetReportParam(const QString& name, const QString& text) { m_params.insert(name, text); }

void ReportEngine::SetReportParams(const ReportParamList& params)
{
    for (const qv::ReportParam& p : params)
        SetReportParam(p.name, p.text);
}

void ReportEngine::SetLastPage(int n) { m_lastPage = std::max(1, n); }

void ReportEngine::ClearReportParams() { m_params.clear(); }

void ReportEngine::setOutput(std::unique_ptr<report::ReportOutput> output)
{
    m_output = output ? std::move(output) : std::make_unique<report::QtReportOutput>();
}

bool ReportEngine::RunReport(const QString& reportName)
{
    const auto error = [this](const QString& text) {
        // The print action enables "&Ocultar" again when the run is over.
        m_dialogs.ShowNotice(platform::NoticeKind::Error, text, report::EngineTitle(), false);
    };
    if (!m_project) {
        const QString head = QStringLiteral("Não foi possível ler o projeto de relatórios \"%1\".\r").arg(ProjectFile());
        try {
            m_project = report::LoadReportProject(ProjectFile());
        } catch (const IoError& e) {
            error(head + e.message());
            return false;
        } catch (const report::ProjectError& e) {
            error(head + e.message());
            return false;
        }
    }
    const auto it = m_project->reports.constFind(reportName);
    if (it == m_project->reports.constEnd()) {
        error(QStringLiteral("O relatório \"%1\" não existe no projeto \"%2\".").arg(reportName, ProjectFile()));
        return false;
    }
    const report::ReportDocument document(*m_project, *it, m_params, m_lastPage);
    m_output->Deliver(document, m_dialogs);
    return true;
}

}  // namespace qv
