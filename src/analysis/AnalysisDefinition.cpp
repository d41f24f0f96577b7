#include "analysis/AnalysisDefinition.h"

#include "analysis/JsonLines.h"
#include "analysis/TracingGeometry.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace qv {

namespace {

using L = Landmark;

const QString kFormat = QStringLiteral("quorvel-analise");
constexpr double kLargest = 1000;     // no angle, distance or ratio of a face reaches it
constexpr double kSmallestSd = 1e-3;  // a deviation measured against less is no deviation at all

// The Tweed tracing's twelve, by the captions the Tweed-Merrifield analysis shows them with.
constexpr const char* kTweedNames[kMeasureCount] = {"FMA", "FMIA", "IMPA", "Pl. ocl.-Hf", "SNA", "SNB",
                                                    "AO-BO", "Ang. Z", "LS", "QT", "AFA", "AFP"};

struct Refusal {
    int line;
    QString why;
};
[[noreturn]] void refuse(const JsonNode& at, const QString& why) { throw Refusal{at.line, why}; }

const JsonNode& need(const JsonNode& object, const char* name)
{
    const JsonNode* n = object.member(QLatin1String(name));
    if (!n)
        refuse(object, QStringLiteral("falta \"%1\"").arg(QLatin1String(name)));
    return *n;
}

void onlyNames(const JsonNode& object, std::initializer_list<const char*> allowed)
{
    for (const auto& [key, node] : object.members) {
        bool known = false;
        for (const char* a : allowed)
            known = known || key == QLatin1String(a);
        if (!known)
            refuse(node, QStringLiteral("nome desconhecido: \"%1\"").arg(key));
    }
}

const QString& text(const JsonNode& n, const QString& what)
{
    if (!n.isString() || n.text.trimmed().isEmpty())
        refuse(n, QStringLiteral("%1 deve ser um texto não vazio").arg(what));
    return n.text;
}

class Reader {
public:
    explicit Reader(AnalysisDefinition& a) : m_a(a) {}

    void read(const JsonNode& root)
    {
        if (!root.isObject())
            refuse(root, QStringLiteral("esperado um objeto"));
        const JsonNode* format = root.member(QStringLiteral("formato"));
        if (!format || !format->isString() || format->text != kFormat)
            refuse(format ? *format : root,
                   QStringLiteral("não é uma definição de análise (falta \"formato\": \"quorvel-analise\")"));
        const JsonNode& version = need(root, "versao");
        if (!version.isNumber() || version.number != 1)
            refuse(version, QStringLiteral("versão desconhecida (este programa lê a versão 1)"));
        onlyNames(root, {"formato", "versao", "titulo", "pontos", "construidos", "medidas"});
        m_a.title = text(need(root, "titulo"), QStringLiteral("\"titulo\"")).trimmed();

        const JsonNode& points = need(root, "pontos");
        if (!points.isArray() || points.items.empty())
            refuse(points, QStringLiteral("\"pontos\" deve ser uma lista de códigos de pontos"));
        for (const JsonNode& p : points.items) {
            const auto l = LandmarkFromCode(text(p, QStringLiteral("um ponto")));
            if (!l)
                refuse(p, QStringLiteral("ponto desconhecido: \"%1\"").arg(p.text));
            m_listed.insert(*l);
        }
        m_a.landmarks.assign(m_listed.begin(), m_listed.end());

        if (const JsonNode* c = root.member(QStringLiteral("construidos")))
            readConstructed(*c);
        const JsonNode& measures = need(root, "medidas");
        if (!measures.isArray() || measures.items.empty())
            refuse(measures, QStringLiteral("\"medidas\" deve ser uma lista não vazia"));
        readMeasures(measures);
    }

private:
    // --- constructed points ---

    void readConstructed(const JsonNode& list)
    {
        if (!list.isArray())
            refuse(list, QStringLiteral("\"construidos\" deve ser uma lista"));
        // Names first, so a point may be built from one listed after it.
        for (const JsonNode& c : list.items) {
            if (!c.isObject())
                refuse(c, QStringLiteral("um ponto construído deve ser um objeto"));
            const QString& name = text(need(c, "nome"), QStringLiteral("\"nome\""));
            if (LandmarkFromCode(name) || m_pointNames.count(name))
                refuse(c, QStringLiteral("o nome \"%1\" já é de outro ponto").arg(name));
            m_pointNames[name] = int(m_pointNames.size());
        }
        std::vector<ConstructedPoint> read;
        std::vector<std::vector<int>> uses(list.items.size());
        for (size_t i = 0; i < list.items.size(); ++i) {
            const JsonNode& c = list.items[i];
            ConstructedPoint p;
            p.name = c.member(QStringLiteral("nome"))->text;
            const QString& op = text(need(c, "op"), QStringLiteral("\"op\""));
            if (op == QLatin1String("foot")) {
                onlyNames(c, {"nome", "op", "point", "line"});
                p.op = PointOp::Foot;
                p.p[0] = point(need(c, "point"));
                pair(need(c, "line"), p.p[1], p.p[2]);
            } else if (op == QLatin1String("intersection")) {
                onlyNames(c, {"nome", "op", "line1", "line2"});
                p.op = PointOp::Intersection;
                pair(need(c, "line1"), p.p[0], p.p[1]);
                pair(need(c, "line2"), p.p[2], p.p[3]);
            } else if (op == QLatin1String("midpoint")) {
                onlyNames(c, {"nome", "op", "points"});
                p.op = PointOp::Midpoint;
                pair(need(c, "points"), p.p[0], p.p[1]);
            } else if (op == QLatin1String("ramus_centre")) {
                onlyNames(c, {"nome", "op"});
                p.op = PointOp::RamusCentre;
                for (L l : {L::R1, L::R2, L::R3, L::R4, L::Po, L::Or})
                    listed(c, l);
            } else {
                refuse(c, QStringLiteral("operação desconhecida para um ponto: \"%1\"").arg(op));
            }
            for (const PointRef& r : p.p)
                if (r.constructed())
                    uses[i].push_back(r.index - kLandmarkCount);
            read.push_back(p);
        }
        // Each point after those it is built from; a point built from itself, even by a detour, is refused.
        std::vector<int> order = topological(uses, [&](int i) {
            refuse(list.items[size_t(i)], QStringLiteral("o ponto \"%1\" é construído a partir de si mesmo").arg(read[size_t(i)].name));
        });
        std::vector<int> newIndex(read.size());
        for (size_t k = 0; k < order.size(); ++k)
            newIndex[size_t(order[k])] = int(k);
        for (int i : order) {
            ConstructedPoint p = read[size_t(i)];
            for (PointRef& r : p.p)
                if (r.constructed())
                    r.index = kLandmarkCount + newIndex[size_t(r.index - kLandmarkCount)];
            m_a.constructed.push_back(p);
        }
        for (auto& [name, index] : m_pointNames)
            index = newIndex[size_t(index)];
    }

    template <class OnLoop>
    static std::vector<int> topological(const std::vector<std::vector<int>>& uses, OnLoop onLoop)
    {
        std::vector<int> state(uses.size(), 0), order;  // 0 unseen, 1 on the path, 2 done
        std::function<void(int)> visit = [&](int i) {
            if (state[size_t(i)] == 2)
                return;
            if (state[size_t(i)] == 1)
                onLoop(i);
            state[size_t(i)] = 1;
            for (int u : uses[size_t(i)])
                visit(u);
            state[size_t(i)] = 2;
            order.push_back(i);
        };
        for (size_t i = 0; i < uses.size(); ++i)
            visit(int(i));
        return order;
    }

    void listed(const JsonNode& at, L l)
    {
        if (!m_listed.count(l))
            refuse(at, QStringLiteral("o ponto %1 é usado mas não está em \"pontos\"").arg(LandmarkCode(l)));
    }

    PointRef point(const JsonNode& n)
    {
        const QString& name = text(n, QStringLiteral("um ponto"));
        if (const auto l = LandmarkFromCode(name)) {
            listed(n, *l);
            return {int(*l)};
        }
        const auto c = m_pointNames.find(name);
        if (c == m_pointNames.end())
            refuse(n, QStringLiteral("ponto desconhecido: \"%1\"").arg(name));
        return {kLandmarkCount + c->second};
    }

    void pair(const JsonNode& n, PointRef& a, PointRef& b)
    {
        if (!n.isArray() || n.items.size() != 2)
            refuse(n, QStringLiteral("esperada uma lista de dois pontos"));
        a = point(n.items[0]);
        b = point(n.items[1]);
    }

    // --- measures ---

    void readMeasures(const JsonNode& list)
    {
        std::map<QString, int> captions;
        for (const JsonNode& m : list.items) {
            if (!m.isObject())
                refuse(m, QStringLiteral("uma medida deve ser um objeto"));
            const QString caption = text(need(m, "rotulo"), QStringLiteral("\"rotulo\"")).trimmed();
            if (captions.count(caption))
                refuse(m, QStringLiteral("a medida \"%1\" aparece duas vezes").arg(caption));
            captions[caption] = int(captions.size());
            m_captions.push_back(caption);
        }
        std::vector<std::vector<int>> uses(list.items.size());
        for (size_t i = 0; i < list.items.size(); ++i) {
            const JsonNode& m = list.items[i];
            onlyNames(m, {"rotulo", "unidade", "norma", "valor"});
            MeasureDefinition d;
            d.caption = m_captions[i];
            const QString& unit = text(need(m, "unidade"), QStringLiteral("\"unidade\""));
            if (unit == QStringLiteral("°"))
                d.unit = CephUnit::Degree;
            else if (unit == QLatin1String("mm"))
                d.unit = CephUnit::Millimetre;
            else if (unit == QLatin1String("%"))
                d.unit = CephUnit::Percent;
            else
                refuse(need(m, "unidade"), QStringLiteral("unidade desconhecida: \"%1\" (use \"°\", \"mm\" ou \"%\")").arg(unit));
            if (const JsonNode* n = m.member(QStringLiteral("norma")); n && n->kind != JsonNode::Null)
                d.norm = norm(*n, d.caption);
            m_uses = &uses[i];
            m_captionIndex = &captions;
            d.root = expr(need(m, "valor"), 0);
            m_a.measures.push_back(d);
        }
        m_a.order = topological(uses, [&](int i) {
            refuse(list.items[size_t(i)], QStringLiteral("a medida \"%1\" depende de si mesma").arg(m_captions[size_t(i)]));
        });
        for (int i : m_a.order)
            m_a.measures[size_t(i)].landmarks = landmarksOf(i);
    }

    CephNorm norm(const JsonNode& n, const QString& caption)
    {
        const JsonNode* mean = n.member(QStringLiteral("media"));
        const JsonNode* sd = n.member(QStringLiteral("dp"));
        if (!n.isObject() || !mean || !sd || !mean->isNumber() || !sd->isNumber() || n.members.size() != 2)
            refuse(n, QStringLiteral("%1: esperado {\"media\": número, \"dp\": número} ou null").arg(caption));
        const CephNorm v{mean->number, sd->number};
        if (!IsSaneNormValue(v))
            refuse(n, QStringLiteral("%1: a média deve estar entre -1000 e 1000 e o desvio-padrão entre 0,001 e 1000").arg(caption));
        return v;
    }

public:
    static bool IsSaneNormValue(const CephNorm& n)
    {
        return std::isfinite(n.mean) && std::isfinite(n.sd) && std::abs(n.mean) <= kLargest && n.sd >= kSmallestSd &&
               n.sd <= kLargest;
    }

private:
    int add(Expr e)
    {
        m_a.exprs.push_back(std::move(e));
        return int(m_a.exprs.size()) - 1;
    }

    int expr(const JsonNode& n, int depth)
    {
        if (depth > 16)
            refuse(n, QStringLiteral("expressão aninhada demais"));
        if (n.isNumber()) {
            if (std::abs(n.number) > kLargest)
                refuse(n, QStringLiteral("número fora do alcance de uma medida"));
            Expr e;
            e.number = n.number;
            return add(e);
        }
        if (!n.isObject())
            refuse(n, QStringLiteral("esperada uma operação ({\"op\": ...}) ou um número"));
        const QString& op = text(need(n, "op"), QStringLiteral("\"op\""));
        Expr e;
        auto points = [&](const char* key, int first) { pair(need(n, key), e.p[size_t(first)], e.p[size_t(first) + 1]); };
        auto args = [&](const char* key, size_t least, size_t most) {
            const JsonNode& list = need(n, key);
            if (!list.isArray() || list.items.size() < least || list.items.size() > most)
                refuse(list, least == most ? QStringLiteral("\"%1\" deve ter %2 termos").arg(QLatin1String(key)).arg(least)
                                           : QStringLiteral("\"%1\" deve ter de %2 a %3 termos").arg(QLatin1String(key)).arg(least).arg(most));
            for (const JsonNode& a : list.items)
                e.args.push_back(expr(a, depth + 1));
        };
        auto one = [&](const char* key) { e.args.push_back(expr(need(n, key), depth + 1)); };
        if (op == QLatin1String("tweed")) {
            onlyNames(n, {"op", "measure"});
            e.op = ExprOp::Tweed;
            const QString& name = text(need(n, "measure"), QStringLiteral("\"measure\""));
            int found = -1;
            for (int i = 0; i < kMeasureCount; ++i)
                if (name == QString::fromUtf8(kTweedNames[i]))
                    found = i;
            if (found < 0)
                refuse(n, QStringLiteral("medida de Tweed desconhecida: \"%1\"").arg(name));
            e.tweed = qv::Measure(found);
            for (L l : RequiredLandmarks(e.tweed))
                listed(n, l);
        } else if (op == QLatin1String("measure")) {
            onlyNames(n, {"op", "caption"});
            e.op = ExprOp::Measure;
            const QString& caption = text(need(n, "caption"), QStringLiteral("\"caption\""));
            const auto at = m_captionIndex->find(caption.trimmed());
            if (at == m_captionIndex->end())
                refuse(n, QStringLiteral("medida desconhecida nesta análise: \"%1\"").arg(caption));
            e.measure = at->second;
            m_uses->push_back(at->second);
        } else if (op == QLatin1String("angle")) {
            onlyNames(n, {"op", "u", "v"});
            e.op = ExprOp::Angle;
            points("u", 0);
            points("v", 2);
        } else if (op == QLatin1String("angle_at")) {
            onlyNames(n, {"op", "vertex", "points"});
            e.op = ExprOp::AngleAt;
            e.p[0] = point(need(n, "vertex"));
            points("points", 1);
        } else if (op == QLatin1String("acute_angle")) {
            onlyNames(n, {"op", "line1", "line2"});
            e.op = ExprOp::AcuteAngle;
            points("line1", 0);
            points("line2", 2);
        } else if (op == QLatin1String("distance")) {
            onlyNames(n, {"op", "point", "line"});
            e.op = ExprOp::Distance;
            e.p[0] = point(need(n, "point"));
            points("line", 1);
            listed(n, L::S);
            listed(n, L::N);
        } else if (op == QLatin1String("length")) {
            onlyNames(n, {"op", "points"});
            e.op = ExprOp::Length;
            points("points", 0);
        } else if (op == QLatin1String("along_fh")) {
            onlyNames(n, {"op", "point", "from"});
            e.op = ExprOp::AlongFh;
            e.p[0] = point(need(n, "point"));
            e.p[1] = point(need(n, "from"));
            listed(n, L::Po);
            listed(n, L::Or);
        } else if (op == QLatin1String("ratio") || op == QLatin1String("difference")) {
            onlyNames(n, {"op", "of"});
            e.op = op == QLatin1String("ratio") ? ExprOp::Ratio : ExprOp::Difference;
            args("of", 2, 2);
        } else if (op == QLatin1String("sum")) {
            onlyNames(n, {"op", "of"});
            e.op = ExprOp::Sum;
            args("of", 2, 8);
        } else if (op == QLatin1String("supplement") || op == QLatin1String("negate")) {
            onlyNames(n, {"op", "of"});
            e.op = op == QLatin1String("supplement") ? ExprOp::Supplement : ExprOp::Negate;
            one("of");
        } else if (op == QLatin1String("with_sign_of")) {
            onlyNames(n, {"op", "value", "sign"});
            e.op = ExprOp::WithSignOf;
            one("value");
            one("sign");
        } else {
            refuse(n, QStringLiteral("operação desconhecida: \"%1\"").arg(op));
        }
        return add(e);
    }

    // --- what a measure rests on ---

    void pointLandmarks(PointRef r, std::set<L>& out) const
    {
        if (!r.constructed()) {
            out.insert(L(r.index));
            return;
        }
        const ConstructedPoint& c = m_a.constructed[size_t(r.index - kLandmarkCount)];
        if (c.op == PointOp::RamusCentre) {
            out.insert({L::R1, L::R2, L::R3, L::R4, L::Po, L::Or});
            return;
        }
        const int used = c.op == PointOp::Intersection ? 4 : c.op == PointOp::Foot ? 3 : 2;
        for (int i = 0; i < used; ++i)
            pointLandmarks(c.p[size_t(i)], out);
    }

    void exprLandmarks(int index, std::set<L>& out) const
    {
        const Expr& e = m_a.exprs[size_t(index)];
        int used = 0;  // how many of p[] the operation reads
        switch (e.op) {
        case ExprOp::Angle:
        case ExprOp::AcuteAngle:
            used = 4;
            break;
        case ExprOp::AngleAt:
        case ExprOp::Distance:
            used = 3;
            break;
        case ExprOp::Length:
        case ExprOp::AlongFh:
            used = 2;
            break;
        default:
            break;
        }
        for (int i = 0; i < used; ++i)
            pointLandmarks(e.p[size_t(i)], out);
        if (e.op == ExprOp::Distance)
            out.insert({L::S, L::N});  // S->N tells which side is anterior
        if (e.op == ExprOp::AlongFh)
            out.insert({L::Po, L::Or});
        if (e.op == ExprOp::Tweed)
            for (L l : RequiredLandmarks(e.tweed))
                out.insert(l);
        if (e.op == ExprOp::Measure) {
            const auto& from = m_a.measures[size_t(e.measure)].landmarks;
            out.insert(from.begin(), from.end());
        }
        for (int a : e.args)
            exprLandmarks(a, out);
    }

    std::vector<L> landmarksOf(int measure) const
    {
        std::set<L> out;
        exprLandmarks(m_a.measures[size_t(measure)].root, out);
        return {out.begin(), out.end()};
    }

    AnalysisDefinition& m_a;
    std::set<L> m_listed;
    std::map<QString, int> m_pointNames;
    std::vector<QString> m_captions;
    std::vector<int>* m_uses = nullptr;
    const std::map<QString, int>* m_captionIndex = nullptr;
};

}  // namespace

bool IsSaneNorm(const CephNorm& n) { return Reader::IsSaneNormValue(n); }

QString UnitText(CephUnit u)
{
    switch (u) {
    case CephUnit::Degree:
        return QStringLiteral("°");
    case CephUnit::Millimetre:
        return QStringLiteral("mm");
    case CephUnit::Percent:
        return QStringLiteral("%");
    }
    return {};
}

ReadDefinition ReadAnalysisDefinition(const QByteArray& utf8, const QString& fileName, bool shipped)
{
    const auto fault = [&](int line, const QString& why) {
        return ReadDefinition{std::nullopt, QStringLiteral("%1, linha %2: %3").arg(fileName).arg(line).arg(why)};
    };
    const JsonParse json = ParseJsonWithLines(utf8);
    if (!json.root)
        return fault(json.line, json.error);
    AnalysisDefinition a;
    a.file = fileName;
    a.shipped = shipped;
    try {
        Reader(a).read(*json.root);
    } catch (const Refusal& r) {
        return fault(r.line, r.why);
    }
    return {std::move(a), {}};
}

}  // namespace qv
