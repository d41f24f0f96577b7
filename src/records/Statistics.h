#pragma once
// Usage counts kept in Stats.cef.

#include "records/StatsFile.h"

namespace qv {

// 't' counts a Tweed calculation, 'b' a Bolton one; any other letter only reads the record.
// Returns the record as it now stands; throws IoError when the file cannot be read or written.
StatsRecord RecordStatistic(char letter, const QString& path = kStatsFile);

// The guide's own count, by the same read-modify-write rule.
StatsRecord CountGuideUse(const QString& path = kStatsFile);

}  // namespace qv
