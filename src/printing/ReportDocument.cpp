#include "printing/ReportDocument.h"

#include "printing/ReportParams.h"

#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace qv::report {

QStringList LaidPage::texts() const
{
    QStringList out;
    for (const DrawOp& op : ops)
        if (op.kind == DrawOp::Text && !op.text.isEmpty())
            out.append(op.text);
    return out;
}

QString TruncationNotice(int lastPage)
{
    return QStringLiteral("(continua: o texto excede as %1 páginas deste relatório)").arg(lastPage);
}

namespace {

// Texts of the pages keep "\r" as their line break.
QString lines(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

int alignFlags(Align a)
{
    switch (a) {
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

// Lays out one report on one device; everything is measured in millimetres and turned into
// device pixels when an operation is recorded.
class Layouter {
public:
    Layouter(const ReportProject& project, const ReportLayout& report, const ParamMap& params, int lastPage,
             QPaintDevice* device, const QSizeF& paintSize)
        : m_project(project), m_report(report), m_params(params), m_lastPage(std::max(1, lastPage)), m_device(device)
    {
        const double dpi = device->logicalDpiY();
        const double pxPerMm = dpi / 25.4;
        const QPageSize size = pageSize();
        QSizeF paper = size.size(QPageSize::Millimeter);
        if (report.landscape)
            paper.transpose();
        const double designW = paper.width() - report.margins[0] - report.margins[2];
        const double designH = paper.height() - report.margins[1] - report.margins[3];
        // A smaller paper or wider margins chosen in the page setup shrink the whole layout.
        m_scale = std::min({1.0, paintSize.width() / (designW * pxPerMm), paintSize.height() / (designH * pxPerMm)});
        m_unit = pxPerMm * m_scale;
        m_areaW = paintSize.width() / m_unit;
        m_areaH = paintSize.height() / m_unit;
    }

    QPageSize pageSize() const
    {
        if (m_report.paper == QLatin1String("A5"))
            return QPageSize(QPageSize::A5);
        if (m_report.paper == QLatin1String("Letter"))
            return QPageSize(QPageSize::Letter);
        if (m_report.paper == QLatin1String("Legal"))
            return QPageSize(QPageSize::Legal);
        return QPageSize(QPageSize::A4);
    }

    QList<LaidPage> run()
    {
        // Header and footer are measured once; their texts are drawn on each page at the end.
        m_headerBottom = measureBand(m_report.header);
        const double footerHeight = measureBand(m_report.footer);
        m_bodyTop = m_report.header.isEmpty() ? 0 : m_headerBottom + m_report.bodyGap;
        m_bodyBottom = m_report.footer.isEmpty() ? m_areaH : m_areaH - footerHeight - m_report.bodyGap / 2;
        m_footerTop = m_areaH - footerHeight;

        for (const QList<Element>& block : m_report.pages) {
            if (!newPage())
                break;
            for (const Element& e : block) {
                if (m_stopped)
                    break;
                place(e);
            }
            if (m_stopped)
                break;
        }
        const int total = int(m_pages.size());
        for (int i = 0; i < total; ++i) {
            QList<DrawOp> body = std::move(m_pages[i].ops);
            m_pages[i].ops.clear();
            m_current = &m_pages[i];
            drawBand(m_report.header, 0, i + 1, total);
            drawBand(m_report.footer, m_footerTop, i + 1, total);
            m_pages[i].ops.append(body);
        }
        return m_pages;
    }

private:
    QString param(const QString& name) const { return m_params.value(name); }

    const Style& style(const QString& name) const
    {
        static const Style plain;
        const auto it = m_project.styles.find(name);
        return it == m_project.styles.end() ? plain : *it;
    }

    QFont font(const Style& s) const
    {
        QFont f(s.family);
        f.setPointSizeF(s.size * m_scale);
        f.setBold(s.bold);
        f.setItalic(s.italic);
        return QFont(f, m_device);
    }

    double px(double mm) const { return mm * m_unit; }
    QRectF pxRect(double x, double y, double w, double h) const { return QRectF(px(x), px(y), px(w), px(h)); }

    double width(const Element& e) const { return e.w > 0 ? e.w : std::max(0.0, m_areaW - e.x); }

    // Height in mm of a wrapped text in a box of the given width.
    double textHeight(const QString& text, const Style& s, double w) const
    {
        const QFontMetricsF fm(font(s), m_device);
        if (text.isEmpty())
            return fm.height() / m_unit + 2 * s.padding;
        const double inner = std::max(1.0, px(w - 2 * s.padding));
        const QRectF r = fm.boundingRect(QRectF(0, 0, inner, 1e7), Qt::TextWordWrap | alignFlags(s.align), lines(text));
        return r.height() / m_unit + 2 * s.padding;
    }

    void addText(const QRectF& mm, const QString& text, const Style& s, int vertical = Qt::AlignTop, bool wrap = true)
    {
        if (!s.fill.isEmpty()) {
            DrawOp fill;
            fill.kind = DrawOp::Fill;
            fill.rect = pxRect(mm.x(), mm.y(), mm.width(), mm.height());
            fill.color = QColor(s.fill);
            m_current->ops.append(fill);
        }
        if (text.isEmpty())
            return;
        DrawOp op;
        op.kind = DrawOp::Text;
        op.rect = pxRect(mm.x() + s.padding, mm.y() + s.padding, mm.width() - 2 * s.padding, mm.height() - 2 * s.padding);
        op.text = lines(text);
        op.font = font(s);
        op.color = QColor(s.color);
        op.flags = alignFlags(s.align) | vertical | (wrap ? int(Qt::TextWordWrap) : 0);
        m_current->ops.append(op);
    }

    void addLine(double x1, double y1, double x2, double y2, double thickness, const QString& colour)
    {
        DrawOp op;
        op.kind = DrawOp::Line;
        op.line = QLineF(px(x1), px(y1), px(x2), px(y2));
        op.width = std::max(1.0, px(thickness));
        op.color = QColor(colour);
        m_current->ops.append(op);
    }

    void addFrame(double x, double y, double w, double h, double thickness, const QString& colour)
    {
        DrawOp op;
        op.kind = DrawOp::Frame;
        op.rect = pxRect(x, y, w, h);
        op.width = std::max(1.0, px(thickness));
        op.color = QColor(colour);
        m_current->ops.append(op);
    }

    bool newPage()
    {
        if (int(m_pages.size()) >= m_lastPage) {
            m_stopped = true;
            return false;
        }
        m_pages.append(LaidPage{});
        m_current = &m_pages.last();
        m_rowTop = m_bodyTop;
        m_rowBottom = m_bodyTop;
        m_pageHasBody = false;
        return true;
    }

    bool skipped(const Element& e) const
    {
        if (!e.ifParam.isEmpty() && param(e.ifParam).isEmpty())
            return true;
        return e.hideEmpty && !e.param.isEmpty() && param(e.param).isEmpty();
    }

    // Top of an element of the given height; a row that does not fit starts a new page.
    bool top(const Element& e, double h, double& y)
    {
        switch (e.place) {
        case Place::Absolute:
            y = m_bodyTop + e.y;
            m_rowTop = y;
            m_rowBottom = y + h;
            return true;
        case Place::Same:
            y = m_rowTop + e.y;
            m_rowBottom = std::max(m_rowBottom, y + h);
            return true;
        case Place::Below:
            break;
        }
        y = m_rowBottom + (m_pageHasBody ? e.y : 0);
        // A row that does not fit goes to a new page; on the last page of the range it stays,
        // since a squeezed row is better than a lost one.
        if (y + h > m_bodyBottom + 0.01 && m_pageHasBody && int(m_pages.size()) < m_lastPage) {
            newPage();
            y = m_rowTop;
        }
        m_rowTop = y;
        m_rowBottom = y + h;
        return true;
    }

    void place(const Element& e)
    {
        if (skipped(e))
            return;
        const double w = width(e);
        double y = 0;
        switch (e.kind) {
        case ElementKind::Text:
        case ElementKind::Field: {
            const Style& s = style(e.style);
            // Page numbers are known only once the pages are made: they belong in the bands.
            const QString text = e.kind == ElementKind::Text ? expand(e.text, int(m_pages.size()), 0) : param(e.param);
            const double h = e.h > 0 ? e.h : textHeight(text, s, w);
            if (!top(e, h, y))
                return;
            addText(QRectF(e.x, y, w, h), text, s, e.h > 0 ? Qt::AlignVCenter : Qt::AlignTop);
            break;
        }
        case ElementKind::Pair:
            placePair(e, w);
            break;
        case ElementKind::Rule:
            if (e.h > 0) {  // vertical
                if (!top(e, e.h, y))
                    return;
                addLine(e.x, y, e.x, y + e.h, e.thickness, e.color);
                break;
            }
            if (!top(e, e.thickness, y))
                return;
            addLine(e.x, y + e.thickness / 2, e.x + w, y + e.thickness / 2, e.thickness, e.color);
            break;
        case ElementKind::Box: {
            if (!top(e, e.h, y))
                return;
            addFrame(e.x, y, w, e.h, e.thickness, e.color);
            break;
        }
        case ElementKind::Choices:
            placeChoices(e, w);
            break;
        case ElementKind::Flow:
            placeFlow(e, w);
            break;
        }
        m_pageHasBody = true;
    }

    // A pair's caption is its text= when it has one (the parameter is then the bare value),
    // otherwise what precedes ":  " in the parameter.
    void splitPair(const Element& e, QString& caption, QString& value) const
    {
        const QString text = param(e.param);
        if (!e.text.isEmpty()) {
            caption = e.text;
            value = text;
            return;
        }
        const QString sep = QString::fromUtf16(kReportSeparator);
        const qsizetype at = text.indexOf(sep);
        caption = at < 0 ? QString() : text.left(at);
        value = at < 0 ? text : text.mid(at + sep.size());
    }

    void placePair(const Element& e, double w)
    {
        QString caption;
        QString value;
        splitPair(e, caption, value);
        const Style& cs = style(e.style);
        const Style& vs = style(e.valueStyle.isEmpty() ? e.style : e.valueStyle);
        const double cw = e.captionWidth > 0 ? std::min(e.captionWidth, w) : w / 2;
        const double h = e.h > 0 ? e.h : std::max(textHeight(caption, cs, cw), textHeight(value, vs, w - cw));
        double y = 0;
        if (!top(e, h, y))
            return;
        addText(QRectF(e.x, y, cw, h), caption, cs, Qt::AlignVCenter);
        addText(QRectF(e.x + cw, y, w - cw, h), value, vs, Qt::AlignVCenter);
        if (e.underline)
            addLine(e.x, y + h, e.x + w, y + h, e.thickness, e.color);
    }

    void placeChoices(const Element& e, double w)
    {
        const QStringList alternatives = param(e.param).split(DiagnosisJoint());
        const Style& ts = style(e.style);
        const Style& js = style(e.jointStyle);
        const Style& qs = style(e.quadrantStyle.isEmpty() ? e.style : e.quadrantStyle);
        const double side = e.crossSize;
        const double crossColumn = e.crosses.isEmpty() ? 0 : 1.5 * side + 8;
        const double textW = std::max(10.0, w - crossColumn);
        const double jointH = textHeight(QStringLiteral("ou"), js, textW) + 1;

        QList<double> heights;
        double total = 0;
        for (qsizetype i = 0; i < alternatives.size(); ++i) {
            double h = textHeight(alternatives[i], ts, textW);
            if (i < e.crosses.size())
                h = std::max(h, side);
            heights.append(h + 2);
            total += heights.last() + (i > 0 ? jointH : 0);
        }
        double y = 0;
        if (!top(e, total, y))
            return;
        for (qsizetype i = 0; i < alternatives.size(); ++i) {
            if (i > 0) {
                addText(QRectF(e.x, y, textW, jointH), QStringLiteral("ou"), js, Qt::AlignVCenter);
                y += jointH;
            }
            const double h = heights[i];
            addText(QRectF(e.x, y, textW, h), alternatives[i], ts, Qt::AlignVCenter);
            if (i < e.crosses.size())
                drawCross(e, e.crosses[i], e.x + textW + 4 + 0.75 * side, y + h / 2, side, qs);
            y += h;
        }
    }

    // The cross is half again as wide as it is tall, so tooth pairs such as "X  4" fit their quadrant.
    void drawCross(const Element& e, const CrossDef& c, double cx, double cy, double side, const Style& qs)
    {
        const double halfW = 0.75 * side;
        const double halfH = side / 2;
        const bool h = !param(c.hbar).isEmpty();
        const bool v = !param(c.vbar).isEmpty();
        const double pen = std::max(e.thickness, 0.35);
        if (h)
            addLine(cx - halfW, cy, cx + halfW, cy, pen, e.color);
        if (v)
            addLine(cx, cy - halfH, cx, cy + halfH, pen, e.color);
        if (h && v)
            ++m_current->crosses;
        const std::array<QPointF, 4> corners = {QPointF(cx - halfW, cy - halfH), QPointF(cx, cy - halfH),
                                                QPointF(cx - halfW, cy), QPointF(cx, cy)};
        for (int q = 0; q < 4; ++q) {
            const QString text = param(c.quadrants[size_t(q)]);
            if (!text.isEmpty())
                addText(QRectF(corners[size_t(q)].x(), corners[size_t(q)].y(), halfW, halfH), text, qs, Qt::AlignVCenter,
                        false);
        }
    }

    static bool isSeparator(const QString& row)
    {
        static const QRegularExpression dashes(QStringLiteral("^-{10,}$"));
        return dashes.match(row.trimmed()).hasMatch();
    }

    void placeFlow(const Element& e, double w)
    {
        const Style& s = style(e.style);
        const QFont f = font(s);
        const QFontMetricsF fm(f, m_device);
        const double lineH = fm.lineSpacing() / m_unit;

        // Blank lines at the end would only add empty pages.
        QStringList paragraphs = lines(param(e.param)).split(u'\n');
        while (!paragraphs.isEmpty() && paragraphs.last().trimmed().isEmpty())
            paragraphs.removeLast();

        QStringList rows;
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        for (const QString& paragraph : paragraphs) {
            if (paragraph.isEmpty() || isSeparator(paragraph)) {
                rows.append(paragraph);
                continue;
            }
            QTextLayout layout(paragraph, f, m_device);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(px(w));
                rows.append(paragraph.mid(line.textStart(), line.textLength()));
            }
            layout.endLayout();
        }

        double y = m_rowBottom + (m_pageHasBody ? e.y : 0);
        if (e.place == Place::Absolute)
            y = m_bodyTop + e.y;
        const Style noticeStyle = [&] {
            Style n = s;
            n.italic = true;
            return n;
        }();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (int(m_pages.size()) == m_lastPage) {
                // On the last page of the range, keep a line for the notice when the rest does not fit.
                const bool restFits = y + double(rows.size() - i) * lineH <= m_bodyBottom + 0.01;
                if (!restFits && y + 2 * lineH > m_bodyBottom + 0.01) {
                    addText(QRectF(e.x, y, w, lineH), TruncationNotice(m_lastPage), noticeStyle);
                    m_stopped = true;
                    return;
                }
            } else if (y + lineH > m_bodyBottom + 0.01) {
                newPage();
                y = m_bodyTop;
                --i;
                continue;
            }
            if (isSeparator(rows[i])) {
                // The history's separator lines would wrap as text: a rule reads the same.
                addLine(e.x, y + lineH / 2, e.x + w, y + lineH / 2, 0.2, QStringLiteral("#8c8c8c"));
                y += lineH;
                continue;
            }
            DrawOp op;
            op.kind = DrawOp::Text;
            op.rect = pxRect(e.x, y, w, lineH);
            op.text = rows[i];
            op.font = f;
            op.color = QColor(s.color);
            op.flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;
            m_current->ops.append(op);
            y += lineH;
        }
        m_rowTop = m_rowBottom = y;
    }

    // Places a header or footer on a scratch page to learn its height.
    double measureBand(const QList<Element>& band)
    {
        if (band.isEmpty())
            return 0;
        LaidPage scratch;
        m_current = &scratch;
        drawBandAt(band, 0, 1, 1);
        return m_bandBottom;
    }

    void drawBand(const QList<Element>& band, double top, int page, int pages)
    {
        if (!band.isEmpty())
            drawBandAt(band, top, page, pages);
    }

    QString expand(const QString& text, int page, int pages) const
    {
        QString t = text;
        t.replace(QStringLiteral("{title}"), m_report.title);
        if (pages > 0) {
            t.replace(QStringLiteral("{page}"), QString::number(page));
            t.replace(QStringLiteral("{pages}"), QString::number(pages));
        }
        t.replace(QStringLiteral("{date}"), QLocale(QLocale::Portuguese, QLocale::Brazil).toString(QDate::currentDate(), QLocale::ShortFormat));
        return t;
    }

    // Bands never break: their elements are placed from `top` on.
    void drawBandAt(const QList<Element>& band, double top, int page, int pages)
    {
        double rowTop = top;
        double rowBottom = top;
        bool first = true;
        for (const Element& e : band) {
            if (skipped(e))
                continue;
            const double w = width(e);
            const Style& s = style(e.style);
            QString text;
            double h = e.h;
            if (e.kind == ElementKind::Text || e.kind == ElementKind::Field) {
                text = e.kind == ElementKind::Text ? expand(e.text, page, pages) : param(e.param);
                if (h <= 0)
                    h = textHeight(text, s, w);
            } else if (e.kind == ElementKind::Rule) {
                h = e.thickness;
            } else if (e.kind == ElementKind::Pair) {
                if (h <= 0)
                    h = textHeight(param(e.param), s, w);
            }
            double y = rowTop + e.y;
            if (e.place == Place::Absolute)
                y = top + e.y;
            else if (e.place == Place::Below)
                y = rowBottom + (first ? 0 : e.y);
            if (e.place != Place::Same) {
                rowTop = y;
                rowBottom = y + h;
            } else {
                rowBottom = std::max(rowBottom, y + h);
            }
            first = false;
            switch (e.kind) {
            case ElementKind::Text:
            case ElementKind::Field:
                addText(QRectF(e.x, y, w, h), text, s, e.h > 0 ? Qt::AlignVCenter : Qt::AlignTop);
                break;
            case ElementKind::Pair: {
                QString caption;
                QString value;
                splitPair(e, caption, value);
                const double cw = e.captionWidth > 0 ? e.captionWidth : w / 2;
                addText(QRectF(e.x, y, cw, h), caption, s, Qt::AlignVCenter);
                addText(QRectF(e.x + cw, y, w - cw, h), value, style(e.valueStyle.isEmpty() ? e.style : e.valueStyle),
                        Qt::AlignVCenter);
                break;
            }
            case ElementKind::Rule:
                addLine(e.x, y + e.thickness / 2, e.x + w, y + e.thickness / 2, e.thickness, e.color);
                break;
            case ElementKind::Box:
                addFrame(e.x, y, w, e.h, e.thickness, e.color);
                break;
            case ElementKind::Choices:
            case ElementKind::Flow:
                break;  // the parser keeps these out of bands
            }
        }
        m_bandBottom = rowBottom - top;
    }

    const ReportProject& m_project;
    const ReportLayout& m_report;
    const ParamMap& m_params;
    const int m_lastPage;
    QPaintDevice* m_device;
    double m_scale = 1;
    double m_unit = 1;  // device pixels per millimetre of the layout
    double m_areaW = 0;
    double m_areaH = 0;
    double m_headerBottom = 0;
    double m_footerTop = 0;
    double m_bodyTop = 0;
    double m_bodyBottom = 0;
    double m_bandBottom = 0;
    double m_rowTop = 0;
    double m_rowBottom = 0;
    bool m_pageHasBody = false;
    bool m_stopped = false;
    QList<LaidPage> m_pages;
    LaidPage* m_current = nullptr;
};

}  // namespace

ReportDocument::ReportDocument(const ReportProject& project, const ReportLayout& report, ParamMap params, int lastPage)
    : m_project(project), m_report(report), m_params(std::move(params)), m_lastPage(std::max(1, lastPage))
{
}

QPageLayout ReportDocument::pageLayout() const
{
    QPageSize size(QPageSize::A4);
    if (m_report.paper == QLatin1String("A5"))
        size = QPageSize(QPageSize::A5);
    else if (m_report.paper == QLatin1String("Letter"))
        size = QPageSize(QPageSize::Letter);
    else if (m_report.paper == QLatin1String("Legal"))
        size = QPageSize(QPageSize::Legal);
    const auto& m = m_report.margins;
    return QPageLayout(size, m_report.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(m[0], m[1], m[2], m[3]), QPageLayout::Millimeter);
}

QList<LaidPage> ReportDocument::layout(QPaintDevice* device, const QSizeF& paintSize) const
{
    Layouter layouter(m_project, m_report, m_params, m_lastPage, device, paintSize);
    return layouter.run();
}

void ReportDocument::paintPage(QPainter& painter, const LaidPage& page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const DrawOp& op : page.ops) {
        switch (op.kind) {
        case DrawOp::Text:
            painter.setFont(op.font);
            painter.setPen(op.color);
            painter.drawText(op.rect, op.flags, op.text);
            break;
        case DrawOp::Line:
            painter.setPen(QPen(op.color, op.width, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(op.line);
            break;
        case DrawOp::Fill:
            painter.fillRect(op.rect, op.color);
            break;
        case DrawOp::Frame:
            painter.setPen(QPen(op.color, op.width));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(op.rect);
            break;
        }
    }
    painter.restore();
}

int ReportDocument::print(QPagedPaintDevice& device, int from, int to, const ProgressFn& progress,
                          QList<LaidPage>* laidOut) const
{
    const QPageLayout pl = device.pageLayout();
    const QRect paint = pl.paintRectPixels(device.logicalDpiX());
    QList<LaidPage> pages = layout(&device, QSizeF(paint.size()));
    const int count = int(pages.size());
    from = std::max(1, from);
    to = to <= 0 ? count : std::min(to, count);

    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    int painted = 0;
    for (int p = from; p <= to; ++p) {
        if (progress && !progress(p, count))
            break;
        if (painted > 0)
            device.newPage();
        paintPage(painter, pages[p - 1]);
        ++painted;
    }
    painter.end();
    if (laidOut)
        *laidOut = pages.mid(from - 1, std::max(0, to - from + 1));
    return painted;
}

}  // namespace qv::report
