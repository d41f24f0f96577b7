// The Tweed page fits the main window's page area without scrolling, nothing overlaps or is
// clipped, and with QUORVEL_SCREENSHOT_DIR set a picture of a filled page is saved there for a person to look at.
#include "TweedPageFixture.h"

#include <QDir>

#include <QApplication>
#include <QFrame>
#include <QGroupBox>

namespace qv::test {
namespace {

const QSize kPageArea(975, 660);

// The controls a clinician reads, with their rectangles in page coordinates.
std::vector<std::pair<QWidget*, QRect>> leaves(QWidget* page)
{
    std::vector<std::pair<QWidget*, QRect>> out;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page) || qobject_cast<QGroupBox*>(w))
            continue;
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractButton*>(w))
            continue;
        out.emplace_back(w, QRect(w->mapTo(page, QPoint(0, 0)), w->size()));
    }
    return out;
}

class TweedPageLayout : public TweedPageTest {
protected:
    void SetUp() override
    {
        TweedPageTest::SetUp();
        fillSample();
        radio("anmcl2")->setChecked(true);
        edit("twafp")->setText("50.0");  // the longest Horn text
        calculateAnswering(platform::Answer::No);  // shows the IMPA choice as well
        edit("dcopcres")->setText("90.0");
        page->model().setPanel(SamplePanel());
        page->resize(kPageArea);
        page->show();
        QApplication::processEvents();
    }
};

TEST_F(TweedPageLayout, FitsThePageArea)
{
    const QSize min = page->minimumSizeHint();
    EXPECT_LE(min.width(), kPageArea.width());
    EXPECT_LE(min.height(), kPageArea.height());
    EXPECT_EQ(page->size(), kPageArea);
    const QRect area(QPoint(0, 0), kPageArea);
    for (const auto& [w, r] : leaves(page.get()))
        EXPECT_TRUE(area.contains(r)) << w->objectName().toStdString() << " at " << r.x() << "," << r.y() << " "
                                      << r.width() << "x" << r.height();
}

TEST_F(TweedPageLayout, NothingOverlapsOrIsClipped)
{
    const auto all = leaves(page.get());
    for (size_t i = 0; i < all.size(); ++i) {
        const auto& [w, r] = all[i];
        for (size_t j = i + 1; j < all.size(); ++j)
            EXPECT_FALSE(r.intersects(all[j].second))
                << w->objectName().toStdString() << "/" << w->metaObject()->className() << " overlaps "
                << all[j].first->objectName().toStdString() << "/" << all[j].first->metaObject()->className();
        if (auto* l = qobject_cast<QLabel*>(w)) {
            const QRect room = l->contentsRect();
            const QRect need = l->fontMetrics().boundingRect(room, int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0), l->text());
            EXPECT_LE(need.width(), room.width()) << l->objectName().toStdString() << " \"" << l->text().toStdString() << "\"";
            EXPECT_LE(need.height(), room.height()) << l->objectName().toStdString() << " \"" << l->text().toStdString() << "\"";
        }
    }
}

// The page as a clinician sees it after the guide: concluded, with a suggested diagnosis.
TEST_F(TweedPageTest, Screenshot)
{
    fillSample();
    radio("anmcl2")->setChecked(true);
    calculateAnswering(platform::Answer::Yes);
    page->model().setPanel(SamplePanel());
    page->model().concludeDiagnosis(GuideAnswers{});
    page->resize(kPageArea);
    page->show();
    QApplication::processEvents();
    const QPixmap shot = page->grab();
    EXPECT_EQ(shot.size(), kPageArea);
    const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        EXPECT_TRUE(shot.save(QDir(shots).filePath(QStringLiteral("tweed_page.png"))));
    }
}

}  // namespace
}  // namespace qv::test
