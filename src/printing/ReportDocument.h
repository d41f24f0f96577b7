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
#include <optional>

class QPagedPaintDevice;
class QPainter;

namespace qv::report {

// The texts of one laid-out page, in reading order: header, body, footer. A paragraph's lines
// on the page form one text, with "\n" where the parameter had a line break.
struct LaidPage {
    QStringList blocks;
    // How many lines each text takes on the page, wrapped lines counted.
    QList<int> lines;
    // How many of the texts are the header's (the first) and the footer's (the last).
    qsizetype headerTexts = 0;
    qsizetype footerTexts = 0;
    // Table cells ruled on their right and bottom sides only: the upper-left quadrants of the
    // crosses drawn on the page.
    int crosses = 0;
    QStringList texts() const { return blocks; }
    // The texts between the header and the footer.
    QStringList body() const { return blocks.mid(headerTexts, blocks.size() - headerTexts - footerTexts); }
};

// Where the run is: the page being generated and how many pages there are.
using ProgressFn = std::function<bool(int page, int pages)>;  // false cancels

// Shown on the last page when the text would run past the last page of the print range.
QString TruncationNotice(int lastPage);

// What the print windows need of a run (they are a module of their own: ReportWindows.h).
// "MARIA-INICIAL - Análise Cefalométrica.pdf": the patient ("nome", "Paciente:  MARIA" or
// "Paciente:  MARIA  -  INICIAL") and the stage ("fase") of a run before its title, as the exports
// name their files; characters no file name may hold become "_".
QString ProposedPdfName(const ParamMap& params, const QString& title);

class PrintableDocument {
public:
    virtual ~PrintableDocument() = default;
    virtual QString title() const = 0;
    // The name a PDF of it is proposed under (without the folder); the title when it names no patient.
    virtual QString fileName() const { return title() + QStringLiteral(".pdf"); }
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
    void setLogo(const QImage& logo)
    {
        m_logo = logo;
        m_range.reset();
    }

    const ReportLayout& report() const { return m_report; }
    QString title() const override { return m_report.title; }
    QString fileName() const override;
    // The last page of the print range: the one the program set, or further when the clinic's
    // letterhead takes room that the body would otherwise have had (on the project's own page).
    int lastPage() const override;

    // Paper, orientation and margins of the project's page setup.
    QPageLayout pageLayout() const override;

    // Lays the run out on a printable area of the given size in millimetres; pages past the
    // last page of the range are not made.
    QList<LaidPage> layout(const QSizeF& areaMm) const;

    // Whether the header and footer, with the parameters of the run, leave the body at least a
    // quarter of the project's own page (otherwise they are cut to make room).
    bool bandsFit() const;

    // Lays out and paints pages from..to (1-based, cut to the pages there are; a range that
    // reaches lastPage() runs to the report's end) on a paged device, with its own page layout. Returns the pages painted, or -1 when the device could
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
    mutable std::optional<int> m_range;  // lastPage(), once laid out
};

// Refuses a project whose header and footer leave no room for the body of one of its reports;
// throws ProjectError naming the header's line.
void CheckBands(const ReportProject& project);

}  // namespace qv::report
