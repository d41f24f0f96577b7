#include "tracing/TracingOverlay.h"

#include "analysis/AnalysisEval.h"
#include "analysis/ResultText.h"
#include "analysis/TracingGeometry.h"
#include "analysis/TracingValues.h"

#include <QFont>
#include <QHash>
#include <QPaintEngine>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

using L = Landmark;

// Colours that stay apart on grey bone and on black air.
const QColor kFrankfort(0, 200, 255);
const QColor kMandibular(255, 90, 255);
const QColor kIncisor(255, 230, 0);
const QColor kCranial(90, 230, 90);
const QColor kOcclusal(255, 160, 0);
const QColor kPalatal(140, 170, 255);
const QColor kRamus(255, 140, 170);
const QColor kProfile(255, 80, 80);
const QColor kFacial(120, 255, 200);

// Text with a dark rim from eight shifted copies, readable on bone and on air.
void drawRimmed(QPainter& p, QPointF baseline, const QString& text, const QColor& colour, double rim)
{
    p.setPen(QColor(0, 0, 0, 230));
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx || dy)
                p.drawText(baseline + QPointF(dx * rim, dy * rim), text);
    p.setPen(colour);
    p.drawText(baseline, text);
}

const QColor kProposed(90, 220, 255);

// A ring with a red centre: white, or yellow for the point in hand. A point only proposed is a
// hollow broken ring, a little larger, in light blue.
void drawMarker(QPainter& p, QPointF c, bool highlighted, double scale, bool proposed)
{
    const double r = (highlighted ? 6 : proposed ? 5 : 4) * scale;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 3.5 * scale));
    p.drawEllipse(c, r, r);
    if (proposed) {
        QPen dashes(highlighted ? QColor(255, 230, 0) : kProposed, 1.6 * scale, Qt::CustomDashLine, Qt::FlatCap);
        dashes.setDashPattern({2.2, 1.4});
        p.setPen(dashes);
        p.drawEllipse(c, r, r);
        return;
    }
    p.setPen(QPen(highlighted ? QColor(255, 230, 0) : QColor(Qt::white), 1.6 * scale));
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 40, 40));
    p.drawEllipse(c, 1.4 * scale, 1.4 * scale);
}

// Twenty stroked rings per frame cost more than all the lines: on screen they are pictures.
const QImage& markerSprite(bool highlighted, double scale, qreal dpr, bool proposed)
{
    static QHash<QString, QImage> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(highlighted).arg(scale).arg(dpr).arg(proposed);
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const double half = std::ceil(8 * scale + 2);
    QImage image(QSize(int(2 * half * dpr), int(2 * half * dpr)), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawMarker(p, QPointF(half, half), highlighted, scale, proposed);
    p.end();
    return *cache.insert(key, image);
}

const QImage& labelSprite(const QString& text, const QColor& colour, const QFont& font, double rim, qreal dpr)
{
    static QHash<QString, QImage> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6")
                            .arg(text, colour.name(QColor::HexArgb))
                            .arg(font.pixelSize())
                            .arg(rim)
                            .arg(dpr)
                            .arg(font.italic());
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    if (cache.size() > 400)  // values change while a point is dragged
        cache.clear();
    const QFontMetricsF fm(font);
    const double margin = std::ceil(rim) + 1;
    const QSizeF size(fm.horizontalAdvance(text) + 2 * margin, fm.ascent() + fm.descent() + 2 * margin);
    QImage image((size * dpr).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    drawRimmed(p, QPointF(margin, margin + fm.ascent()), text, colour, rim);
    p.end();
    return *cache.insert(key, image);
}

class Painter {
public:
    Painter(QPainter& p, const QTransform& t, const LandmarkSet& pts, double scale, QRectF bounds)
        : m_p(p), m_t(t), m_pts(pts), m_scale(scale), m_bounds(bounds)
    {
    }

    QPointF dev(QPointF image) const { return m_t.map(image); }
    QPointF dev(L l) const { return m_t.map(m_pts.at(l)); }
    bool has(std::initializer_list<L> ls) const
    {
        return std::all_of(ls.begin(), ls.end(), [this](L l) { return m_pts.has(l); });
    }

    void pen(const QColor& c, double width, Qt::PenStyle style = Qt::SolidLine)
    {
        QPen p(c, width * m_scale, style, Qt::RoundCap);
        m_p.setPen(p);
        m_p.setBrush(Qt::NoBrush);
    }

    // The line through a and b, long enough to reach every given point and a little beyond.
    void line(QPointF a, QPointF b, std::initializer_list<std::optional<QPointF>> reach, double margin = 0.08)
    {
        const QPointF d = b - a;
        const double len2 = QPointF::dotProduct(d, d);
        if (len2 <= 0)
            return;
        double lo = 0, hi = 1;
        for (const auto& q : reach)
            if (q) {
                const double t = QPointF::dotProduct(*q - a, d) / len2;
                lo = std::min(lo, t);
                hi = std::max(hi, t);
            }
        const double extra = (hi - lo) * margin;
        m_p.drawLine(a + d * (lo - extra), a + d * (hi + extra));
    }

    void marker(L l, bool highlighted, bool proposed)
    {
        const QPointF c = dev(l);
        const bool raster = m_p.paintEngine() && m_p.paintEngine()->type() == QPaintEngine::Raster;
        if (raster) {
            const QImage& sprite = markerSprite(highlighted, m_scale, m_p.device()->devicePixelRatioF(), proposed);
            m_p.drawImage(c - QPointF(sprite.deviceIndependentSize().width(), sprite.deviceIndependentSize().height()) / 2, sprite);
        } else {
            drawMarker(m_p, c, highlighted, m_scale, proposed);
        }
    }

    // Lettering with a dark rim, placed where it hides no other label nor marker.
    void label(const QString& text, QPointF anchor, const QColor& colour, double gap, bool italic = false)
    {
        QFont f = m_p.font();
        f.setBold(true);
        f.setItalic(italic);
        f.setPixelSize(std::max(8, int(std::lround(12 * m_scale))));
        const double rim = std::max(1.0, 1.2 * m_scale);
        // On screen each label is a picture made once: shaping and drawing nine copies of the
        // text on every frame of a drag costs more than the rest of the drawing.
        const bool raster = m_p.paintEngine() && m_p.paintEngine()->type() == QPaintEngine::Raster;
        const QImage* sprite = raster ? &labelSprite(text, colour, f, rim, m_p.device()->devicePixelRatioF()) : nullptr;
        const double margin = std::ceil(rim) + 1;
        QSizeF size;
        double ascent = 0;
        if (sprite) {
            size = sprite->deviceIndependentSize() - QSizeF(2 * margin, 2 * margin);
        } else {
            const QFontMetricsF fm(f);
            size = QSizeF(fm.horizontalAdvance(text), fm.ascent() + fm.descent());
            ascent = fm.ascent();
        }
        const double g = gap * m_scale;
        const QPointF offsets[] = {{g, -g - size.height()}, {-g - size.width(), -g - size.height()}, {g, g},
                                   {-g - size.width(), g}, {g * 1.5, -size.height() / 2},
                                   {-g * 1.5 - size.width(), -size.height() / 2}, {-size.width() / 2, -g * 2 - size.height()},
                                   {-size.width() / 2, g * 2}};
        QRectF chosen(anchor + offsets[0], size);
        for (const QPointF& o : offsets) {
            const QRectF r(anchor + o, size);
            if (std::none_of(m_taken.begin(), m_taken.end(), [&](const QRectF& t) { return t.intersects(r); })) {
                chosen = r;
                break;
            }
        }
        // A corner of the triangle may lie off the radiograph: its value stays at the edge.
        if (m_bounds.isValid()) {
            const QRectF inner = m_bounds.adjusted(2, 2, -2, -2);
            chosen.moveLeft(std::clamp(chosen.left(), inner.left(), std::max(inner.left(), inner.right() - chosen.width())));
            chosen.moveTop(std::clamp(chosen.top(), inner.top(), std::max(inner.top(), inner.bottom() - chosen.height())));
        }
        m_taken.push_back(chosen);
        if (sprite) {
            m_p.drawImage(chosen.topLeft() - QPointF(margin, margin), *sprite);
            return;
        }
        m_p.setFont(f);
        drawRimmed(m_p, QPointF(chosen.left(), chosen.top() + ascent), text, colour, rim);
    }

    void reserve(QPointF c, double r) { m_taken.emplace_back(c - QPointF(r, r), QSizeF(2 * r, 2 * r)); }

private:
    QPainter& m_p;
    const QTransform& m_t;
    const LandmarkSet& m_pts;
    double m_scale;
    QRectF m_bounds;
    std::vector<QRectF> m_taken;
};

std::optional<QPointF> devOpt(const QTransform& t, const std::optional<QPointF>& p)
{
    return p ? std::optional<QPointF>(t.map(*p)) : std::nullopt;
}

// The lines of the further analyses, each drawn once its points are placed (they are asked for
// only when an analysis that uses them is chosen): thinner than Tweed's, and dashed where they
// would run along one of Tweed's.
void drawFurtherLines(QPainter& p, Painter& d, const LandmarkSet& pts, const Calibration& calibration)
{
    // Ricketts' Xi, the centre of the ramus, with the lines of the lower face height (to ENA and
    // Pm) and of the mandibular arc (to Dc).
    if (const auto xi = RamusCentre(pts, calibration)) {
        const QPointF at = d.dev(*xi);
        d.pen(kMandibular, 1.2);
        p.drawLine(at + QPointF(-4, -4), at + QPointF(4, 4));
        p.drawLine(at + QPointF(-4, 4), at + QPointF(4, -4));
        d.pen(kMandibular, 1.0, Qt::DashLine);
        for (L l : {L::ENA, L::Pm, L::Dc})
            if (d.has({l}))
                p.drawLine(at, d.dev(l));
    }
    if (d.has({L::N, L::Pog})) {  // facial plane
        d.pen(kFacial, 1.2);
        d.line(d.dev(L::N), d.dev(L::Pog), {}, 0.05);
    }
    if (d.has({L::A, L::Pog})) {
        d.pen(kFacial, 1.0, Qt::DashLine);
        d.line(d.dev(L::A), d.dev(L::Pog), {}, 0.1);
    }
    if (d.has({L::Go, L::Gn})) {
        d.pen(kMandibular, 1.2, Qt::DashLine);
        d.line(d.dev(L::Go), d.dev(L::Gn), {}, 0.05);
    }
    if (d.has({L::Is, L::As})) {  // the upper incisor's axis
        d.pen(kIncisor, 1.4);
        d.line(d.dev(L::Is), d.dev(L::As), {}, 0.1);
    }
    if (d.has({L::Ba, L::N})) {
        d.pen(kCranial, 1.0, Qt::DashLine);
        d.line(d.dev(L::Ba), d.dev(L::N), {}, 0.02);
    }
    if (d.has({L::Pt, L::Gn})) {  // facial axis
        d.pen(kFacial, 1.0, Qt::DashDotLine);
        d.line(d.dev(L::Pt), d.dev(L::Gn), {}, 0.05);
    }
    if (d.has({L::Prn, L::PogSoft})) {  // the E line
        d.pen(kProfile, 1.2, Qt::DashLine);
        d.line(d.dev(L::Prn), d.dev(L::PogSoft), {}, 0.05);
    }
    if (d.has({L::Sn, L::Cm, L::Ls})) {  // the nasolabial angle's sides
        d.pen(kProfile, 1.2);
        p.drawLine(d.dev(L::Sn), d.dev(L::Cm));
        p.drawLine(d.dev(L::Sn), d.dev(L::Ls));
    }
}

}  // namespace

void DrawTracing(QPainter& p, const QTransform& toDevice, const LandmarkSet& pts, const Calibration& calibration,
                 const OverlayStyle& style)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (style.bounds.isValid())
        p.setClipRect(style.bounds, Qt::IntersectClip);
    const TracingConstruction c = ConstructTracing(pts, calibration);
    Painter d(p, toDevice, pts, style.scale, style.bounds);
    const auto F = devOpt(toDevice, c.tweedF), M = devOpt(toDevice, c.tweedM), P = devOpt(toDevice, c.tweedP);
    const auto gonion = devOpt(toDevice, c.gonion);

    if (d.has({L::S, L::N})) {
        d.pen(kCranial, 1.6);
        d.line(d.dev(L::S), d.dev(L::N), {});
    }
    if (d.has({L::N, L::A})) {
        d.pen(kCranial, 1.2);
        d.line(d.dev(L::N), d.dev(L::A), {}, 0.15);
    }
    if (d.has({L::N, L::B})) {
        d.pen(kCranial, 1.2);
        d.line(d.dev(L::N), d.dev(L::B), {devOpt(toDevice, c.qtPoint)}, 0.1);
    }
    if (d.has({L::Po, L::Or})) {
        d.pen(kFrankfort, 1.8);
        d.line(d.dev(L::Po), d.dev(L::Or), {F, P, devOpt(toDevice, c.profileTop)});
    }
    if (d.has({L::Tg, L::Me})) {
        d.pen(kMandibular, 1.8);
        d.line(d.dev(L::Tg), d.dev(L::Me), {M, P, gonion});
    }
    if (d.has({L::Ii, L::Ai})) {
        d.pen(kIncisor, 1.8);
        d.line(d.dev(L::Ii), d.dev(L::Ai), {F, M});
    }
    if (d.has({L::ENA, L::ENP})) {
        d.pen(kPalatal, 1.4);
        d.line(d.dev(L::ENA), d.dev(L::ENP), {devOpt(toDevice, c.footMe)}, 0.1);
        if (c.footMe) {
            d.pen(kPalatal, 1.2, Qt::DashLine);
            p.drawLine(d.dev(L::Me), toDevice.map(*c.footMe));
        }
    }
    if (d.has({L::Ar, L::Rp})) {
        d.pen(kRamus, 1.4);
        d.line(d.dev(L::Ar), d.dev(L::Rp), {gonion}, 0.05);
    }
    if (d.has({L::OclP, L::OclA})) {
        d.pen(kOcclusal, 1.6);
        d.line(d.dev(L::OclP), d.dev(L::OclA), {devOpt(toDevice, c.footA), devOpt(toDevice, c.footB)}, 0.25);
        d.pen(kOcclusal, 1.2, Qt::DashLine);
        if (c.footA)
            p.drawLine(d.dev(L::A), toDevice.map(*c.footA));
        if (c.footB)
            p.drawLine(d.dev(L::B), toDevice.map(*c.footB));
        if (c.footA && c.footB) {
            d.pen(kOcclusal, 3.2);
            p.drawLine(toDevice.map(*c.footA), toDevice.map(*c.footB));
        }
    }
    if (c.profileLip && d.has({L::PogSoft})) {
        d.pen(kProfile, 1.6);
        d.line(d.dev(L::PogSoft), toDevice.map(*c.profileLip), {devOpt(toDevice, c.profileTop)}, 0.05);
    }
    if (c.qtPoint && d.has({L::PogSoft})) {
        d.pen(kProfile, 1.0, Qt::DotLine);
        p.drawLine(d.dev(L::PogSoft), toDevice.map(*c.qtPoint));
    }

    drawFurtherLines(p, d, pts, calibration);

    for (int i = 0; i < kLandmarkCount; ++i)
        if (pts.has(LandmarkAt(i))) {
            d.marker(LandmarkAt(i), style.highlight == LandmarkAt(i), style.proposed.test(size_t(i)));
            d.reserve(d.dev(LandmarkAt(i)), 5 * style.scale);
        }
    if (!style.labels) {
        p.restore();
        return;
    }
    // The triangle's angles beside its corners, pushed away from its middle.
    if (F && M && P) {
        const TracingValues v = MakeTracingValues(MeasureTracing(pts, calibration));
        const QPointF mid = (*F + *M + *P) / 3;
        auto corner = [&](QPointF at, const QString& text) {
            QPointF out = at - mid;
            const double n = std::hypot(out.x(), out.y());
            if (n > 0)
                out *= 14 * style.scale / n;
            d.label(text, at + out, QColor(255, 240, 120), 2);
        };
        if (!v.fma.isEmpty()) {
            // The triangle's three angles rest on the same points.
            const QString mark = ProposedLandmarks(RequiredLandmarks(Measure::FMA), style.proposed).empty()
                                     ? QString()
                                     : ProposedMark();
            corner(*P, QStringLiteral("FMA %1°").arg(v.fma) + mark);
            corner(*M, QStringLiteral("IMPA %1°").arg(v.impa) + mark);
            corner(*F, QStringLiteral("FMIA %1°").arg(v.fmia) + mark);
        }
    }
    // A point's name goes with its marker: a point out of sight has no name on the view's edge.
    for (int i = 0; i < kLandmarkCount; ++i)
        if (pts.has(LandmarkAt(i)) && (!style.bounds.isValid() || style.bounds.contains(d.dev(LandmarkAt(i)))))
            d.label(LandmarkCode(LandmarkAt(i)), d.dev(LandmarkAt(i)), style.proposed.test(size_t(i)) ? kProposed : Qt::white,
                    6, style.proposed.test(size_t(i)));
    p.restore();
}

void DrawRuler(QPainter& p, const QTransform& toDevice, const std::vector<QPointF>& marks, double scale)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor colour(0, 255, 200);
    if (marks.size() == 2) {
        p.setPen(QPen(Qt::black, 4 * scale));
        p.drawLine(toDevice.map(marks[0]), toDevice.map(marks[1]));
        p.setPen(QPen(colour, 2 * scale));
        p.drawLine(toDevice.map(marks[0]), toDevice.map(marks[1]));
    }
    for (const QPointF& m : marks) {
        const QPointF c = toDevice.map(m);
        p.setPen(QPen(colour, 1.5 * scale));
        p.drawLine(c - QPointF(8 * scale, 0), c + QPointF(8 * scale, 0));
        p.drawLine(c - QPointF(0, 8 * scale), c + QPointF(0, 8 * scale));
    }
    p.restore();
}

}  // namespace qv
