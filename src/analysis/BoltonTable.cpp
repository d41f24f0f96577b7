#include "analysis/BoltonTable.h"

#include "records/FileIo.h"

#include <QtEndian>
#include <cstring>

namespace qv {

namespace {

double readDouble(const char* p)
{
    const quint64 bits = qFromLittleEndian<quint64>(p);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void writeDouble(QByteArray& out, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof v);
    char buf[8];
    qToLittleEndian<quint64>(bits, buf);
    out.append(buf, 8);
}

}  // namespace

QByteArray BoltonTable::encode() const
{
    QByteArray out;
    out.reserve(kRecords * 8);
    for (const auto& rows : {anterior, overall})
        for (const auto& [s, i] : rows) {
            writeDouble(out, s);
            writeDouble(out, i);
        }
    return out;
}

BoltonTable BoltonTable::decode(const QByteArray& bytes)
{
    BoltonTable t;
    const char* p = bytes.constData();
    for (int k = 0; k < kAnteriorRows; ++k, p += 16)
        t.anterior.emplace_back(readDouble(p), readDouble(p + 8));
    for (int k = 0; k < kOverallRows; ++k, p += 16)
        t.overall.emplace_back(readDouble(p), readDouble(p + 8));
    return t;
}

BoltonTable ReadBoltonTables(const QString& path)
{
    return BoltonTable::decode(ReadFileBytes(path, BoltonTable::kRecords * 8));
}

double BoltonLookup(int rowCount, int searchColumn, const std::vector<std::pair<double, double>>& table, double x)
{
    auto value = [&](int row, int column) {
        const auto& r = table[size_t(row - 1)];
        return column == 1 ? r.first : r.second;
    };
    int upper = rowCount;
    int lower = 1;
    for (int i = 1; i <= rowCount; ++i) {
        const double v = value(i, searchColumn);
        if (v - x >= 0 && i < upper)
            upper = i;
        if (x - v >= 0 && i > lower)
            lower = i;
    }
    const int chosen = (x - value(lower, searchColumn)) >= (value(upper, searchColumn) - x) ? upper : lower;
    return value(chosen, searchColumn == 1 ? 2 : 1);
}

}  // namespace qv
