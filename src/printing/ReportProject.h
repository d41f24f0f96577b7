#pragma once
// The report project (Análises.rav): the page setup, a style sheet, one header and footer
// shared by every report, and the reports as HTML templates, read from a file a person can
// edit. Pure data and its parser; laying out and painting is ReportDocument's.

#include "printing/ReportTemplate.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>

namespace qv::report {

struct PageSetup {
    QString paper = QStringLiteral("A4");  // A4, A5, Letter or Legal
    bool landscape = false;
    std::array<double, 4> margins{18, 14, 18, 12};  // left, top, right, bottom, mm
    double gap = 5;  // mm between the header, the body and the footer
};

struct ReportLayout {
    QString name;
    QString title;
    QSet<QString> params;    // the parameters the program sets for this report
    QList<Template> pages;   // each starts on a new page
    int line = 0;            // of its <report> element, for messages
};

struct ReportProject {
    QString name;
    PageSetup setup;
    QString styleSheet;
    Template header;
    Template footer;
    int headerLine = 0;  // of <header> and <footer>, for messages
    int footerLine = 0;
    QMap<QString, ReportLayout> reports;
};

// Parameters every template may name besides the report's own: the report's title, the page
// number, the page count, the date, and the clinic's letterhead (see ClinicInfo).
const QStringList& BuiltInParams();

// Width and height of the paper in millimetres.
std::pair<double, double> PaperSize(const QString& paper, bool landscape);

// Parses the project's text; throws ProjectError.
ReportProject ParseReportProject(const QString& text);

// Reads and parses the file (Windows-1252); throws IoError or ProjectError.
ReportProject LoadReportProject(const QString& path);

}  // namespace qv::report
