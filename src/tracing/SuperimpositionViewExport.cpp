// The superimposition to a PNG picture and to a PDF with the displacement table, each written
// whole through the program's safe write.

#include "tracing/SuperimpositionView.h"

#include "records/FileIo.h"
#include "records/IoError.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <limits>

namespace qv {

QImage RenderSuperimposition(const std::vector<SuperimposedStage>& stages, QSize size, const QString& title)
{
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    const double scale = std::max(1.0, size.width() / 800.0);
    const double titleHeight = 32 * scale;
    QFont f = p.font();
    f.setPixelSize(int(16 * scale));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(10 * scale, 0, size.width() - 20 * scale, titleHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
    DrawSuperimposition(p, QRectF(0, titleHeight, size.width(), size.height() - titleHeight), stages, scale);
    return out;
}

void ExportSuperimpositionPng(const QString& path, const std::vector<SuperimposedStage>& stages, const QString& title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(RenderSuperimposition(stages, QSize(1600, 1400), title)))
        throw IoError::cannotWrite(path);
    ReplaceFileBytes(path, buffer.data());
}

namespace {

// Page measures in screen pixels (1/96 inch), turned into the device's by its resolution.
constexpr double kTitleHeight = 30;
constexpr double kRow = 15;
constexpr double kGap = 12;

int firstPageRows(double pageHeight) { return std::max(1, int((pageHeight - kTitleHeight) / kRow) - 1); }
int laterPageRows(double pageHeight) { return std::max(1, int(pageHeight / kRow) - 1); }


void paintPage(QPainter& p, const QRectF& page, double unit, const std::vector<SuperimposedStage>& stages,
               const SuperimpositionSheet& sheet, int number, std::pair<int, int> rows)
{
    QFont body = p.font();
    body.setPixelSize(std::max(1, int(10 * unit)));
    p.setPen(Qt::black);
    double x = page.left(), y = page.top(), width = page.width() / 2;
    if (number == 1) {
        QFont title = body;
        title.setPixelSize(std::max(1, int(16 * unit)));
        title.setBold(true);
        p.setFont(title);
        p.drawText(QRectF(page.left(), page.top(), page.width(), kTitleHeight * unit), Qt::AlignLeft | Qt::AlignVCenter,
                   sheet.title);
        width = page.width() * 0.42;
        const double noteHeight = sheet.note.isEmpty() ? 0 : 3 * kRow * unit;
        const QRectF drawing(page.left(), page.top() + kTitleHeight * unit, page.width() - width - kGap * unit,
                             page.height() - kTitleHeight * unit - noteHeight);
        DrawSuperimposition(p, drawing, stages, unit * 0.8);
        p.setFont(body);
        p.setPen(Qt::black);
        p.drawText(QRectF(drawing.left(), drawing.bottom() + 4 * unit, drawing.width(), noteHeight - 4 * unit),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, sheet.note);
        x = drawing.right() + kGap * unit;
        y = drawing.top();
    }
    const int columns = int(sheet.header.size());
    const double row = kRow * unit;
    const auto drawRow = [&](const QStringList& cells, bool bold) {
        QFont f = body;
        f.setBold(bold);
        p.setFont(f);
        for (int c = 0; c < columns && c < cells.size(); ++c) {
            const QRectF cell(x + c * width / columns, y, width / columns - 4 * unit, row);
            p.drawText(cell, (c < 2 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[c]);
        }
        p.drawLine(QPointF(x, y + row), QPointF(x + width, y + row));
        y += row;
    };
    drawRow(sheet.header, true);
    for (int r = rows.first; r < rows.second; ++r)
        drawRow(sheet.rows[size_t(r)], false);
}

}  // namespace

std::vector<std::pair<int, int>> SuperimpositionPages(const SuperimpositionSheet& sheet, double pageHeight)
{
    const int rows = int(sheet.rows.size());
    std::vector<std::pair<int, int>> pages{{0, std::min(rows, firstPageRows(pageHeight))}};
    while (pages.back().second < rows) {
        const int from = pages.back().second;
        pages.emplace_back(from, std::min(rows, from + laterPageRows(pageHeight)));
    }
    return pages;
}

int PaintSuperimpositionPages(QPagedPaintDevice& device, const std::vector<SuperimposedStage>& stages,
                              const SuperimpositionSheet& sheet, int from, int to, const std::function<bool(int)>& progress)
{
    QPainter p;
    if (!p.begin(&device))
        return -1;
    const double unit = device.logicalDpiY() / 96.0;
    const QRectF page(p.viewport());
    const auto pages = SuperimpositionPages(sheet, device.pageLayout().paintRectPixels(96).height());
    int painted = 0;
    for (int n = std::max(1, from); n <= std::min(int(pages.size()), to); ++n) {
        if (progress && !progress(n))
            break;
        if (painted > 0 && !device.newPage())
            break;
        paintPage(p, page, unit, stages, sheet, n, pages[size_t(n - 1)]);
        ++painted;
    }
    return p.end() ? painted : -1;
}

QPageLayout SuperimpositionPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

void ExportSuperimpositionPdf(const QString& path, const std::vector<SuperimposedStage>& stages,
                              const SuperimpositionSheet& sheet)
{
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(sheet.title);
        pdf.setCreator(QStringLiteral("Quorvel"));
        pdf.setResolution(150);
        pdf.setPageLayout(SuperimpositionPageLayout());
        if (PaintSuperimpositionPages(pdf, stages, sheet, 1, std::numeric_limits<int>::max()) < 1)
            throw IoError::cannotWrite(path);
    }
    ReplaceFileBytes(path, file.data());
}

}  // namespace qv
