#pragma once
// The radiograph with its tracing: zoom (wheel, + and -, fit), pan (right or middle button, or
// the left one once every point is placed), a magnifier while a point is being placed or moved,
// and clicks and drags turned into image coordinates.

#include "analysis/Landmarks.h"

#include <QImage>
#include <QTransform>
#include <QWidget>

#include <optional>
#include <vector>

namespace qv {

class TracingCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TracingCanvas(QWidget* parent = nullptr);

    // The picture as shown (RGB32). A picture of another size is fitted to the window.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    void setLandmarks(const LandmarkSet& points);
    // Points only proposed: drawn hollow; a click on one (without dragging it) confirms it.
    void setProposed(const LandmarkFlags& proposed);
    void setCalibration(const Calibration& calibration);
    void setAwaited(std::optional<Landmark> l);
    void setRulerMode(bool on);
    void setRulerMarks(std::vector<QPointF> marks);

    void fit();
    void zoomIn();
    void zoomOut();
    void zoomAt(double factor, QPointF widgetPos);
    // Image pixel (0, 0) at offset, one image pixel over zoom widget pixels.
    void setView(double zoom, QPointF offset);
    double zoom() const { return m_zoom; }
    QTransform imageToWidget() const;
    QPointF toImage(QPointF widgetPos) const;
    QPointF toWidget(QPointF imagePos) const;

signals:
    void placeRequested(QPointF imagePos);
    void landmarkDragged(qv::Landmark l, QPointF imagePos);
    void landmarkMoved(qv::Landmark l, QPointF from, QPointF to);
    void rulerClicked(QPointF imagePos);
    void proposedPointClicked(qv::Landmark l);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    std::optional<Landmark> hit(QPointF widgetPos) const;
    QPointF clampToImage(QPointF imagePos) const;
    void viewChanged();
    void renderCache();
    void drawMagnifier(QPainter& p);

    QImage m_picture;
    QImage m_half;  // the picture at half size, for zooms below one half
    QImage m_cache; // the picture as it lies in the widget now
    bool m_cacheValid = false;
    double m_zoom = 1;
    QPointF m_offset;
    bool m_fitted = true;

    LandmarkSet m_points;
    LandmarkFlags m_proposed;
    Calibration m_calibration;
    std::optional<Landmark> m_awaited;
    bool m_ruler = false;
    std::vector<QPointF> m_rulerMarks;

    std::optional<Landmark> m_pressed;  // landmark under the left button
    QPointF m_pressPos;
    QPointF m_pressImage;
    QPointF m_pressedOrigin;  // where the landmark under the button was before the drag
    bool m_dragging = false;
    bool m_panning = false;
    QPointF m_panLast;
    std::optional<QPointF> m_cursor;
    std::optional<Landmark> m_hover;
};

}  // namespace qv
