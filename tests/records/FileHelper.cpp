// A second (third, ...) program writing the same folder, for the concurrency tests.
//   quorvel_file_helper stress <folder> <id> <operations>
//       operation i: i % 4 == 0 creates the Bolton file of patient CORRIDA<i/4> (every process
//       races for the same names), 1 appends a visit to ANA's history, 2 saves ANA's Tweed
//       file (create or rewrite), 3 counts a Tweed calculation. One line per operation.
//   quorvel_file_helper forever <folder>
//       prints "ready", then saves in a loop until killed (the kill tests).
//   quorvel_file_helper hold <file> <milliseconds>
//       takes the lock beside the file, prints "locked", keeps it, exits without unlocking.
//   quorvel_file_helper once <folder>
//       one save of each kind, as after a crash; prints "ok" when every save went through.
//   quorvel_file_helper keepopen <file> <milliseconds>
//       opens the file for reading as another program would (Qt, like most Windows programs, lets
//       others read and write it but not delete or replace it), prints "open", keeps it open.
//   quorvel_file_helper create <file> <content> <ms since the epoch>
//       at that moment creates the file with that content; prints "written", "exists" or "error"
//       (two computers racing to create one new patient).

#include "records/BoltonFile.h"
#include "records/FileIo.h"
#include "records/HistoryFile.h"
#include "records/IoError.h"
#include "records/Statistics.h"
#include "records/TweedFile.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace qv;

namespace {

TweedFileRecord tweedRecord(const QString& tag)
{
    TweedFileRecord r;
    r.guideDone = true;
    r.twPaciente = QStringLiteral("ANA");
    r.Idade = QStringLiteral("12");
    r.twfma = tag.left(5);
    r.twfmia = tag.mid(5, 5);
    r.anaer = QStringLiteral("1.5");
    return r;
}

BoltonSheet boltonRecord(const QString& patient, const QString& tag)
{
    BoltonSheet r;
    r.bpaciente = patient;
    r.s[0] = tag.left(5);
    r.i[0] = tag.mid(5, 5);
    return r;
}

TweedSaveDecision saveTweed(const QString& tag)
{
    TweedSaveState s;
    s.concluded = true;
    s.diagnosed = true;
    return SaveTweedFile(TweedFileName(QStringLiteral("ANA"), AnalysisStage::INICIAL), tweedRecord(tag), s);
}

HistorySave saveVisit(const QString& text)
{
    return SaveHistoryVisit(HistoryFileName(QStringLiteral("ANA")), QStringLiteral("ANA"),
                            HistoryBlock(QStringLiteral("09/12/2026"), {text}));
}

// Retries an operation another process keeps locked past the wait; says how often it did.
template <typename F>
auto retryBusy(F f, int& busy)
{
    for (;;) {
        try {
            return f();
        } catch (const FileBusyError&) {
            ++busy;
        }
    }
}

int stress(int id, int operations)
{
    int busy = 0;
    for (int i = 0; i < operations; ++i) {
        const QString tag = QStringLiteral("P%1N%2").arg(id).arg(i);
        switch (i % 4) {
        case 0: {
            const QString patient = QStringLiteral("CORRIDA%1").arg(i / 4);
            const BoltonSave r =
                retryBusy([&] { return SaveNewBoltonFile(BoltonFilePath(patient), boltonRecord(patient, tag)); }, busy);
            std::printf("create %d %s\n", i / 4, r == BoltonSave::Written ? "written" : "exists");
            break;
        }
        case 1:
            retryBusy([&] { return saveVisit(QStringLiteral("VISITA ") + tag); }, busy);
            std::printf("visit %s\n", qPrintable(tag));
            break;
        case 2:
            retryBusy([&] { return saveTweed(tag); }, busy);
            std::printf("tweed %s\n", qPrintable(tag));
            break;
        default:
            retryBusy([&] { return RecordStatistic('t'); }, busy);
            std::printf("count\n");
        }
    }
    std::printf("busy %d\n", busy);
    return 0;
}

[[noreturn]] void saveUntilKilled()
{
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 0;; ++i) {
        const QString tag = QStringLiteral("K%1").arg(i);
        try {
            saveTweed(i % 2 ? QStringLiteral("AAAAAAAAAA") : QStringLiteral("BBBBBBBBBB"));
            saveVisit(QStringLiteral("VISITA ") + tag);
            WriteBoltonFile(BoltonFilePath(QStringLiteral("NOVO") + tag), boltonRecord(QStringLiteral("NOVO"), tag));
            RecordStatistic('b');
        } catch (const IoError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        }
    }
}

int once()
{
    try {
        saveTweed(QStringLiteral("AAAAAAAAAA"));
        saveVisit(QStringLiteral("DEPOIS"));
        WriteBoltonFile(BoltonFilePath(QStringLiteral("DEPOIS")), boltonRecord(QStringLiteral("DEPOIS"), {}));
        RecordStatistic('b');
    } catch (const IoError& e) {
        std::printf("%s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("ok\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("hold") && argc == 4) {
        FileLock lock(QString::fromLocal8Bit(argv[2]), 0);
        if (!lock.isLocked())
            return 2;
        std::printf("locked\n");
        std::fflush(stdout);
        QThread::msleep(ulong(std::atoi(argv[3])));
        _exit(0);  // the lock file stays, as after a crash
    }
    if (mode == QLatin1String("keepopen") && argc == 4) {
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        std::printf("open\n");
        std::fflush(stdout);
        QThread::msleep(ulong(std::atoi(argv[3])));
        return 0;
    }
    if (mode == QLatin1String("create") && argc == 5) {
        const qint64 start = std::atoll(argv[4]);
        while (QDateTime::currentMSecsSinceEpoch() < start)
            QThread::usleep(200);
        try {
            WriteNewFileBytes(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]));
            std::printf("written\n");
        } catch (const FileExistsError&) {
            std::printf("exists\n");
        } catch (const IoError&) {
            std::printf("error\n");
        }
        return 0;
    }
    if (argc < 3 || !QDir::setCurrent(QString::fromLocal8Bit(argv[2])))
        return 2;
    if (mode == QLatin1String("stress") && argc == 5)
        return stress(std::atoi(argv[3]), std::atoi(argv[4]));
    if (mode == QLatin1String("forever"))
        saveUntilKilled();
    if (mode == QLatin1String("once"))
        return once();
    return 2;
}
