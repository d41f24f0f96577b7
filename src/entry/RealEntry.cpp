#include "entry/RealEntry.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace qv {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

double ParseReal(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    if (i == n)
        return 0.0;  // empty text, or only spaces: the grammar needs a number

    std::string buf;
    buf.reserve(size_t(n) + 4);
    if (text[i] == u'+' || text[i] == u'-') {
        if (text[i] == u'-')
            buf.push_back('-');
        ++i;
    }
    const qsizetype intStart = i;
    while (i < n && isDigit(text[i]))
        buf.push_back(char(text[i++].unicode()));
    qsizetype fracDigits = 0;
    if (i < n && text[i] == u'.') {
        ++i;
        if (i == intStart + 1)
            buf.push_back('0');
        buf.push_back('.');
        while (i < n && isDigit(text[i])) {
            buf.push_back(char(text[i++].unicode()));
            ++fracDigits;
        }
        if (fracDigits == 0)
            buf.push_back('0');
    }
    if (i == intStart)
        return 0.0;  // a sign with nothing after it
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        buf.push_back('e');
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            if (text[i] == u'-')
                buf.push_back('-');
            ++i;
        }
        const qsizetype expStart = i;
        while (i < n && isDigit(text[i]))
            buf.push_back(char(text[i++].unicode()));
        if (i == expStart)
            return 0.0;
    }
    if (i != n)
        return 0.0;  // anything after the number, a trailing space included

    double value = 0.0;
    const auto res = std::from_chars(buf.data(), buf.data() + buf.size(), value);
    if (res.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

QString FormatReal(int width, int decimals, double value)
{
    QString out;
    if (!std::isfinite(value)) {
        out = QStringLiteral("0");
    } else {
        if (decimals < 0)
            decimals = 0;
        const bool negative = value < 0;
        const double m = std::fabs(value);
        double scale = 1.0;
        for (int d = 0; d < decimals; ++d)
            scale *= 10.0;
        // m * scale exactly equals x + err (scale is exact for the decimals we use).
        const double x = m * scale;
        if (decimals <= 15 && x < 9.0e15) {
            const double err = std::fma(m, scale, -x);
            const double f = std::floor(x);
            // Sign of (fraction - 0.5) of the exact product; a double sum keeps its sign.
            const double cmp = ((x - f) - 0.5) + err;
            const auto digitsValue = static_cast<std::uint64_t>(f) + (cmp >= 0 ? 1u : 0u);
            QString digits = QString::number(digitsValue);
            if (decimals > 0) {
                if (digits.size() <= decimals)
                    digits = QString(decimals + 1 - digits.size(), u'0') + digits;
                digits.insert(digits.size() - decimals, u'.');
            }
            out = digits;
        } else {
            out = QString::number(m, 'f', decimals);
        }
        if (negative)
            out.prepend(u'-');
    }
    if (out.size() < width)
        out = QString(width - out.size(), u' ') + out;
    return out;
}

KeyVerdict FilterRealKey(const QString& currentText, RealFamily family, QChar key)
{
    if (key == u',')
        key = u'.';
    if (key == QChar(kBackspace) || isDigit(key))
        return KeyVerdict::accept(key);
    if (key == u'.') {
        if (!currentText.isEmpty() && !currentText.contains(u'.'))
            return KeyVerdict::accept(key);
        return KeyVerdict::discard();
    }
    if (family == RealFamily::Signed && key == u'-') {
        if (currentText.isEmpty())
            return KeyVerdict::accept(key);
        return KeyVerdict::discard();
    }
    return KeyVerdict::refuse();
}

KeyVerdict FilterIntegerKey(QChar key)
{
    if (key == QChar(kBackspace) || isDigit(key))
        return KeyVerdict::accept(key);
    return KeyVerdict::refuse();
}

KeyVerdict FilterNameKey(QChar key)
{
    char16_t c = key.unicode();
    if (c >= u'a' && c <= u'z')
        c = char16_t(c - 32);
    else if ((c >= 224 && c <= 228) || (c >= 231 && c <= 239) || (c >= 241 && c <= 246)
             || (c >= 249 && c <= 252))
        c = char16_t(c - 32);
    if (c == kBackspace || c == u' ' || c == u',' || (c >= u'A' && c <= u'Z') || (c >= 192 && c <= 221))
        return KeyVerdict::accept(QChar(c));
    return KeyVerdict::refuse();
}

QString RealRefusalText(RealFamily family)
{
    return family == RealFamily::Positive ? QStringLiteral("Este campo só admite valores REAIS POSITIVOS!")
                                          : QStringLiteral("Este campo só admite valores REAIS!");
}

QString IntegerRefusalText() { return QStringLiteral("Este campo só admite valores INTEIROS POSITIVOS!"); }

QString NameRefusalText() { return QStringLiteral("Este campo só admite valores ALFABÉTICOS!"); }

QString NormaliseRealText(const QString& text, RealFamily family)
{
    if (text.contains(u'.')) {
        for (qsizetype i = 0; i + 1 < text.size(); ++i)
            if (text[i] == u'.' && isDigit(text[i + 1]))
                return text;
        return text + u'0';
    }
    if (text.isEmpty())
        return text;
    if (family == RealFamily::Signed && text == QStringLiteral("-"))
        return QString();
    return text + QStringLiteral(".0");
}

QString ForceNegative(const QString& text)
{
    if (!text.isEmpty() && !text.contains(u'-'))
        return u'-' + text;
    return text;
}

QString MolarCorrectionWarning(const QString& text, bool classII, bool classIII)
{
    if (classII) {
        if (!text.isEmpty() && !text.contains(u'-'))
            return QStringLiteral("Para Classe II, Correção Molar deveria ser NEGATIVA!");
    } else if (classIII) {
        if (!text.isEmpty() && text.contains(u'-'))
            return QStringLiteral("Para Classe III, Correção Molar deveria ser POSITIVA!");
    }
    return QString();
}

}  // namespace qv
