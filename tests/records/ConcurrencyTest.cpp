// Several programs writing one folder at once, and programs killed while writing.

#include "records/BoltonFile.h"
#include "records/FileIo.h"
#include "records/HistoryFile.h"
#include "records/StatsFile.h"
#include "records/TweedFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <set>

using namespace qv;

namespace {

const QString kHelper = QStringLiteral(QUORVEL_FILE_HELPER);

class SharedFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Análises")));
        QFile stats(file(QStringLiteral("Stats.cef")));
        ASSERT_TRUE(stats.open(QIODevice::WriteOnly));
        stats.write(StatsRecord{}.encode());
    }
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QStringList analyses(QDir::Filters extra = {}) const
    {
        return QDir(file(QStringLiteral("Análises"))).entryList(QDir::Files | extra, QDir::Name);
    }
    QTemporaryDir dir;
};

TEST_F(SharedFolder, EightProgramsSavingAtOnceLoseNothing)
{
    constexpr int kPrograms = 8;
    constexpr int kOperations = 200;
    std::vector<std::unique_ptr<QProcess>> programs;
    for (int id = 0; id < kPrograms; ++id) {
        auto p = std::make_unique<QProcess>();
        p->start(kHelper, {QStringLiteral("stress"), dir.path(), QString::number(id), QString::number(kOperations)});
        programs.push_back(std::move(p));
    }
    std::map<int, int> written, exists;
    std::set<QString> visits, tweeds;
    int busy = 0;
    for (auto& p : programs) {
        ASSERT_TRUE(p->waitForFinished(60000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        for (const QByteArray& raw : p->readAllStandardOutput().split('\n')) {
            // Lines end in "\r\n" on Windows.
            const QStringList w = QString::fromLatin1(raw.trimmed()).split(u' ');
            if (w[0] == QLatin1String("create"))
                ++(w[2] == QLatin1String("written") ? written : exists)[w[1].toInt()];
            else if (w[0] == QLatin1String("visit"))
                visits.insert(w[1]);
            else if (w[0] == QLatin1String("tweed"))
                tweeds.insert(w[1]);
            else if (w[0] == QLatin1String("busy"))
                busy += w[1].toInt();
        }
    }
    constexpr int kRounds = kOperations / 4;
    // Every race for a new patient: one program wrote the file, all the others were told it exists.
    for (int k = 0; k < kRounds; ++k) {
        EXPECT_EQ(written[k], 1) << "CORRIDA" << k;
        EXPECT_EQ(exists[k], kPrograms - 1) << "CORRIDA" << k;
        const BoltonSheet r = ReadBoltonFile(file(QStringLiteral("Análises/CORRIDA%1.bol").arg(k)));
        EXPECT_EQ(r.bpaciente, QStringLiteral("CORRIDA%1").arg(k));
    }
    // Every visit any program saved is in the history exactly once, whole.
    const HistoryContents history = ReadHistoryFile(file(QStringLiteral("Análises/ANA.pln")));
    EXPECT_EQ(history.patient, QStringLiteral("ANA"));
    std::map<QString, int> seen;
    for (const QString& line : history.lines)
        if (line.startsWith(QLatin1String("VISITA ")))
            ++seen[line.mid(7)];
    EXPECT_EQ(visits.size(), size_t(kPrograms * kRounds));
    EXPECT_EQ(seen.size(), visits.size());
    for (const auto& [tag, n] : seen)
        EXPECT_TRUE(n == 1 && visits.count(tag)) << tag.toStdString() << " " << n;
    EXPECT_EQ(history.lines.size(), kPrograms * kRounds * 4);
    // The Tweed file holds one of the saved records, whole.
    const TweedFileRecord tweed = ReadTweedFile(file(QStringLiteral("Análises/ANA-INICIAL.twe")));
    EXPECT_TRUE(tweeds.count(tweed.twfma + tweed.twfmia)) << tweed.twfma.toStdString();
    EXPECT_EQ(QFileInfo(file(QStringLiteral("Análises/ANA-INICIAL.twe"))).size(), kTweedRecordSize);
    // Every count arrived.
    EXPECT_EQ(ReadStats(file(QStringLiteral("Stats.cef"))).tweedCount, kPrograms * kRounds);
    // Nothing left beside the files: no lock, no temporary file.
    const QStringList all = analyses(QDir::Hidden);
    EXPECT_EQ(all.size(), kRounds + 2) << all.join(u' ').toStdString();
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Stats.cef.lock"))));
    std::printf("[          ] waits beyond the 2-second limit, retried: %d\n", busy);
}

TEST_F(SharedFolder, AProgramKilledWhileSavingLeavesWholeFilesAndNoBlockingLock)
{
    int killedMidWrite = 0;
    for (int run = 0; run < 100; ++run) {
        QProcess p;
        p.start(kHelper, {QStringLiteral("forever"), dir.path()});
        ASSERT_TRUE(p.waitForReadyRead(10000)) << run;
        QThread::usleep(QRandomGenerator::global()->bounded(20000));
        p.kill();  // SIGKILL; TerminateProcess on Windows
        ASSERT_TRUE(p.waitForFinished(10000));

        const QString twe = file(QStringLiteral("Análises/ANA-INICIAL.twe"));
        if (QFile::exists(twe)) {
            const TweedFileRecord r = ReadTweedFile(twe);
            EXPECT_EQ(QFileInfo(twe).size(), kTweedRecordSize) << run;
            EXPECT_TRUE(r.twfma == QLatin1String("AAAAA") || r.twfma == QLatin1String("BBBBB")) << run;
        }
        const QString pln = file(QStringLiteral("Análises/ANA.pln"));
        if (QFile::exists(pln)) {
            // Every visit whole: its date, an empty line, its one line and the separator.
            const QStringList lines = ReadHistoryFile(pln).lines;
            ASSERT_EQ(lines.size() % 4, 0) << run;
            for (qsizetype i = 0; i < lines.size(); i += 4)
                EXPECT_TRUE((lines[i + 2].startsWith(QLatin1String("VISITA ")) || lines[i + 2] == QLatin1String("DEPOIS"))
                            && lines[i + 1].isEmpty() && lines[i + 3] == HistorySeparator())
                    << run;
        }
        for (const QString& name : analyses()) {
            if (name.endsWith(QLatin1String(".bol"))) {
                EXPECT_EQ(QFileInfo(file(QStringLiteral("Análises/") + name)).size(), kBoltonFileSize) << run;
            }
        }
        ASSERT_EQ(ReadStats(file(QStringLiteral("Stats.cef"))).instanceFlag, 0) << run;
        killedMidWrite += !analyses(QDir::Hidden).filter(QStringLiteral(".lock")).isEmpty()
                          || !analyses(QDir::Hidden).filter(QStringLiteral(".tmp")).isEmpty();

        // The next save goes through at once, and cleans what the killed one left.
        QProcess next;
        next.start(kHelper, {QStringLiteral("once"), dir.path()});
        ASSERT_TRUE(next.waitForFinished(10000));
        ASSERT_EQ(next.readAllStandardOutput().trimmed(), "ok") << run;
        QFile::remove(file(QStringLiteral("Análises/DEPOIS.bol")));
        for (const QString& name : analyses(QDir::Hidden)) {
            EXPECT_FALSE(name.startsWith(QLatin1String(".ANA"))) << name.toStdString();
            // A lock left on a file nobody saved since blocks no save of it either.
            if (name.endsWith(QLatin1String(".lock"))) {
                const QString path = file(QStringLiteral("Análises/") + name.chopped(5));
                FileLock lock(path, 1500);
                EXPECT_TRUE(lock.isLocked()) << name.toStdString();
            }
        }
    }
    std::printf("[          ] runs killed with a lock or temporary file in place: %d of 100\n", killedMidWrite);
}

TEST_F(SharedFolder, ALockHeldByAnotherProgramIsWaitedForThenRefusedWithNothingWritten)
{
    const QString pln = file(QStringLiteral("Análises/ANA.pln"));
    QProcess holder;
    holder.start(kHelper, {QStringLiteral("hold"), pln, QStringLiteral("2600")});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QElapsedTimer waited;
    waited.start();
    try {
        SaveHistoryVisit(HistoryFileName(QStringLiteral("ANA")), QStringLiteral("ANA"), HistoryBlock(QStringLiteral("1"), {QStringLiteral("X")}));
        ADD_FAILURE() << "saved under another program's lock";
    } catch (const FileBusyError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("O arquivo \"Análises/ANA.pln\" está sendo salvo em outro computador. "
                                              "Nada foi gravado: aguarde um instante e salve novamente."));
    }
    EXPECT_GE(waited.elapsed(), kFileLockWaitMs - 50);
    EXPECT_FALSE(QFile::exists(pln));
    // The holder dies without unlocking: its lock is taken over at once.
    holder.waitForFinished(10000);
    EXPECT_TRUE(QFile::exists(pln + QStringLiteral(".lock")));
    EXPECT_EQ(SaveHistoryVisit(HistoryFileName(QStringLiteral("ANA")), QStringLiteral("ANA"), HistoryBlock(QStringLiteral("1"), {QStringLiteral("X")})),
              HistorySave::Created);
    QDir::setCurrent(previous);
}

}  // namespace
