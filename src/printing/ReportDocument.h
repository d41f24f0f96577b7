#pragma once
// One run of a report: its layout from the project with the parameters of the run, laid out
// into pages for a paint device and painted on it.

#include "printing/ReportProject.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QStringList>

#include <functional>

class QPaintDevice;
class QPagedPaintDevice;
class QPainter;

namespace qv::report {

using ParamMap = QHash<QString, QString>;

// What is drawn on a page, in device pixels.
struct DrawOp {
    enum Kind { Text, Line, Fill, Frame } kind = Text;
    QRectF rect;
    QLineF line;
    QString text;
    QFont font;
    QColor color;
    int flags = 0;
    double width = 0;  // pen width of lines and frames
};

struct LaidPage {
    QList<DrawOp> ops;
    int crosses = 0;  // crosses drawn with both bars
    // The texts drawn on the page, in drawing order.
    QStringList texts() const;
};

// Where the run is: the page being generated and how many pages there are.
using ProgressFn = std::function<bool(int page, int pages)>;  // false cancels

// Shown on the last page when the text would run past the last page of the print range.
QString TruncationNotice(int lastPage);

class ReportDocument {
public:
    ReportDocument(const ReportProject& project, const ReportLayout& report, ParamMap params, int lastPage);

    const ReportLayout& report() const { return m_report; }
    QString title() const { return m_report.title; }
    int lastPage() const { return m_lastPage; }

    // Paper, orientation and margins of the report.
    QPageLayout pageLayout() const;

    // Lays the report out for the device, whose paintable area (inside the margins) has the
    // given size in device pixels. Pages past the last page of the range are not made.
    QList<LaidPage> layout(QPaintDevice* device, const QSizeF& paintSize) const;

    static void paintPage(QPainter& painter, const LaidPage& page);

    // Lays out and paints pages from..to (1-based, cut to the pages there are) on a paged
    // device, with its own page layout. Returns the pages painted, or -1 when the device could
    // not be opened for painting; stops early when progress answers false.
    int print(QPagedPaintDevice& device, int from, int to, const ProgressFn& progress = {},
              QList<LaidPage>* laidOut = nullptr) const;

private:
    const ReportProject& m_project;
    ReportLayout m_report;
    ParamMap m_params;
    int m_lastPage;
};

}  // namespace qv::report
