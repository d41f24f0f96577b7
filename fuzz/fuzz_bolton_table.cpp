// Bolton.cef: the tables decode from any bytes, encode back bit for bit, and the look-up stays
// defined for whatever the tables hold (NaN, infinities, rows out of order).

#include "FuzzCheck.h"
#include "analysis/BoltonTable.h"

#include <cstring>

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kBytes = BoltonTable::kRecords * 8;
    if (size < kBytes)
        return 0;  // refused as a short file
    const QByteArray bytes = fuzz::Bytes(data, size);
    const BoltonTable table = BoltonTable::decode(bytes);
    fuzz::Check(int(table.anterior.size()) == BoltonTable::kAnteriorRows, "anterior rows");
    fuzz::Check(int(table.overall.size()) == BoltonTable::kOverallRows, "overall rows");
    fuzz::Check(table.encode() == bytes.left(qsizetype(kBytes)), "bytes after decode and encode");
    // The look-up of whatever values follow the tables.
    for (std::size_t at = kBytes; at + 8 <= size && at < kBytes + 64; at += 8) {
        double x;
        std::memcpy(&x, data + at, 8);
        for (int column : {1, 2}) {
            (void)BoltonLookup(BoltonTable::kAnteriorRows, column, table.anterior, x);
            (void)BoltonLookup(BoltonTable::kOverallRows, column, table.overall, x);
        }
    }
    return 0;
}
