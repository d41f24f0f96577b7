#include "printing/ReportDocument.h"

#include "records/HistoryFile.h"

#include <QAbstractTextDocumentLayout>
#include <QDate>
#include <QHash>
#include <QImage>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace qv::report {

QString TruncationNotice(int lastPage)
{
    return QStringLiteral("(continua: o texto excede as %1 páginas deste relatório)").arg(lastPage);
}

namespace {

// Layout units are 1/96 inch, as in CSS; fonts in points are measured at that resolution and
// the painter scales to the device.
constexpr double kLayoutDpi = 96;
constexpr double kUnitsPerMm = kLayoutDpi / 25.4;
// The header and footer never take more of the page than this share of it.
constexpr double kMaxBandShare = 0.75;

QPaintDevice* layoutDevice()
{
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(qRound(kLayoutDpi / 0.0254));
        i.setDotsPerMeterY(qRound(kLayoutDpi / 0.0254));
        return i;
    }();
    return &image;
}

// Reads nothing from disk or the network: a template names only the images the run adds.
class RichText : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

QString pageBreak() { return QStringLiteral("<div style=\"page-break-before: always\">"); }

// The parameters of the clinic's letterhead: without them the header shows the program's name.
bool isLetterhead(const QString& name)
{
    static const QSet<QString> names = {"consultorio", "profissional", "registro", "endereco",
                                        "telefone",    "email",        "logotipo", "timbrado"};
    return names.contains(name);
}

QString blockText(const QString& text)
{
    QString t = text;
    t.remove(QChar::ObjectReplacementCharacter);  // an image (the logo, a chart) is no text
    t.replace(QChar::LineSeparator, u'\n');
    t.replace(QChar::Nbsp, u' ');
    return t;
}

}  // namespace

// The documents of one run laid out for one printable area.
class ReportDocument::Pages {
public:
    Pages(const ReportDocument& run, const QSizeF& areaMm, bool withBody = true) : m_run(run)
    {
        const PageSetup& setup = run.m_project.setup;
        const auto [paperW, paperH] = PaperSize(setup.paper, setup.landscape);
        const double designW = paperW - setup.margins[0] - setup.margins[2];
        const double designH = paperH - setup.margins[1] - setup.margins[3];
        // A smaller paper or wider margins chosen in the page setup shrink the whole layout.
        const double w = std::max(1.0, areaMm.width());
        const double h = std::max(1.0, areaMm.height());
        m_scale = std::clamp(std::min(w / designW, h / designH), 0.05, 1.0);
        m_width = w / m_scale * kUnitsPerMm;
        m_height = h / m_scale * kUnitsPerMm;
        m_gap = setup.gap * kUnitsPerMm;

        m_params = run.m_params;
        m_params.insert(QStringLiteral("title"), run.m_report.title);
        // The same short date as the history's visits, whatever the machine's locale.
        m_params.insert(QStringLiteral("date"), HistoryDateText(QDate::currentDate()));
        m_params.insert(QStringLiteral("page"), QStringLiteral("1"));
        m_params.insert(QStringLiteral("pages"), QStringLiteral("1"));
        if (!run.m_logo.isNull())
            m_params.insert(QStringLiteral("logotipo"), QStringLiteral("logotipo"));
        // A picture the program drew (a "data:image/...;base64," parameter) is handed to the
        // documents as an image of the run, never loaded from the address.
        for (auto it = m_params.begin(); it != m_params.end(); ++it) {
            static const QRegularExpression picture(QStringLiteral("^data:image/[a-z]+;base64,"));
            const QRegularExpressionMatch m = picture.match(it.value());
            if (!m.hasMatch())
                continue;
            QImage image;
            image.loadFromData(QByteArray::fromBase64(it.value().mid(m.capturedLength()).toLatin1()));
            const QString name = QStringLiteral("picture-") + it.key();
            m_pictures.insert(name, image);
            it.value() = name;
        }

        const double bandLimit = m_height * kMaxBandShare;
        const Template& header = run.m_project.header;
        const Template& footer = run.m_project.footer;
        // A header too tall for the page is cut; the footer with the page numbers stays.
        m_footerH = footer.isEmpty() ? 0 : std::min(band(footer, 1, 1)->size().height(), bandLimit / 3);
        m_headerH = header.isEmpty() ? 0 : std::min(band(header, 1, 1)->size().height(), bandLimit - m_footerH);
        m_bodyTop = m_headerH > 0 ? m_headerH + m_gap : 0;
        const double footerSpace = m_footerH > 0 ? m_footerH + m_gap : 0;
        m_bandsFit = m_bodyTop + footerSpace <= bandLimit;
        m_bodyH = std::max(m_height - m_bodyTop - footerSpace, m_height * (1 - kMaxBandShare));

        if (!withBody)
            return;
        QString html;
        for (qsizetype i = 0; i < run.m_report.pages.size(); ++i)
            html += (i > 0 ? pageBreak() : QStringLiteral("<div>")) + run.m_report.pages[i].render(m_params)
                    + QStringLiteral("</div>");
        m_body = make(html, m_bodyH);
        const int total = pagesOf(*m_body, m_bodyH);
        m_range = run.m_lastPage;
        // A letterhead never costs the report what it holds without one: the range grows by the
        // pages the letterhead's room takes. A body that would run past the range anyway (a
        // history of years) still stops at its last page, and so does one under a header cut
        // to leave it room.
        if (total > m_range && m_bandsFit && !header.isEmpty()) {
            ParamMap plain = m_params;
            for (auto it = plain.begin(); it != plain.end();)
                it = isLetterhead(it.key()) ? plain.erase(it) : std::next(it);
            const double plainH = std::min(make(header.render(plain))->size().height(), bandLimit - m_footerH);
            const double plainBodyH = std::max(m_height - (plainH > 0 ? plainH + m_gap : 0) - footerSpace,
                                               m_height * (1 - kMaxBandShare));
            if (plainBodyH > m_bodyH && pagesOf(*make(html, plainBodyH), plainBodyH) <= m_range)
                m_range = total;
        }
        m_count = std::clamp(total, 1, m_range);
        if (total > m_range)
            findCut();
    }

    int count() const { return m_count; }
    // The last page of the range this layout allows.
    int range() const { return m_range; }
    bool bandsFit() const { return m_bandsFit; }

    // Paints page n (1-based); the painter's origin is the top left of the printable area.
    void paint(QPainter& painter, int n, double deviceDpi) const
    {
        painter.save();
        const double s = deviceDpi / kLayoutDpi * m_scale;
        painter.scale(s, s);
        const QRectF all(0, 0, m_width, m_height);
        painter.setClipRect(all);
        painter.setRenderHint(QPainter::Antialiasing, true);
        paintBand(painter, *band(m_run.m_project.header, n, m_count), 0, m_headerH);

        const double top = (n - 1) * m_bodyH;
        const double height = n == m_count && m_cut > 0 ? m_cut - top : m_bodyH;
        painter.save();
        painter.translate(0, m_bodyTop - top);
        m_body->drawContents(&painter, QRectF(0, top, m_width, height));
        painter.restore();
        if (n == m_count && m_cut > 0)
            paintBand(painter, *notice(), m_bodyTop + height, m_bodyH - height);
        paintBand(painter, *band(m_run.m_project.footer, n, m_count), m_height - m_footerH, m_footerH);
        painter.restore();
    }

    LaidPage texts(int n) const
    {
        LaidPage page;
        blocks(*band(m_run.m_project.header, n, m_count), 0, m_headerH, page);
        page.headerTexts = page.blocks.size();
        const double top = (n - 1) * m_bodyH;
        const double bottom = n == m_count && m_cut > 0 ? m_cut : top + m_bodyH;
        blocks(*m_body, top, bottom, page);
        page.crosses = crossCorners(top, bottom);
        if (n == m_count && m_cut > 0) {
            page.blocks.append(TruncationNotice(m_range));
            page.lines.append(1);
        }
        const qsizetype beforeFooter = page.blocks.size();
        blocks(*band(m_run.m_project.footer, n, m_count), 0, m_footerH, page);
        page.footerTexts = page.blocks.size() - beforeFooter;
        return page;
    }

private:
    // A document of the area's width; with a page height, paginated (laid out once either way).
    std::unique_ptr<QTextDocument> make(const QString& html, double pageHeight = 0) const
    {
        auto doc = std::make_unique<RichText>();
        doc->documentLayout()->setPaintDevice(layoutDevice());
        doc->setDocumentMargin(0);
        // Unhinted glyphs: the layout is measured at one resolution and painted at another.
        QFont font(QStringLiteral("DejaVu Sans"), 10);
        font.setHintingPreference(QFont::PreferNoHinting);
        doc->setDefaultFont(font);
        QTextOption option;
        option.setUseDesignMetrics(true);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        doc->setDefaultTextOption(option);
        doc->setDefaultStyleSheet(m_run.m_project.styleSheet);
        if (!m_run.m_logo.isNull())
            doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("logotipo")), m_run.m_logo);
        for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it)
            doc->addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
        doc->setHtml(html);
        if (pageHeight > 0)
            doc->setPageSize(QSizeF(m_width, pageHeight));
        else
            doc->setTextWidth(m_width);
        return doc;
    }

    // The header or footer of page n of `pages`; a band that reads the same on every page is
    // laid out once.
    std::shared_ptr<QTextDocument> band(const Template& t, int n, int pages) const
    {
        ParamMap params = m_params;
        params.insert(QStringLiteral("page"), QString::number(n));
        params.insert(QStringLiteral("pages"), QString::number(pages));
        const QString html = t.isEmpty() ? QString() : t.render(params);
        if (m_bands.size() > 8 && !m_bands.contains(html))
            m_bands.clear();
        std::shared_ptr<QTextDocument>& cached = m_bands[html];
        if (!cached)
            cached = make(html);
        return cached;
    }

    void paintBand(QPainter& painter, QTextDocument& doc, double y, double height) const
    {
        if (height <= 0)
            return;
        painter.save();
        painter.translate(0, y);
        doc.drawContents(&painter, QRectF(0, 0, m_width, height));
        painter.restore();
    }

    std::unique_ptr<QTextDocument> notice() const
    {
        return make(QStringLiteral("<p><i>%1</i></p>").arg(TruncationNotice(m_range)));
    }

    // Lines of the document whose tops lie in [top, bottom): each block's lines form one text.
    template <typename Fn>
    static void forEachLine(const QTextDocument& doc, Fn fn)
    {
        const auto* layout = doc.documentLayout();
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            const QTextLayout* tl = b.layout();
            if (!tl)
                continue;
            const QPointF origin = layout->blockBoundingRect(b).topLeft() - tl->boundingRect().topLeft();
            for (int i = 0; i < tl->lineCount(); ++i)
                fn(b, tl->lineAt(i), origin.y() + tl->lineAt(i).y());
        }
    }

    // Pages a body laid out on pages of the given height takes.
    static int pagesOf(const QTextDocument& body, double pageHeight)
    {
        // Blank blocks at the end (a closing rule, empty lines) would only add empty pages.
        int total = 1;
        forEachLine(body, [&](const QTextBlock& b, const QTextLine& line, double y) {
            if (!b.text().mid(line.textStart(), line.textLength()).trimmed().isEmpty())
                total = std::max(total, int(std::floor((y + 0.5) / pageHeight)) + 1);
        });
        return total;
    }

    // Appends the texts of the lines in [top, bottom) to the page, with their line counts.
    static void blocks(const QTextDocument& doc, double top, double bottom, LaidPage& out)
    {
        QTextBlock held;
        int first = -1;
        int last = -1;
        int lines = 0;
        const auto flush = [&] {
            const QString t = first < 0 ? QString() : blockText(held.text().mid(first, last - first)).trimmed();
            if (!t.isEmpty()) {
                out.blocks.append(t);
                out.lines.append(lines);
            }
            first = last = -1;
            lines = 0;
        };
        forEachLine(doc, [&](const QTextBlock& b, const QTextLine& line, double y) {
            if (y < top - 0.5 || y >= bottom - 0.5)
                return;
            if (first >= 0 && held != b)
                flush();
            if (first < 0) {
                held = b;
                first = line.textStart();
            }
            last = line.textStart() + line.textLength();
            ++lines;
        });
        flush();
    }

    int crossCorners(double top, double bottom) const
    {
        int n = 0;
        QList<QTextFrame*> frames = m_body->rootFrame()->childFrames();
        while (!frames.isEmpty()) {
            QTextFrame* f = frames.takeLast();
            frames += f->childFrames();
            auto* table = qobject_cast<QTextTable*>(f);
            if (!table)
                continue;
            for (int r = 0; r < table->rows(); ++r)
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCell cell = table->cellAt(r, c);
                    const QTextTableCellFormat fmt = cell.format().toTableCellFormat();
                    if (fmt.rightBorder() <= 0 || fmt.bottomBorder() <= 0 || fmt.leftBorder() > 0 || fmt.topBorder() > 0)
                        continue;
                    const QTextBlock b = cell.firstCursorPosition().block();
                    const double y = m_body->documentLayout()->blockBoundingRect(b).top();
                    if (y >= top - 0.5 && y < bottom - 0.5)
                        ++n;
                }
        }
        return n;
    }

    // The last page of the range keeps a line for the notice: the body stops at the bottom of
    // the last line that leaves room for it.
    void findCut()
    {
        const double top = (m_count - 1) * m_bodyH;
        const double noticeH = notice()->size().height() * 1.5;
        const double limit = top + m_bodyH - noticeH;
        double cut = top;
        forEachLine(*m_body, [&](const QTextBlock&, const QTextLine& line, double y) {
            if (y >= top - 0.5 && y + line.height() <= limit)
                cut = std::max(cut, y + line.height());
        });
        m_cut = std::max(cut, top + 1);
    }

    const ReportDocument& m_run;
    ParamMap m_params;
    QHash<QString, QImage> m_pictures;  // by resource name
    double m_scale = 1;
    double m_width = 0;
    double m_height = 0;
    double m_gap = 0;
    double m_headerH = 0;
    double m_footerH = 0;
    double m_bodyTop = 0;
    double m_bodyH = 0;
    double m_cut = 0;  // where the body stops on the last page when it runs past it
    int m_count = 1;
    int m_range = 1;  // the last page the body may reach
    bool m_bandsFit = true;
    std::unique_ptr<QTextDocument> m_body;
    mutable QHash<QString, std::shared_ptr<QTextDocument>> m_bands;
};

ReportDocument::ReportDocument(const ReportProject& project, const ReportLayout& report, ParamMap params, int lastPage)
    : m_project(project), m_report(report), m_params(std::move(params)), m_lastPage(std::max(1, lastPage))
{
}

ReportDocument::~ReportDocument() = default;

int ReportDocument::lastPage() const
{
    if (!m_range) {
        if (m_params.value(QStringLiteral("timbrado")).isEmpty() && m_logo.isNull()) {
            m_range = m_lastPage;
        } else {
            const PageSetup& s = m_project.setup;
            const auto [w, h] = PaperSize(s.paper, s.landscape);
            m_range = Pages(*this, QSizeF(w - s.margins[0] - s.margins[2], h - s.margins[1] - s.margins[3])).range();
        }
    }
    return *m_range;
}

QPageLayout ReportDocument::pageLayout() const
{
    const PageSetup& s = m_project.setup;
    QPageSize size(QPageSize::A4);
    if (s.paper == QLatin1String("A5"))
        size = QPageSize(QPageSize::A5);
    else if (s.paper == QLatin1String("Letter"))
        size = QPageSize(QPageSize::Letter);
    else if (s.paper == QLatin1String("Legal"))
        size = QPageSize(QPageSize::Legal);
    const auto& m = s.margins;
    return QPageLayout(size, s.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(m[0], m[1], m[2], m[3]),
                       QPageLayout::Millimeter);
}

QList<LaidPage> ReportDocument::layout(const QSizeF& areaMm) const
{
    const Pages pages(*this, areaMm);
    QList<LaidPage> out;
    for (int n = 1; n <= pages.count(); ++n)
        out.append(pages.texts(n));
    return out;
}

bool ReportDocument::bandsFit() const
{
    const PageSetup& s = m_project.setup;
    const auto [w, h] = PaperSize(s.paper, s.landscape);
    const Pages pages(*this, QSizeF(w - s.margins[0] - s.margins[2], h - s.margins[1] - s.margins[3]), false);
    return pages.bandsFit();
}

int ReportDocument::print(QPagedPaintDevice& device, int from, int to, const ProgressFn& progress,
                          QList<LaidPage>* laidOut) const
{
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Millimeter);
    const Pages pages(*this, area.size());
    const int count = pages.count();
    from = std::max(1, from);
    to = to <= 0 || to >= lastPage() ? count : std::min(to, count);

    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    int painted = 0;
    for (int n = from; n <= to; ++n) {
        if (progress && !progress(n, count))
            break;
        if (painted > 0)
            device.newPage();
        pages.paint(painter, n, device.logicalDpiY());
        if (laidOut)
            laidOut->append(pages.texts(n));
        ++painted;
    }
    painter.end();
    return painted;
}

void CheckBands(const ReportProject& project)
{
    // The bands are shared: the report with the longest title has the tallest.
    const ReportLayout* longest = nullptr;
    for (const ReportLayout& r : project.reports)
        if (!longest || r.title.size() > longest->title.size())
            longest = &r;
    if (longest && !ReportDocument(project, *longest, {}, 1).bandsFit())
            FailAt(project.headerLine > 0 ? project.headerLine : project.footerLine,
                   QStringLiteral("o cabeçalho e o rodapé ocupam quase toda a página e não deixam espaço para o relatório"));
}

QString ProposedPdfName(const ParamMap& params, const QString& title)
{
    const QString nome = params.value(QStringLiteral("nome"));
    const qsizetype at = nome.indexOf(QStringLiteral(":  "));
    QStringList parts = (at < 0 ? QString() : nome.mid(at + 3)).split(QStringLiteral("  -  "), Qt::SkipEmptyParts);
    if (const QString stage = params.value(QStringLiteral("fase")).trimmed(); !stage.isEmpty() && !parts.contains(stage))
        parts << stage;
    for (QString& p : parts)
        p = p.trimmed();
    parts.removeAll(QString());
    QString name = parts.isEmpty() ? title : parts.join(u'-') + QStringLiteral(" - ") + title;
    static const QRegularExpression forbidden(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
    name.replace(forbidden, QStringLiteral("_"));
    return name + QStringLiteral(".pdf");
}

QString ReportDocument::fileName() const { return ProposedPdfName(m_params, m_report.title); }

}  // namespace qv::report
