// The model file: "QUORVEL MODELO DE PONTOS\n", the format's version (32 bits), the length of the
// contents (64 bits), their SHA-256, then the contents in Qt's data stream format: when it learned,
// the landmarks learned, the tracings learned from, the accuracy, and the two stages' trees as
// dlib writes them, compressed with zlib (a third smaller).

#include "proposals/LandmarkLearner.h"

#include "proposals/ShapeStages.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>

namespace qv {

namespace {

const QByteArray kMagic = QByteArrayLiteral("QUORVEL MODELO DE PONTOS\n");
constexpr quint32 kVersion = 1;
constexpr auto kStream = QDataStream::Qt_6_0;
constexpr int kHeader = 25 + 4 + 8 + 32;

QString Damaged() { return QStringLiteral("está danificado"); }

}  // namespace

QByteArray EncodeModel(const ProposalModel& model)
{
    QByteArray contents;
    {
        QDataStream out(&contents, QIODevice::WriteOnly);
        out.setVersion(kStream);
        out << model.learnedAt.toUTC().toString(Qt::ISODate);
        out << qint32(model.landmarks.size());
        for (Landmark l : model.landmarks)
            out << LandmarkCode(l);
        out << qint32(model.cases.size());
        for (const LearnedCase& c : model.cases)
            out << c.name << c.digest;
        const ProposalAccuracy& a = model.accuracy;
        out << qint32(a.tracings) << qint32(a.folds) << qint32(a.landmarks.size());
        for (const LandmarkAccuracy& l : a.landmarks)
            out << LandmarkCode(l.landmark) << qint32(l.tracings) << l.meanErrorMm << l.within2mm << l.within4mm;
        out << qCompress(model.stages ? SerializeStages(*model.stages) : QByteArray());
    }
    QByteArray bytes = kMagic;
    QDataStream header(&bytes, QIODevice::Append);
    header.setVersion(kStream);
    header << kVersion << quint64(contents.size());
    bytes += QCryptographicHash::hash(contents, QCryptographicHash::Sha256);
    bytes += contents;
    return bytes;
}

DecodedModel DecodeModel(const QByteArray& bytes)
{
    DecodedModel out;
    if (!bytes.startsWith(kMagic)) {
        out.error = QStringLiteral("não é um modelo de pontos deste programa");
        return out;
    }
    if (bytes.size() < kHeader) {
        out.error = Damaged();
        return out;
    }
    QDataStream header(bytes.mid(kMagic.size(), 12));
    header.setVersion(kStream);
    quint32 version = 0;
    quint64 length = 0;
    header >> version >> length;
    if (version != kVersion) {
        out.error = QStringLiteral("foi gravado em outro formato (versão %1), que esta versão do programa não lê")
                        .arg(version);
        return out;
    }
    const QByteArray contents = bytes.mid(kHeader);
    if (quint64(contents.size()) != length ||
        QCryptographicHash::hash(contents, QCryptographicHash::Sha256) != bytes.mid(kHeader - 32, 32)) {
        out.error = Damaged();
        return out;
    }

    QDataStream in(contents);
    in.setVersion(kStream);
    ProposalModel model;
    QString learnedAt;
    qint32 count = 0;
    in >> learnedAt >> count;
    model.learnedAt = QDateTime::fromString(learnedAt, Qt::ISODate);
    auto readLandmark = [&](std::optional<Landmark>& l) {
        QString code;
        in >> code;
        l = LandmarkFromCode(code);
        return l.has_value();
    };
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        std::optional<Landmark> l;
        if (!readLandmark(l) || model.knows(*l)) {
            out.error = Damaged();
            return out;
        }
        model.landmarks.push_back(*l);
    }
    in >> count;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        LearnedCase c;
        in >> c.name >> c.digest;
        model.cases.push_back(c);
    }
    in >> model.accuracy.tracings >> model.accuracy.folds >> count;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        std::optional<Landmark> l;
        LandmarkAccuracy a;
        if (!readLandmark(l)) {
            out.error = Damaged();
            return out;
        }
        a.landmark = *l;
        in >> a.tracings >> a.meanErrorMm >> a.within2mm >> a.within4mm;
        model.accuracy.landmarks.push_back(a);
    }
    QByteArray stages;
    in >> stages;
    if (in.status() != QDataStream::Ok || !in.atEnd() || model.landmarks.empty() || !model.learnedAt.isValid()) {
        out.error = Damaged();
        return out;
    }
    model.stages = DeserializeStages(qUncompress(stages), model.landmarks.size());
    if (!model.stages) {
        out.error = Damaged();
        return out;
    }
    out.model = std::move(model);
    return out;
}

}  // namespace qv
