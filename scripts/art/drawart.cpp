// Draws the program's pictures (splash, window icon, the two tray icons) into PNG files:
//   quorvel_drawart <output folder>
// The PNGs are committed under src/shell/art/ and compiled in as resources; run this
// again (target quorvel_art) after changing a drawing.

#include <QApplication>
#include <QDir>
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
    if (argc != 2)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = splash().save(out.filePath(QStringLiteral("splash.png")));
    ok = icon(64, QColor(16, 70, 120), Qt::white).save(out.filePath(QStringLiteral("quorvel.png"))) && ok;
    ok = icon(16, QColor(16, 70, 120), Qt::white).save(out.filePath(QStringLiteral("tray1.png"))) && ok;
    ok = icon(16, QColor(20, 140, 150), QColor(255, 240, 160)).save(out.filePath(QStringLiteral("tray2.png"))) && ok;
    return ok ? 0 : 1;
}
