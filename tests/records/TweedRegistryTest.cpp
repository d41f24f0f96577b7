// The Tweed field table as the one registry of the analysis: each key once and in its place,
// the stored fields tiling the file record, the printed fields among report1's parameters, the
// norms beside the captions that state them, the tracing's measurements each filling one field.

#include "printing/ReportProject.h"
#include "records/TweedFile.h"

#include <QDir>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace qv {
namespace {

TEST(TweedRegistry, EachKeyOnceAndFoundByKeyNameAndMeasure)
{
    ASSERT_EQ(TweedFields().size(), size_t(kTweedKeyCount));
    std::set<std::string> names;
    for (int i = 0; i < kTweedKeyCount; ++i) {
        const TweedField& f = TweedFields()[size_t(i)];
        EXPECT_EQ(int(f.key), i) << f.objectName;
        EXPECT_EQ(&TweedFieldOf(TweedKey(i)), &f) << f.objectName;
        EXPECT_EQ(&TweedFieldOf(f.objectName), &f) << f.objectName;
        EXPECT_TRUE(names.insert(f.objectName).second) << f.objectName;
    }
    // Every tracing measurement fills exactly one typed field, which names it back.
    std::set<const TweedField*> filled;
    for (int m = 0; m < kMeasureCount; ++m) {
        const TweedField& f = TweedFieldOf(Measure(m));
        EXPECT_EQ(f.measure, Measure(m)) << f.objectName;
        EXPECT_NE(f.input, nullptr) << f.objectName;
        EXPECT_GE(f.offset, 0) << f.objectName;
        filled.insert(&f);
    }
    EXPECT_EQ(filled.size(), size_t(kMeasureCount));
    for (const TweedField& f : TweedFields())
        EXPECT_EQ(f.measure.has_value(), filled.count(&f) == 1) << f.objectName;
}

// The stored fields, ordered by offset, each a length byte and its capacity of characters inside
// the 199-byte record, none overlapping the next: written all at once at full length, every one
// reads back whole.
TEST(TweedRegistry, StoredFieldsTileTheRecordWithoutOverlap)
{
    ASSERT_EQ(kTweedRecordSize, 199);
    std::map<int, const TweedField*> byOffset;
    for (const TweedField& f : TweedFields()) {
        if (f.offset < 0)
            continue;
        ASSERT_NE(f.input, nullptr) << f.objectName;
        EXPECT_TRUE(byOffset.emplace(f.offset, &f).second) << f.objectName;
    }
    ASSERT_EQ(byOffset.size(), 22u);
    int end = 0;  // first byte after the previous field
    for (const auto& [offset, f] : byOffset) {
        EXPECT_GE(offset, end) << f->objectName;
        EXPECT_GT(f->capacity, 0) << f->objectName;
        end = offset + 1 + f->capacity;
        EXPECT_LE(end, kTweedRecordSize) << f->objectName;
    }

    TweedSheet s;
    char digit = '0';
    for (const auto& [offset, f] : byOffset) {
        s.*(f->input) = QString(f->capacity, QChar::fromLatin1(digit));
        digit = digit == '9' ? '0' : char(digit + 1);
    }
    const QByteArray bytes = EncodeTweed(s);
    ASSERT_EQ(bytes.size(), kTweedRecordSize);
    const TweedSheet back = DecodeTweed(bytes);
    for (const auto& [offset, f] : byOffset) {
        EXPECT_EQ(int(quint8(bytes[offset])), f->capacity) << f->objectName;
        EXPECT_EQ(back.*(f->input), s.*(f->input)) << f->objectName;
    }
}

TEST(TweedRegistry, EveryPrintedFieldIsAParameterOfReport1)
{
    const report::ReportProject project =
        report::LoadReportProject(QDir(QStringLiteral(QUORVEL_DATA_DIR)).filePath(QStringLiteral("Análises.rav")));
    ASSERT_TRUE(project.reports.contains(QStringLiteral("report1")));
    const QSet<QString>& params = project.reports[QStringLiteral("report1")].params;
    int printed = 0;
    for (const TweedField& f : TweedFields()) {
        if (!f.reportParam)
            continue;
        ++printed;
        EXPECT_TRUE(params.contains(QLatin1String(f.reportParam))) << f.objectName << " " << f.reportParam;
        // A line with a caption needs one; the bare values are the titles and the grade.
        if (f.captionInReport) {
            EXPECT_FALSE(f.captionText().isEmpty()) << f.objectName;
        }
    }
    EXPECT_EQ(printed, 54);
}

// Each measurement with a norm: its short title and the numbers its caption states.
struct Norm {
    TweedKey key;
    const char* title;
    double low, high;
    const char* caption;
};
const Norm kNorms[] = {
    {TweedKey::twfma, "FMA", 22, 28, "FMA (22° a 28°)"},
    {TweedKey::twfmia, "FMIA", 65, 68, "FMIA (65° a 68°)"},
    {TweedKey::twimpa, "IMPA", 88, 94, "IMPA (88° a 94°)"},
    {TweedKey::twploc, "Pl. ocl. - Hf", 8, 12, "Pl. ocl. - Hf (8° a 12°)"},
    {TweedKey::twsna, "SNA", 80, 84, "SNA ( 80° a 84°)"},
    {TweedKey::twsnb, "SNB", 78, 82, "SNB (78° a 82°)"},
    {TweedKey::twanbres, "ANB", 1, 5, "ANB ( 1° a 5°)"},
    {TweedKey::twaobo, "AO - BO", 0, 4, "AO - BO ( 0 a 4 mm)"},
    {TweedKey::twangz, "Ang. Z", 70, 80, "Ang. Z ( 70° a 80°)"},
    {TweedKey::twafpafares, "AFP / AFA", 65, 75, "AFP / AFA ( 65% a 75%)"},
};

TEST(TweedRegistry, NormsAndTitlesOfTheCaptionedMeasurements)
{
    std::set<TweedKey> withNorm;
    for (const Norm& n : kNorms) {
        const TweedField& f = TweedFieldOf(n.key);
        SCOPED_TRACE(f.objectName);
        EXPECT_EQ(f.captionText(), QString::fromUtf8(n.caption));
        EXPECT_EQ(f.titleText(), QString::fromUtf8(n.title));
        ASSERT_TRUE(f.norm.has_value());
        EXPECT_EQ(*f.norm, (NormBand{n.low, n.high}));
        withNorm.insert(n.key);
    }
    for (const TweedField& f : TweedFields()) {
        if (withNorm.count(f.key))
            continue;
        EXPECT_FALSE(f.norm.has_value()) << f.objectName;
        // Without a norm the title is the caption itself.
        EXPECT_EQ(f.titleText(), f.captionText()) << f.objectName;
    }
    // A caption that states a norm is written for one field only.
    std::set<std::u16string> captions;
    for (const TweedField& f : TweedFields())
        if (f.norm) {
            EXPECT_TRUE(captions.insert(f.caption).second) << f.objectName;
        }
}

}  // namespace
}  // namespace qv
