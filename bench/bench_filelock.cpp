// What the lock beside a patient file and the whole-file writes cost on an uncontended save,
// against the writes they replaced (a file created in place; QSaveFile for a replacement).
// Measured, never asserted. The new create syncs the file (and QLockFile syncs the lock file):
// on a disk most of the difference is those syncs.

#include "records/FileIo.h"
#include "records/HistoryFile.h"
#include "records/TweedFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QByteArray kRecord = [] {
    qv::TweedFileRecord r;
    r.twPaciente = QStringLiteral("ANA MARIA");
    r.twfma = QStringLiteral("25.5");
    return qv::EncodeTweed(r);
}();

// The writers as they were before the lock.
void createInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error("create");
}

void replaceWithSaveFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        throw std::runtime_error("replace");
}

// In $QUORVEL_BENCH_DIR when set (a tmpfs shows the cost without the disk's), else in /tmp.
struct Folder {
    QTemporaryDir dir{qEnvironmentVariableIsSet("QUORVEL_BENCH_DIR")
                          ? qEnvironmentVariable("QUORVEL_BENCH_DIR") + QStringLiteral("/qvbench-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/qvbench-XXXXXX")};
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }
};

void BM_CreateTweedFile_InPlace(benchmark::State& state)
{
    Folder f;
    int n = 0;
    for (auto _ : state)
        createInPlace(f.file(QStringLiteral("P%1-INICIAL.twe").arg(n++)), kRecord);
}
BENCHMARK(BM_CreateTweedFile_InPlace)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_CreateTweedFile_LockedAndLinked(benchmark::State& state)
{
    Folder f;
    int n = 0;
    for (auto _ : state)
        qv::CreateTweedFile(f.file(QStringLiteral("P%1-INICIAL.twe").arg(n++)), qv::DecodeTweed(kRecord));
}
BENCHMARK(BM_CreateTweedFile_LockedAndLinked)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_RewriteTweedFile_SaveFile(benchmark::State& state)
{
    Folder f;
    const QString path = f.file(QStringLiteral("ANA-INICIAL.twe"));
    replaceWithSaveFile(path, kRecord);
    for (auto _ : state)
        replaceWithSaveFile(path, kRecord);
}
BENCHMARK(BM_RewriteTweedFile_SaveFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_RewriteTweedFile_Locked(benchmark::State& state)
{
    Folder f;
    const QString path = f.file(QStringLiteral("ANA-INICIAL.twe"));
    qv::ReplaceFileBytes(path, kRecord);
    for (auto _ : state)
        qv::RewriteTweedFile(path, qv::DecodeTweed(kRecord));
}
BENCHMARK(BM_RewriteTweedFile_Locked)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The lock alone: take it and let it go, nobody else waiting.
void BM_LockAlone(benchmark::State& state)
{
    Folder f;
    const QString path = f.file(QStringLiteral("ANA.pln"));
    for (auto _ : state) {
        qv::FileLock lock(path);
        benchmark::DoNotOptimize(lock.isLocked());
    }
}
BENCHMARK(BM_LockAlone)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
