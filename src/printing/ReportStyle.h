#pragma once
// The sizes a hand-edited report project may ask for: every number finite, letters and spaces
// of a size a page can hold, widths and heights inside the printable area. An absurd size would
// print pages of nothing or push text off the paper, so the project is refused at loading,
// naming the line.

#include <QList>
#include <QString>

namespace qv::report {

class SizeChecker {
public:
    // A style sheet or a style attribute whose first character is on firstLine; numbers that are
    // no length of a known property are at most `limit`. Throws ProjectError.
    void checkStyle(const QString& css, int firstLine, double limit);
    // A number attribute (width, cellpadding ...) of an element on `line`. Throws ProjectError.
    void checkAttribute(const QString& name, const QString& value, int line);
    // The widths and heights seen so far against the printable area of the page setup, in
    // millimetres. Throws ProjectError naming the first that does not fit.
    void checkArea(double widthMm, double heightMm) const;

private:
    struct Length {
        int line = 0;
        QString text;  // as written, for the message
        double mm = 0;
        bool horizontal = true;
    };
    QList<Length> m_lengths;
};

// Numbers written in the text (colours aside) must be finite and at most `limit`; the line of a
// fault is counted from firstLine. Throws ProjectError.
void CheckNumbers(const QString& text, int firstLine, double limit);

}  // namespace qv::report
