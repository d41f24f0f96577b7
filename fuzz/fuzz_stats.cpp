// Stats.cef: the record decodes from any 16 bytes, encodes back byte for byte, and counting and
// the statistics message are defined for every value, the limits included.

#include "FuzzCheck.h"
#include "records/StatsFile.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < std::size_t(StatsRecord::kSize))
        return 0;  // refused as a short file
    const QByteArray bytes = fuzz::Bytes(data, size);
    StatsRecord r = StatsRecord::decode(bytes);
    fuzz::Check(r.encode() == bytes.left(StatsRecord::kSize), "bytes after decode and encode");
    (void)StatisticsText(r);
    const StatsRecord before = r;
    CountOne(r.tweedCount);
    CountOne(r.boltonCount);
    CountOne(r.guideCount);
    fuzz::Check(std::uint32_t(r.tweedCount) == std::uint32_t(before.tweedCount) + 1u, "count wraps");
    fuzz::Check(StatsRecord::decode(r.encode()).encode() == r.encode(), "counted record");
    return 0;
}
