#include "records/Cp1252.h"

#include <array>

namespace qv {

namespace {

// Bytes 0x80..0x9F of Windows-1252; 0 marks the five bytes it leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D), which are read and written as the control characters of the same number.
//
// The conversion is this table on every system, not a codec of the system's: the ICU codec
// of Linux and the code page of Windows disagree on those five bytes (Windows writes them back
// as "?"), and a patient file must come back byte for byte wherever it is opened. What
// Windows-1252 cannot hold is written as SUB (0x1A), one per character, as ICU does.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
constexpr char kSubstitute = '\x1A';

int byteFor(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] != 0 && kHigh[i] == u)
            return int(0x80 + i);
    return -1;
}

}  // namespace

QByteArray ToCp1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u >= 0x80 && u < 0xA0 && kHigh[u - 0x80] == 0) {
            out.append(char(u));  // an undefined byte read back
            continue;
        }
        const int b = byteFor(c);
        out.append(b < 0 ? kSubstitute : char(b));
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;  // one character, one byte
    }
    return out;
}

QString FromCp1252(const QByteArray& bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar* p = out.data();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *p++ = b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

bool IsCp1252(QChar c) { return byteFor(c) >= 0; }

void PutShortString(QByteArray& record, int offset, int capacity, const QString& text)
{
    QByteArray bytes = ToCp1252(text);
    if (bytes.size() > capacity)
        bytes.truncate(capacity);
    record[offset] = char(bytes.size());
    for (int i = 0; i < capacity; ++i)
        record[offset + 1 + i] = i < bytes.size() ? bytes[i] : '\0';
}

QString GetShortString(const QByteArray& record, int offset, int capacity)
{
    int len = static_cast<unsigned char>(record[offset]);
    if (len > capacity)
        len = capacity;
    return FromCp1252(record.mid(offset + 1, len));
}

}  // namespace qv
