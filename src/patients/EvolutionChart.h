#pragma once
// The chart of an evolution: one small panel per measurement (FMA, FMIA, IMPA, ANB, Z), its
// values across the stages as a line over its norm band, shaded. Separate panels keep a change
// of a few degrees visible, which one shared scale from ANB to IMPA would flatten. Drawn with
// QPainter by the same code on screen and in the printed picture.

#include "analysis/Evolution.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QWidget>

class QLabel;
class QPainter;

namespace qv {

// Where the parts of one panel fall inside its rectangle.
struct ChartPanelLayout {
    struct Point {
        int column = 0;  // stage column
        double value = 0;
        QPointF at;       // the marker's centre
        QString label;    // one decimal, as the table
        QRectF labelBox;  // centred above the marker
        bool outside = false;  // outside the norm band
    };
    struct Tick {
        double at = 0;  // y of the line
        QString text;
    };
    QRectF title;
    QRectF plot;
    double low = 0;   // the value at the plot's bottom
    double high = 1;  // and at its top
    int columns = 1;
    QRectF band;  // the norm band across the plot
    QList<Point> points;
    QList<Tick> ticks;
    QStringList categories;  // one letter per stage column: I, 1, 2, F
    double x(double column) const;
    double y(double value) const;
};

// The fonts of a panel, from the widget's (or the picture's) base font.
QFont ChartTitleFont(const QFont& base);
QFont ChartSmallFont(const QFont& base);

ChartPanelLayout LayoutChartPanel(const QRectF& area, const ChartMeasure& measure, const QStringList& headers,
                                  const QFont& base);
void PaintChartPanel(QPainter& painter, const ChartPanelLayout& layout, const ChartMeasure& measure,
                     const QFont& base);

// What a screen reader says of a panel: "Inicial 25.0, Inter 1 26.5, Inter 2 31.0 fora da faixa, Final 24.0".
QString ChartPanelDescription(const ChartMeasure& measure, const QStringList& headers);

// The key to the colours under the panels (rich text).
QString ChartLegendText();

// One measurement's panel. Its accessible name is its title, its description the values.
class EvolutionChartPanel : public QWidget {
    Q_OBJECT
public:
    EvolutionChartPanel(QWidget* parent = nullptr);
    void setMeasure(const ChartMeasure& measure, const QStringList& headers);
    const ChartMeasure& measure() const { return m_measure; }
    ChartPanelLayout panelLayout() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartMeasure m_measure;
    QStringList m_headers;
};

class EvolutionChart : public QWidget {
    Q_OBJECT
public:
    // Panels in a grid of this many columns (the legend takes the cell after the last panel
    // in three columns, a row of its own otherwise).
    explicit EvolutionChart(int columns, QWidget* parent = nullptr);
    void setEvolution(const Evolution& evolution);
    QList<EvolutionChartPanel*> panels() const { return m_panels; }

    // report5's picture is 640 units of 1/96 inch wide; its pixels are those of the report's
    // 600 dpi, so lines and labels print sharp rather than as a screen's pixels enlarged.
    static constexpr int kPrintPixelWidth = 640 * 600 / 96;
    // The chart for printing: laid out at `size` (three columns, the legend beside the last
    // panel) and drawn with `pixelWidth` pixels across.
    static QImage RenderImage(const Evolution& evolution, const QSize& size = {1020, 620},
                              int pixelWidth = kPrintPixelWidth);
    // The same as PNG bytes.
    static QByteArray RenderPng(const Evolution& evolution, const QSize& size = {1020, 620},
                                int pixelWidth = kPrintPixelWidth);

private:
    int m_columns;
    QList<EvolutionChartPanel*> m_panels;
    QLabel* m_key = nullptr;
};

}  // namespace qv
