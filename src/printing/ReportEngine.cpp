#include "printing/ReportEngine.h"

#include <QDateTime>
#include <QFileInfo>

#include "platform/Dialogs.h"
#include "printing/ClinicInfo.h"
#include "printing/ReportOutput.h"
#include "printing/ReportWindows.h"
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
    // A project edited since it was read is read again, so the change shows at the next print.
    const QFileInfo file(ProjectFile());
    const QString stamp = file.exists() ? QString::number(file.lastModified().toMSecsSinceEpoch()) + u'/'
                                              + QString::number(file.size())
                                        : QString();
    if (m_project && stamp != m_projectStamp)
        m_project.reset();
    if (!m_project) {
        const QString head = QStringLiteral("Não foi possível ler o projeto de relatórios \"%1\".\r").arg(ProjectFile());
        try {
            report::ReportProject project = report::LoadReportProject(ProjectFile());
            report::CheckBands(project);
            m_project = std::move(project);
            m_projectStamp = stamp;
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
    // The letterhead is read at every run, so a change shows at the next print.
    const report::ClinicInfo clinic = report::ClinicInfo::Load();
    const QImage logo = clinic.logoImage();
    report::ParamMap params = m_params;
    const report::ParamMap letterhead = clinic.params(!logo.isNull());
    for (auto p = letterhead.begin(); p != letterhead.end(); ++p)
        params.insert(p.key(), p.value());
    report::ReportDocument document(*m_project, *it, params, m_lastPage);
    document.setLogo(logo);
    m_output->Deliver(document, m_dialogs);
    return true;
}

}  // namespace qv
