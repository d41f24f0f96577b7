// The panels of an evolution's chart, drawn with Qt Charts. Built as the plugin
// "quorvel-charts".

#include "patients/EvolutionCharts.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const QColor kLine(0x1f, 0x4e, 0x79);
const QColor kOutside(200, 0, 0);
const QColor kBand(0, 128, 0, 45);

double NiceStep(double rough)
{
    for (double step : {0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 50.0})
        if (rough <= step)
            return step;
    return 100.0;
}

QChart* BuildPanel(const ChartMeasure& m, const QStringList& headers)
{
    auto* chart = new QChart;
    // Plain text: a rich-text title costs a text document per panel.
    chart->setTitle(m.heading);
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 2, 4, 2));
    chart->setBackgroundRoundness(0);

    const double left = -0.5;
    const double right = double(headers.size()) - 0.5;
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    upper->append(left, m.band.high);
    upper->append(right, m.band.high);
    lower->append(left, m.band.low);
    lower->append(right, m.band.low);
    auto* band = new QAreaSeries(upper, lower);
    band->setBrush(kBand);
    band->setPen(QPen(QColor(0, 128, 0, 110), 1, Qt::DashLine));
    chart->addSeries(band);

    auto* line = new QLineSeries;
    line->setPen(QPen(kLine, 2.5));
    auto* inside = new QScatterSeries;
    auto* outside = new QScatterSeries;
    // The series' own point labels print "29" beside "29.5"; the labels are drawn here instead,
    // each with one decimal.
    for (QScatterSeries* s : {inside, outside}) {
        s->setMarkerSize(10);
        s->setPen(QPen(Qt::white, 1.5));
        s->setPointLabelsVisible(false);
    }
    inside->setBrush(kLine);
    outside->setBrush(kOutside);
    outside->setPointLabelsColor(kOutside);
    double lo = m.band.low;
    double hi = m.band.high;
    QList<std::pair<QPointF, QGraphicsSimpleTextItem*>> labels;
    for (int i = 0; i < m.values.size(); ++i) {
        if (!m.values[i])
            continue;
        const double v = *m.values[i];
        line->append(i, v);
        const bool out = v < m.band.low || v > m.band.high;
        (out ? outside : inside)->append(i, v);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        auto* label = new QGraphicsSimpleTextItem(m.labels.value(i), chart);
        label->setBrush(out ? kOutside : QColor(Qt::black));
        labels.append({QPointF(i, v), label});
    }
    chart->addSeries(line);
    chart->addSeries(inside);
    chart->addSeries(outside);

    auto* x = new QBarCategoryAxis;
    // One letter each: four stages share a small panel's width.
    QStringList names;
    for (const QString& h : headers)
        names << (h.startsWith(QLatin1String("Inter")) ? h.right(1) : h.left(1));
    x->append(names);
    chart->addAxis(x, Qt::AlignBottom);
    QFont small = x->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    x->setLabelsFont(small);
    auto* y = new QValueAxis;
    // Whole ticks at a round step, so the band's ends read on the scale.
    const double step = NiceStep((hi - lo) / 3);
    y->setRange(std::floor((lo - step / 2) / step) * step, std::ceil((hi + step / 2) / step) * step);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(step);
    y->setLabelFormat(step < 1 ? QStringLiteral("%.1f") : QStringLiteral("%.0f"));
    y->setLabelsFont(small);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    x->setRange(names.value(0), names.value(names.size() - 1));
    QFont labelFont = small;
    for (const auto& [point, label] : labels)
        label->setFont(labelFont);
    // Each label sits centred above its point, wherever the plot area moves.
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [chart, line, labels] {
        for (const auto& [point, label] : labels) {
            const QPointF at = chart->mapToPosition(point, line);
            const QRectF box = label->boundingRect();
            label->setPos(at.x() - box.width() / 2, at.y() - box.height() - 5);
        }
    });
    return chart;
}

// One panel per measurement in a grid, and the key to the colours.
class ChartPanels : public QWidget {
public:
    ChartPanels(int columns, QWidget* parent) : QWidget(parent), m_columns(columns)
    {
        auto* grid = new QGridLayout(this);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setSpacing(4);
    }

    void setEvolution(const Evolution& ev);

private:
    int m_columns;
    QList<QChartView*> m_views;
    QLabel* m_key = nullptr;
};

void ChartPanels::setEvolution(const Evolution& ev)
{
    // The views and the legend are made once; a new patient only brings new charts.
    if (m_views.size() != ev.chart.size()) {
        qDeleteAll(m_views);
        m_views.clear();
        delete m_key;
        auto* grid = static_cast<QGridLayout*>(layout());
        for (int i = 0; i < ev.chart.size(); ++i) {
            auto* view = new QChartView(this);
            view->setObjectName(QStringLiteral("grafico") + ev.chart[i].title.section(u' ', 0, 0).remove(u'.'));
            view->setRenderHint(QPainter::Antialiasing);
            view->setMinimumSize(180, 190);
            grid->addWidget(view, i / m_columns, i % m_columns);
            m_views << view;
        }
        m_key = new QLabel(this);
        m_key->setObjectName(QStringLiteral("graficoLegenda"));
        m_key->setWordWrap(true);
        m_key->setAlignment(Qt::AlignCenter);
        m_key->setText(QStringLiteral(
            "Faixa verde: valores normais da Análise de Tweed (entre parênteses). &nbsp;&nbsp; "
            "<span style='color:#1f4e79'>●</span> dentro da faixa &nbsp; "
            "<span style='color:#c80000'>●</span> fora da faixa &nbsp;&nbsp; "
            "(I = Inicial, 1 = Inter 1, 2 = Inter 2, F = Final)"));
        if (m_columns == 3)
            grid->addWidget(m_key, 1, 2);
        else
            grid->addWidget(m_key, 1, 0, 1, m_columns);
    }
    for (int i = 0; i < ev.chart.size(); ++i) {
        QChart* old = m_views[i]->chart();
        m_views[i]->setChart(BuildPanel(ev.chart[i], ev.headers));
        delete old;  // the view gives up a replaced chart without deleting it
    }
}

QByteArray RenderPanels(const Evolution& evolution, const QSize& size)
{
    ChartPanels chart(3, nullptr);
    chart.setAttribute(Qt::WA_DontShowOnScreen);
    chart.setAutoFillBackground(true);
    chart.setPalette(QPalette(Qt::white));
    chart.setEvolution(evolution);
    chart.resize(size);
    chart.show();
    const QPixmap pixmap = chart.grab();
    chart.hide();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "PNG");
    return png;
}

}  // namespace

class EvolutionChartModule : public QObject, public EvolutionCharts {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QV_EVOLUTION_CHARTS_IID)
    Q_INTERFACES(qv::EvolutionCharts)
public:
    QWidget* create(int columns, QWidget* parent) const override { return new ChartPanels(columns, parent); }
    void show(QWidget* grid, const Evolution& evolution) const override
    {
        static_cast<ChartPanels*>(grid)->setEvolution(evolution);
    }
    QByteArray renderPng(const Evolution& evolution, const QSize& size) const override
    {
        return RenderPanels(evolution, size);
    }
};

}  // namespace qv

#include "EvolutionChartModule.moc"
