// FormTracado's layout: the whole window on a 1024 x 768 screen, and a column beside the
// radiograph that does not move while the clinician works.

#include "tracing/TracingWindowFixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLayout>
#include <QScrollBar>
#include <QTabWidget>

#include <algorithm>

using namespace qv;
using namespace qv::test;

namespace {

// A 1024 x 768 screen less a title bar and a panel of the desktop.
const QSize kScreenRoom(1024, 768 - 60);

// The whole window on the screen: every button shown whole (the point buttons of analyses not
// chosen are the only ones hidden), both columns of the Tweed measurements, and a radiograph
// that stays large.
void ExpectFitsTheScreen(TracingWindow& window)
{
    const QSize least = window.minimumSizeHint();
    EXPECT_LE(least.width(), kScreenRoom.width()) << least.width();
    EXPECT_LE(least.height(), kScreenRoom.height()) << least.height();

    const auto& order = window.placingOrder();
    for (const QSize size : {kScreenRoom, QSize(1024 * 9 / 10, 768 * 9 / 10)}) {
        window.resize(size);
        window.show();
        window.layout()->activate();
        QApplication::processEvents();
        EXPECT_EQ(window.size(), size);
        const QRect inside = window.rect();
        const auto buttons = window.findChildren<QAbstractButton*>();
        EXPECT_GE(buttons.size(), 7 + 5 + 20 + 2);
        size_t hiddenPoints = 0;
        for (const QAbstractButton* b : buttons) {
            if (b->parentWidget()->inherits("QTableCornerButton") || !b->window()->isAncestorOf(b) || b->objectName().isEmpty())
                continue;
            // The tab bar's own arrows show only when its tabs overflow.
            if (b->parentWidget()->inherits("QTabBar"))
                continue;
            const bool unchosenPoint = b->objectName().startsWith(QStringLiteral("ponto")) &&
                                       std::none_of(order.begin(), order.end(), [b](Landmark l) {
                                           return b->objectName() == PointButtonName(l);
                                       });
            // Cancelling a learning shows only while the program learns.
            if (b->objectName() == QStringLiteral("tCancelarAprendizado")) {
                EXPECT_EQ(b->isVisible(), window.learning().learning());
                continue;
            }
            if (unchosenPoint) {
                EXPECT_FALSE(b->isVisible()) << b->objectName().toStdString();
                ++hiddenPoints;
                continue;
            }
            const QRect at(b->mapTo(&window, QPoint(0, 0)), b->size());
            EXPECT_TRUE(b->isVisible()) << b->objectName().toStdString();
            EXPECT_TRUE(inside.contains(at)) << b->objectName().toStdString() << " at " << at.x() << "," << at.y() << " "
                                             << at.width() << "x" << at.height() << " in " << size.width() << "x"
                                             << size.height();
            EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text())) << b->objectName().toStdString();
        }
        EXPECT_EQ(hiddenPoints, size_t(kLandmarkCount) - order.size());
        // Both columns of the measurements whole, without a scroll bar.
        const auto* table = window.findChild<QTableWidget*>(QStringLiteral("medidas"));
        if (table->isVisible()) {
            EXPECT_LE(table->columnViewportPosition(1) + table->columnWidth(1), table->viewport()->width());
            EXPECT_FALSE(table->horizontalScrollBar()->isVisible());
            const QRect tableAt(table->mapTo(&window, QPoint(0, 0)), table->size());
            EXPECT_TRUE(inside.contains(tableAt));
        }
        EXPECT_GT(window.canvas()->width(), 400);
        EXPECT_GT(window.canvas()->height(), 400);
    }
}

TEST_F(TracingWindowTest, FitsA1024By768ScreenWithEveryButtonAndColumnVisible)
{
    ASSERT_TRUE(window.openImage(picture()));
    ExpectFitsTheScreen(window);
    EXPECT_TRUE(window.findChild<QTableWidget*>(QStringLiteral("medidas"))->isVisible());
}

TEST_F(TracingWindowTest, FitsA1024By768ScreenWithEveryAnalysisChosen)
{
    ASSERT_TRUE(window.openImage(picture()));
    window.setAnalyses(window.catalogue().titles());
    ASSERT_EQ(window.placingOrder().size(), size_t(kLandmarkCount));
    ExpectFitsTheScreen(window);
    // The other analyses' table: every column whole, and room for a good many rows.
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("medidasAbas"));
    ASSERT_EQ(tabs->count(), 2);
    tabs->setCurrentIndex(1);
    QApplication::processEvents();
    const auto* ceph = window.findChild<QTableWidget*>(QStringLiteral("cefalometria"));
    ASSERT_TRUE(ceph->isVisible());
    EXPECT_LE(ceph->columnViewportPosition(3) + ceph->columnWidth(3), ceph->viewport()->width());
    EXPECT_FALSE(ceph->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(window.rect().contains(QRect(ceph->mapTo(&window, QPoint(0, 0)), ceph->size())));
    EXPECT_GE(ceph->viewport()->height(), 12 * ceph->verticalHeader()->defaultSectionSize());
}

TEST_F(TracingWindowTest, TheHintKeepsItsHeightSoThePointButtonsStayPut)
{
    openAtScaleOne();
    window.layout()->activate();
    const QWidget* points = window.findChild<QGroupBox*>(QStringLiteral("pontos"));
    const auto* name = window.findChild<QLabel*>(QStringLiteral("pontoNome"));
    const auto* hint = window.findChild<QLabel*>(QStringLiteral("pontoDica"));
    const int top = points->mapTo(&window, QPoint(0, 0)).y();
    const int canvasTop = window.canvas()->mapTo(&window, QPoint(0, 0)).y();
    const auto check = [&](const std::string& state) {
        window.layout()->activate();
        QApplication::processEvents();
        EXPECT_EQ(points->mapTo(&window, QPoint(0, 0)).y(), top) << state;
        EXPECT_EQ(window.canvas()->mapTo(&window, QPoint(0, 0)).y(), canvasTop) << state;
        // Every name and hint is shown whole in the room kept for it.
        EXPECT_LE(name->heightForWidth(name->width()), name->height()) << state;
        EXPECT_LE(hint->heightForWidth(hint->width()), hint->height()) << state;
    };
    for (int i = 0; i < kLandmarkCount; ++i) {
        window.pickLandmark(LandmarkAt(i));
        check(LandmarkCode(LandmarkAt(i)).toStdString());
    }
    button("tRegua")->click();
    check("ruler");
    placeAll();
    check("all placed");
}

}  // namespace
