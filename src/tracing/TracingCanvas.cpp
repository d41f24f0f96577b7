#include "tracing/TracingCanvas.h"

#include "tracing/TracingOverlay.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr double kMinZoom = 0.02;
constexpr double kMaxZoom = 16;
constexpr double kGrab = 9;        // pixels around a marker that pick it up
constexpr double kDragStart = 3;   // pixels the mouse must travel before a press becomes a drag
constexpr double kLoupeRadius = 85;
const QColor kBackground(38, 38, 38);

}  // namespace

TracingCanvas::TracingCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("imagem"));
    setAccessibleName(QStringLiteral("Radiografia"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    setMinimumSize(320, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TracingCanvas::setPicture(const QImage& picture)
{
    const bool resized = picture.size() != m_picture.size();
    m_picture = picture;
    m_half = QImage();
    if (resized)
        fit();
    viewChanged();
}

void TracingCanvas::setLandmarks(const LandmarkSet& points)
{
    m_points = points;
    update();
}

void TracingCanvas::setProposed(const LandmarkFlags& proposed)
{
    m_proposed = proposed;
    update();
}

void TracingCanvas::setCalibration(const Calibration& calibration)
{
    m_calibration = calibration;
    update();
}

void TracingCanvas::setAwaited(std::optional<Landmark> l)
{
    m_awaited = l;
    update();
}

void TracingCanvas::setRulerMode(bool on)
{
    m_ruler = on;
    update();
}

void TracingCanvas::setRulerMarks(std::vector<QPointF> marks)
{
    m_rulerMarks = std::move(marks);
    update();
}

QTransform TracingCanvas::imageToWidget() const
{
    return QTransform(m_zoom, 0, 0, m_zoom, m_offset.x(), m_offset.y());
}

QPointF TracingCanvas::toImage(QPointF widgetPos) const { return (widgetPos - m_offset) / m_zoom; }

QPointF TracingCanvas::toWidget(QPointF imagePos) const { return imagePos * m_zoom + m_offset; }

void TracingCanvas::fit()
{
    m_fitted = true;
    if (m_picture.isNull() || width() <= 0 || height() <= 0) {
        m_zoom = 1;
        m_offset = {};
    } else {
        m_zoom = std::clamp(std::min(double(width()) / m_picture.width(), double(height()) / m_picture.height()), kMinZoom,
                            kMaxZoom);
        m_offset = QPointF((width() - m_picture.width() * m_zoom) / 2, (height() - m_picture.height() * m_zoom) / 2);
    }
    viewChanged();
}

void TracingCanvas::zoomAt(double factor, QPointF widgetPos)
{
    const QPointF fixed = toImage(widgetPos);
    m_zoom = std::clamp(m_zoom * factor, kMinZoom, kMaxZoom);
    m_offset = widgetPos - fixed * m_zoom;
    m_fitted = false;
    viewChanged();
}

void TracingCanvas::setView(double zoom, QPointF offset)
{
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    m_offset = offset;
    m_fitted = false;
    viewChanged();
}

void TracingCanvas::zoomIn() { zoomAt(1.25, QPointF(width() / 2.0, height() / 2.0)); }

void TracingCanvas::zoomOut() { zoomAt(1 / 1.25, QPointF(width() / 2.0, height() / 2.0)); }

void TracingCanvas::viewChanged()
{
    m_cacheValid = false;
    update();
}

void TracingCanvas::renderCache()
{
    const qreal dpr = devicePixelRatioF();
    if (m_cache.size() != size() * dpr)
        m_cache = QImage(size() * dpr, QImage::Format_RGB32);
    m_cache.setDevicePixelRatio(dpr);
    m_cache.fill(kBackground);
    if (!m_picture.isNull()) {
        QPainter p(&m_cache);
        // Below one half the picture is drawn from an averaged half-size copy, which keeps fine
        // bone edges instead of skipping pixels; from 3x up the pixels show as squares.
        p.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 3);
        if (m_zoom < 0.5) {
            if (m_half.isNull())
                m_half = m_picture.scaled(m_picture.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const double sx = double(m_picture.width()) / m_half.width();
            const double sy = double(m_picture.height()) / m_half.height();
            p.setTransform(QTransform(m_zoom * sx, 0, 0, m_zoom * sy, m_offset.x(), m_offset.y()));
            p.drawImage(QPointF(0, 0), m_half);
        } else {
            p.setTransform(imageToWidget());
            p.drawImage(QPointF(0, 0), m_picture);
        }
    }
    m_cacheValid = true;
}

void TracingCanvas::paintEvent(QPaintEvent*)
{
    if (!m_cacheValid)
        renderCache();
    QPainter p(this);
    p.drawImage(QPointF(0, 0), m_cache);
    const QTransform t = imageToWidget();
    DrawRuler(p, t, m_rulerMarks, 1);
    OverlayStyle style;
    style.highlight = m_pressed ? m_pressed : m_hover;
    style.bounds = QRectF(rect());
    style.proposed = m_proposed;
    DrawTracing(p, t, m_points, m_calibration, style);
    drawMagnifier(p);
}

void TracingCanvas::drawMagnifier(QPainter& p)
{
    const bool placing = m_awaited || m_dragging || m_ruler;
    if (!placing || !m_cursor || m_picture.isNull())
        return;
    const QPointF at = toImage(*m_cursor);
    if (!QRectF(QPointF(0, 0), m_picture.size()).contains(at))
        return;
    // Top right, or top left when the cursor itself is up there.
    const double r = kLoupeRadius;
    QPointF centre(width() - r - 10, r + 10);
    if (QRectF(centre - QPointF(r + 30, r + 30), QSizeF(2 * r + 60, 2 * r + 60)).contains(*m_cursor))
        centre = QPointF(r + 10, r + 10);
    const double zoom = std::max(m_zoom * 4, 2.0);
    const QTransform t(zoom, 0, 0, zoom, centre.x() - at.x() * zoom, centre.y() - at.y() * zoom);
    // Only the few hundred pixels under the loupe are scaled, not the whole radiograph.
    const QRect source = QRectF(at - QPointF(r / zoom + 2, r / zoom + 2), QSizeF(2 * r / zoom + 4, 2 * r / zoom + 4))
                             .toAlignedRect()
                             .intersected(m_picture.rect());

    p.save();
    QPainterPath circle;
    circle.addEllipse(centre, r, r);
    p.setClipPath(circle);
    p.fillRect(QRectF(centre - QPointF(r, r), QSizeF(2 * r, 2 * r)), kBackground);
    p.setTransform(t);
    p.drawImage(source.topLeft(), m_picture, source);
    p.resetTransform();
    OverlayStyle style;
    style.labels = false;
    style.highlight = m_pressed;
    style.proposed = m_proposed;
    DrawTracing(p, t, m_points, m_calibration, style);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.drawLine(centre - QPointF(r, 0), centre - QPointF(6, 0));
    p.drawLine(centre + QPointF(6, 0), centre + QPointF(r, 0));
    p.drawLine(centre - QPointF(0, r), centre - QPointF(0, 6));
    p.drawLine(centre + QPointF(0, 6), centre + QPointF(0, r));
    p.setClipping(false);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 230, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r, r);
    const std::optional<Landmark> shown = m_ruler ? std::nullopt : (m_pressed ? m_pressed : m_awaited);
    const QString caption = m_ruler ? QStringLiteral("Régua") : shown ? LandmarkCode(*shown) : QString();
    if (!caption.isEmpty()) {
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        const QRectF box(centre.x() - 40, centre.y() + r + 4, 80, QFontMetricsF(f).height() + 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 190));
        p.drawRoundedRect(box, 4, 4);
        p.setPen(QColor(255, 230, 0));
        p.drawText(box, Qt::AlignCenter, caption);
    }
    p.restore();
}

void TracingCanvas::resizeEvent(QResizeEvent*)
{
    if (m_fitted)
        fit();
    else
        viewChanged();
}

std::optional<Landmark> TracingCanvas::hit(QPointF widgetPos) const
{
    std::optional<Landmark> best;
    double bestDistance = kGrab;
    for (int i = 0; i < kLandmarkCount; ++i) {
        const Landmark l = LandmarkAt(i);
        if (!m_points.has(l))
            continue;
        const QPointF d = toWidget(m_points.at(l)) - widgetPos;
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = l;
        }
    }
    return best;
}

QPointF TracingCanvas::clampToImage(QPointF p) const
{
    return {std::clamp(p.x(), 0.0, double(std::max(0, m_picture.width() - 1))),
            std::clamp(p.y(), 0.0, double(std::max(0, m_picture.height() - 1)))};
}

void TracingCanvas::mousePressEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        m_panning = true;
        m_panLast = pos;
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() != Qt::LeftButton || m_picture.isNull())
        return;
    m_pressPos = pos;
    m_pressImage = toImage(pos);
    m_dragging = false;
    m_pressed = m_ruler ? std::nullopt : hit(pos);
    if (m_pressed)
        m_pressedOrigin = m_points.at(*m_pressed);
    if (!m_ruler && !m_pressed && !m_awaited) {
        m_panning = true;  // nothing to place: the left button pans
        m_panLast = pos;
        setCursor(Qt::ClosedHandCursor);
    }
}

void TracingCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    m_cursor = pos;
    if (m_panning) {
        m_offset += pos - m_panLast;
        m_panLast = pos;
        m_fitted = false;
        viewChanged();
        return;
    }
    if (m_pressed && (event->buttons() & Qt::LeftButton)) {
        if (!m_dragging && std::hypot(pos.x() - m_pressPos.x(), pos.y() - m_pressPos.y()) >= kDragStart)
            m_dragging = true;
        if (m_dragging) {
            // The point keeps its distance from where it was grabbed, so it does not jump.
            const QPointF at = clampToImage(m_pressedOrigin + toImage(pos) - m_pressImage);
            m_points.set(*m_pressed, at);
            emit landmarkDragged(*m_pressed, at);
        }
        update();
        return;
    }
    const auto over = m_ruler ? std::nullopt : hit(pos);
    if (over != m_hover) {
        m_hover = over;
        setCursor(over ? Qt::OpenHandCursor : Qt::CrossCursor);
    }
    update();
}

void TracingCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_panning) {
        m_panning = false;
        setCursor(m_hover ? Qt::OpenHandCursor : Qt::CrossCursor);
        return;
    }
    if (event->button() != Qt::LeftButton || m_picture.isNull())
        return;
    const QPointF at = clampToImage(toImage(event->position()));
    const auto pressed = m_pressed;
    const QPointF from = m_pressedOrigin;
    const QPointF moved = pressed ? m_points.at(*pressed) : QPointF();
    const bool dragged = m_dragging;
    m_pressed.reset();
    m_dragging = false;
    if (pressed && dragged) {
        emit landmarkMoved(*pressed, from, moved);
    } else if (pressed && m_proposed.test(size_t(Index(*pressed)))) {
        emit proposedPointClicked(*pressed);
    } else if (m_ruler) {
        emit rulerClicked(at);
    } else if (m_awaited) {
        // A click that did not drag places the awaited point, even over another marker.
        emit placeRequested(at);
    }
    update();
}

void TracingCanvas::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0)
        zoomAt(std::pow(1.25, steps), event->position());
    event->accept();
}

void TracingCanvas::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_0:
        fit();
        break;
    case Qt::Key_Left: m_offset.rx() += 60; m_fitted = false; viewChanged(); break;
    case Qt::Key_Right: m_offset.rx() -= 60; m_fitted = false; viewChanged(); break;
    case Qt::Key_Up: m_offset.ry() += 60; m_fitted = false; viewChanged(); break;
    case Qt::Key_Down: m_offset.ry() -= 60; m_fitted = false; viewChanged(); break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TracingCanvas::leaveEvent(QEvent*)
{
    m_cursor.reset();
    update();
}

}  // namespace qv
