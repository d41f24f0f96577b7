// The page hands out what it shows: its sheet holds the typed texts, its results the shown
// result texts, and the report is built from those two and the panel.

#include "TweedPageFixture.h"
#include "printing/ReportParams.h"

#include <QLabel>

namespace qv::test {
namespace {

TEST_F(TweedPageTest, SheetAndResultsAreWhatThePageShows)
{
    fillSample();
    radio("inter2")->setChecked(true);
    calculateAnswering(platform::Answer::Yes);
    page->model().setPanel(SamplePanel());

    const TweedSheet s = page->sheet();
    const TweedResults& r = page->results();
    EXPECT_EQ(s.twPaciente, QStringLiteral("ANA"));
    EXPECT_EQ(s.Idade, QStringLiteral("13"));
    EXPECT_TRUE(s.GenMasc);
    EXPECT_FALSE(s.GenFem);
    EXPECT_EQ(s.stage, AnalysisStage::INTER2);
    int entries = 0, results = 0;
    for (const TweedField& f : TweedFields()) {
        const QString name = QLatin1String(f.objectName);
        if (f.input) {
            ASSERT_NE(edit(f.objectName), nullptr) << f.objectName;
            EXPECT_EQ((s.*(f.input)).toStdString(), edit(f.objectName)->text().toStdString()) << f.objectName;
            ++entries;
        } else {
            auto* label = page->findChild<QLabel*>(name);
            ASSERT_NE(label, nullptr) << f.objectName;
            EXPECT_EQ(f.result(r).toStdString(), label->text().toStdString()) << f.objectName;
            ++results;
        }
    }
    EXPECT_EQ(entries, 22);
    EXPECT_EQ(results, 34);
    EXPECT_FALSE(r.difficulty.idlabel.isEmpty());

    const TweedReportPlan plan = BuildTweedReport(s, r, page->panel()->state());
    EXPECT_EQ(plan.lastPage, 2);
    EXPECT_TRUE(plan.params.contains(ReportParam{QStringLiteral("dif"), r.difficulty.idlabel}));
}

TEST_F(TweedPageTest, ShowFillsWhatSheetHandsBack)
{
    TweedSheet s;
    for (const TweedField& f : TweedFields())
        if (f.input)
            s.*(f.input) = QString::fromLatin1(f.objectName).left(5);
    s.GenFem = true;
    s.stage = AnalysisStage::FINAL;
    s.anmcl3 = true;
    page->show(s);
    TweedSheet back = page->sheet();
    back.guide = s.guide;  // the guide's answers come from the guide window
    EXPECT_TRUE(back == s);
    EXPECT_TRUE(radio("final")->isChecked());
    EXPECT_TRUE(radio("anmcl3")->isChecked());
    // Showing a sheet calculates nothing.
    EXPECT_TRUE(page->results() == TweedResults{});
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
}

}  // namespace
}  // namespace qv::test
