// The Tweed report reads what the page shows, under the controls' names.

#include "TweedPageFixture.h"
#include "printing/ReportParams.h"
#include "tweed/TweedReportTexts.h"

namespace qv::test {
namespace {

TEST_F(TweedPageTest, ReportReadsTheShownTextsAndThePanel)
{
    fillSample();
    radio("inter2")->setChecked(true);
    calculateAnswering(platform::Answer::Yes);
    page->panel()->showState(SamplePanel());

    const TweedReportTexts t = ReadTweedReportTexts(*page);
    EXPECT_EQ(t.twPaciente, QStringLiteral("ANA"));
    EXPECT_EQ(t.Idade, QStringLiteral("13"));
    EXPECT_TRUE(t.GenMasc);
    EXPECT_FALSE(t.inicial);
    EXPECT_TRUE(t.inter2);
    EXPECT_EQ(StageWord(t.inicial, t.inter1, t.inter2), QStringLiteral("INTER2"));
    for (const auto& [name, value] : kSamplePatient) {
        if (std::string(name) == "Idade" || std::string(name) == "twPaciente")
            continue;
        const QString shown = edit(name)->text();
        const TweedReportTexts& r = t;
        const std::map<std::string, QString> read = {
            {"twfma", r.twfma}, {"twfmia", r.twfmia}, {"twimpa", r.twimpa}, {"twploc", r.twploc}, {"twsna", r.twsna},
            {"twsnb", r.twsnb}, {"twaobo", r.twaobo}, {"twangz", r.twangz}, {"twls", r.twls}, {"twqt", r.twqt},
            {"twafa", r.twafa}, {"twafp", r.twafp}, {"anaer", r.anaer}, {"anaep", r.anaep}, {"anmer", r.anmer},
            {"anmep", r.anmep}, {"anmspee", r.anmspee}, {"anmcorr", r.anmcorr}, {"anper", r.anper}, {"anpep", r.anpep}};
        EXPECT_EQ(read.at(name), shown) << name;
    }
    EXPECT_EQ(t.twanbres.toStdString(), text("twanbres"));
    EXPECT_EQ(t.idlabel.toStdString(), text("idlabel"));
    EXPECT_EQ(t.idtotres.toStdString(), text("idtotres"));
    EXPECT_EQ(t.andiscres.toStdString(), text("andiscres"));
    EXPECT_EQ(t.dcimpares.toStdString(), text("dcimpares"));
    EXPECT_FALSE(t.idlabel.isEmpty());
    EXPECT_EQ(t.panel, SamplePanel());
    EXPECT_EQ(BuildTweedReport(t).lastPage, 2);
}

}  // namespace
}  // namespace qv::test
