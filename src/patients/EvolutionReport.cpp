#include "patients/EvolutionReport.h"

namespace qv {

namespace {
constexpr int kStageColumns = 4;
}

QString EvolutionCellParam(int row, const char* cell)
{
    return QStringLiteral("l%1%2").arg(row, 2, 10, QLatin1Char('0')).arg(QLatin1String(cell));
}

EvolutionReportPlan BuildEvolutionReport(const Evolution& ev, const QByteArray& chartPng)
{
    EvolutionReportPlan plan;
    ReportParamList& p = plan.params;
    p.append({QStringLiteral("nome"), QStringLiteral("Paciente:  ") + ev.patient});  // as the other reports' headers
    // Present stages fill the columns from the left; the rest print empty.
    for (int c = 0; c < kStageColumns; ++c)
        p.append({QStringLiteral("fase%1").arg(c + 1), c < ev.headers.size() ? ev.headers[c] : QString()});
    p.append({QStringLiteral("variacao"), QString(ev.changeHeader()).replace(u'\n', u' ')});
    for (int r = 0; r < ev.rows.size(); ++r) {
        const EvolutionRow& row = ev.rows[r];
        p.append({EvolutionCellParam(r + 1, "rot"), row.label});
        if (row.kind == EvolutionRow::Section)
            continue;  // a heading spans the table
        static const char* const cells[kStageColumns] = {"f1", "f2", "f3", "f4"};
        for (int c = 0; c < kStageColumns; ++c)
            p.append({EvolutionCellParam(r + 1, cells[c]), c < row.cells.size() ? row.cells[c] : QString()});
        p.append({EvolutionCellParam(r + 1, "var"), row.change});
    }
    QStringList notes;
    for (int c = 0; c < ev.notes.size(); ++c)
        if (!ev.notes[c].isEmpty())
            notes << QStringLiteral("%1: %2").arg(ev.headers[c], ev.notes[c]);
    p.append({QStringLiteral("obs"), notes.join(QStringLiteral("\r\n"))});
    p.append({QStringLiteral("grafico"), chartPng.isEmpty() ? QString()
                                                            : QStringLiteral("data:image/png;base64,")
                                                                  + QString::fromLatin1(chartPng.toBase64())});
    return plan;
}

QString EvolutionPdfName(const QString& patient) { return patient + QStringLiteral("-EVOLUÇÃO.pdf"); }

QString WithPdfSuffix(const QString& path)
{
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".pdf");
}

}  // namespace qv
