#pragma once
// One run of a report: its templates filled with the parameters of the run, laid out by Qt's
// rich-text engine into pages, with the header and footer painted on every page.

#include "printing/ReportProject.h"

#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QSizeF>
#include <QStringList>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;

namespace qv::report {

// The texts of one laid-out page, in reading order: header, body, footer. A paragraph's lines
// on the page form one text, with "\n" where the parameter had a line break.
struct LaidPage {
    QStringList blocks;
    // Table cells ruled on their right and bottom sides only: the upper-left quadrants of the
    // crosses drawn on the page.
    int crosses = 0;
    QStringList texts() const { return blocks; }
};

// Where the run is: the page being generated and how many pages there are.
using ProgressFn = std::function<bool(int page, int pages)>;  // false cancels

// Shown on the last page when the text would run past the last page of the print range.
QString TruncationNotice(int lastPage);

// What the print windows need of a run (they are a module of their own: ReportWindows.h).
class PrintableDocument {
public:
    virtual ~PrintableDocument() = default;
    virtual QString title() const = 0;
    virtual int lastPage() const = 0;
    virtual QPageLayout pageLayout() const = 0;
    virtual int print(QPagedPaintDevice& device, int from, int to, const ProgressFn& progress = {},
                      QList<LaidPage>* laidOut = nullptr) const = 0;
};

class ReportDocument : public PrintableDocument {
public:
    ReportDocument(const ReportProject& project, const ReportLayout& report, ParamMap params, int lastPage);
    ~ReportDocument() override;

    // The letterhead's image, which templates show with <img src="{logotipo}"/>.
    void setLogo(const QImage& logo) { m_logo = logo; }

    const ReportLayout& report() const { return m_report; }
    QString title() const override { return m_report.title; }
    int lastPage() const override { return m_lastPage; }

    // Paper, orientation and margins of the project's page setup.
    QPageLayout pageLayout() const override;

    // Lays the run out on a printable area of the given size in millimetres; pages past the
    // last page of the range are not made.
    QList<LaidPage> layout(const QSizeF& areaMm) const;

    // Whether the header and footer, with the parameters of the run, leave the body at least a
    // quarter of the project's own page (otherwise they are cut to make room).
    bool bandsFit() const;

    // Lays out and paints pages from..to (1-based, cut to the pages there are) on a paged
    // device, with its own page layout. Returns the pages painted, or -1 when the device could
    // not be opened for painting; stops early when progress answers false.
    int print(QPagedPaintDevice& device, int from, int to, const ProgressFn& progress = {},
              QList<LaidPage>* laidOut = nullptr) const override;

    class Pages;

private:
    const ReportProject& m_project;
    ReportLayout m_report;
    ParamMap m_params;
    int m_lastPage;
    QImage m_logo;
};

// Refuses a project whose header and footer leave no room for the body of one of its reports;
// throws ProjectError naming the header's line.
void CheckBands(const ReportProject& project);

}  // namespace qv::report
