#include "tracing/TracingExport.h"

#include "records/FileIo.h"
#include "records/IoError.h"
#include "tracing/TracingOverlay.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace qv {

namespace {

// Lines as thick, relative to the radiograph, as on a screen showing it 1000 pixels wide.
double overlayScale(const QSize& image) { return std::max(1.0, std::max(image.width(), image.height()) / 1000.0); }

}  // namespace

QImage RenderTracedImage(const QImage& picture, const LandmarkSet& points, const Calibration& calibration,
                         const LandmarkFlags& proposed)
{
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    if (out.isNull())
        return out;
    QPainter p(&out);
    OverlayStyle style;
    style.scale = overlayScale(picture.size());
    style.proposed = proposed;
    style.bounds = QRectF(out.rect());
    DrawTracing(p, QTransform(), points, calibration, style);
    return out;
}

void ExportTracingPng(const QString& path, const QImage& picture, const LandmarkSet& points,
                      const Calibration& calibration, const LandmarkFlags& proposed)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    const QImage traced = RenderTracedImage(picture, points, calibration, proposed);
    if (traced.isNull() || !writer.write(traced))
        throw IoError::cannotWrite(path);
    ReplaceFileBytes(path, buffer.data());
}

void ExportTracingPdf(const QString& path, const QImage& picture, const LandmarkSet& points,
                      const Calibration& calibration, const PdfSheet& sheet, const LandmarkFlags& proposed)
{
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(sheet.title);
        pdf.setCreator(QStringLiteral("Quorvel"));
        pdf.setResolution(150);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                      QPageLayout::Millimeter));
        QPainter p(&pdf);
        const QRect page = p.viewport();
        const double unit = pdf.resolution() / 96.0;  // one screen pixel in page units

        QFont title = p.font();
        title.setPixelSize(int(18 * unit));
        title.setBold(true);
        p.setFont(title);
        const int titleHeight = int(30 * unit);
        p.drawText(QRect(page.left(), page.top(), page.width(), titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   sheet.title);

        const int tableWidth = int(page.width() * 0.28);
        const QRect imageArea(page.left(), page.top() + titleHeight, page.width() - tableWidth - int(12 * unit),
                              page.height() - titleHeight);
        if (!picture.isNull()) {
            const double k = std::min(double(imageArea.width()) / picture.width(),
                                      double(imageArea.height()) / picture.height());
            const QTransform t(k, 0, 0, k, imageArea.left(), imageArea.top());
            p.save();
            p.setTransform(t);
            p.drawImage(QPointF(0, 0), picture);
            p.restore();
            OverlayStyle style;
            style.scale = unit * 0.8;
            style.proposed = proposed;
            style.bounds = t.mapRect(QRectF(picture.rect()));
            DrawTracing(p, t, points, calibration, style);
        }

        QFont body = p.font();
        body.setBold(false);
        body.setPixelSize(int(11 * unit));
        p.setFont(body);
        p.setPen(Qt::black);
        const int x = imageArea.right() + int(12 * unit);
        int y = imageArea.top();
        const int row = int(20 * unit);
        for (const auto& [caption, value] : sheet.rows) {
            p.drawText(QRect(x, y, tableWidth - int(60 * unit), row), Qt::AlignLeft | Qt::AlignVCenter, caption);
            p.drawText(QRect(x, y, tableWidth, row), Qt::AlignRight | Qt::AlignVCenter, value);
            p.drawLine(x, y + row, x + tableWidth, y + row);
            y += row;
        }
        y += row / 2;
        p.drawText(QRect(x, y, tableWidth, row * 3), Qt::AlignLeft | Qt::TextWordWrap, sheet.calibration);
        if (!p.end())
            throw IoError::cannotWrite(path);
    }
    ReplaceFileBytes(path, file.data());
}

}  // namespace qv
