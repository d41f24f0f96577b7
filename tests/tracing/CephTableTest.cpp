// The analyses the clinician chooses in the tracing window (their points, placing order and
// buttons, remembered on the computer), the table of their measures against the clinic's norms
// (texts, colours and what a screen reader hears), and the norms file with its dialog.

#include "tracing/TracingWindowFixture.h"

#include "tracing/CephKeys.h"
#include "tracing/CephNormsStore.h"
#include "tracing/CephTable.h"
#include "tracing/NormsDialog.h"
#include "tracing/TracingOverlay.h"

#include <QAccessible>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <set>

using namespace qv;
using namespace qv::test;
using qv::test::Caption;

namespace {

// The shipped analyses by their titles.
namespace A {
const QString Tweed = QStringLiteral("Tweed-Merrifield"), Steiner = QStringLiteral("Steiner"), Downs = QStringLiteral("Downs"),
              McNamara = QStringLiteral("McNamara"), Jarabak = QStringLiteral("Jarabak"),
              Ricketts = QStringLiteral("Ricketts (resumo)"), SoftTissue = QStringLiteral("Tecidos moles"),
              Wits = QStringLiteral("Wits");
}

std::vector<Landmark> shownPoints(const TracingWindow& w)
{
    std::vector<Landmark> shown;
    for (int i = 0; i < kLandmarkCount; ++i)
        if (w.findChild<QToolButton*>(PointButtonName(LandmarkAt(i)))->isVisibleTo(&w))
            shown.push_back(LandmarkAt(i));
    return shown;
}

std::vector<Landmark> range(int from, int to)
{
    std::vector<Landmark> ls;
    for (int i = from; i < to; ++i)
        ls.push_back(LandmarkAt(i));
    return ls;
}

// ---- The choice of analyses ----

TEST_F(TracingWindowTest, TheChosenAnalysesDecideThePointsAskedForAndTheirButtons)
{
    using L = Landmark;
    struct Case {
        const char* name;
        QStringList analyses;
        std::vector<Landmark> order;
        bool tweedTable, otherTable;
    };
    const Case cases[] = {
        {"Tweed alone: the twenty, as always", {A::Tweed}, range(0, kTweedLandmarkCount), true, false},
        {"Steiner alone",
         {A::Steiner},
         {L::S, L::N, L::A, L::B, L::Ii, L::Ai, L::Is, L::OclP, L::OclA, L::Pog, L::Gn, L::Go, L::As},
         false,
         true},
        {"soft tissue alone",
         {A::SoftTissue},
         {L::S, L::N, L::Po, L::Or, L::B, L::Ls, L::Li, L::PogSoft, L::Prn, L::Sn, L::Cm},
         false,
         true},
        {"Wits alone", {A::Wits}, {L::A, L::B, L::OclP, L::OclA}, false, true},
        {"Tweed and McNamara: the twenty, then Pog, Gn, Co",
         {A::Tweed, A::McNamara},
         [] {
             auto o = range(0, kTweedLandmarkCount);
             o.insert(o.end(), {L::Pog, L::Gn, L::Co});
             return o;
         }(),
         true,
         true},
        {"every analysis: every point", ShippedAnalyses().titles(), range(0, kLandmarkCount), true, true},
    };
    for (const Case& c : cases) {
        window.setAnalyses(c.analyses);
        EXPECT_EQ(window.placingOrder(), c.order) << c.name;
        EXPECT_EQ(window.placingOrder(), LandmarksFor(window.catalogue(), c.analyses)) << c.name;
        EXPECT_EQ(shownPoints(window), [&] {
            auto sorted = c.order;
            std::sort(sorted.begin(), sorted.end());
            return sorted;
        }()) << c.name;
        auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("medidasAbas"));
        EXPECT_EQ(tabs->count(), int(c.tweedTable) + int(c.otherTable)) << c.name;
        EXPECT_EQ(tabs->indexOf(window.findChild<QTableWidget*>(QStringLiteral("cefalometria"))) >= 0, c.otherTable) << c.name;
        EXPECT_EQ(tabs->tabBar()->isVisibleTo(&window), c.tweedTable && c.otherTable) << c.name;
    }
}

TEST_F(TracingWindowTest, TickingAnotherAnalysisBringsItsTableToTheFront)
{
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("medidasAbas"));
    auto* ceph = window.findChild<QTableWidget*>(QStringLiteral("cefalometria"));
    window.setAnalyses({A::Tweed, A::Downs});
    EXPECT_EQ(tabs->currentWidget(), ceph);
    tabs->setCurrentIndex(0);
    window.setAnalyses({A::Tweed, A::Downs, A::Wits});  // the clinician's tab stays
    EXPECT_EQ(tabs->currentIndex(), 0);
    window.setAnalyses({A::Tweed});
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->count(), 1);
}

TEST_F(TracingWindowTest, ClicksPlaceExactlyThePointsOfTheChosenAnalysesInOrder)
{
    openAtScaleOne();
    window.setAnalyses({A::Steiner, A::Ricketts});
    const std::vector<Landmark> order = window.placingOrder();
    std::vector<Landmark> asked;
    for (int i = 0; i < int(order.size()); ++i) {
        const auto next = window.awaited();
        ASSERT_TRUE(next.has_value()) << i;
        asked.push_back(*next);
        click(QPointF(100 + 20 * i, 50 + 15 * i));
    }
    EXPECT_EQ(asked, order);
    EXPECT_FALSE(window.awaited().has_value());
    EXPECT_EQ(window.landmarks().count(), int(order.size()));
    EXPECT_FALSE(window.landmarks().has(Landmark::Cm));  // not asked by these analyses
    EXPECT_TRUE(window.landmarks().has(Landmark::Prn));  // the E line of Ricketts
    EXPECT_EQ(awaitedName(), QStringLiteral("Todos os pontos foram marcados."));
    // Undo takes back the last point, which is awaited again.
    window.undoStack().undo();
    EXPECT_EQ(window.awaited(), order.back());
}

TEST_F(TracingWindowTest, TheChoiceIsRememberedOnThisComputerAndNeverLeftEmpty)
{
    QMenu* menu = window.findChild<QMenu*>(QStringLiteral("analises"));
    ASSERT_NE(menu, nullptr);
    // The program's analyses under their heading (no analysis of the clinic's here).
    const auto item = [menu](const QString& title) {
        for (QAction* a : menu->actions())
            if (a->isCheckable() && a->text() == title)
                return a;
        ADD_FAILURE() << title.toStdString();
        return menu->actions().first();
    };
    QStringList listed;
    for (QAction* a : menu->actions())
        listed << (a->isSeparator() ? QStringLiteral("[") + a->text() + u']' : a->text());
    const QStringList titles{QStringLiteral("[Análises do programa]"), QStringLiteral("Tweed-Merrifield"), QStringLiteral("Steiner"),
                             QStringLiteral("Downs"), QStringLiteral("McNamara"), QStringLiteral("Jarabak"),
                             QStringLiteral("Ricketts (resumo)"), QStringLiteral("Tecidos moles"), QStringLiteral("Wits"),
                             QStringLiteral("Padrão USP"), QStringLiteral("Ricketts (11 fatores)"), QStringLiteral("Holdaway")};
    EXPECT_EQ(listed, titles);
    for (QAction* a : menu->actions())
        EXPECT_EQ(a->isChecked(), a->text() == A::Tweed) << a->text().toStdString();
    item(A::Downs)->trigger();
    item(A::Wits)->trigger();
    item(A::Tweed)->trigger();
    EXPECT_EQ(window.analyses(), (QStringList{A::Downs, A::Wits}));

    // A click in the open list ticks an analysis and leaves the list open for the next.
    window.show();
    menu->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item(A::Jarabak)).center());
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(window.analyses(), (QStringList{A::Downs, A::Jarabak, A::Wits}));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item(A::Jarabak)).center());
    EXPECT_EQ(window.analyses(), (QStringList{A::Downs, A::Wits}));
    menu->hide();

    TracingWindow again(dialogs);
    EXPECT_EQ(again.analyses(), (QStringList{A::Downs, A::Wits}));
    EXPECT_EQ(again.placingOrder(), LandmarksFor(window.catalogue(), QStringList{A::Downs, A::Wits}));

    // Unticking the last two leaves the last one ticked.
    item(A::Downs)->trigger();
    item(A::Wits)->trigger();
    EXPECT_EQ(window.analyses(), (QStringList{A::Wits}));
    EXPECT_TRUE(item(A::Wits)->isChecked());
    EXPECT_EQ(TracingWindow(dialogs).analyses(), (QStringList{A::Wits}));
}

TEST_F(TracingWindowTest, AplicarWritesTheSameTwelveWhateverAnalysesAreChosen)
{
    openAtScaleOne();
    window.setAnalyses({A::Tweed, A::Steiner, A::Downs, A::McNamara, A::Jarabak, A::Ricketts, A::SoftTissue, A::Wits});
    placeAll();  // the twenty come first in every order
    EXPECT_EQ(window.landmarks(), expectedPoints());
    button("tAplicar")->click();
    dialogs.expectNotice(NoticeKind::Information, QStringLiteral("As medidas foram aplicadas na Análise de Tweed."
                                                                 "\rNão medidas: AO - BO, LS, QT, AFA, AFP."),
                         kCaption);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], MakeTracingValues(MeasureTracing(expectedPoints(), {})));
}

TEST_F(TracingWindowTest, TheFurtherPointsAreSavedAndOpenedAsTheTwentyAre)
{
    openAtScaleOne();
    window.setAnalyses(window.catalogue().titles());
    placeAll();
    LandmarkSet expected = expectedPoints();
    for (int i = kTweedLandmarkCount; i < kLandmarkCount; ++i) {
        const QPointF at(300 + 10 * i, 200 + 7 * i);
        ASSERT_EQ(window.awaited(), LandmarkAt(i));
        click(at);
        expected.set(LandmarkAt(i), at);
    }
    ASSERT_EQ(window.landmarks(), expected);
    dialogs.answers.push_back(Answer::No);  // the radiograph stays where it is
    button("tSalvar")->click();
    EXPECT_EQ(dialogs.take().type, Box::Question);
    dialogs.take();
    const QByteArray saved = work.read(QStringLiteral("Análises/MARIA-INICIAL.tra"));
    EXPECT_TRUE(saved.contains("\"version\": 1")) << saved.constData();
    EXPECT_TRUE(saved.contains("\"Cm\"")) << saved.constData();
    EXPECT_EQ(DecodeTracing(saved).document->landmarks, expected);

    // Opened where only Tweed is chosen: every point comes back, none is awaited.
    FreshAnalysesChoice fresh;
    TracingWindow other(dialogs);
    dialogs.files.push_back(work.file(QStringLiteral("Análises/MARIA-INICIAL.tra")));
    other.tAbrirClick();
    EXPECT_EQ(dialogs.take().type, Box::OpenFile);
    EXPECT_EQ(other.landmarks(), expected);
    EXPECT_FALSE(other.awaited().has_value());

    // A tracing of the twenty alone, opened for Steiner: its own further points are awaited.
    TracingDocument twenty{window.document().image, {}, expectedPoints()};
    work.write(QStringLiteral("Análises/ANA-INICIAL.tra"), EncodeTracing(twenty));
    other.setAnalyses({A::Steiner});
    dialogs.files.push_back(work.file(QStringLiteral("Análises/ANA-INICIAL.tra")));
    other.tAbrirClick();
    EXPECT_EQ(dialogs.take().type, Box::OpenFile);
    EXPECT_EQ(other.landmarks(), expectedPoints());
    EXPECT_EQ(other.awaited(), Landmark::Pog);
}

// ---- The further analyses' lines on the radiograph ----

// Whether a line between two points is drawn: pixels around a third of the way along, clear of
// both markers, on a black picture (a stretch long enough to cross a dashed line's dash).
bool DrawnBetween(const LandmarkSet& points, QPointF from, QPointF to)
{
    QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter p(&image);
    OverlayStyle style;
    style.labels = false;
    DrawTracing(p, QTransform(), points, Calibration::none(), style);
    p.end();
    for (double t = 0.3; t <= 0.45; t += 0.01)
        if (qGray(image.pixel((from + (to - from) * t).toPoint())) > 60)
            return true;
    return false;
}

TEST(FurtherLines, EachIsDrawnOnceBothItsPointsArePlaced)
{
    using L = Landmark;
    const std::pair<L, L> lines[] = {
        {L::N, L::Pog}, {L::A, L::Pog}, {L::Go, L::Gn}, {L::Is, L::As}, {L::Ba, L::N},
        {L::Pt, L::Gn}, {L::Prn, L::PogSoft}, {L::Sn, L::Cm},
    };
    const QPointF a(60, 80), b(300, 330);
    for (const auto& [first, second] : lines) {
        const std::string name = LandmarkCode(first).toStdString() + "-" + LandmarkCode(second).toStdString();
        LandmarkSet one;
        one.set(first, a);
        EXPECT_FALSE(DrawnBetween(one, a, b)) << name;
        LandmarkSet both = one;
        both.set(second, b);
        if (first == L::Sn) {  // the nasolabial sides need the lip as well
            EXPECT_FALSE(DrawnBetween(both, a, b)) << name;
        }
        if (first == L::Sn)
            both.set(L::Ls, QPointF(60, 380));
        EXPECT_TRUE(DrawnBetween(both, a, b)) << name;
    }
    // Xi, the rectangle's centre on a level Frankfort, joined to ENA once R1 to R4 are placed.
    LandmarkSet ramus;
    for (const auto& [l, at] : {std::pair{L::Po, QPointF(20, 40)}, {L::Or, QPointF(380, 40)}, {L::R1, QPointF(100, 100)},
                                {L::R2, QPointF(20, 100)}, {L::R3, QPointF(60, 60)}, {L::R4, QPointF(60, 160)},
                                {L::ENA, QPointF(360, 110)}})
        ramus.set(l, at);
    EXPECT_TRUE(DrawnBetween(ramus, QPointF(60, 110), QPointF(360, 110)));
    ramus.remove(L::R4);
    EXPECT_FALSE(DrawnBetween(ramus, QPointF(60, 110), QPointF(360, 110)));
    // The twenty alone draw nothing of these: Tweed's picture stays as it was.
    LandmarkSet tweedOnly;
    tweedOnly.set(L::N, a);
    tweedOnly.set(L::PogSoft, b);
    EXPECT_FALSE(DrawnBetween(tweedOnly, a, b));
}

// ---- The row texts of one measure ----

TEST(CephRow, TextsOfValuesAgainstTheirNormsAndOfMissingValues)
{
    using L = Landmark;
    struct Case {
        CephKey m;
        MeasureResult result;
        QString value, norm, deviation;
        std::optional<Deviation::Level> level;
        QString spoken;
    };
    const auto value = [](double v) { return MeasureResult{MeasureResult::Value, v}; };
    const Case cases[] = {
        {K("Steiner", "SNA"), value(82), "82.0°", "82.0 ± 2.0", "0.00 DP", Deviation::Within, "82.0°, 0.00 DP, dentro de 1 desvio-padrão"},
        {K("Steiner", "SNA"), value(84.0), "84.0°", "82.0 ± 2.0", "+1.00 DP", Deviation::Within,
         "84.0°, +1.00 DP, dentro de 1 desvio-padrão"},  // one SD exactly is still within
        {K("Steiner", "SNA"), value(84.1), "84.1°", "82.0 ± 2.0", "+1.05 DP", Deviation::Beyond1,
         "84.1°, +1.05 DP, fora de 1 desvio-padrão"},
        {K("Steiner", "SNA"), value(86.04), "86.0°", "82.0 ± 2.0", "+2.00 DP", Deviation::Beyond1,
         "86.0°, +2.00 DP, fora de 1 desvio-padrão"},  // judged as shown: 86.0 is two SDs exactly
        {K("Steiner", "SNA"), value(77.9), "77.9°", "82.0 ± 2.0", "-2.05 DP", Deviation::Beyond2,
         "77.9°, -2.05 DP, fora de 2 desvios-padrão"},
        {K("Steiner", "1-NA"), value(5.5), "5.5 mm", "4.0 ± 1.0", "+1.50 DP", Deviation::Beyond1,
         "5.5 mm, +1.50 DP, fora de 1 desvio-padrão"},
        {K("Jarabak", "S-Go / N-Me"), value(63.5), "63.5 %", "63.5 ± 1.5", "0.00 DP", Deviation::Within,
         "63.5 %, 0.00 DP, dentro de 1 desvio-padrão"},
        {K("Downs", "plano AB"), value(-4.6), "-4.6°", "-4.6 ± 3.7", "0.00 DP", Deviation::Within,
         "-4.6°, 0.00 DP, dentro de 1 desvio-padrão"},
        {K("Steiner", "Pog-NB"), value(5.4), "5.4 mm", "", "", std::nullopt, "5.4 mm"},  // no norm
        {K("Steiner", "Pog-NB"), {MeasureResult::Missing, 0}, "—", "", "falta Pog", std::nullopt, "sem valor, falta Pog"},
        {K("McNamara", "Co-Gn"), {MeasureResult::Missing, 0}, "—", "", "falta Gn, Co", std::nullopt, "sem valor, falta Gn, Co"},
        {K("Steiner", "1-NA"), {MeasureResult::Uncalibrated, 0}, "—", "4.0 ± 1.0", "sem calibração", std::nullopt,
         "sem valor, sem calibração"},
        {K("Steiner", "GoGn.SN"), {MeasureResult::Undefined, 0}, "—", "32.0 ± 5.0", "indefinida", std::nullopt,
         "sem valor, indefinida"},
    };
    // Every point but Pog, Gn and Co.
    LandmarkSet points;
    for (int i = 0; i < kLandmarkCount; ++i)
        if (!std::set<L>{L::Pog, L::Gn, L::Co}.contains(LandmarkAt(i)))
            points.set(LandmarkAt(i), QPointF(i, i));
    for (const Case& c : cases) {
        CephValues values;
        values[c.m] = c.result;
        const CephRowTexts t = CephRow(c.m, ShippedAnalyses(), values, CephNorms::defaults(), points);
        const std::string what = Caption(c.m).toStdString() + " " + c.value.toStdString();
        EXPECT_EQ(t.value, c.value) << what;
        EXPECT_EQ(t.norm, c.norm) << what;
        EXPECT_EQ(t.deviation, c.deviation) << what;
        EXPECT_EQ(t.level, c.level) << what;
        EXPECT_EQ(t.spoken, c.spoken) << what;
    }
}

// ---- The table in the window ----

class CephTableWindowTest : public TracingWindowTest {
protected:
    QTableWidget* ceph() const { return window.findChild<QTableWidget*>(QStringLiteral("cefalometria")); }
    int rowOf(CephKey m) const
    {
        for (int r = 0; r < ceph()->rowCount(); ++r)
            if (ceph()->item(r, 0) && ceph()->item(r, 0)->text() == Caption(m) && ceph()->columnSpan(r, 0) == 1) {
                // The first row of that caption under the measure's own analysis heading.
                for (int h = r; h >= 0; --h)
                    if (ceph()->columnSpan(h, 0) > 1)
                        if (ceph()->item(h, 0)->text() == TitleOf(m))
                            return r;
            }
        return -1;
    }
};

TEST_F(CephTableWindowTest, RowsAreGroupedUnderTheirAnalysisInOrder)
{
    window.setAnalyses({A::Tweed, A::Wits, A::Steiner});
    QStringList rows;
    for (int r = 0; r < ceph()->rowCount(); ++r)
        rows << (ceph()->columnSpan(r, 0) > 1 ? QStringLiteral("[") + ceph()->item(r, 0)->text() + QStringLiteral("]")
                                               : ceph()->item(r, 0)->text());
    EXPECT_EQ(rows.join(u'|'), QStringLiteral("[Steiner]|SNA|SNB|ANB|1.NA|1-NA|1.NB|1-NB|Pog-NB|1.1 interincisivo|Ocl.SN|GoGn.SN|"
                                              "[Wits]|AO-BO"));
    EXPECT_EQ(ceph()->horizontalHeaderItem(1)->text(), QStringLiteral("Valor"));
    EXPECT_EQ(ceph()->horizontalHeaderItem(2)->text(), QStringLiteral("Norma"));
    EXPECT_EQ(ceph()->horizontalHeaderItem(3)->text(), QStringLiteral("Desvio"));
}

TEST_F(CephTableWindowTest, ValuesOutsideOneOrTwoDeviationsAreColouredAndReadWithTheirDeviation)
{
    openAtScaleOne();
    window.setAnalyses({A::Tweed, A::Steiner});
    placeAll();
    const double sna = window.cephValues()[K("Steiner", "SNA")].value;
    const QString shown = F1(sna) + QStringLiteral("°");
    const int r = rowOf(K("Steiner", "SNA"));
    ASSERT_GE(r, 0);
    struct Case {
        double offInSds;  // where the norm's mean lies from the value shown, in SDs of 2
        QString deviation;
        QColor background;  // invalid: none
        QString level;
    };
    const Case cases[] = {
        {0, "0.00 DP", QColor(), "dentro de 1 desvio-padrão"},
        {-0.5, "+0.50 DP", QColor(), "dentro de 1 desvio-padrão"},
        {1.5, "-1.50 DP", QColor(255, 204, 102), "fora de 1 desvio-padrão"},
        {-2.5, "+2.50 DP", QColor(255, 128, 128), "fora de 2 desvios-padrão"},
    };
    for (const Case& c : cases) {
        CephNorms norms = CephNorms::defaults();
        norms.set(K("Steiner", "SNA"), CephNorm{ParseReal(F1(sna)) + c.offInSds * 2, 2});
        window.setNorms(norms);
        const std::string what = c.deviation.toStdString();
        EXPECT_EQ(ceph()->item(r, 1)->text(), shown) << what;
        EXPECT_EQ(ceph()->item(r, 2)->text(), NormText(norms[K("Steiner", "SNA")])) << what;
        EXPECT_EQ(ceph()->item(r, 3)->text(), c.deviation) << what;
        for (int col : {1, 3}) {
            const QBrush b = ceph()->item(r, col)->background();
            EXPECT_EQ(b.style() == Qt::NoBrush ? QColor() : b.color(), c.background) << what << " column " << col;
        }
        // What a screen reader hears for the value's cell: the value, its deviation and its meaning.
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(ceph());
        ASSERT_NE(table, nullptr);
        ASSERT_NE(table->tableInterface(), nullptr);
        QAccessibleInterface* cell = table->tableInterface()->cellAt(r, 1);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), shown + QStringLiteral(", ") + c.deviation + QStringLiteral(", ") + c.level) << what;
        EXPECT_TRUE(cell->text(QAccessible::Description).startsWith(QStringLiteral("SNA, Steiner: ") + shown)) << what;
        EXPECT_TRUE(cell->text(QAccessible::Description).endsWith(QStringLiteral("; norma ") + NormText(norms[K("Steiner", "SNA")])))
            << cell->text(QAccessible::Description).toStdString();
    }
    // The Tweed table keeps its own texts and colour whatever the norms.
    EXPECT_EQ(shownValue(Measure::SNA), shown);
    EXPECT_EQ(window.findChild<QTableWidget*>(QStringLiteral("medidas"))->item(int(Measure::SNA), 1)->foreground().color(),
              QColor(0, 0, 255));
}

TEST_F(CephTableWindowTest, MissingPointsAndMissingCalibrationShowADashAndSayWhy)
{
    openAtScaleOne();
    window.setAnalyses({A::Steiner, A::Jarabak});
    for (const auto& [l, p] : kPlaces)
        window.setLandmark(l, QPointF(p));
    struct Case {
        CephKey m;
        QString deviation;
    };
    const Case uncalibrated[] = {
        {K("Steiner", "Pog-NB"), "falta Pog"},         {K("Steiner", "GoGn.SN"), "falta Gn, Go"},
        {K("Steiner", "1-NA"), "sem calibração"}, {K("Jarabak", "S-N"), "sem calibração"},
        {K("Jarabak", "S-Go / N-Me"), "falta Go"},    {K("Steiner", "1.NA"), "falta As"},
    };
    for (const Case& c : uncalibrated) {
        const int r = rowOf(c.m);
        ASSERT_GE(r, 0) << Caption(c.m).toStdString();
        EXPECT_EQ(ceph()->item(r, 1)->text(), QStringLiteral("—")) << Caption(c.m).toStdString();
        EXPECT_EQ(ceph()->item(r, 3)->text(), c.deviation) << Caption(c.m).toStdString();
        EXPECT_EQ(ceph()->item(r, 1)->data(Qt::AccessibleTextRole).toString(), QStringLiteral("sem valor, ") + c.deviation);
        EXPECT_EQ(ceph()->item(r, 1)->foreground().color(), QColor(120, 120, 120));
    }
    // Once calibrated, the distances whose points are placed get their value.
    window.setCalibration({0.1, 0.1}, QStringLiteral("Calibração informada"));
    const int r = rowOf(K("Jarabak", "S-N"));
    EXPECT_EQ(ceph()->item(r, 1)->text(), QStringLiteral("45.0 mm"));  // S 150,60 to N 600,60
    EXPECT_EQ(ceph()->item(r, 3)->text(), QStringLiteral("-8.67 DP"));  // against 71 ± 3
    EXPECT_EQ(ceph()->item(r, 1)->background().color(), QColor(255, 128, 128));
    EXPECT_EQ(ceph()->item(rowOf(K("Steiner", "Pog-NB")), 3)->text(), QStringLiteral("falta Pog"));
}

// ---- The norms file ----

TEST_F(TracingWindowTest, ARefusedNormsFileIsNamedWithItsLineOnceAndTheShippedNormsHold)
{
    CephNorms edited = CephNorms::defaults();
    edited.set(K("Steiner", "SNA"), CephNorm{83, 3});
    QByteArray good = EncodeNorms(edited);
    QByteArray broken = good;
    broken.replace("\"media\": 83", "\"media\": 83,,");
    struct Case {
        const char* name;
        QByteArray bytes;
        QString line;  // how the reason starts
    };
    const Case cases[] = {
        {"empty", "", "linha 1"},
        {"a comma too many", broken, QStringLiteral("linha %1").arg(broken.left(broken.indexOf(",,")).count('\n') + 1)},
        {"an unknown analysis", "{\"formato\": \"quorvel-normas\", \"versao\": 1,\n \"normas\": {\n  \"Bjork\": {}\n }\n}", "linha 3"},
        {"a zero deviation",
         "{\"formato\": \"quorvel-normas\", \"versao\": 1, \"normas\": {\n\"Steiner\": {\n\"SNA\": {\"media\": 82, \"dp\": 0}}}}",
         "linha 3"},
    };
    for (const Case& c : cases) {
        work.write(QString::fromLatin1(kNormsFileName), c.bytes);
        const DecodedNorms decoded = DecodeNorms(c.bytes);
        ASSERT_FALSE(decoded.ok()) << c.name;
        EXPECT_TRUE(decoded.error.startsWith(c.line + QStringLiteral(":"))) << c.name << ": " << decoded.error.toStdString();

        CephNormsStore store(dialogs);
        QSignalSpy announced(&store, &CephNormsStore::changed);
        window.setNorms(edited);
        QObject::connect(&store, &CephNormsStore::changed, &window, &TracingWindow::setNorms);
        EXPECT_EQ(store.norms(), CephNorms::defaults()) << c.name;
        dialogs.expectNotice(NoticeKind::Warning,
                             QStringLiteral("O arquivo de normas Normas.json não foi usado: %1.\rAs normas padrão do programa "
                                            "valem até que ele seja corrigido ou salvo de novo em Arquivo, Normas...")
                                 .arg(decoded.error),
                             QStringLiteral("Normas"));
        EXPECT_EQ(store.norms(), CephNorms::defaults()) << c.name;  // told once
        EXPECT_TRUE(dialogs.pending().empty()) << c.name;
        EXPECT_EQ(announced.size(), 0) << c.name;
    }

    // A file far too large for norms is not read whole.
    work.write(QString::fromLatin1(kNormsFileName), good + QByteArray(2 << 20, ' '));
    {
        CephNormsStore store(dialogs);
        EXPECT_EQ(store.norms(), CephNorms::defaults());
        dialogs.expectNotice(NoticeKind::Warning,
                             QStringLiteral("O arquivo de normas Normas.json não foi usado: o arquivo é grande demais para um "
                                            "arquivo de normas.\rAs normas padrão do programa valem até que ele seja corrigido ou "
                                            "salvo de novo em Arquivo, Normas..."),
                             QStringLiteral("Normas"));
    }

    // A good file is taken and reaches the window.
    work.write(QString::fromLatin1(kNormsFileName), good);
    CephNormsStore store(dialogs);
    QObject::connect(&store, &CephNormsStore::changed, &window, &TracingWindow::setNorms);
    window.setNorms(CephNorms::defaults());
    EXPECT_EQ(store.norms(), edited);
    EXPECT_EQ(window.norms(), edited);
}

TEST_F(TracingWindowTest, WithoutANormsFileTheShippedNormsHoldAndNothingIsWritten)
{
    CephNormsStore store(dialogs);
    EXPECT_EQ(store.norms(), CephNorms::defaults());
    EXPECT_FALSE(work.exists(QString::fromLatin1(kNormsFileName)));
    // The window opening asks for them.
    CephNormsStore asked(dialogs);
    QObject::connect(&window, &TracingWindow::opening, &asked, [&asked] { asked.norms(); });
    QSignalSpy opened(&window, &TracingWindow::opening);
    window.Open();
    EXPECT_EQ(opened.size(), 1);
    window.tFecharClick();
}

// ---- The norms dialog ----

TEST_F(TracingWindowTest, TheNormsDialogEditsRestoresAndSavesThroughTheStore)
{
    CephNormsStore store(dialogs);
    QObject::connect(&store, &CephNormsStore::changed, &window, &TracingWindow::setNorms);
    NormsDialog dialog(dialogs, store.norms());
    dialog.show();
    QTableWidget* steiner = dialog.table(A::Steiner);
    ASSERT_NE(steiner, nullptr);
    // The analyses listed beside their tables: a click on one shows its table.
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("normasAnalises"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), int(ShippedAnalyses().analyses.size()));
    list->setCurrentRow(1);
    EXPECT_EQ(dialog.findChild<QStackedWidget*>(QStringLiteral("normasTabelas"))->currentWidget(), steiner);
    EXPECT_EQ(steiner->item(0, 0)->text(), QStringLiteral("SNA (°)"));
    EXPECT_EQ(steiner->item(0, 1)->text(), QStringLiteral("82"));
    EXPECT_EQ(steiner->item(0, 2)->text(), QStringLiteral("2"));
    const int pogNB = K("Steiner", "Pog-NB").measure;
    EXPECT_TRUE(steiner->item(pogNB, 1)->text().isEmpty());
    EXPECT_FALSE(steiner->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(steiner->item(0, 1)->flags() & Qt::ItemIsEditable);

    // Entries that cannot be kept: OK says which and the dialog stays.
    struct Bad {
        QString mean, sd;
    };
    for (const Bad& b : {Bad{"83", ""}, Bad{"", "2"}, Bad{"8x", "2"}, Bad{"83", "0"}, Bad{"83", "-1"}, Bad{"2000", "2"},
                         Bad{"83", "1e-320"}, Bad{"83", "0,0009"}}) {
        steiner->item(0, 1)->setText(b.mean);
        steiner->item(0, 2)->setText(b.sd);
        dialog.findChild<QPushButton*>(QStringLiteral("tOK"))->click();
        dialogs.expectNotice(NoticeKind::Warning,
                             QStringLiteral("Steiner, SNA: informe a média (entre -1000 e 1000) e o desvio-padrão (de 0,001 "
                                            "a 1000), ou deixe os dois vazios."),
                             QStringLiteral("Normas"));
        EXPECT_TRUE(dialog.isVisible()) << b.mean.toStdString() << "/" << b.sd.toStdString();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }

    // Restaurar padrões puts back every shipped norm.
    dialog.table(A::Jarabak)->item(0, 1)->setText(QStringLiteral("1"));
    dialog.findChild<QPushButton*>(QStringLiteral("tRestaurar"))->click();
    EXPECT_EQ(dialog.edited(), CephNorms::defaults());

    // A comma is taken as the decimal point; an empty pair leaves the measure without a norm.
    steiner->item(0, 1)->setText(QStringLiteral("83,5"));
    steiner->item(0, 2)->setText(QStringLiteral(" 2.5 "));
    steiner->item(pogNB, 1)->setText(QStringLiteral("0"));
    steiner->item(pogNB, 2)->setText(QStringLiteral("2"));
    dialog.table(A::Tweed)->item(0, 1)->setText(QString());
    dialog.table(A::Tweed)->item(0, 2)->setText(QString());
    dialog.findChild<QPushButton*>(QStringLiteral("tOK"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    CephNorms expected = CephNorms::defaults();
    expected.set(K("Steiner", "SNA"), CephNorm{83.5, 2.5});
    expected.set(K("Steiner", "Pog-NB"), CephNorm{0, 2});
    expected.set(K("Tweed-Merrifield", "FMA"), std::nullopt);
    ASSERT_EQ(dialog.norms(), expected);

    ASSERT_TRUE(store.save(dialog.norms()));
    const QString path = work.file(QString::fromLatin1(kNormsFileName));
    if (test::kPosixPermissions)
        EXPECT_EQ(QFile::permissions(path) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                  QFile::Permissions());
    EXPECT_EQ(work.read(QString::fromLatin1(kNormsFileName)), EncodeNorms(expected));
    EXPECT_EQ(window.norms(), expected);
    EXPECT_EQ(CephNormsStore(dialogs).norms(), expected);  // as the next start reads it

    // Cancel keeps what the dialog was given.
    NormsDialog again(dialogs, expected);
    again.show();
    again.table(A::Steiner)->item(0, 1)->setText(QStringLiteral("90"));
    again.findChild<QPushButton*>(QStringLiteral("tCancelar"))->click();
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(again.norms(), expected);
}

}  // namespace
