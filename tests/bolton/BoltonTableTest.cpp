// Bolton.cef as built for the working folder, value by value, and how short or long files read.

#include "analysis/BoltonTable.h"
#include "bolton/PublishedTable.h"
#include "records/IoError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstring>

#include <gtest/gtest.h>

using namespace qv;

namespace {

QString dataFile() { return QDir(QStringLiteral(QUORVEL_DATA_DIR)).filePath(QStringLiteral("Bolton.cef")); }

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

double recordAt(const QByteArray& bytes, int k)
{
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData() + 8 * k);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

TEST(BoltonCef, HoldsThePublishedTablesRecordByRecord)
{
    const QByteArray bytes = readAll(dataFile());
    ASSERT_EQ(bytes.size(), 912);
    for (int k = 0; k < 31; ++k) {
        EXPECT_EQ(recordAt(bytes, 2 * k), test::kAnterior[size_t(k)].first) << "anterior row " << k + 1;
        EXPECT_EQ(recordAt(bytes, 2 * k + 1), test::kAnterior[size_t(k)].second) << "anterior row " << k + 1;
    }
    for (int k = 0; k < 26; ++k) {
        EXPECT_EQ(recordAt(bytes, 62 + 2 * k), test::kOverall[size_t(k)].first) << "overall row " << k + 1;
        EXPECT_EQ(recordAt(bytes, 63 + 2 * k), test::kOverall[size_t(k)].second) << "overall row " << k + 1;
    }
}

TEST(BoltonCef, ReadsIntoBothTables)
{
    const BoltonTable t = ReadBoltonTables(dataFile());
    EXPECT_EQ(t.anterior, test::kAnterior);
    EXPECT_EQ(t.overall, test::kOverall);
}

class BoltonCefFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Bolton.cef")); }
    void write(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(BoltonCefFile, ShortByOneByteIsAnError)
{
    write(readAll(dataFile()).left(911));
    EXPECT_THROW(ReadBoltonTables(path()), IoError);
}

TEST_F(BoltonCefFile, MissingIsAnError) { EXPECT_THROW(ReadBoltonTables(path()), IoError); }

TEST_F(BoltonCefFile, BytesAfterTheLastRecordAreIgnored)
{
    write(readAll(dataFile()) + QByteArray(40, '\x7f'));
    const BoltonTable t = ReadBoltonTables(path());
    EXPECT_EQ(t.anterior, test::kAnterior);
    EXPECT_EQ(t.overall, test::kOverall);
}

}  // namespace
