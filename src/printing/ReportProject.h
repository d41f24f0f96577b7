#pragma once
// The report project (Análises.rav): styles and the layouts of the reports, read from a plain
// text file a person can edit. Pure data and its parser; drawing is ReportDocument's.

#include <QList>
#include <QMap>
#include <QString>

#include <array>
#include <stdexcept>

namespace qv::report {

enum class Align { Left, Center, Right };

struct Style {
    QString family = QStringLiteral("DejaVu Sans");
    double size = 10;  // points
    bool bold = false;
    bool italic = false;
    QString color = QStringLiteral("#000000");
    QString fill;       // background, empty for none
    Align align = Align::Left;
    double padding = 0;  // mm of inner space on every side (with a fill)
};

// A cross: two bars shown when their parameters are set, and four quadrant texts.
struct CrossDef {
    QString hbar;
    QString vbar;
    std::array<QString, 4> quadrants;  // upper-left, upper-right, lower-left, lower-right
};

enum class ElementKind {
    Text,     // a literal text; {title}, {page}, {pages} and {date} are replaced
    Field,    // a parameter's text, wrapped in its box
    Pair,     // a parameter "caption:  value" drawn as caption column and value column
    Rule,     // a horizontal line
    Box,      // a rectangle outline
    Choices,  // alternatives joined by the diagnosis joint, each with its cross
    Flow,     // a parameter's text flowing over as many pages as it needs
};

enum class Place { Absolute, Below, Same };

struct Element {
    ElementKind kind = ElementKind::Text;
    int line = 0;  // in the project file, for messages
    double x = 0;
    // mm from the area's top (Absolute), gap below the previous row (Below), or offset from the
    // top of the previous element's row (Same)
    double y = 0;
    Place place = Place::Below;
    double w = 0;  // 0: to the right edge of the area
    double h = 0;  // 0: as tall as the text needs
    QString style;
    QString text;     // Text
    QString param;    // Field, Pair, Choices, Flow
    QString ifParam;  // drawn only when this parameter is not empty
    bool hideEmpty = false;
    // Pair
    double captionWidth = 0;  // 0: half the width
    QString valueStyle;
    bool underline = false;  // a hairline under the row
    // Rule and Box
    double thickness = 0.25;  // mm
    QString color = QStringLiteral("#000000");
    // Choices
    QList<CrossDef> crosses;
    double crossSize = 16;  // mm, the side of the cross's square
    QString quadrantStyle;
    QString jointStyle;
};

struct ReportLayout {
    QString name;
    QString title;
    QString paper = QStringLiteral("A4");
    bool landscape = false;
    std::array<double, 4> margins{15, 12, 15, 12};  // left, top, right, bottom, mm
    double bodyGap = 4;  // mm between the header and the body
    QList<Element> header;
    QList<Element> footer;
    QList<QList<Element>> pages;
};

struct ReportProject {
    QString name;
    QMap<QString, Style> styles;
    QMap<QString, ReportLayout> reports;
};

// A project that cannot be parsed; line 0 when the fault is not on one line.
class ProjectError : public std::runtime_error {
public:
    ProjectError(int line, const QString& message)
        : std::runtime_error(message.toStdString()), m_line(line), m_message(message)
    {
    }
    int line() const { return m_line; }
    const QString& message() const { return m_message; }

private:
    int m_line;
    QString m_message;
};

// Parses the project's text; throws ProjectError.
ReportProject ParseReportProject(const QString& text);

// Reads and parses the file (Windows-1252); throws IoError or ProjectError.
ReportProject LoadReportProject(const QString& path);

}  // namespace qv::report
