// Stats.cef byte layout, counting and the statistics message.

#include "records/IoError.h"
#include "records/Statistics.h"
#include "support/WorkFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace qv;
using qv::test::StatsBytes;

namespace {

class StatsTest : public qv::test::WorkFolderTest {};

TEST_F(StatsTest, RecordLayoutIsLittleEndianAfterFlagAndPadding)
{
    StatsRecord r;
    r.instanceFlag = 1;
    r.padding = {0xAA, 0xBB, 0xCC};
    r.tweedCount = 0x01020304;
    r.boltonCount = -2;
    r.guideCount = 258;
    const QByteArray expected = QByteArray::fromHex("01aabbcc" "04030201" "feffffff" "02010000");
    EXPECT_EQ(r.encode(), expected);
    const StatsRecord back = StatsRecord::decode(expected);
    EXPECT_EQ(back.encode(), expected);
    EXPECT_EQ(back.boltonCount, -2);
}

TEST_F(StatsTest, MessageListsTweedGuideBoltonInThatOrder)
{
    work.write(QStringLiteral("Stats.cef"), StatsBytes(0, 2, 0, 1));
    const StatsRecord r = RecordStatistic('c');
    EXPECT_EQ(StatisticsText(r), QStringLiteral("Estatísticas de Utilização das Análises\r\r\r"
                                                "     Análise de Tweed : 2\r\r"
                                                "       Guia Diagnóstico : 1\r\r"
                                                "      Análise de Bolton : 0"));
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), StatsBytes(0, 2, 0, 1));
}

TEST_F(StatsTest, EachLetterChangesOnlyItsCounter)
{
    QByteArray start = StatsBytes(1, 2, 0, 1);
    start[1] = 'p';
    start[2] = 'a';
    start[3] = 'd';
    struct Case {
        char letter;
        QByteArray after;
    };
    auto with = [&](qint32 t, qint32 b, qint32 g) {
        QByteArray bytes = StatsBytes(1, t, b, g);
        bytes.replace(1, 3, "pad");
        return bytes;
    };
    const Case cases[] = {{'t', with(3, 0, 1)}, {'b', with(2, 1, 1)}, {'x', start}, {'c', start}, {'T', start}};
    for (const Case& c : cases) {
        work.write(QStringLiteral("Stats.cef"), start);
        RecordStatistic(c.letter);
        EXPECT_EQ(work.read(QStringLiteral("Stats.cef")).toHex().toStdString(), c.after.toHex().toStdString())
            << c.letter;
    }
    work.write(QStringLiteral("Stats.cef"), start);
    CountGuideUse();
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), with(2, 0, 2));
}

TEST_F(StatsTest, LongerFileIsCutToOneRecordByTheFirstCount)
{
    QByteArray bytes = StatsBytes(0, 9, 8, 7) + QByteArray("extra record....");
    work.write(QStringLiteral("Stats.cef"), bytes);
    RecordStatistic('c');
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")).size(), 32);
    RecordStatistic('t');
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), StatsBytes(0, 10, 8, 7));
}

TEST_F(StatsTest, FailuresRaiseAndLeaveTheFileAsItWas)
{
    QV_NEEDS_POSIX_PERMISSIONS();
    work.write(QStringLiteral("Stats.cef"), QByteArray(10, '\1'));
    EXPECT_THROW(RecordStatistic('t'), IoError);
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), QByteArray(10, '\1'));

    work.remove(QStringLiteral("Stats.cef"));
    EXPECT_THROW(RecordStatistic('b'), IoError);
    EXPECT_THROW(RecordStatistic('c'), IoError);
    EXPECT_FALSE(work.exists(QStringLiteral("Stats.cef")));

    work.write(QStringLiteral("Stats.cef"), StatsBytes(0, 1, 1, 1));
    QFile::setPermissions(work.file(QStringLiteral("Stats.cef")), QFileDevice::ReadOwner);
    qv::test::Unprivileged user(work);
    ASSERT_TRUE(user.ok());
    EXPECT_THROW(RecordStatistic('t'), IoError);
    EXPECT_EQ(work.read(QStringLiteral("Stats.cef")), StatsBytes(0, 1, 1, 1));
}

TEST_F(StatsTest, RewriteLeavesNoTemporaryFilesBehind)
{
    for (int i = 0; i < 5; ++i)
        RecordStatistic('t');
    const QStringList names = QDir(work.path()).entryList(QDir::Files);
    EXPECT_EQ(names.size(), 3) << names.join(u',').toStdString();
    EXPECT_EQ(ReadStats().tweedCount, 5);
}

}  // namespace
