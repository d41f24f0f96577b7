#pragma once
// The template language of the report project: HTML with {placeholders} that the parameters
// of a run fill in. Pure text work; laying out and painting is ReportDocument's.
//
//   {name}          the parameter's text, HTML-escaped, line breaks kept
//   {name|caption}  what precedes the first ":  " of the text (nothing when it has none)
//   {name|value}    what follows the first ":  " (the whole text when it has none)
//   {name|rules}    the text, with each line of ten or more dashes drawn as a rule
//   {?name}...{/name}  shown only when the parameter is not empty
//   {!name}...{/name}  shown only when the parameter is empty
//   {*name}...{/name}  repeated as many times as the parameter's number says; inside it, {x}
//                   stands for that repetition's own "name.x" when the report declares it, so
//                   with name = 2 the program sets name.1.x and name.2.x. Repetitions nest:
//                   inside {*a}..{*b}, {x} is a.b.x (set as a.1.b.3.x), else a.x, else x.
//   {{              a literal "{"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <stdexcept>

namespace qv::report {

using ParamMap = QHash<QString, QString>;

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

// Throws ProjectError with "linha N: " before the message (no prefix for line 0).
[[noreturn]] void FailAt(int line, const QString& message);

// A parameter's text as HTML: escaped, CR LF, CR or LF as line breaks, runs of spaces and tabs
// kept, blank lines at the end dropped (they would only add empty pages).
QString EscapeText(const QString& text);

class Template {
public:
    enum class Filter { Plain, Caption, Value, Rules };

    // Compiles the source whose first character is on line firstLine; every placeholder must
    // name a parameter `known` accepts. Throws ProjectError naming the line of a fault.
    static Template Compile(const QString& source, int firstLine, const std::function<bool(const QString&)>& known);

    QString render(const ParamMap& params) const;
    // The parameters the template names, in sections or placeholders, with the line of their
    // first use.
    QHash<QString, int> names() const;
    bool isEmpty() const { return m_pieces.isEmpty(); }

private:
    struct Piece {
        enum Kind { Text, Value, IfSet, IfEmpty, Repeat, End } kind = Text;
        QString text;  // Text: literal HTML; otherwise the parameter's name as declared ("a.b.x")
        Filter filter = Filter::Plain;
        qsizetype end = 0;  // IfSet, IfEmpty, Repeat: index of the matching End
        int line = 0;
        int depth = 0;      // how many repetitions the name lies in ("a.b.x": 2)
        QString written;    // the name as written in the source
    };
    // The name a piece reads in a run: its repetitions' numbers put after their names.
    static QString key(const Piece& p, const QList<int>& numbers);
    qsizetype renderRange(QString& out, const ParamMap& params, qsizetype from, qsizetype to, QList<int>& numbers) const;
    QList<Piece> m_pieces;
};

}  // namespace qv::report
