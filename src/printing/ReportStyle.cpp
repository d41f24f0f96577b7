#include "printing/ReportStyle.h"

#include "printing/ReportTemplate.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace qv::report {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kMaxFontPt = 72;
constexpr double kMinFontPt = 1;
constexpr double kMaxSpacingMm = 30;  // a margin, padding, indent or border
constexpr double kEmMm = 10 * kMmPerInch / 72;  // an em of the default 10 pt letter
constexpr int kMaxIndents = 10;

int lineAt(const QString& text, qsizetype at, int firstLine) { return firstLine + int(text.left(at).count(u'\n')); }

const QRegularExpression& numberRe()
{
    static const QRegularExpression re(QStringLiteral("[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?"));
    return re;
}

// Colours and comments blanked out, keeping every offset and line break.
QString withoutColours(const QString& text)
{
    static const QRegularExpression colour(QStringLiteral("#[0-9A-Fa-f]+|/\\*.*?\\*/"),
                                           QRegularExpression::DotMatchesEverythingOption);
    QString t = text;
    for (auto it = colour.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        for (qsizetype k = m.capturedStart(); k < m.capturedEnd(); ++k)
            if (t[k] != u'\n')
                t[k] = u' ';
    }
    return t;
}

std::optional<double> toMm(double value, const QString& unit)
{
    const QString u = unit.toLower();
    if (u.isEmpty() || u == QLatin1String("px"))
        return value * kMmPerInch / 96;
    if (u == QLatin1String("pt"))
        return value * kMmPerInch / 72;
    if (u == QLatin1String("pc"))
        return value * kMmPerInch / 6;
    if (u == QLatin1String("mm"))
        return value;
    if (u == QLatin1String("cm"))
        return value * 10;
    if (u == QLatin1String("in"))
        return value * kMmPerInch;
    if (u == QLatin1String("em"))
        return value * kEmMm;
    if (u == QLatin1String("ex"))
        return value * kEmMm / 2;
    return std::nullopt;
}

enum class Kind { Other, FontSize, Spacing, LineHeight, Width, Height, Indents };

Kind kindOf(const QString& property)
{
    const QString p = property.toLower();
    if (p == QLatin1String("font-size"))
        return Kind::FontSize;
    if (p == QLatin1String("line-height"))
        return Kind::LineHeight;
    if (p == QLatin1String("-qt-block-indent") || p == QLatin1String("-qt-list-indent"))
        return Kind::Indents;
    if (p == QLatin1String("width") || p == QLatin1String("min-width") || p == QLatin1String("max-width"))
        return Kind::Width;
    if (p == QLatin1String("height") || p == QLatin1String("min-height") || p == QLatin1String("max-height"))
        return Kind::Height;
    for (const char* prefix : {"margin", "padding", "border", "text-indent", "letter-spacing", "word-spacing"})
        if (p.startsWith(QLatin1String(prefix)))
            return Kind::Spacing;
    return Kind::Other;
}

}  // namespace

void CheckNumbers(const QString& input, int firstLine, double limit)
{
    static const QRegularExpression word(QStringLiteral("\\b(nan|inf|infinity)\\b"), QRegularExpression::CaseInsensitiveOption);
    const QString t = withoutColours(input);
    const auto w = word.match(t);
    if (w.hasMatch())
        FailAt(lineAt(t, w.capturedStart(), firstLine), QStringLiteral("número inválido: \"%1\"").arg(w.captured(0)));
    for (auto it = numberRe().globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        const double v = m.captured(0).toDouble();
        if (!std::isfinite(v) || std::abs(v) > limit)
            FailAt(lineAt(t, m.capturedStart(), firstLine),
                   QStringLiteral("valor fora de proporção: \"%1\" (no máximo %2)").arg(m.captured(0)).arg(limit));
    }
}

void SizeChecker::checkStyle(const QString& css, int firstLine, double limit)
{
    CheckNumbers(css, firstLine, limit);
    static const QRegularExpression declaration(QStringLiteral("([A-Za-z-]+)\\s*:\\s*([^;{}]*)"));
    static const QRegularExpression length(QStringLiteral("([-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?)\\s*([A-Za-z]+|%)?"));
    const QString t = withoutColours(css);
    for (auto it = declaration.globalMatch(t); it.hasNext();) {
        const auto d = it.next();
        const Kind kind = kindOf(d.captured(1));
        if (kind == Kind::Other)
            continue;
        const QString written = u'"' + d.captured(0).simplified() + u'"';
        for (auto n = length.globalMatch(d.captured(2)); n.hasNext();) {
            const auto m = n.next();
            const int line = lineAt(t, d.capturedStart(2) + m.capturedStart(), firstLine);
            const double v = m.captured(1).toDouble();
            const bool percent = m.captured(2) == QLatin1String("%");
            if (kind == Kind::Indents) {
                // A count of indentation steps of 40 px each.
                if (v < 0 || v > kMaxIndents || !m.captured(2).isEmpty())
                    FailAt(line, QStringLiteral("recuo fora de proporção: %1 (de 0 a %2)").arg(written).arg(kMaxIndents));
                continue;
            }
            const std::optional<double> mm = percent ? std::nullopt : toMm(v, m.captured(2));
            if (!percent && !mm)
                continue;  // not a length (a weight, a count)
            switch (kind) {
            case Kind::FontSize:
                if (percent ? v <= 0 || v > 600 : *mm < kMinFontPt * kMmPerInch / 72 - 1e-9 || *mm > kMaxFontPt * kMmPerInch / 72 + 1e-9)
                    FailAt(line, QStringLiteral("tamanho de letra fora de proporção: %1 (de %2 a %3 pt)")
                                     .arg(written)
                                     .arg(kMinFontPt)
                                     .arg(kMaxFontPt));
                break;
            case Kind::Spacing:
                if (percent ? std::abs(v) > 100 : std::abs(*mm) > kMaxSpacingMm)
                    FailAt(line, QStringLiteral("espaço fora de proporção: %1 (no máximo %2 mm)").arg(written).arg(kMaxSpacingMm));
                break;
            case Kind::LineHeight:
                if (percent ? v < 0 || v > 500 : *mm < 0 || *mm > kMaxSpacingMm)
                    FailAt(line, QStringLiteral("altura de linha fora de proporção: %1 (no máximo 500% ou %2 mm)")
                                     .arg(written)
                                     .arg(kMaxSpacingMm));
                break;
            case Kind::Width:
            case Kind::Height:
                if (v < 0 || (percent && v > 100))
                    FailAt(line, QStringLiteral("medida fora de proporção: %1 (de 0 a 100%)").arg(written));
                if (mm)
                    m_lengths.append({line, written, *mm, kind == Kind::Width});
                break;
            case Kind::Other:
            case Kind::Indents:
                break;
            }
        }
    }
}

void SizeChecker::checkAttribute(const QString& name, const QString& value, int line)
{
    if (name == QLatin1String("style")) {
        checkStyle(value, line, 2000);
        return;
    }
    const bool small = name == QLatin1String("colspan") || name == QLatin1String("rowspan")
                       || name.startsWith(QLatin1String("cell")) || name == QLatin1String("border");
    CheckNumbers(value, line, small ? 20 : 2000);
    if (name != QLatin1String("width") && name != QLatin1String("height"))
        return;
    static const QRegularExpression size(QStringLiteral("^\\s*(\\d+\\.?\\d*|\\.\\d+)\\s*(%|px)?\\s*$"));
    const auto m = size.match(value);
    if (!m.hasMatch())
        return;
    const QString written = QStringLiteral("%1=\"%2\"").arg(name, value);
    const double v = m.captured(1).toDouble();
    if (m.captured(2) == QLatin1String("%")) {
        if (v > 100)
            FailAt(line, QStringLiteral("medida fora de proporção: %1 (de 0 a 100%)").arg(written));
        return;
    }
    m_lengths.append({line, written, v * kMmPerInch / 96, name == QLatin1String("width")});
}

void SizeChecker::checkArea(double widthMm, double heightMm) const
{
    for (const Length& l : m_lengths) {
        if (l.mm <= (l.horizontal ? widthMm : heightMm) + 0.05)
            continue;
        FailAt(l.line, QStringLiteral("%1 não cabe na área de impressão da página (%2 × %3 mm)")
                           .arg(l.text)
                           .arg(widthMm, 0, 'f', 1)
                           .arg(heightMm, 0, 'f', 1));
    }
}

}  // namespace qv::report
