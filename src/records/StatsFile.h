#pragma once
// Stats.cef: one 16-byte record holding the running mark and the usage counters.

#include "records/FileIo.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace qv {

inline const QString kStatsFile = QStringLiteral("Stats.cef");

struct StatsRecord {
    std::uint8_t instanceFlag = 0;
    std::array<std::uint8_t, 3> padding{};
    std::int32_t tweedCount = 0;
    std::int32_t boltonCount = 0;
    std::int32_t guideCount = 0;

    static constexpr int kSize = 16;
    QByteArray encode() const;
    static StatsRecord decode(const QByteArray& bytes);  // at least kSize bytes
};

// First record of the file; throws IoError when it is missing or shorter than one record.
StatsRecord ReadStats(const QString& path = kStatsFile);

// The read-modify-write rule: read the first record, change it, leave the file holding
// just that record. The whole of it runs under the lock beside the file, so instances counting
// at once each add their count; the file is replaced atomically, so it never ends up empty.
template <typename Change>
StatsRecord UpdateStats(Change change, const QString& path = kStatsFile);

void WriteStats(const StatsRecord& record, const QString& path = kStatsFile);

// The statistics message (counts in the order Tweed, guide, Bolton).
QString StatisticsText(const StatsRecord& record);

// Adds one to a counter. The addition is unsigned, so the count after 2,147,483,647 is stored
// as the bits of 2,147,483,648 (read back signed) instead of overflowing.
inline void CountOne(std::int32_t& counter) { counter = std::int32_t(std::uint32_t(counter) + 1u); }

template <typename Change>
StatsRecord UpdateStats(Change change, const QString& path)
{
    return WithFileLock(path, [&] {
        StatsRecord record = ReadStats(path);
        change(record);
        WriteStats(record, path);
        return record;
    });
}

}  // namespace qv
