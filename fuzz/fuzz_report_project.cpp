// Fuzzes the report project: whatever the bytes of "Análises.rav" hold, loading refuses them
// with a ProjectError or gives a project whose every report lays out and paints.
// Links against the printing sources (ReportProject, ReportTemplate, ReportDocument) and
// records/Cp1252, with Qt Core and Gui.

#include "printing/ReportDocument.h"
#include "printing/ReportProject.h"
#include "records/Cp1252.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_report_project";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;

    const QString text = qv::FromCp1252(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    qv::report::ReportProject project;
    try {
        project = qv::report::ParseReportProject(text);
        qv::report::CheckBands(project);
    } catch (const qv::report::ProjectError&) {
        return 0;
    }
    for (const qv::report::ReportLayout& report : project.reports) {
        const qv::report::ReportDocument document(project, report, {}, 3);
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(150);
        writer.setPageLayout(document.pageLayout());
        document.print(writer, 1, document.lastPage());
    }
    return 0;
}
