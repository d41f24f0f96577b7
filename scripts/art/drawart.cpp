// Draws the program's pictures (splash, window icon, the two tray icons) into PNG files, and
// with a second folder the desktop icon in the hicolor sizes plus its SVG:
//   quorvel_drawart <output folder> [icon theme folder]
// The PNGs are committed under src/shell/art/ and packaging/icons/ and the program's are
// compiled in as resources; run this again (target quorvel_art) after changing a drawing.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// A molar crown with two roots, in a box of the given size.
QPainterPath toothPath(const QRectF& r)
{
    const double w = r.width(), h = r.height(), x = r.x(), y = r.y();
    QPainterPath p;
    p.moveTo(x + 0.10 * w, y + 0.30 * h);
    p.cubicTo(x + 0.05 * w, y + 0.05 * h, x + 0.30 * w, y + 0.00 * h, x + 0.40 * w, y + 0.08 * h);
    p.cubicTo(x + 0.46 * w, y + 0.12 * h, x + 0.54 * w, y + 0.12 * h, x + 0.60 * w, y + 0.08 * h);
    p.cubicTo(x + 0.70 * w, y + 0.00 * h, x + 0.95 * w, y + 0.05 * h, x + 0.90 * w, y + 0.30 * h);
    p.cubicTo(x + 0.88 * w, y + 0.50 * h, x + 0.80 * w, y + 0.60 * h, x + 0.78 * w, y + 0.80 * h);
    p.cubicTo(x + 0.76 * w, y + 0.98 * h, x + 0.64 * w, y + 1.00 * h, x + 0.62 * w, y + 0.85 * h);
    p.cubicTo(x + 0.60 * w, y + 0.70 * h, x + 0.56 * w, y + 0.58 * h, x + 0.50 * w, y + 0.58 * h);
    p.cubicTo(x + 0.44 * w, y + 0.58 * h, x + 0.40 * w, y + 0.70 * h, x + 0.38 * w, y + 0.85 * h);
    p.cubicTo(x + 0.36 * w, y + 1.00 * h, x + 0.24 * w, y + 0.98 * h, x + 0.22 * w, y + 0.80 * h);
    p.cubicTo(x + 0.20 * w, y + 0.60 * h, x + 0.12 * w, y + 0.50 * h, x + 0.10 * w, y + 0.30 * h);
    p.closeSubpath();
    return p;
}

QImage icon(int size, const QColor& disc, const QColor& tooth)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(size * 0.35, size * 0.3, size * 0.8);
    g.setColorAt(0, disc.lighter(135));
    g.setColorAt(1, disc);
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    p.setBrush(tooth);
    const double m = size * 0.2;
    p.drawPath(toothPath(QRectF(m, m * 0.9, size - 2 * m, size - 2 * m)));
    return img;
}

// The same icon as an SVG drawing (the scalable size of the icon theme).
QByteArray iconSvg(int size, const QColor& disc, const QColor& tooth)
{
    const double m = size * 0.2;
    const QPainterPath path = toothPath(QRectF(m, m * 0.9, size - 2 * m, size - 2 * m));
    QByteArray d;
    const auto pt = [&d](const QPainterPath::Element& e) { d += QByteArray::number(e.x, 'f', 2) + ' ' + QByteArray::number(e.y, 'f', 2) + ' '; };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo())
            d += "M ";
        else if (e.isLineTo())
            d += "L ";
        else if (e.isCurveTo())
            d += "C ";
        pt(e);
    }
    d += "Z";
    const QByteArray n = QByteArray::number(size);
    const QByteArray half = QByteArray::number(size / 2.0), r = QByteArray::number((size - 1) / 2.0);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + n + "\" height=\"" + n + "\" viewBox=\"0 0 " + n + ' ' + n + "\">\n"
           "  <defs>\n    <radialGradient id=\"disc\" gradientUnits=\"userSpaceOnUse\" cx=\"" + QByteArray::number(size * 0.35)
           + "\" cy=\"" + QByteArray::number(size * 0.3) + "\" r=\"" + QByteArray::number(size * 0.8) + "\">\n"
           "      <stop offset=\"0\" stop-color=\"" + disc.lighter(135).name().toLatin1() + "\"/>\n"
           "      <stop offset=\"1\" stop-color=\"" + disc.name().toLatin1() + "\"/>\n    </radialGradient>\n  </defs>\n"
           "  <circle cx=\"" + half + "\" cy=\"" + half + "\" r=\"" + r + "\" fill=\"url(#disc)\"/>\n"
           "  <path fill=\"" + tooth.name().toLatin1() + "\" d=\"" + d + "\"/>\n</svg>\n";
}

// Writes <theme>/<n>x<n>/apps/quorvel.png for the usual sizes and <theme>/scalable/apps/quorvel.svg.
bool iconTheme(const QDir& theme, const QColor& disc, const QColor& tooth)
{
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        ok = theme.mkpath(dir) && icon(size, disc, tooth).save(theme.filePath(dir + QStringLiteral("/quorvel.png"))) && ok;
    }
    QFile svg(theme.filePath(QStringLiteral("scalable/apps/quorvel.svg")));
    ok = theme.mkpath(QStringLiteral("scalable/apps")) && svg.open(QIODevice::WriteOnly)
         && svg.write(iconSvg(256, disc, tooth)) > 0 && ok;
    return ok;
}

QImage splash()
{
    QImage img(700, 381, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient bg(0, 0, 700, 381);
    bg.setColorAt(0, QColor(10, 38, 82));
    bg.setColorAt(1, QColor(18, 96, 128));
    p.fillRect(img.rect(), bg);

    // A faint tracing: the facial profile and the Tweed triangle.
    p.setPen(QPen(QColor(255, 255, 255, 40), 2));
    QPainterPath profile;
    profile.moveTo(470, 20);
    profile.cubicTo(520, 60, 560, 90, 565, 130);
    profile.cubicTo(570, 150, 600, 170, 596, 185);
    profile.cubicTo(592, 200, 572, 200, 575, 215);
    profile.cubicTo(590, 230, 585, 245, 572, 250);
    profile.cubicTo(585, 262, 582, 280, 566, 286);
    profile.cubicTo(575, 310, 560, 340, 520, 350);
    profile.cubicTo(490, 356, 470, 370, 460, 381);
    p.drawPath(profile);
    p.setPen(QPen(QColor(120, 210, 230, 90), 1.5, Qt::DashLine));
    p.drawLine(QPointF(360, 170), QPointF(640, 150));   // Frankfort horizontal
    p.drawLine(QPointF(380, 300), QPointF(620, 250));   // mandibular plane
    p.drawLine(QPointF(560, 330), QPointF(585, 190));   // long axis of the lower incisor
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    for (const QPointF& pt : {QPointF(360, 170), QPointF(640, 150), QPointF(380, 300), QPointF(585, 190)})
        p.drawEllipse(pt, 3, 3);

    // Emblem.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawPath(toothPath(QRectF(48, 70, 88, 96)));

    p.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(58);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    p.setFont(title);
    p.drawText(QRectF(160, 70, 500, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QUORVEL"));

    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(17);
    p.setFont(sub);
    p.setPen(QColor(200, 232, 240));
    p.drawText(QRectF(164, 138, 520, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Diagnóstico e planejamento ortodôntico"));

    p.setPen(QPen(QColor(120, 210, 230), 2));
    p.drawLine(QPointF(48, 196), QPointF(330, 196));

    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPixelSize(15);
    p.setFont(body);
    p.setPen(QColor(235, 245, 250));
    const char* lines[] = {"Análise Cefalométrica de Tweed-Merrifield", "Análise Total do Espaço",
                           "Índice de Dificuldade", "Análise de Bolton", "Histórico e Plano de Tratamento"};
    double y = 212;
    for (const char* l : lines) {
        p.drawText(QRectF(50, y, 420, 22), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(l));
        y += 24;
    }

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(180, 210, 225));
    p.drawText(QRectF(0, 350, 680, 22), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Versão 1.5.0"));
    p.drawText(QRectF(50, 350, 400, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Carregando..."));
    return img;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = splash().save(out.filePath(QStringLiteral("splash.png")));
    ok = icon(64, QColor(16, 70, 120), Qt::white).save(out.filePath(QStringLiteral("quorvel.png"))) && ok;
    ok = icon(16, QColor(16, 70, 120), Qt::white).save(out.filePath(QStringLiteral("tray1.png"))) && ok;
    ok = icon(16, QColor(20, 140, 150), QColor(255, 240, 160)).save(out.filePath(QStringLiteral("tray2.png"))) && ok;
    if (argc == 3)
        ok = iconTheme(QDir(QString::fromLocal8Bit(argv[2])), QColor(16, 70, 120), Qt::white) && ok;
    return ok ? 0 : 1;
}
