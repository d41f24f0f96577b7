#pragma once
// Bolton's reference tables, read from Bolton.cef at every calculation.

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace qv {

inline const QString kBoltonFile = QStringLiteral("Bolton.cef");

struct BoltonTable {
    // Rows of (maxillary sum, mandibular sum), both ascending.
    std::vector<std::pair<double, double>> anterior;  // 31 rows, 40.0 .. 55.0 by 0.5
    std::vector<std::pair<double, double>> overall;   // 26 rows, 85 .. 110 by 1

    static constexpr int kAnteriorRows = 31;
    static constexpr int kOverallRows = 26;
    static constexpr int kRecords = 2 * (kAnteriorRows + kOverallRows);  // 114 doubles, 912 bytes

    QByteArray encode() const;
    static BoltonTable decode(const QByteArray& bytes);  // at least kRecords * 8 bytes
};

// Reads both tables; throws IoError when the file is missing, unreadable or short.
BoltonTable ReadBoltonTables(const QString& path = kBoltonFile);

// searchColumn 1 searches the maxillary sums, 2 the mandibular ones; returns the other column of
// the nearer of the first row at or above x and the last row at or below it (ties: the higher row).
double BoltonLookup(int rowCount, int searchColumn, const std::vector<std::pair<double, double>>& table, double x);

}  // namespace qv
