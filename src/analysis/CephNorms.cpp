#include "analysis/CephNorms.h"

#include "entry/RealEntry.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace qv {

namespace {

const QString kFormat = QStringLiteral("quorvel-normas");
constexpr double kLargest = 1000;  // no angle, distance or ratio of a face reaches it

QString parseReason(QJsonParseError::ParseError e)
{
    switch (e) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("objeto sem \"}\" de fechamento");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("falta \":\" depois do nome");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("lista sem \"]\" de fechamento");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("falta \",\" entre dois valores");
    case QJsonParseError::IllegalValue:
        return QStringLiteral("valor inválido");
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("o texto termina no meio de um número");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("número inválido");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("sequência de escape inválida");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("texto que não é UTF-8");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("texto sem aspas de fechamento");
    case QJsonParseError::MissingObject:
        return QStringLiteral("esperado um objeto");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("aninhamento profundo demais");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("arquivo grande demais");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("texto depois do fim do conteúdo");
    case QJsonParseError::NoError:
        break;
    }
    return QStringLiteral("conteúdo inválido");
}

int lineAt(const QByteArray& bytes, qsizetype offset)
{
    return int(bytes.left(std::clamp<qsizetype>(offset, 0, bytes.size())).count('\n')) + 1;
}

// Where a name stands as a key, searching from `from`; the line of `from` when it is not found
// as written (a name given with escapes).
qsizetype keyAt(const QByteArray& bytes, const QString& key, qsizetype from)
{
    const qsizetype at = bytes.indexOf('"' + key.toUtf8() + '"', from);
    return at < 0 ? from : at;
}

DecodedNorms refuse(const QByteArray& bytes, qsizetype offset, const QString& why)
{
    return {CephNorms::defaults(), QStringLiteral("linha %1: %2").arg(lineAt(bytes, offset)).arg(why)};
}

std::optional<Ceph> measureNamed(CephAnalysis a, const QString& caption)
{
    for (Ceph m : MeasuresOf(a))
        if (Caption(m) == caption)
            return m;
    return std::nullopt;
}

std::optional<CephAnalysis> analysisNamed(const QString& title)
{
    for (int i = 0; i < kCephAnalysisCount; ++i)
        if (Title(CephAnalysis(i)) == title)
            return CephAnalysis(i);
    return std::nullopt;
}

}  // namespace

CephNorms CephNorms::defaults()
{
    CephNorms n;
    for (int i = 0; i < kCephCount; ++i)
        n.m_norms[size_t(i)] = Info(Ceph(i)).norm;
    return n;
}

bool IsSaneNorm(const CephNorm& n)
{
    return std::isfinite(n.mean) && std::isfinite(n.sd) && std::abs(n.mean) <= kLargest && n.sd > 0 &&
           n.sd <= kLargest;
}

DecodedNorms DecodeNorms(const QByteArray& bytes)
{
    if (bytes.trimmed().isEmpty())
        return refuse(bytes, 0, QStringLiteral("o arquivo está vazio"));
    QJsonParseError parse{};
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return refuse(bytes, parse.offset, parseReason(parse.error));
    const QJsonObject root = json.object();
    if (!json.isObject() || root.value(QStringLiteral("formato")).toString() != kFormat)
        return refuse(bytes, 0, QStringLiteral("não é um arquivo de normas (falta \"formato\": \"quorvel-normas\")"));
    if (root.value(QStringLiteral("versao")).toInt(-1) != 1)
        return refuse(bytes, keyAt(bytes, QStringLiteral("versao"), 0),
                      QStringLiteral("versão desconhecida (este programa lê a versão 1)"));
    const QJsonValue all = root.value(QStringLiteral("normas"));
    if (!all.isObject())
        return refuse(bytes, keyAt(bytes, QStringLiteral("normas"), 0), QStringLiteral("\"normas\" deve ser um objeto"));

    CephNorms norms = CephNorms::defaults();
    const qsizetype start = keyAt(bytes, QStringLiteral("normas"), 0);
    const QJsonObject analyses = all.toObject();
    for (auto a = analyses.begin(); a != analyses.end(); ++a) {
        const qsizetype at = keyAt(bytes, a.key(), start);
        const auto analysis = analysisNamed(a.key());
        if (!analysis)
            return refuse(bytes, at, QStringLiteral("análise desconhecida: \"%1\"").arg(a.key()));
        if (!a.value().isObject())
            return refuse(bytes, at, QStringLiteral("\"%1\" deve ser um objeto").arg(a.key()));
        const QJsonObject measures = a.value().toObject();
        for (auto m = measures.begin(); m != measures.end(); ++m) {
            const qsizetype mat = keyAt(bytes, m.key(), at);
            const auto measure = measureNamed(*analysis, m.key());
            if (!measure)
                return refuse(bytes, mat, QStringLiteral("medida desconhecida em %1: \"%2\"").arg(a.key(), m.key()));
            if (m.value().isNull()) {
                norms.set(*measure, std::nullopt);
                continue;
            }
            const QJsonObject o = m.value().toObject();
            const QJsonValue mean = o.value(QStringLiteral("media")), sd = o.value(QStringLiteral("dp"));
            if (!m.value().isObject() || !mean.isDouble() || !sd.isDouble() || o.size() != 2)
                return refuse(bytes, mat, QStringLiteral("%1 %2: esperado {\"media\": número, \"dp\": número} ou null")
                                              .arg(a.key(), m.key()));
            const CephNorm n{mean.toDouble(), sd.toDouble()};
            if (!IsSaneNorm(n))
                return refuse(bytes, mat, QStringLiteral("%1 %2: a média deve estar entre -1000 e 1000 e o desvio-padrão "
                                                         "ser maior que zero e até 1000")
                                              .arg(a.key(), m.key()));
            norms.set(*measure, n);
        }
    }
    return {norms, {}};
}

QByteArray EncodeNorms(const CephNorms& norms)
{
    QJsonObject analyses;
    for (int i = 0; i < kCephAnalysisCount; ++i) {
        const CephAnalysis a = CephAnalysis(i);
        QJsonObject measures;
        for (Ceph m : MeasuresOf(a)) {
            const auto& n = norms[m];
            measures.insert(Caption(m), n ? QJsonValue(QJsonObject{{QStringLiteral("media"), n->mean},
                                                                   {QStringLiteral("dp"), n->sd}})
                                          : QJsonValue(QJsonValue::Null));
        }
        analyses.insert(Title(a), measures);
    }
    QJsonObject root;
    root.insert(QStringLiteral("formato"), kFormat);
    root.insert(QStringLiteral("versao"), 1);
    root.insert(QStringLiteral("normas"), analyses);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<Deviation> DeviationOf(double value, const std::optional<CephNorm>& norm)
{
    if (!norm || !IsSaneNorm(*norm) || !std::isfinite(value))
        return std::nullopt;
    // As the clinician reads it: the value as shown (one decimal) against mean and deviation.
    const double shown = ParseReal(F1(value));
    const double off = std::abs(shown - norm->mean);
    constexpr double kSlack = 1e-9;  // 91.4 - 87.8 is 3.6 on paper, a hair more in binary
    const Deviation::Level level = off > 2 * norm->sd + kSlack ? Deviation::Beyond2
                                   : off > norm->sd + kSlack  ? Deviation::Beyond1
                                                              : Deviation::Within;
    return Deviation{(shown - norm->mean) / norm->sd, level};
}

QString DeviationText(const Deviation& d)
{
    // Two decimals: 84.1 against 82 ± 2 lies outside, and reads +1.05 rather than a puzzling +1.0.
    QString t = FormatReal(0, 2, d.sds);
    if (ParseReal(t) == 0)
        t = QStringLiteral("0.00");
    else if (!t.startsWith(u'-'))
        t.prepend(u'+');
    return t + QStringLiteral(" DP");
}

QString NormText(const std::optional<CephNorm>& norm)
{
    if (!norm)
        return {};
    return F1(norm->mean) + QStringLiteral(" ± ") + F1(norm->sd);
}

}  // namespace qv
