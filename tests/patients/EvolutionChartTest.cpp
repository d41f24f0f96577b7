// The evolution's chart as drawn: points, lines, bands and labels at the places the layout gives
// them, the scale's steps, what a screen reader hears, and the picture printed in report5.

#include "patients/EvolutionChart.h"
#include "patients/EvolutionView.h"
#include "analysis/StageCalculation.h"

#include "StageSamples.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace qv;

namespace {

const QColor kLine(0x1f, 0x4e, 0x79);
const QColor kOutside(200, 0, 0);
const QColor kBandOnWhite(210, 233, 210);  // the band's green, 45/255 over white

bool Near(QColor a, QColor b, int tolerance = 30)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

QColor At(const QImage& image, QPointF p) { return image.pixelColor(int(std::floor(p.x())), int(std::floor(p.y()))); }

bool AnyIn(const QImage& image, const QRectF& box, const std::function<bool(QColor)>& test)
{
    const QRect r = box.toAlignedRect().intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (test(image.pixelColor(x, y)))
                return true;
    return false;
}

bool Dark(QColor c) { return c.red() < 110 && c.green() < 110 && c.blue() < 110; }
bool Red(QColor c) { return c.red() > 120 && c.green() < 70 && c.blue() < 70; }

ChartMeasure Measure(const char* heading, NormBand band, QList<std::optional<double>> values)
{
    ChartMeasure m;
    m.heading = QString::fromUtf8(heading);
    m.title = m.heading.section(u' ', 0, 0);
    m.band = band;
    m.values = values;
    for (const std::optional<double>& v : values)
        m.labels << (v ? ChartPointLabel(*v) : QString());
    return m;
}

const QStringList kFour = {QStringLiteral("Inicial"), QStringLiteral("Inter 1"), QStringLiteral("Inter 2"),
                           QStringLiteral("Final")};

QFont Base() { return QFont(QStringLiteral("DejaVu Sans"), 9); }

QImage Paint(const ChartPanelLayout& layout, const ChartMeasure& m, QSize size = {300, 240})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintChartPanel(painter, layout, m, Base());
    return image;
}

TEST(EvolutionChartPanel, PointsBandsLinesAndLabelsArePaintedWhereTheLayoutPutsThem)
{
    const std::nullopt_t none = std::nullopt;
    struct Case {
        const char* name;
        ChartMeasure measure;
        QStringList headers;
    };
    const Case cases[] = {
        {"all inside", Measure("FMA (22° a 28°)", {22, 28}, {25.0, 26.5, 27.0, 24.0}), kFour},
        {"one above", Measure("FMA (22° a 28°)", {22, 28}, {25.0, 26.5, 31.0, 24.0}), kFour},
        {"below and on both edges", Measure("FMIA (65° a 68°)", {65, 68}, {60.0, 65.0, 68.0, 64.9}), kFour},
        {"a stage without a value", Measure("IMPA (88° a 94°)", {88, 94}, {90.0, none, 92.0, 95.0}), kFour},
        {"one stage", Measure("ANB (1° a 5°)", {1, 5}, {3.5}), {QStringLiteral("Final")}},
        {"negative and small", Measure("AO - BO (0 a 4 mm)", {0, 4}, {-2.5, 0.0, 0.3, 4.0}), kFour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChartMeasure& m = c.measure;
        const ChartPanelLayout l = LayoutChartPanel(QRectF(0, 0, 300, 240), m, c.headers, Base());
        const QImage image = Paint(l, m);
        ASSERT_TRUE(QRectF(0, 0, 300, 240).contains(l.plot));
        ASSERT_LT(l.low, m.band.low);
        ASSERT_GT(l.high, m.band.high);

        int present = 0;
        for (const std::optional<double>& v : m.values)
            present += v.has_value();
        ASSERT_EQ(l.points.size(), present);
        for (const ChartPanelLayout::Point& p : l.points) {
            SCOPED_TRACE(p.label.toStdString());
            EXPECT_EQ(p.outside, p.value < m.band.low || p.value > m.band.high);
            EXPECT_TRUE(l.plot.contains(p.at));
            EXPECT_TRUE(Near(At(image, p.at), p.outside ? kOutside : kLine)) << At(image, p.at).name().toStdString();
            // Its label: red beside a point outside the band, black otherwise, and never red inside it.
            EXPECT_TRUE(AnyIn(image, p.labelBox, p.outside ? Red : Dark));
            if (!p.outside) {
                EXPECT_FALSE(AnyIn(image, p.labelBox, Red));
            }
        }
        // The band's green left of the first stage, clear of the scale's lines; white above it.
        double y = l.band.center().y();
        for (const ChartPanelLayout::Tick& t : l.ticks)
            if (std::abs(t.at - y) < 2)
                y = t.at + 3;
        EXPECT_TRUE(Near(At(image, {l.plot.left() + 4, y}), kBandOnWhite, 12))
            << At(image, {l.plot.left() + 4, y}).name().toStdString();
        const QPointF above(l.plot.left() + 4, (l.plot.top() + l.band.top()) / 2);
        EXPECT_TRUE(Near(At(image, above), Qt::white, 40)) << At(image, above).name().toStdString();
        // A gap is stepped over: the line runs straight between the neighbours.
        for (int i = 1; i + 1 < m.values.size(); ++i)
            if (!m.values[i] && m.values[i - 1] && m.values[i + 1]) {
                const QPointF middle(l.x(i), l.y((*m.values[i - 1] + *m.values[i + 1]) / 2));
                EXPECT_TRUE(Near(At(image, middle), kLine)) << At(image, middle).name().toStdString();
            }
        // The title with its range and degrees, dark, above the plot.
        EXPECT_LT(l.title.bottom(), l.plot.top());
        EXPECT_TRUE(AnyIn(image, l.title, Dark));
    }
}

// Whole ticks at a round step that take in the band and every value, as the table reads them.
TEST(EvolutionChartPanel, ScaleStepsTakeInTheBandAndTheValues)
{
    struct Case {
        NormBand band;
        QList<std::optional<double>> values;
        QStringList ticks;
    };
    const Case cases[] = {
        {{22, 28}, {25.0, 26.5, 31.0, 24.0}, {"15", "20", "25", "30", "35"}},
        {{65, 68}, {66.0, 66.0}, {"64", "65", "66", "67", "68", "69"}},
        {{88, 94}, {95.0}, {"85", "90", "95", "100"}},
        {{1, 5}, {3.5, std::nullopt}, {"0", "2", "4", "6"}},
        {{70, 80}, {75.0, 68.0}, {"65", "70", "75", "80", "85"}},
        {{0, 1}, {0.2}, {"-0.5", "0.0", "0.5", "1.0", "1.5"}},
        {{0, 4}, {}, {"-2", "0", "2", "4", "6"}},
        // An absurd value from a damaged file keeps a handful of ticks, not millions.
        {{0, 4}, {1e7}, {"-5000000", "0", "5000000", "10000000", "15000000"}},
        {{0, 4}, {-900.0}, {"-1500", "-1000", "-500", "0", "500"}},
        {{0, 4}, {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()},
         {"-2", "0", "2", "4", "6"}},
    };
    for (const Case& c : cases) {
        const ChartMeasure m = Measure("X (a)", c.band, c.values);
        const ChartPanelLayout l = LayoutChartPanel(QRectF(0, 0, 220, 200), m, kFour, Base());
        QStringList ticks;
        for (const ChartPanelLayout::Tick& t : l.ticks)
            ticks << t.text;
        EXPECT_EQ(ticks, c.ticks) << c.band.low << ".." << c.band.high;
        // The lowest tick sits on the plot's bottom, the highest on its top.
        ASSERT_GE(l.ticks.size(), 2);
        EXPECT_NEAR(l.ticks.front().at, l.plot.bottom(), 1e-6);
        EXPECT_NEAR(l.ticks.back().at, l.plot.top(), 1e-6);
        EXPECT_NEAR(l.band.top(), l.y(c.band.high), 1e-6);
        EXPECT_NEAR(l.band.bottom(), l.y(c.band.low), 1e-6);
    }
}

TEST(EvolutionChartPanel, ScreenReadersHearTheValuesAndWhichLieOutsideTheBand)
{
    const std::pair<ChartMeasure, const char*> cases[] = {
        {Measure("FMA (22° a 28°)", {22, 28}, {25.0, 26.5, 31.0, 24.0}),
         "Inicial 25.0, Inter 1 26.5, Inter 2 31.0 fora da faixa, Final 24.0"},
        {Measure("FMA (22° a 28°)", {22, 28}, {22.0, std::nullopt, std::nullopt, 21.9}),
         "Inicial 22.0, Final 21.9 fora da faixa"},
        {Measure("FMA (22° a 28°)", {22, 28}, {std::nullopt, std::nullopt, std::nullopt, std::nullopt}), ""},
    };
    for (const auto& [measure, text] : cases)
        EXPECT_EQ(ChartPanelDescription(measure, kFour), QString::fromUtf8(text));
}

Evolution FourStages()
{
    const auto files = test::FourStages(QStringLiteral("ANA"));
    QList<EvolutionStage> stages;
    for (int s = 0; s < 4; ++s)
        stages << EvolutionStage{s, CalculateStage(files[size_t(s)])};
    return BuildEvolution(QStringLiteral("ANA"), stages);
}

// The widget: a named panel per measurement, painting what the layout says, and the legend.
TEST(EvolutionChart, PanelsAreNamedPaintedAndExplained)
{
    const Evolution ev = FourStages();
    EvolutionChart chart(5);
    chart.setEvolution(ev);
    chart.resize(1000, 260);
    chart.show();
    ASSERT_EQ(chart.panels().size(), 5);
    const char* names[] = {"graficoFMA", "graficoFMIA", "graficoIMPA", "graficoANB", "graficoAng"};
    for (int i = 0; i < 5; ++i) {
        EvolutionChartPanel* panel = chart.panels()[i];
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(panel->objectName(), QLatin1String(names[i]));
        EXPECT_EQ(panel->accessibleName(), ev.chart[i].heading);
        EXPECT_EQ(panel->accessibleDescription(), ChartPanelDescription(ev.chart[i], ev.headers));
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(panel);
        ASSERT_NE(spoken, nullptr);
        EXPECT_EQ(spoken->text(QAccessible::Name), ev.chart[i].heading);
        EXPECT_EQ(spoken->text(QAccessible::Description), ChartPanelDescription(ev.chart[i], ev.headers));
        const QImage image = panel->grab().toImage();
        const ChartPanelLayout l = panel->panelLayout();
        ASSERT_EQ(l.points.size(), 4);
        for (const ChartPanelLayout::Point& p : l.points)
            EXPECT_TRUE(Near(At(image, p.at), p.outside ? kOutside : kLine)) << p.label.toStdString();
    }
    EXPECT_EQ(chart.panels()[0]->accessibleDescription(),
              QStringLiteral("Inicial 25.0, Inter 1 26.5, Inter 2 31.0 fora da faixa, Final 24.0"));
    const auto* key = chart.findChild<QLabel*>(QStringLiteral("graficoLegenda"));
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->text().contains(QStringLiteral("Faixa verde: valores normais da Análise de Tweed")));

    // A second patient reuses the panels with the new values.
    Evolution other = ev;
    other.chart[0].values = {30.0, std::nullopt, std::nullopt, std::nullopt};
    other.chart[0].labels = QStringList{QStringLiteral("30.0"), {}, {}, {}};
    const EvolutionChartPanel* first = chart.panels()[0];
    chart.setEvolution(other);
    EXPECT_EQ(chart.panels()[0], first);
    ASSERT_EQ(first->panelLayout().points.size(), 1);
    EXPECT_TRUE(first->panelLayout().points[0].outside);
}

// In the window the panels get their room under the table whether the patient comes before the
// window shows or after (the list opens it first, then fills it).
TEST(EvolutionChart, TheViewMakesRoomForThePanels)
{
    const Evolution ev = FourStages();
    for (const bool showFirst : {false, true}) {
        SCOPED_TRACE(showFirst ? "shown, then the patient" : "the patient, then shown");
        EvolutionView view;
        view.resize(1000, 740);
        if (showFirst)
            view.show();
        view.setEvolution(ev);
        view.show();
        QCoreApplication::processEvents();
        const QList<EvolutionChartPanel*> panels = view.findChildren<EvolutionChartPanel*>();
        ASSERT_EQ(panels.size(), 5);
        for (const EvolutionChartPanel* panel : panels) {
            SCOPED_TRACE(panel->objectName().toStdString());
            EXPECT_TRUE(panel->isVisible());
            EXPECT_GE(panel->height(), panel->minimumHeight());
            EXPECT_GE(panel->width(), panel->minimumWidth());
            // Not cut away by a chart squeezed to nothing under the table.
            EXPECT_EQ(panel->visibleRegion().boundingRect(), panel->rect());
        }
        EXPECT_GE(view.findChild<EvolutionChart*>()->height(), panels[0]->minimumHeight());
    }
}

// The printed picture has the pixels of 600 dpi at the report's width and is drawn at that
// resolution; the legend is there beside the last panel.
TEST(EvolutionChart, ThePrintedPictureIsDrawnAtPrintResolution)
{
    const Evolution ev = FourStages();
    const QSize layoutSize(1020, 620);
    struct Case {
        int pixelWidth;
        int height;
    };
    const Case cases[] = {{EvolutionChart::kPrintPixelWidth, 2431}, {1020, 620}, {2040, 1240}};
    ASSERT_EQ(EvolutionChart::kPrintPixelWidth, 4000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixelWidth);
        QImage image = EvolutionChart::RenderImage(ev, layoutSize, c.pixelWidth);
        ASSERT_EQ(image.width(), c.pixelWidth);
        ASSERT_EQ(image.height(), c.height);
        const double ratio = double(c.pixelWidth) / layoutSize.width();
        image.setDevicePixelRatio(1);
        // The first panel fills the top-left third; its points, scaled to the picture's pixels.
        const double cellW = (1020 - 8) / 3.0;
        const ChartPanelLayout l = LayoutChartPanel(QRectF(0, 0, cellW, (620 - 4) / 2.0), ev.chart[0], ev.headers,
                                                    QGuiApplication::font());
        for (const ChartPanelLayout::Point& p : l.points) {
            const QColor colour = p.outside ? kOutside : kLine;
            const QPointF centre = p.at * ratio;
            EXPECT_TRUE(Near(At(image, centre), colour)) << p.label.toStdString();
            // Solid to near its white rim, and from the colour to the rim within two pixels at
            // any size: drawn at that resolution, not a small picture enlarged and blurred.
            int x = 0;
            while (x < 200 && Near(At(image, centre + QPointF(x, 0)), colour))
                ++x;
            EXPECT_GE(x, 3.5 * ratio) << p.label.toStdString();
            const int edge = x;
            while (x < edge + 20 && !Near(At(image, centre + QPointF(x, 0)), Qt::white))
                ++x;
            EXPECT_LE(x - edge, 2) << p.label.toStdString();
        }
        // The legend's cell, after the fifth panel, carries text.
        const QRectF legend(2 * (cellW + 4) * ratio, (620 - 4) / 2.0 * ratio + 4 * ratio, cellW * ratio,
                            (620 - 4) / 2.0 * ratio);
        EXPECT_TRUE(AnyIn(image, legend, Dark));
    }
    QImage png;
    ASSERT_TRUE(png.loadFromData(EvolutionChart::RenderPng(ev), "PNG"));
    EXPECT_EQ(png.size(), QSize(4000, 2431));
}

}  // namespace
