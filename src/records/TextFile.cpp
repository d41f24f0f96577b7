#include "records/TextFile.h"

#include "records/Cp1252.h"

namespace qv {

QStringList SplitTextLines(const QByteArray& bytes)
{
    const QString text = FromCp1252(bytes);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QByteArray JoinTextLines(const QStringList& lines)
{
    // One conversion for the whole text: the codec is costly to set up per line.
    QString text;
    qsizetype size = 0;
    for (const QString& l : lines)
        size += l.size() + 2;
    text.reserve(size);
    for (const QString& l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return ToCp1252(text);
}

QString StorableText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out.append(u'\n');
        } else if (c == u'\n' || c == u'\t') {
            out.append(c);
        } else if (c.unicode() >= 0x20 && c.unicode() != 0x7F && IsCp1252(c)) {
            out.append(c);
        }
    }
    return out;
}

PatientText ParsePatientText(const QByteArray& bytes)
{
    PatientText t;
    t.lines = SplitTextLines(bytes);
    if (!t.lines.isEmpty())
        t.patient = t.lines.takeFirst();
    return t;
}

}  // namespace qv
