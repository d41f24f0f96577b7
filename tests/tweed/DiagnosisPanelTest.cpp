// The suggested-diagnosis panel: what it shows comes back as the same PanelState, and
// ClearPanel leaves no line, quadrant, heading or text behind.
#include "TweedPageFixture.h"

#include <QFrame>

namespace qv::test {
namespace {

QStringList names(const char* prefix, int first, int last, bool twoDigits)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << QLatin1String(prefix) + (twoDigits ? QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')) : QString::number(i));
    return out;
}

const QStringList kLines = names("Shape", 3, 18, false);
const QStringList kQuadrants = names("a", 1, 4, true) + names("m", 1, 8, true) + names("p", 1, 4, true)
                               + names("d", 1, 16, true);
const QStringList kTexts = {"dsant", "dsmed", "dsmed2", "dspos", "dsdesc", "dsdesc2", "dsdesc3", "dsdesc4", "dsdesc5"};
const QStringList kHeadings = {"dsantinfo", "dsmedinfo", "dsposinfo", "dsdescinfo"};
const QStringList kOr = {"ou", "ou2", "ou3", "ou4", "ou5"};

PanelState everything()
{
    PanelState p = SamplePanel();
    p.dspos = QStringLiteral("Extração");
    p.pos = {true, {"8", "8", "8", "8"}};
    return p;
}

TEST(DiagnosisPanel, HoldsEveryNamedElement)
{
    DiagnosisPanel panel;
    EXPECT_EQ(panel.objectName().toStdString(), "ds");
    EXPECT_EQ(panel.title().toStdString(), "Diagnóstico Sugerido");
    for (const QString& n : kLines)
        EXPECT_NE(panel.findChild<QFrame*>(n), nullptr) << n.toStdString();
    for (const QString& n : kQuadrants + kTexts + kHeadings + kOr)
        EXPECT_NE(panel.findChild<QLabel*>(n), nullptr) << n.toStdString();
    EXPECT_EQ(kQuadrants.size(), 32);
    EXPECT_TRUE(panel.abrirFlag()->isHidden());
    EXPECT_EQ(panel.state(), PanelState{});
}

TEST(DiagnosisPanel, ShowsAndReadsBackTheSameState)
{
    DiagnosisPanel panel;
    const PanelState p = everything();
    panel.showState(p);
    EXPECT_EQ(panel.state(), p);
    // Lines and quadrants of the last cross, and a cross with empty lower quadrants.
    EXPECT_FALSE(panel.findChild<QFrame*>("Shape18")->isHidden());
    EXPECT_FALSE(panel.findChild<QFrame*>("Shape13")->isHidden());
    EXPECT_EQ(panel.findChild<QLabel*>("d07")->text().toStdString(), "");
    EXPECT_EQ(panel.findChild<QLabel*>("d09")->text().toStdString(), "X  4");
    // A carriage return starts a new line: three centred lines.
    QLabel* slot4 = panel.findChild<QLabel*>("dsdesc4");
    EXPECT_EQ(slot4->text().split(u'\n').size(), 3);
    EXPECT_TRUE(slot4->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(slot4->alignment() & Qt::AlignVCenter);
}

TEST(DiagnosisPanel, ClearPanelLeavesNothingBehind)
{
    DiagnosisPanel panel;
    panel.showState(everything());
    panel.ClearPanel();
    for (const QString& n : kLines)
        EXPECT_TRUE(panel.findChild<QFrame*>(n)->isHidden()) << n.toStdString();
    for (const QString& n : kQuadrants + kTexts)
        EXPECT_TRUE(panel.findChild<QLabel*>(n)->text().isEmpty()) << n.toStdString();
    for (const QString& n : kHeadings + kOr)
        EXPECT_TRUE(panel.findChild<QLabel*>(n)->isHidden()) << n.toStdString();
    EXPECT_EQ(panel.state(), PanelState{});
}

TEST(DiagnosisPanel, QuadrantsAreBoldRedAndDescribed)
{
    DiagnosisPanel panel;
    QLabel* q = panel.findChild<QLabel*>("a01");
    EXPECT_TRUE(q->font().bold());
    EXPECT_EQ(q->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(q->accessibleDescription().toStdString(), "Discrepância Anterior - quadrante superior esquerdo");
    EXPECT_EQ(panel.findChild<QLabel*>("dsdesc3")->accessibleDescription().toStdString(),
              "Desarmonia Esquelética - alternativa 3");
}

}  // namespace
}  // namespace qv::test
