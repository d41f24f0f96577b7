// The page must fit the main window's page area (975 x 660) without scrolling and show every
// result in full. With QUORVEL_SCREENSHOT_DIR set, the filled page is saved there as a picture.

#include "bolton/BoltonPageFixture.h"

#include <QDir>
#include <QTextEdit>

using namespace qv;
using namespace qv::test;

namespace {

TEST_F(BoltonPageTest, FilledWorksheetFitsThePageArea)
{
    const QSize area(975, 660);
    EXPECT_LE(page.minimumSizeHint().width(), area.width());
    EXPECT_LE(page.minimumSizeHint().height(), area.height());

    // The longer texts of a maxillary excess in the overall ratio.
    fillAll();
    field(QStringLiteral("bpaciente"))->setText(QStringLiteral("MARIA APARECIDA DOS SANTOS FERREIRA"));
    for (const char* name : {"i02", "i03", "i10", "i11"})
        field(QString::fromLatin1(name))->setText(QStringLiteral("6.0"));
    button(QStringLiteral("bCalcular"))->click();
    ASSERT_EQ(label(QStringLiteral("diag12"))->text(), QStringLiteral("Excesso maxilar de 1.0mm"));
    page.resize(area);
    page.show();
    QCoreApplication::processEvents();
    const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        page.grab().save(QDir(shots).filePath(QStringLiteral("bolton_page.png")));
    ASSERT_EQ(page.size(), area);

    const QRect inside(QPoint(0, 0), area);
    for (QWidget* w : page.findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->parentWidget() || w->objectName().isEmpty())
            continue;
        const QRect r(w->mapTo(&page, QPoint(0, 0)), w->size());
        EXPECT_TRUE(inside.contains(r)) << w->objectName().toStdString();
        if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString() << " is cut";
            EXPECT_GE(l->height(), l->sizeHint().height()) << l->objectName().toStdString() << " is cut";
        }
    }
    for (const char* name : {"Memo12", "Memo6"}) {
        auto* memo = page.findChild<QTextEdit*>(QString::fromLatin1(name));
        EXPECT_LE(memo->document()->size().height(), memo->viewport()->height()) << name << " hides rows";
        EXPECT_LE(memo->document()->size().width(), memo->viewport()->width()) << name << " hides columns";
    }
}

}  // namespace
