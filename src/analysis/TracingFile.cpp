#include "analysis/TracingFile.h"

#include "records/PatientName.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const QString kFormat = QStringLiteral("quorvel-tracing");

QJsonArray pair(double a, double b) { return QJsonArray{a, b}; }

// Two finite numbers, or none.
std::optional<std::pair<double, double>> readPair(const QJsonValue& v)
{
    if (!v.isArray())
        return std::nullopt;
    const QJsonArray a = v.toArray();
    if (a.size() != 2 || !a[0].isDouble() || !a[1].isDouble())
        return std::nullopt;
    const double x = a[0].toDouble(), y = a[1].toDouble();
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return std::pair{x, y};
}

DecodedTracing fail(const QString& why) { return {std::nullopt, why}; }

QJsonArray codes(const LandmarkFlags& flags, const LandmarkSet& placed)
{
    QJsonArray out;
    for (int i = 0; i < kLandmarkCount; ++i)
        if (flags.test(size_t(i)) && placed.has(LandmarkAt(i)))
            out.append(LandmarkCode(LandmarkAt(i)));
    return out;
}

// A list of landmark codes; codes of points not placed, or that this program does not know, are
// passed over: the flags only qualify points.
LandmarkFlags readCodes(const QJsonValue& v, const LandmarkSet& placed)
{
    LandmarkFlags out;
    for (const QJsonValue& code : v.toArray())
        if (const auto l = LandmarkFromCode(code.toString()); l && placed.has(*l))
            out.set(size_t(Index(*l)));
    return out;
}

}  // namespace

QByteArray EncodeTracing(const TracingDocument& doc)
{
    QJsonObject landmarks;
    for (int i = 0; i < kLandmarkCount; ++i) {
        const Landmark l = LandmarkAt(i);
        if (doc.landmarks.has(l))
            landmarks.insert(LandmarkCode(l), pair(doc.landmarks.at(l).x(), doc.landmarks.at(l).y()));
    }
    QJsonObject o;
    o.insert(QStringLiteral("format"), kFormat);
    o.insert(QStringLiteral("version"), 1);
    o.insert(QStringLiteral("image"), doc.image);
    o.insert(QStringLiteral("mmPerPixel"), doc.calibration.known()
                                               ? QJsonValue(pair(doc.calibration.sx, doc.calibration.sy))
                                               : QJsonValue(QJsonValue::Null));
    o.insert(QStringLiteral("landmarks"), landmarks);
    if (const QJsonArray p = codes(doc.proposed, doc.landmarks); !p.isEmpty())
        o.insert(QStringLiteral("proposed"), p);
    if (const QJsonArray a = codes(doc.accepted & ~doc.proposed, doc.landmarks); !a.isEmpty())
        o.insert(QStringLiteral("acceptedProposals"), a);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

DecodedTracing DecodeTracing(const QByteArray& bytes)
{
    QJsonParseError parse{};
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(QStringLiteral("o conteúdo não é JSON válido (%1, posição %2).").arg(parse.errorString()).arg(parse.offset));
    const QJsonObject o = json.object();
    if (!json.isObject() || o.value(QStringLiteral("format")).toString() != kFormat)
        return fail(QStringLiteral("não é um arquivo de traçado cefalométrico."));
    const QJsonValue version = o.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != 1)
        return fail(QStringLiteral("a versão do arquivo não é suportada."));
    if (!o.value(QStringLiteral("image")).isString())
        return fail(QStringLiteral("o caminho da imagem está ausente."));

    TracingDocument doc;
    doc.image = o.value(QStringLiteral("image")).toString();
    const QJsonValue spacing = o.value(QStringLiteral("mmPerPixel"));
    if (!spacing.isNull()) {
        const auto s = readPair(spacing);
        if (!s || s->first <= 0 || s->second <= 0)
            return fail(QStringLiteral("a calibração (mmPerPixel) é inválida."));
        if (!IsSaneSpacing(s->first) || !IsSaneSpacing(s->second))
            return fail(QStringLiteral("a calibração (mmPerPixel) de %1 × %2 mm por pixel está fora do que uma radiografia "
                                       "pode ter (de %3 a %4).")
                            .arg(s->first)
                            .arg(s->second)
                            .arg(kSmallestSpacing)
                            .arg(kLargestSpacing));
        doc.calibration = {s->first, s->second};
    }
    const QJsonValue landmarks = o.value(QStringLiteral("landmarks"));
    if (!landmarks.isObject())
        return fail(QStringLiteral("a lista de pontos está ausente."));
    const QJsonObject points = landmarks.toObject();
    for (auto it = points.begin(); it != points.end(); ++it) {
        const auto l = LandmarkFromCode(it.key());
        if (!l)
            return fail(QStringLiteral("o ponto \"%1\" é desconhecido.").arg(it.key()));
        const auto p = readPair(it.value());
        if (!p)
            return fail(QStringLiteral("as coordenadas do ponto \"%1\" são inválidas.").arg(it.key()));
        if (std::abs(p->first) > kFarthestCoordinate || std::abs(p->second) > kFarthestCoordinate)
            return fail(QStringLiteral("as coordenadas do ponto \"%1\" estão fora de qualquer radiografia.").arg(it.key()));
        doc.landmarks.set(*l, QPointF(p->first, p->second));
    }
    doc.proposed = readCodes(o.value(QStringLiteral("proposed")), doc.landmarks);
    doc.accepted = readCodes(o.value(QStringLiteral("acceptedProposals")), doc.landmarks) & ~doc.proposed;
    return {doc, {}};
}

QRectF PlausibleArea(QSizeF image)
{
    return QRectF(-image.width(), -image.height(), 3 * image.width(), 3 * image.height());
}

QRectF BlankCanvasArea() { return QRectF(-kBlankCanvasLimit, -kBlankCanvasLimit, 2 * kBlankCanvasLimit, 2 * kBlankCanvasLimit); }

std::optional<Landmark> LandmarkOutside(const LandmarkSet& points, const QRectF& area)
{
    for (int i = 0; i < kLandmarkCount; ++i) {
        const Landmark l = LandmarkAt(i);
        if (!points.has(l))
            continue;
        const QPointF p = points.at(l);
        // Written so that a NaN fails too.
        if (!(p.x() >= area.left() && p.x() <= area.right() && p.y() >= area.top() && p.y() <= area.bottom()))
            return l;
    }
    return std::nullopt;
}

QSize BlankCanvasSize(const LandmarkSet& points)
{
    double right = 1000, bottom = 800;
    for (int i = 0; i < kLandmarkCount; ++i)
        if (points.has(LandmarkAt(i))) {
            right = std::max(right, points.at(LandmarkAt(i)).x() * 1.1);
            bottom = std::max(bottom, points.at(LandmarkAt(i)).y() * 1.1);
        }
    const double limit = kBlankCanvasLimit;
    return QSize(int(std::min(right, limit)), int(std::min(bottom, limit)));
}

namespace {

QString analysesRoot() { return QFileInfo(AnalysesFolder()).canonicalFilePath(); }

}  // namespace

QString StoredImagePath(const QString& imageFile)
{
    const QString root = analysesRoot();
    const QString file = QFileInfo(imageFile).canonicalFilePath();
    if (root.isEmpty() || file.isEmpty())
        return imageFile;
    const QString relative = QDir(root).relativeFilePath(file);
    if (relative.startsWith(QLatin1String("../")) || relative == QLatin1String("..") || QDir::isAbsolutePath(relative))
        return QFileInfo(imageFile).absoluteFilePath();
    return relative;
}

QString ResolveImagePath(const QString& stored, const QString& tracingPath)
{
    if (stored.isEmpty())
        return stored;
    const QFileInfo info(stored);
    if (info.isAbsolute()) {
        if (info.exists())
            return stored;
        const QString moved = AnalysesFolder() + info.fileName();
        return QFileInfo::exists(moved) ? moved : stored;
    }
    for (const QString& candidate : {AnalysesFolder() + stored, stored, QFileInfo(tracingPath).dir().filePath(stored)})
        if (QFileInfo::exists(candidate))
            return candidate;
    return AnalysesFolder() + stored;
}

QString TracingFileName(const QString& patient, const QString& stage)
{
    return AnalysesFolder() + patient + QLatin1Char('-') + stage + QStringLiteral(".tra");
}

}  // namespace qv
