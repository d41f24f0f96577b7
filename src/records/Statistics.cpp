#include "records/Statistics.h"

namespace qv {

StatsRecord RecordStatistic(char letter, const QString& path)
{
    if (letter == 't')
        return UpdateStats([](StatsRecord& r) { CountOne(r.tweedCount); }, path);
    if (letter == 'b')
        return UpdateStats([](StatsRecord& r) { CountOne(r.boltonCount); }, path);
    return ReadStats(path);
}

StatsRecord CountGuideUse(const QString& path)
{
    return UpdateStats([](StatsRecord& r) { CountOne(r.guideCount); }, path);
}

}  // namespace qv
