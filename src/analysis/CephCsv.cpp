#include "analysis/CephCsv.h"

#include "analysis/ResultText.h"
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

QByteArray CephCsvHeader(const AnalysisCatalogue& catalogue)
{
    QStringList cells{QStringLiteral("Paciente"), QStringLiteral("Fase")};
    for (const AnalysisDefinition& a : catalogue.analyses)
        for (const MeasureDefinition& m : a.measures)
            cells << CsvTextCell(QStringLiteral("%1 %2 (%3)").arg(a.title, m.caption, UnitText(m.unit)));
    return cells.join(u';').toUtf8() + "\r\n";
}

QByteArray CephCsvLine(const CephCsvRow& row, const AnalysisCatalogue& catalogue)
{
    QByteArray line = CsvTextCell(row.patient).toUtf8() + ';' + CsvTextCell(row.stage).toUtf8();
    for (const CephKey k : AllMeasures(catalogue)) {
        const MeasureResult& r = row.values[k];
        line += ';';
        if (!r.ok())
            continue;
        line += F1(r.value).replace(u'.', u',').toLatin1();
        if (row.proposed.any() && !ProposedLandmarks(MeasureOf(catalogue, k).landmarks, row.proposed).empty())
            line += ProposedMark().toUtf8();
    }
    return line + "\r\n";
}

QByteArray CephCsv(std::span<const CephCsvRow> rows, const AnalysisCatalogue& catalogue)
{
    QByteArray out("\xEF\xBB\xBF");
    out += CephCsvHeader(catalogue);
    for (const CephCsvRow& r : rows)
        out += CephCsvLine(r, catalogue);
    return out;
}

}  // namespace qv
