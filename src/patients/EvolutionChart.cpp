#include "patients/EvolutionChart.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const QColor kLine(0x1f, 0x4e, 0x79);
const QColor kOutside(200, 0, 0);
const QColor kBand(0, 128, 0, 45);
const QColor kBandEdge(0, 128, 0, 110);
const QColor kGrid(0xdd, 0xdd, 0xdd);
const QColor kAxis(0x8c, 0x8c, 0x8c);
const QColor kAxisText(0x40, 0x40, 0x40);
constexpr double kMarker = 10;      // a point's diameter
constexpr double kLabelGap = 5;     // between a label and its point's centre, above the marker's edge
constexpr int kSpacing = 4;         // between panels
constexpr QSize kPanelMinimum{180, 190};

// 0.5 at least, then 1, 2 or 5 times a power of ten: a handful of ticks whatever the range.
double NiceStep(double rough)
{
    if (!(rough > 0.5))
        return 0.5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0})
        if (rough <= m * magnitude)
            return m * magnitude;
    return 10 * magnitude;
}

// A value the scale can hold; anything else is left out as a stage without a value.
std::optional<double> Plottable(const std::optional<double>& v)
{
    return v && std::isfinite(*v) && std::abs(*v) < 1e12 ? v : std::nullopt;
}

// One letter each: four stages share a small panel's width.
QString CategoryOf(const QString& header)
{
    return header.startsWith(QLatin1String("Inter")) ? header.right(1) : header.left(1);
}

QString PanelName(const ChartMeasure& m)
{
    return QStringLiteral("grafico") + m.title.section(u' ', 0, 0).remove(u'.');
}

}  // namespace

double ChartPanelLayout::x(double column) const
{
    return plot.left() + (column + 0.5) / columns * plot.width();
}

double ChartPanelLayout::y(double value) const
{
    return plot.bottom() - (value - low) / (high - low) * plot.height();
}

QFont ChartTitleFont(const QFont& base)
{
    QFont f = base;
    f.setBold(true);
    return f;
}

QFont ChartSmallFont(const QFont& base)
{
    QFont f = base;
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * 0.8);
    else
        f.setPixelSize(std::max(1, int(std::lround(f.pixelSize() * 0.8))));
    return f;
}

ChartPanelLayout LayoutChartPanel(const QRectF& area, const ChartMeasure& m, const QStringList& headers,
                                  const QFont& base)
{
    ChartPanelLayout l;
    const QFontMetricsF title(ChartTitleFont(base));
    const QFontMetricsF small(ChartSmallFont(base));
    l.columns = std::max(1, int(headers.size()));
    for (const QString& h : headers)
        l.categories << CategoryOf(h);

    // Whole ticks at a round step, so the band's ends read on the scale.
    double lo = m.band.low;
    double hi = m.band.high;
    for (const std::optional<double>& value : m.values)
        if (const std::optional<double> v = Plottable(value)) {
            lo = std::min(lo, *v);
            hi = std::max(hi, *v);
        }
    const double step = NiceStep((hi - lo) / 3);
    l.low = std::floor((lo - step / 2) / step) * step;
    l.high = std::ceil((hi + step / 2) / step) * step;
    double tickWidth = 0;
    for (long k = std::lround(l.low / step); k <= std::lround(l.high / step); ++k) {
        const double v = double(k) * step;
        l.ticks.append({v, QString::number(v, 'f', step < 1 ? 1 : 0)});
        tickWidth = std::max(tickWidth, small.horizontalAdvance(l.ticks.back().text));
    }

    l.title = QRectF(area.left() + 4, area.top() + 4, area.width() - 8, title.height());
    const double top = l.title.bottom() + small.height() / 2 + 4;
    const double bottom = area.bottom() - 4 - small.height() - 4;
    const double left = area.left() + 6 + tickWidth + 6;
    const double right = area.right() - 10;
    l.plot = QRectF(QPointF(left, top), QPointF(std::max(left + 1, right), std::max(top + 1, bottom)));
    for (ChartPanelLayout::Tick& t : l.ticks)
        t.at = l.y(t.at);
    l.band = QRectF(QPointF(l.plot.left(), l.y(m.band.high)), QPointF(l.plot.right(), l.y(m.band.low)));

    for (int i = 0; i < m.values.size(); ++i) {
        if (!Plottable(m.values[i]))
            continue;
        ChartPanelLayout::Point p;
        p.column = i;
        p.value = *m.values[i];
        p.at = QPointF(l.x(i), l.y(p.value));
        p.label = m.labels.value(i);
        p.outside = p.value < m.band.low || p.value > m.band.high;
        const double w = small.horizontalAdvance(p.label);
        p.labelBox = QRectF(p.at.x() - w / 2, p.at.y() - kLabelGap - small.height(), w, small.height());
        l.points << p;
    }
    return l;
}

void PaintChartPanel(QPainter& painter, const ChartPanelLayout& l, const ChartMeasure& m, const QFont& base)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    painter.setFont(ChartTitleFont(base));
    painter.setPen(Qt::black);
    painter.drawText(l.title, Qt::AlignHCenter | Qt::AlignVCenter, m.heading);

    // The scale: its lines across the plot, its numbers on the left, the stages' letters below.
    const QFont small = ChartSmallFont(base);
    const QFontMetricsF sm(small);
    painter.setFont(small);
    painter.setPen(QPen(kGrid, 1));
    for (const ChartPanelLayout::Tick& t : l.ticks)
        painter.drawLine(QPointF(l.plot.left(), t.at), QPointF(l.plot.right(), t.at));
    for (int c = 0; c < l.columns; ++c)
        painter.drawLine(QPointF(l.x(c), l.plot.top()), QPointF(l.x(c), l.plot.bottom()));
    painter.setPen(kAxisText);
    for (const ChartPanelLayout::Tick& t : l.ticks)
        painter.drawText(QRectF(l.plot.left() - 200 - 6, t.at - sm.height() / 2, 200, sm.height()),
                         Qt::AlignRight | Qt::AlignVCenter, t.text);
    for (int c = 0; c < l.categories.size(); ++c)
        painter.drawText(QRectF(l.x(c) - 50, l.plot.bottom() + 4, 100, sm.height()), Qt::AlignHCenter | Qt::AlignTop,
                         l.categories[c]);

    painter.setPen(QPen(kBandEdge, 1, Qt::DashLine));
    painter.setBrush(kBand);
    painter.drawRect(l.band);

    painter.setPen(QPen(kAxis, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(l.plot.bottomLeft(), l.plot.bottomRight());
    painter.drawLine(l.plot.bottomLeft(), l.plot.topLeft());

    // A stage without a value is stepped over: the line joins its neighbours.
    if (l.points.size() > 1) {
        QPainterPath path(l.points.front().at);
        for (qsizetype i = 1; i < l.points.size(); ++i)
            path.lineTo(l.points[i].at);
        painter.setPen(QPen(kLine, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
    }
    painter.setPen(QPen(Qt::white, 1.5));
    for (const ChartPanelLayout::Point& p : l.points) {
        painter.setBrush(p.outside ? kOutside : kLine);
        painter.drawEllipse(p.at, kMarker / 2, kMarker / 2);
    }
    painter.setBrush(Qt::NoBrush);
    for (const ChartPanelLayout::Point& p : l.points) {
        painter.setPen(p.outside ? kOutside : QColor(Qt::black));
        painter.drawText(p.labelBox, Qt::AlignCenter | Qt::TextDontClip, p.label);
    }
    painter.restore();
}

QString ChartPanelDescription(const ChartMeasure& m, const QStringList& headers)
{
    QStringList parts;
    for (int i = 0; i < m.values.size() && i < headers.size(); ++i) {
        if (!m.values[i])
            continue;
        const double v = *m.values[i];
        const bool outside = v < m.band.low || v > m.band.high;
        parts << headers[i] + u' ' + m.labels.value(i) + (outside ? QStringLiteral(" fora da faixa") : QString());
    }
    return parts.join(QStringLiteral(", "));
}

QString ChartLegendText()
{
    return QStringLiteral("Faixa verde: valores normais da Análise de Tweed (entre parênteses). &nbsp;&nbsp; "
                          "<span style='color:#1f4e79'>●</span> dentro da faixa &nbsp; "
                          "<span style='color:#c80000'>●</span> fora da faixa &nbsp;&nbsp; "
                          "(I = Inicial, 1 = Inter 1, 2 = Inter 2, F = Final)");
}

EvolutionChartPanel::EvolutionChartPanel(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(kPanelMinimum);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void EvolutionChartPanel::setMeasure(const ChartMeasure& measure, const QStringList& headers)
{
    m_measure = measure;
    m_headers = headers;
    setAccessibleName(measure.heading);
    setAccessibleDescription(ChartPanelDescription(measure, headers));
    update();
}

QSize EvolutionChartPanel::sizeHint() const { return kPanelMinimum + QSize(20, 30); }

ChartPanelLayout EvolutionChartPanel::panelLayout() const
{
    return LayoutChartPanel(QRectF(rect()), m_measure, m_headers, font());
}

void EvolutionChartPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintChartPanel(painter, panelLayout(), m_measure, font());
}

EvolutionChart::EvolutionChart(int columns, QWidget* parent) : QWidget(parent), m_columns(std::max(1, columns))
{
    setObjectName(QStringLiteral("grafico"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(kSpacing);
}

void EvolutionChart::setEvolution(const Evolution& ev)
{
    // The panels and the legend are made once; a new patient only brings new values.
    if (m_panels.size() != ev.chart.size()) {
        qDeleteAll(m_panels);
        m_panels.clear();
        delete m_key;
        auto* grid = static_cast<QGridLayout*>(layout());
        for (int i = 0; i < ev.chart.size(); ++i) {
            auto* panel = new EvolutionChartPanel(this);
            grid->addWidget(panel, i / m_columns, i % m_columns);
            m_panels << panel;
        }
        m_key = new QLabel(this);
        m_key->setObjectName(QStringLiteral("graficoLegenda"));
        m_key->setWordWrap(true);
        m_key->setAlignment(Qt::AlignCenter);
        m_key->setText(ChartLegendText());
        const int n = int(ev.chart.size());
        if (n % m_columns != 0)
            grid->addWidget(m_key, n / m_columns, n % m_columns, 1, m_columns - n % m_columns);
        else
            grid->addWidget(m_key, n / m_columns, 0, 1, m_columns);
        // Shown now, not at the layout's next turn, so that a splitter holding the chart makes
        // room for the panels at once.
        if (isVisible()) {
            for (EvolutionChartPanel* panel : std::as_const(m_panels))
                panel->show();
            m_key->show();
        }
    }
    for (int i = 0; i < ev.chart.size(); ++i) {
        m_panels[i]->setObjectName(PanelName(ev.chart[i]));
        m_panels[i]->setMeasure(ev.chart[i], ev.headers);
    }
}

QImage EvolutionChart::RenderImage(const Evolution& ev, const QSize& size, int pixelWidth)
{
    const double ratio = double(std::max(1, pixelWidth)) / std::max(1, size.width());
    QImage image(QSize(std::max(1, pixelWidth), std::max(1, int(std::lround(size.height() * ratio)))),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QFont base = QGuiApplication::font();
    constexpr int columns = 3;
    const int n = int(ev.chart.size());
    const int rows = n / columns + 1;  // the legend's cell or row included
    const double cellW = (size.width() - (columns - 1) * kSpacing) / double(columns);
    const double cellH = (size.height() - (rows - 1) * kSpacing) / double(rows);
    const auto cell = [&](int index, int span) {
        return QRectF((index % columns) * (cellW + kSpacing), (index / columns) * (cellH + kSpacing),
                      span * cellW + (span - 1) * kSpacing, cellH);
    };
    for (int i = 0; i < n; ++i)
        PaintChartPanel(painter, LayoutChartPanel(cell(i, 1), ev.chart[i], ev.headers, base), ev.chart[i], base);

    const QRectF key = cell(n, columns - n % columns);
    QTextDocument legend;
    legend.setDefaultFont(base);
    QTextOption centred(Qt::AlignHCenter);
    centred.setWrapMode(QTextOption::WordWrap);
    legend.setDefaultTextOption(centred);
    legend.setHtml(ChartLegendText());
    legend.setTextWidth(key.width());
    painter.translate(key.left(), key.top() + std::max(0.0, (key.height() - legend.size().height()) / 2));
    legend.drawContents(&painter);
    return image;
}

QByteArray EvolutionChart::RenderPng(const Evolution& evolution, const QSize& size, int pixelWidth)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    RenderImage(evolution, size, pixelWidth).save(&buffer, "PNG");
    return png;
}

}  // namespace qv
