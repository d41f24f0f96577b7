#include "analysis/JsonLines.h"

#include <QStringDecoder>

#include <cmath>

namespace qv {

namespace {

constexpr int kDeepest = 64;  // no definition nests this deep; a file that does is not one

struct Fault {
    int line;
    QString why;
};

class Reader {
public:
    explicit Reader(const QByteArray& b) : m_b(b) {}

    JsonNode document()
    {
        skipBlank();
        JsonNode n = value(0);
        skipBlank();
        if (m_at < m_b.size())
            fail(QStringLiteral("texto depois do fim do conteúdo"));
        return n;
    }
    int line() const { return m_line; }

private:
    [[noreturn]] void fail(const QString& why) const { throw Fault{m_line, why}; }

    void skipBlank()
    {
        while (m_at < m_b.size()) {
            const char c = m_b[m_at];
            if (c == '\n')
                ++m_line;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++m_at;
        }
    }
    char peek() const { return m_at < m_b.size() ? m_b[m_at] : '\0'; }
    bool literal(const char* word)
    {
        const QByteArray w(word);
        if (m_b.mid(m_at, w.size()) != w)
            return false;
        m_at += w.size();
        return true;
    }

    JsonNode value(int depth)
    {
        if (depth > kDeepest)
            fail(QStringLiteral("aninhamento profundo demais"));
        JsonNode n;
        n.line = m_line;
        const char c = peek();
        if (c == '{') {
            object(n, depth);
        } else if (c == '[') {
            array(n, depth);
        } else if (c == '"') {
            n.kind = JsonNode::String;
            n.text = string();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            n.kind = JsonNode::Number;
            n.number = number();
        } else if (literal("true") || literal("false")) {
            n.kind = JsonNode::Bool;
            n.boolean = m_b[m_at - 1] == 'e' && m_b[m_at - 2] == 'u';
        } else if (literal("null")) {
            n.kind = JsonNode::Null;
        } else if (c == '\0') {
            fail(QStringLiteral("o texto termina antes do fim do conteúdo"));
        } else {
            fail(QStringLiteral("valor inválido"));
        }
        return n;
    }

    void object(JsonNode& n, int depth)
    {
        n.kind = JsonNode::Object;
        ++m_at;
        skipBlank();
        if (peek() == '}') {
            ++m_at;
            return;
        }
        for (;;) {
            skipBlank();
            if (peek() != '"')
                fail(peek() == '\0' ? QStringLiteral("objeto sem \"}\" de fechamento") : QStringLiteral("esperado um nome entre aspas"));
            const int line = m_line;
            QString name = string();
            if (n.member(name))
                throw Fault{line, QStringLiteral("\"%1\" aparece duas vezes no mesmo objeto").arg(name)};
            skipBlank();
            if (peek() != ':')
                fail(QStringLiteral("falta \":\" depois do nome"));
            ++m_at;
            skipBlank();
            n.members.push_back(JsonMember{std::move(name), value(depth + 1)});
            skipBlank();
            if (peek() == ',') {
                ++m_at;
                continue;
            }
            if (peek() == '}') {
                ++m_at;
                return;
            }
            fail(peek() == '\0' ? QStringLiteral("objeto sem \"}\" de fechamento") : QStringLiteral("falta \",\" entre dois valores"));
        }
    }

    void array(JsonNode& n, int depth)
    {
        n.kind = JsonNode::Array;
        ++m_at;
        skipBlank();
        if (peek() == ']') {
            ++m_at;
            return;
        }
        for (;;) {
            skipBlank();
            n.items.push_back(value(depth + 1));
            skipBlank();
            if (peek() == ',') {
                ++m_at;
                continue;
            }
            if (peek() == ']') {
                ++m_at;
                return;
            }
            fail(peek() == '\0' ? QStringLiteral("lista sem \"]\" de fechamento") : QStringLiteral("falta \",\" entre dois valores"));
        }
    }

    QString string()
    {
        ++m_at;  // the opening quote
        QByteArray raw;
        for (;;) {
            if (m_at >= m_b.size())
                fail(QStringLiteral("texto sem aspas de fechamento"));
            const char c = m_b[m_at++];
            if (c == '"')
                break;
            if (c == '\n' || uchar(c) < 0x20)
                fail(QStringLiteral("texto sem aspas de fechamento"));
            if (c != '\\') {
                raw += c;
                continue;
            }
            const char e = peek();
            ++m_at;
            switch (e) {
            case '"': raw += '"'; break;
            case '\\': raw += '\\'; break;
            case '/': raw += '/'; break;
            case 'b': raw += '\b'; break;
            case 'f': raw += '\f'; break;
            case 'n': raw += '\n'; break;
            case 'r': raw += '\r'; break;
            case 't': raw += '\t'; break;
            case 'u': {
                char32_t u = hex4();
                if (u >= 0xD800 && u < 0xDC00 && literal("\\u")) {
                    const char32_t low = hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        fail(QStringLiteral("sequência de escape inválida"));
                    u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                } else if (u >= 0xD800 && u <= 0xDFFF) {
                    fail(QStringLiteral("sequência de escape inválida"));
                }
                raw += QString::fromUcs4(&u, 1).toUtf8();
                break;
            }
            default:
                fail(QStringLiteral("sequência de escape inválida"));
            }
        }
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString s = utf8(raw);
        if (utf8.hasError())
            fail(QStringLiteral("texto que não é UTF-8"));
        return s;
    }

    char32_t hex4()
    {
        bool ok = false;
        const uint v = QByteArray(m_b.mid(m_at, 4)).toUInt(&ok, 16);
        if (!ok || m_b.mid(m_at, 4).size() != 4 || m_b.mid(m_at, 4).contains('+') || m_b.mid(m_at, 4).contains('-'))
            fail(QStringLiteral("sequência de escape inválida"));
        m_at += 4;
        return char32_t(v);
    }

    double number()
    {
        const qsizetype start = m_at;
        auto digits = [&] {
            const qsizetype from = m_at;
            while (peek() >= '0' && peek() <= '9')
                ++m_at;
            return m_at > from;
        };
        if (peek() == '-')
            ++m_at;
        if (peek() == '0')
            ++m_at;
        else if (!digits())
            fail(QStringLiteral("número inválido"));
        if (peek() == '.') {
            ++m_at;
            if (!digits())
                fail(QStringLiteral("número inválido"));
        }
        if (peek() == 'e' || peek() == 'E') {
            ++m_at;
            if (peek() == '+' || peek() == '-')
                ++m_at;
            if (!digits())
                fail(QStringLiteral("número inválido"));
        }
        bool ok = false;
        const double v = m_b.mid(start, m_at - start).toDouble(&ok);
        if (!ok || !std::isfinite(v))
            fail(QStringLiteral("número fora do alcance"));
        return v;
    }

    const QByteArray& m_b;
    qsizetype m_at = 0;
    int m_line = 1;
};

}  // namespace

const JsonNode* JsonNode::member(const QString& name) const
{
    for (const JsonMember& m : members)
        if (m.name == name)
            return &m.node;
    return nullptr;
}

JsonParse ParseJsonWithLines(const QByteArray& utf8)
{
    QByteArray text = utf8;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);  // a byte order mark some editors write
    if (text.trimmed().isEmpty())
        return {std::nullopt, 1, QStringLiteral("o arquivo está vazio")};
    Reader r(text);
    try {
        JsonParse p;
        p.root = r.document();
        return p;
    } catch (const Fault& f) {
        return {std::nullopt, f.line, f.why};
    }
}

}  // namespace qv
