// FormTracado's layout: the whole window on a 1024 x 768 screen, and a column beside the
// radiograph that does not move while the clinician works.

#include "tracing/TracingWindowFixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLayout>
#include <QScrollBar>

using namespace qv;
using namespace qv::test;

namespace {

// A 1024 x 768 screen less a title bar and a panel of the desktop.
const QSize kScreenRoom(1024, 768 - 60);

TEST_F(TracingWindowTest, FitsA1024By768ScreenWithEveryButtonAndColumnVisible)
{
    const QSize least = window.minimumSizeHint();
    EXPECT_LE(least.width(), kScreenRoom.width()) << least.width();
    EXPECT_LE(least.height(), kScreenRoom.height()) << least.height();

    ASSERT_TRUE(window.openImage(picture()));
    for (const QSize size : {kScreenRoom, QSize(1024 * 9 / 10, 768 * 9 / 10)}) {
        window.resize(size);
        window.show();
        window.layout()->activate();
        QApplication::processEvents();
        EXPECT_EQ(window.size(), size);
        const QRect inside = window.rect();
        const auto buttons = window.findChildren<QAbstractButton*>();
        EXPECT_GE(buttons.size(), 7 + 5 + 20 + 2);
        for (const QAbstractButton* b : buttons) {
            if (b->parentWidget()->inherits("QTableCornerButton") || !b->window()->isAncestorOf(b) || b->objectName().isEmpty())
                continue;
            const QRect at(b->mapTo(&window, QPoint(0, 0)), b->size());
            EXPECT_TRUE(b->isVisible()) << b->objectName().toStdString();
            EXPECT_TRUE(inside.contains(at)) << b->objectName().toStdString() << " at " << at.x() << "," << at.y() << " "
                                             << at.width() << "x" << at.height() << " in " << size.width() << "x"
                                             << size.height();
            EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text())) << b->objectName().toStdString();
        }
        // Both columns of the measurements whole, without a scroll bar.
        const auto* table = window.findChild<QTableWidget*>(QStringLiteral("medidas"));
        EXPECT_LE(table->columnViewportPosition(1) + table->columnWidth(1), table->viewport()->width());
        EXPECT_FALSE(table->horizontalScrollBar()->isVisible());
        const QRect tableAt(table->mapTo(&window, QPoint(0, 0)), table->size());
        EXPECT_TRUE(inside.contains(tableAt));
        EXPECT_GT(window.canvas()->width(), 400);
        EXPECT_GT(window.canvas()->height(), 400);
    }
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
