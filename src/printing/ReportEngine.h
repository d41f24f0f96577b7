#pragma once
// The report engine: named text parameters, the print range's last page, and the reports of
// the project ".\Análises.rav", run through an output (the windows, or a file for tests).

#include "printing/ReportDocument.h"
#include "printing/ReportParams.h"
#include "printing/ReportProject.h"

#include <QString>

#include <memory>
#include <optional>

namespace qv::platform {
class Dialogs;
}

namespace qv::report {
class ReportOutput;
}

namespace qv {

class ReportEngine {
public:
    // Without an output the engine uses the windows (setup, preview, printer, PDF).
    explicit ReportEngine(platform::Dialogs& dialogs, std::unique_ptr<report::ReportOutput> output = nullptr);
    ~ReportEngine();
    ReportEngine(const ReportEngine&) = delete;
    ReportEngine& operator=(const ReportEngine&) = delete;

    // The project file, relative to the working folder.
    static QString ProjectFile();  // "Análises.rav"

    // Stores a named text parameter; setting a name again replaces its text.
    void SetReportParam(const QString& name, const QString& text);
    void SetReportParams(const ReportParamList& params);
    // Print range: pages 1 to n (1 at start).
    void SetLastPage(int n);
    // Loads the project if it is not loaded yet and runs the report with the parameters set so
    // far; returns when the user has finished with the output. A project that cannot be read
    // or parsed, or a report it lacks, gives an error box and nothing is output; false then.
    bool RunReport(const QString& reportName);

    // Empties every parameter, so a run never shows texts an earlier run left.
    void ClearReportParams();

    QString ReportParam(const QString& name) const { return m_params.value(name); }
    const report::ParamMap& ReportParams() const { return m_params; }
    int LastPage() const { return m_lastPage; }
    bool ProjectLoaded() const { return m_project.has_value(); }

    void setOutput(std::unique_ptr<report::ReportOutput> output);
    report::ReportOutput& output() const { return *m_output; }

private:
    platform::Dialogs& m_dialogs;
    std::unique_ptr<report::ReportOutput> m_output;
    std::optional<report::ReportProject> m_project;
    QString m_projectStamp;  // modification time and size of the file it was read from
    report::ParamMap m_params;
    int m_lastPage = 1;
};

}  // namespace qv
