#include "analysis/CephNorms.h"

#include "entry/RealEntry.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace qv {

namespace {

const QString kFormat = QStringLiteral("quorvel-normas");

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

}  // namespace

CephNorms CephNorms::defaults(const AnalysisCatalogue& catalogue)
{
    CephNorms n;
    for (const AnalysisDefinition& a : catalogue.analyses) {
        Analysis& out = n.m_analyses.emplace_back();
        out.title = a.title;
        for (const MeasureDefinition& m : a.measures)
            out.measures.push_back({m.caption, m.unit, m.norm, m.norm});
    }
    return n;
}

CephNorms CephNorms::alignedTo(const AnalysisCatalogue& catalogue) const
{
    CephNorms n = defaults(catalogue);
    for (Analysis& a : n.m_analyses)
        for (Entry& m : a.measures)
            if (const auto k = find(a.title, m.caption))
                m.norm = (*this)[*k];
    return n;
}

CephNorms CephNorms::restored() const
{
    CephNorms n = *this;
    for (Analysis& a : n.m_analyses)
        for (Entry& m : a.measures)
            m.norm = m.defined;
    return n;
}

const std::optional<CephNorm>& CephNorms::operator[](CephKey k) const
{
    static const std::optional<CephNorm> none;
    return has(k) ? entry(k).norm : none;
}

void CephNorms::set(CephKey k, std::optional<CephNorm> n)
{
    if (has(k))
        m_analyses[size_t(k.analysis)].measures[size_t(k.measure)].norm = n;
}

std::optional<CephKey> CephNorms::find(const QString& title, const QString& caption) const
{
    for (size_t a = 0; a < m_analyses.size(); ++a)
        if (m_analyses[a].title == title)
            for (size_t m = 0; m < m_analyses[a].measures.size(); ++m)
                if (m_analyses[a].measures[m].caption == caption)
                    return CephKey{int(a), int(m)};
    return std::nullopt;
}

DecodedNorms DecodeNorms(const QByteArray& bytes, const AnalysisCatalogue& catalogue)
{
    const auto refuse = [&](qsizetype offset, const QString& why) {
        return DecodedNorms{CephNorms::defaults(catalogue), QStringLiteral("linha %1: %2").arg(lineAt(bytes, offset)).arg(why)};
    };
    if (bytes.trimmed().isEmpty())
        return refuse(0, QStringLiteral("o arquivo está vazio"));
    QJsonParseError parse{};
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return refuse(parse.offset, parseReason(parse.error));
    const QJsonObject root = json.object();
    if (!json.isObject() || root.value(QStringLiteral("formato")).toString() != kFormat)
        return refuse(0, QStringLiteral("não é um arquivo de normas (falta \"formato\": \"quorvel-normas\")"));
    if (root.value(QStringLiteral("versao")).toInt(-1) != 1)
        return refuse(keyAt(bytes, QStringLiteral("versao"), 0),
                      QStringLiteral("versão desconhecida (este programa lê a versão 1)"));
    const QJsonValue all = root.value(QStringLiteral("normas"));
    if (!all.isObject())
        return refuse(keyAt(bytes, QStringLiteral("normas"), 0), QStringLiteral("\"normas\" deve ser um objeto"));

    CephNorms norms = CephNorms::defaults(catalogue);
    const qsizetype start = keyAt(bytes, QStringLiteral("normas"), 0);
    const QJsonObject analyses = all.toObject();
    for (auto a = analyses.begin(); a != analyses.end(); ++a) {
        const qsizetype at = keyAt(bytes, a.key(), start);
        if (catalogue.indexOf(a.key()) < 0)
            return refuse(at, QStringLiteral("análise desconhecida: \"%1\"").arg(a.key()));
        if (!a.value().isObject())
            return refuse(at, QStringLiteral("\"%1\" deve ser um objeto").arg(a.key()));
        const QJsonObject measures = a.value().toObject();
        for (auto m = measures.begin(); m != measures.end(); ++m) {
            const qsizetype mat = keyAt(bytes, m.key(), at);
            const auto measure = norms.find(a.key(), m.key());
            if (!measure)
                return refuse(mat, QStringLiteral("medida desconhecida em %1: \"%2\"").arg(a.key(), m.key()));
            if (m.value().isNull()) {
                norms.set(*measure, std::nullopt);
                continue;
            }
            const QJsonObject o = m.value().toObject();
            const QJsonValue mean = o.value(QStringLiteral("media")), sd = o.value(QStringLiteral("dp"));
            if (!m.value().isObject() || !mean.isDouble() || !sd.isDouble() || o.size() != 2)
                return refuse(mat, QStringLiteral("%1 %2: esperado {\"media\": número, \"dp\": número} ou null")
                                              .arg(a.key(), m.key()));
            const CephNorm n{mean.toDouble(), sd.toDouble()};
            if (!IsSaneNorm(n))
                return refuse(mat, QStringLiteral("%1 %2: a média deve estar entre -1000 e 1000 e o desvio-padrão "
                                                         "estar entre 0,001 e 1000")
                                              .arg(a.key(), m.key()));
            norms.set(*measure, n);
        }
    }
    return {norms, {}};
}

QByteArray EncodeNorms(const CephNorms& norms)
{
    QJsonObject analyses;
    for (int a = 0; a < norms.analysisCount(); ++a) {
        QJsonObject measures;
        for (int m = 0; m < norms.measureCount(a); ++m) {
            const auto& n = norms[{a, m}];
            measures.insert(norms.caption({a, m}), n ? QJsonValue(QJsonObject{{QStringLiteral("media"), n->mean},
                                                                              {QStringLiteral("dp"), n->sd}})
                                                     : QJsonValue(QJsonValue::Null));
        }
        analyses.insert(norms.title(a), measures);
    }
    QJsonObject root;
    root.insert(QStringLiteral("formato"), kFormat);
    root.insert(QStringLiteral("versao"), 1);
    root.insert(QStringLiteral("normas"), analyses);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace qv
