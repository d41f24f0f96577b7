// The Tweed field table against the file layout and the report: every typed field reaches its
// offset in the record and back, every field with a parameter reaches it with its caption.

#include "printing/ReportParams.h"
#include "records/Cp1252.h"
#include "records/TweedFile.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace qv {
namespace {

// The record's layout, as published: field, offset, capacity.
struct Slot {
    const char* name;
    int offset;
    int capacity;
};
const Slot kLayout[] = {{"twPaciente", 1, 50}, {"Idade", 52, 2},    {"twfma", 56, 5},   {"twfmia", 62, 5},
                        {"twimpa", 68, 5},     {"twploc", 74, 5},   {"twsna", 80, 5},   {"twsnb", 86, 5},
                        {"twaobo", 92, 5},     {"twangz", 98, 5},   {"twls", 104, 5},   {"twqt", 110, 5},
                        {"twafa", 116, 5},     {"twafp", 122, 5},   {"anaer", 128, 5},  {"anaep", 134, 5},
                        {"anmer", 140, 5},     {"anmep", 146, 5},   {"anmspee", 152, 5}, {"anmcorr", 158, 5},
                        {"anper", 164, 5},     {"anpep", 170, 5}};

TEST(TweedFieldTable, EveryTypedFieldReachesItsOffsetAndComesBack)
{
    std::set<std::string> seen;
    for (const Slot& slot : kLayout) {
        const TweedField& f = TweedFieldOf(slot.name);
        ASSERT_NE(f.input, nullptr) << slot.name;
        EXPECT_EQ(f.offset, slot.offset) << slot.name;
        EXPECT_EQ(f.capacity, slot.capacity) << slot.name;
        seen.insert(slot.name);

        TweedSheet s;
        const QString text = QString(slot.capacity, u'9');
        s.*(f.input) = text;
        const QByteArray bytes = EncodeTweed(s);
        ASSERT_EQ(bytes.size(), kTweedRecordSize);
        EXPECT_EQ(int(quint8(bytes[slot.offset])), slot.capacity) << slot.name;
        EXPECT_EQ(bytes.mid(slot.offset + 1, slot.capacity), ToCp1252(text)) << slot.name;
        // Nothing else of the record changes but the gender-free defaults.
        QByteArray rest = bytes;
        rest.replace(slot.offset, slot.capacity + 1, QByteArray(slot.capacity + 1, '\0'));
        EXPECT_EQ(rest, EncodeTweed(TweedSheet{})) << slot.name;
        EXPECT_EQ(DecodeTweed(bytes).*(f.input), text) << slot.name;
    }
    // No other typed field is stored.
    for (const TweedField& f : TweedFields())
        if (f.offset >= 0) {
            EXPECT_TRUE(seen.count(f.objectName)) << f.objectName;
        }
}

// Report parameter, caption and unit of every printed field, as the report shows them.
struct Printed {
    const char* name;
    const char* param;
    const char* line;  // with the value "V"
};
const Printed kPrinted[] = {
    {"twfma", "fma", "FMA (22° a 28°):  V°"},
    {"twfmia", "fmia", "FMIA (65° a 68°):  V°"},
    {"twimpa", "impa", "IMPA (88° a 94°):  V°"},
    {"twploc", "ploc", "Pl. ocl. - Hf (8° a 12°):  V°"},
    {"twsna", "sna", "SNA ( 80° a 84°):  V°"},
    {"twsnb", "snb", "SNB (78° a 82°):  V°"},
    {"twanbres", "anb", "ANB ( 1° a 5°):  V°"},
    {"twaobo", "aobo", "AO - BO ( 0 a 4 mm):  Vmm"},
    {"twangz", "angz", "Ang. Z ( 70° a 80°):  V°"},
    {"twls", "ls", "LS:  V"},
    {"twqt", "qt", "QT:  V"},
    {"twafa", "afa", "AFA:  V"},
    {"twafp", "afp", "AFP:  V"},
    {"twafpafares", "afpafa", "AFP / AFA ( 65% a 75%):  V"},
    {"hornres", "horn", "V"},
    {"idfmares", "ifma", "FMA:  V"},
    {"idtotres", "itot", "Total:  V"},
    {"anmspee", "spee", "Curva Spee:  V"},
    {"anpcresres", "cres", "Cresc. Esper.:  V"},
    {"andiscres", "total", "Discrepância Total:  V"},
    {"dcimpares", "dcimpa", "IMPA:  V"},
    {"idlabel", "dif", "V"},
};

TEST(TweedFieldTable, EveryPrintedFieldReachesItsParameter)
{
    for (const Printed& p : kPrinted) {
        const TweedField& f = TweedFieldOf(p.name);
        TweedSheet s;
        TweedResults r;
        if (f.input) {
            s.*(f.input) = QStringLiteral("V");
        } else {
            // Find the result's member by giving every result a distinct text first.
            bool found = false;
            for (QString* member : {&r.twanbres, &r.horn.percent, &r.horn.text, &r.difficulty.idfmares,
                                    &r.difficulty.idtotres, &r.space.anpcresres, &r.space.andiscres,
                                    &r.targets.dcimpares, &r.difficulty.idlabel}) {
                *member = QStringLiteral("V");
                if (f.result(r) == QStringLiteral("V")) {
                    found = true;
                    break;
                }
                member->clear();
            }
            ASSERT_TRUE(found) << p.name;
        }
        const TweedReportPlan plan = BuildTweedReport(s, r, PanelState{});
        const ReportParam expected{QString::fromLatin1(p.param), QString::fromUtf8(p.line)};
        EXPECT_TRUE(plan.params.contains(expected)) << p.name;
    }
}

TEST(TweedFieldTable, EveryNameOnceAndEveryParameterOnce)
{
    std::set<std::string> names, params;
    for (const TweedField& f : TweedFields()) {
        EXPECT_TRUE(names.insert(f.objectName).second) << f.objectName;
        EXPECT_NE(f.input == nullptr, f.result == nullptr) << f.objectName;
        if (f.reportParam) {
            EXPECT_TRUE(params.insert(f.reportParam).second) << f.reportParam;
        }
    }
    EXPECT_EQ(params.size(), 54u);
    EXPECT_THROW(TweedFieldOf("nada"), std::out_of_range);
}

}  // namespace
}  // namespace qv
