// The Bolton field table: every typed field, found by its control's name, lands at its place
// in the file record and in its report parameter, and nowhere else.

#include "records/BoltonFile.h"
#include "records/BoltonSheet.h"
#include "printing/ReportParams.h"

#include "bolton/QStringPrinting.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qv;

namespace {

struct FieldCase {
    QString objectName;
    std::function<QString&(BoltonSheet&)> text;
    int offset;
    int capacity;
    QString param;  // empty: not printed
};

// Written out from the record layout and the report's parameter list, not from the table.
std::vector<FieldCase> expectedFields()
{
    std::vector<FieldCase> out;
    out.push_back({QStringLiteral("bpaciente"), [](BoltonSheet& s) -> QString& { return s.bpaciente; }, 0, 50,
                   QStringLiteral("nome")});
    for (int k = 0; k < 12; ++k) {
        const QString n = QString::number(k + 1);
        const QString nn = QStringLiteral("%1").arg(k + 1, 2, 10, QLatin1Char('0'));
        out.push_back({QStringLiteral("s") + nn, [k](BoltonSheet& s) -> QString& { return s.s[size_t(k)]; }, 51 + 6 * k, 5,
                       QStringLiteral("s") + n});
    }
    for (int k = 0; k < 12; ++k) {
        const QString n = QString::number(k + 1);
        const QString nn = QStringLiteral("%1").arg(k + 1, 2, 10, QLatin1Char('0'));
        out.push_back({QStringLiteral("i") + nn, [k](BoltonSheet& s) -> QString& { return s.i[size_t(k)]; }, 123 + 6 * k, 5,
                       QStringLiteral("i") + n});
    }
    out.push_back({QStringLiteral("termole"), [](BoltonSheet& s) -> QString& { return s.termole; }, 195, 5, QString()});
    out.push_back({QStringLiteral("termold"), [](BoltonSheet& s) -> QString& { return s.termold; }, 201, 5, QString()});
    out.push_back({QStringLiteral("segmole"), [](BoltonSheet& s) -> QString& { return s.segmole; }, 207, 5, QString()});
    out.push_back({QStringLiteral("segmold"), [](BoltonSheet& s) -> QString& { return s.segmold; }, 213, 5, QString()});
    return out;
}

TEST(BoltonFieldTable, ListsEveryTypedFieldOnceInRecordOrder)
{
    const std::vector<FieldCase> expected = expectedFields();
    ASSERT_EQ(BoltonFields().size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        const BoltonField& f = BoltonFields()[k];
        EXPECT_EQ(f.objectName, expected[k].objectName);
        EXPECT_EQ(f.fileOffset, expected[k].offset) << f.objectName.toStdString();
        EXPECT_EQ(f.fileCapacity, expected[k].capacity) << f.objectName.toStdString();
        EXPECT_EQ(f.reportParam, expected[k].param) << f.objectName.toStdString();
        EXPECT_FALSE(f.caption.isEmpty()) << f.objectName.toStdString();
        EXPECT_EQ(FindBoltonField(f.objectName), &f);
        EXPECT_EQ(int(f.key), int(k)) << f.objectName.toStdString();
        EXPECT_EQ(&BoltonFieldOf(f.key), &f);
    }
    EXPECT_EQ(FindBoltonField(QStringLiteral("S01")), nullptr);
}

// The keys the page joins on: the ends of each row of teeth and the molars.
TEST(BoltonFieldTable, KeysNameTheirFields)
{
    const std::pair<BoltonKey, const char*> cases[] = {
        {BoltonKey::bpaciente, "bpaciente"}, {UpperTooth(1), "s01"},  {UpperTooth(12), "s12"},
        {LowerTooth(1), "i01"},              {LowerTooth(12), "i12"}, {BoltonKey::termole, "termole"},
        {BoltonKey::termold, "termold"},     {BoltonKey::segmole, "segmole"}, {BoltonKey::segmold, "segmold"}};
    for (const auto& [key, name] : cases) {
        SCOPED_TRACE(name);
        const BoltonField& f = BoltonFieldOf(key);
        EXPECT_EQ(f.objectName, QLatin1String(name));
        EXPECT_EQ(f.key, key);
    }
    EXPECT_EQ(BoltonFieldOf(UpperTooth(7)).tooth, 6);
    EXPECT_EQ(BoltonFieldOf(LowerTooth(7)).row, &BoltonSheet::i);
}

TEST(BoltonFieldTable, EveryFieldReachesItsOffsetAndItsParameterOnly)
{
    for (const FieldCase& c : expectedFields()) {
        SCOPED_TRACE(c.objectName.toStdString());
        // As long as the field takes, so a cut or a neighbour's spill shows.
        const QString marker = c.capacity == 50 ? QString(50, u'Ç') : QStringLiteral("9.875");
        BoltonSheet sheet;
        c.text(sheet) = marker;
        ASSERT_NE(FindBoltonField(c.objectName), nullptr);
        EXPECT_EQ(FindBoltonField(c.objectName)->of(sheet), marker);

        const QByteArray bytes = EncodeBoltonSheet(sheet);
        ASSERT_EQ(bytes.size(), kBoltonFileSize);
        QByteArray expected(kBoltonFileSize, '\0');
        expected[c.offset] = char(c.capacity);
        const QByteArray stored = c.capacity == 50 ? QByteArray(50, '\xC7') : QByteArray("9.875");
        expected.replace(c.offset + 1, stored.size(), stored);
        EXPECT_EQ(bytes, expected);
        EXPECT_EQ(DecodeBoltonSheet(bytes), sheet);

        // The report: the marker in its own parameter (the name with its caption), nowhere else.
        for (const ReportParam& p : BuildBoltonReport(sheet, BoltonResults{})) {
            if (p.name == c.param)
                EXPECT_EQ(p.text, c.param == QStringLiteral("nome") ? QStringLiteral("Paciente:  ") + marker : marker);
            else
                EXPECT_FALSE(p.text.contains(marker)) << p.name.toStdString();
        }
    }
}

TEST(BoltonFieldTable, ReportSetsTheFieldsFirstInTableOrder)
{
    const ReportParamList params = BuildBoltonReport(BoltonSheet{}, BoltonResults{});
    ASSERT_GE(params.size(), 25);
    EXPECT_EQ(params[0].name, QStringLiteral("nome"));
    EXPECT_EQ(params[0].text, QStringLiteral("Paciente:  "));
    EXPECT_EQ(params[1].name, QStringLiteral("s1"));
    EXPECT_EQ(params[12].name, QStringLiteral("s12"));
    EXPECT_EQ(params[13].name, QStringLiteral("i1"));
    EXPECT_EQ(params[24].name, QStringLiteral("i12"));
    EXPECT_EQ(params[25].name, QStringLiteral("rs12"));
}

TEST(BoltonLowerRow, RunsFromThirdMolarToThirdMolar)
{
    BoltonSheet s;
    s.termole = QStringLiteral("TE");
    s.segmole = QStringLiteral("SE");
    s.segmold = QStringLiteral("SD");
    s.termold = QStringLiteral("TD");
    for (int k = 0; k < 12; ++k) {
        s.i[size_t(k)] = QStringLiteral("I%1").arg(k + 1);
        s.s[size_t(k)] = QStringLiteral("S%1").arg(k + 1);
    }
    const BoltonLowerRow row = LowerRow(s);
    EXPECT_EQ(row[0], QStringLiteral("TE"));
    EXPECT_EQ(row[1], QStringLiteral("SE"));
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(row[size_t(k + 2)], QStringLiteral("I%1").arg(k + 1));
    EXPECT_EQ(row[14], QStringLiteral("SD"));
    EXPECT_EQ(row[15], QStringLiteral("TD"));
}

}  // namespace
