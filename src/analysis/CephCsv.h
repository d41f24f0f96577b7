#pragma once
// Every cephalometric measure of patients' stages as a spreadsheet file: UTF-8 with a byte order
// mark, ';' between cells, decimal comma (as spreadsheets set up for Brazil read them), one row
// per patient and stage under a header row of measure names. A value resting on a point still only
// proposed is written with its mark ("83,2 (proposto)"), so no sum takes it unknowingly.

#include "analysis/CephMeasures.h"

#include <QByteArray>
#include <QString>

#include <span>

namespace qv {

struct CephCsvRow {
    QString patient;
    QString stage;
    CephValues values;
    LandmarkFlags proposed{};  // the points still only proposed
};

// A column per measure of every analysis of the catalogue, in order: "Steiner SNA (°)".
QByteArray CephCsvHeader(const AnalysisCatalogue& catalogue = ShippedAnalyses());
// One line, ending in "\r\n"; a value not measured is an empty cell.
QByteArray CephCsvLine(const CephCsvRow& row, const AnalysisCatalogue& catalogue = ShippedAnalyses());
QByteArray CephCsv(std::span<const CephCsvRow> rows, const AnalysisCatalogue& catalogue = ShippedAnalyses());

// A text cell as written: quoted where it holds ';', '"' or a line break, and kept from being
// read as a formula when it begins with '=', '+', '-', '@', a tab or a carriage return.
QString CsvTextCell(const QString& text);

}  // namespace qv
