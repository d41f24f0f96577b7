#pragma once
// The superimposition as a printed run: the program's print windows (setup, preview, printer,
// PDF) take it like any report.

#include "printing/ReportDocument.h"
#include "tracing/SuperimpositionView.h"

namespace qv {

class SuperimpositionDocument : public report::PrintableDocument {
public:
    SuperimpositionDocument(std::vector<SuperimposedStage> stages, SuperimpositionSheet sheet)
        : m_stages(std::move(stages)), m_sheet(std::move(sheet))
    {
    }
    QString title() const override { return m_sheet.title; }
    int lastPage() const override;
    QPageLayout pageLayout() const override { return SuperimpositionPageLayout(); }
    // Each page laid out gives its texts: the title on the first, then the table's rows.
    int print(QPagedPaintDevice& device, int from, int to, const report::ProgressFn& progress = {},
              QList<report::LaidPage>* laidOut = nullptr) const override;

private:
    std::vector<SuperimposedStage> m_stages;
    SuperimpositionSheet m_sheet;
};

}  // namespace qv
