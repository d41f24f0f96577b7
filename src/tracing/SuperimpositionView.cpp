#include "tracing/SuperimpositionView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

using L = Landmark;

QTransform rigidTransform(const Rigid& r)
{
    // Qt maps (x, y) to (m11 x + m21 y + dx, m12 x + m22 y + dy).
    return QTransform(r.cos, r.sin, -r.sin, r.cos, r.tx, r.ty);
}

void drawLegend(QPainter& p, const QRectF& area, const std::vector<SuperimposedStage>& stages, double scale)
{
    QFont f = p.font();
    f.setPixelSize(std::max(1, int(std::lround(12 * scale))));
    f.setBold(true);
    p.setFont(f);
    const double row = 18 * scale;
    double y = area.top() + 8 * scale;
    // On a light card, readable over the radiographs too.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawRect(QRectF(area.left() + 4 * scale, y - 4 * scale, 150 * scale, row * double(stages.size()) + 8 * scale));
    for (const SuperimposedStage& s : stages) {
        const double x = area.left() + 8 * scale;
        p.setPen(QPen(s.colour, 3 * scale));
        p.drawLine(QPointF(x, y + row / 2), QPointF(x + 24 * scale, y + row / 2));
        p.setPen(Qt::black);
        p.drawText(QRectF(x + 30 * scale, y, 200 * scale, row), Qt::AlignLeft | Qt::AlignVCenter, StageTitle(s.stage));
        y += row;
    }
}

// Faded, so every stage's lines stay readable over the others' bone: however many are shown,
// together they cover the paper as one picture at 40 % would.
void drawPictures(QPainter& p, const QRectF& area, const QTransform& toDevice,
                  const std::vector<SuperimposedStage>& stages, double scale)
{
    const auto pictures = std::count_if(stages.begin(), stages.end(), [](const SuperimposedStage& s) { return !s.picture.isNull(); });
    if (pictures == 0)
        return;
    const double opacity = 1 - std::pow(0.6, 1.0 / double(pictures));
    if (scale > 1) {  // the exports: whole and filtered
        for (const SuperimposedStage& s : stages) {
            if (s.picture.isNull())
                continue;
            p.save();
            p.setOpacity(opacity);
            p.setTransform(s.pictureToMm * toDevice);
            p.drawImage(QPointF(0, 0), s.picture);
            p.restore();
        }
        return;
    }
    // On screen the faded background is laid at half resolution, unfiltered, then stretched:
    // four turned radiographs at full resolution would take most of a frame.
    constexpr double k = 0.5;
    QImage layer(QSize(int(std::ceil(area.width() * k)), int(std::ceil(area.height() * k))), QImage::Format_RGB32);
    if (layer.isNull())
        return;
    layer.fill(Qt::white);
    QPainter lp(&layer);
    const QTransform toLayer = toDevice * QTransform::fromTranslate(-area.left(), -area.top()) * QTransform::fromScale(k, k);
    for (const SuperimposedStage& s : stages) {
        if (s.picture.isNull())
            continue;
        lp.setOpacity(opacity);
        lp.setTransform(s.pictureToMm * toLayer);
        lp.drawImage(QPointF(0, 0), s.picture);
    }
    lp.end();
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(area.topLeft(), QSizeF(layer.size()) / k), layer);
    p.restore();
}

}  // namespace

QString StageTitle(const QString& stage)
{
    if (stage == QLatin1String("INICIAL"))
        return QStringLiteral("Inicial");
    if (stage == QLatin1String("INTER1"))
        return QStringLiteral("Intermediária 1");
    if (stage == QLatin1String("INTER2"))
        return QStringLiteral("Intermediária 2");
    if (stage == QLatin1String("FINAL"))
        return QStringLiteral("Final");
    return stage;
}

QColor StageColour(const QString& stage)
{
    // Apart from each other for the colour-blind as well: black, blue, orange, crimson.
    if (stage == QLatin1String("INICIAL"))
        return QColor(20, 20, 20);
    if (stage == QLatin1String("INTER1"))
        return QColor(0, 114, 178);
    if (stage == QLatin1String("INTER2"))
        return QColor(230, 140, 0);
    return QColor(200, 20, 60);
}

SuperimposedStage MoveStage(const StageTracing& t, const Rigid& motion)
{
    SuperimposedStage s;
    s.stage = t.stage;
    s.colour = StageColour(t.stage);
    for (int i = 0; i < kLandmarkCount; ++i) {
        const L l = LandmarkAt(i);
        if (t.points.has(l))
            s.points.set(l, motion.apply(Millimetres(t, l)));
    }
    s.pictureToMm = QTransform::fromScale(t.calibration.sx, t.calibration.sy) * rigidTransform(motion);
    return s;
}

const std::vector<std::pair<Landmark, Landmark>>& SuperimpositionLines()
{
    static const std::vector<std::pair<L, L>> lines = {
        {L::S, L::N},    {L::Po, L::Or},   {L::ENA, L::ENP}, {L::N, L::A},   {L::N, L::B},    {L::Ar, L::Rp},
        {L::Tg, L::Me},  {L::Is, L::As},   {L::Ii, L::Ai},   {L::OclP, L::OclA}, {L::S, L::Ar}, {L::Go, L::Me},
        {L::B, L::Pog},  {L::Pog, L::Gn},  {L::Gn, L::Me},
    };
    return lines;
}

const std::vector<Landmark>& ProfileLandmarks()
{
    static const std::vector<L> profile = {L::Prn, L::Sn, L::Ls, L::Li, L::PogSoft};
    return profile;
}

QTransform FitTransform(const std::vector<SuperimposedStage>& stages, const QRectF& area)
{
    double left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
    for (const SuperimposedStage& s : stages)
        for (int i = 0; i < kLandmarkCount; ++i) {
            const L l = LandmarkAt(i);
            if (!s.points.has(l))
                continue;
            const QPointF p = s.points.at(l);
            if (!any) {
                left = right = p.x();
                top = bottom = p.y();
                any = true;
            }
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
    if (!any || area.isEmpty())
        return {};
    // A tenth of the extent around the points (at least 5 mm), so labels and lines stay inside.
    const double margin = std::max(5.0, 0.1 * std::max(right - left, bottom - top));
    const QRectF box(QPointF(left - margin, top - margin), QPointF(right + margin, bottom + margin));
    const double k = std::min(area.width() / box.width(), area.height() / box.height());
    const QPointF offset = area.center() - box.center() * k;
    return QTransform(k, 0, 0, k, offset.x(), offset.y());
}

void DrawSuperimposition(QPainter& p, const QRectF& area, const std::vector<SuperimposedStage>& stages, double scale)
{
    p.save();
    p.setClipRect(area);
    p.fillRect(area, Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QTransform toDevice = FitTransform(stages, area);

    drawPictures(p, area, toDevice, stages, scale);

    for (const SuperimposedStage& s : stages) {
        const auto at = [&](L l) { return toDevice.map(s.points.at(l)); };
        QPen pen(s.colour, 1.8 * scale);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        for (const auto& [a, b] : SuperimpositionLines())
            if (s.points.has(a) && s.points.has(b))
                p.drawLine(at(a), at(b));
        QPolygonF profile;
        for (L l : ProfileLandmarks())
            if (s.points.has(l))
                profile << at(l);
        pen.setWidthF(2.4 * scale);
        p.setPen(pen);
        p.drawPolyline(profile);
        p.setPen(Qt::NoPen);
        p.setBrush(s.colour);
        for (int i = 0; i < kLandmarkCount; ++i)
            if (s.points.has(LandmarkAt(i)))
                p.drawEllipse(at(LandmarkAt(i)), 2.2 * scale, 2.2 * scale);
    }
    drawLegend(p, area, stages, scale);
    p.restore();
}

SuperimpositionView::SuperimpositionView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("sbVista"));
    setMinimumSize(320, 300);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Sobreposição dos traçados"));
}

void SuperimpositionView::setStages(std::vector<SuperimposedStage> stages)
{
    m_stages = std::move(stages);
    update();
}

void SuperimpositionView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    DrawSuperimposition(p, QRectF(rect()), m_stages);
}

}  // namespace qv
