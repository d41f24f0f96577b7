#include "analysis/CephCsv.h"

#include "entry/RealEntry.h"

#include <QStringList>

namespace qv {

QString CsvTextCell(const QString& text)
{
    QString t = text;
    // A leading apostrophe makes a spreadsheet take the cell as text, never as a formula.
    if (!t.isEmpty() && QStringLiteral("=+-@\t\r").contains(t.front()))
        t.prepend(u'\'');
    if (t.contains(u';') || t.contains(u'"') || t.contains(u'\n') || t.contains(u'\r') || t.startsWith(u'\''))
        t = u'"' + QString(t).replace(u'"', QStringLiteral("\"\"")) + u'"';
    return t;
}

QByteArray CephCsvHeader()
{
    QStringList cells{QStringLiteral("Paciente"), QStringLiteral("Fase")};
    for (int i = 0; i < kCephCount; ++i) {
        const Ceph m = Ceph(i);
        cells << CsvTextCell(QStringLiteral("%1 %2 (%3)").arg(Title(Info(m).analysis), Caption(m), UnitText(Info(m).unit)));
    }
    return cells.join(u';').toUtf8() + "\r\n";
}

QByteArray CephCsvLine(const CephCsvRow& row)
{
    QByteArray line = CsvTextCell(row.patient).toUtf8() + ';' + CsvTextCell(row.stage).toUtf8();
    for (const MeasureResult& r : row.values.results) {
        line += ';';
        if (r.ok())
            line += F1(r.value).replace(u'.', u',').toLatin1();
    }
    return line + "\r\n";
}

QByteArray CephCsv(std::span<const CephCsvRow> rows)
{
    QByteArray out("\xEF\xBB\xBF");
    out += CephCsvHeader();
    for (const CephCsvRow& r : rows)
        out += CephCsvLine(r);
    return out;
}

}  // namespace qv
