#include "printing/ReportTemplate.h"

#include <QRegularExpression>
#include <QStringList>

namespace qv::report {

namespace {

const QString kSeparator = QStringLiteral(":  ");

QString escapeLine(const QString& line)
{
    QString out;
    out.reserve(line.size() + 8);
    bool afterSpace = true;  // a leading space would be dropped by HTML
    for (const QChar c : line) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\t':
            out += QStringLiteral("&#160;&#160;&#160;&#160;");
            afterSpace = true;
            continue;
        case u' ':
            out += afterSpace ? QStringLiteral("&#160;") : QStringLiteral(" ");
            afterSpace = true;
            continue;
        default:
            out += c;
        }
        afterSpace = false;
    }
    return out;
}

QStringList textLines(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    QStringList lines = t.split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

bool isRuleLine(const QString& line)
{
    static const QRegularExpression dashes(QStringLiteral("^-{10,}$"));
    return dashes.match(line.trimmed()).hasMatch();
}

QString withRules(const QString& text)
{
    const QStringList lines = textLines(text);
    QString out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isRuleLine(lines[i])) {
            out += QStringLiteral("<hr/>");
            continue;
        }
        out += escapeLine(lines[i]);
        if (i + 1 < lines.size() && !isRuleLine(lines[i + 1]))
            out += QStringLiteral("<br/>");
    }
    return out;
}

QString filtered(const QString& text, Template::Filter filter)
{
    const qsizetype at = text.indexOf(kSeparator);
    switch (filter) {
    case Template::Filter::Caption:
        return at < 0 ? QString() : EscapeText(text.left(at));
    case Template::Filter::Value:
        return EscapeText(at < 0 ? text : text.mid(at + kSeparator.size()));
    case Template::Filter::Rules:
        return withRules(text);
    case Template::Filter::Plain:
        break;
    }
    return EscapeText(text);
}

bool nameChar(QChar c, bool first)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || (!first && (c.isDigit() || c == u'.'));
}

}  // namespace

void FailAt(int line, const QString& message)
{
    throw ProjectError(line, line > 0 ? QStringLiteral("linha %1: %2").arg(line).arg(message) : message);
}

QString EscapeText(const QString& text)
{
    const QStringList lines = textLines(text);
    QStringList escaped;
    escaped.reserve(lines.size());
    for (const QString& l : lines)
        escaped.append(escapeLine(l));
    return escaped.join(QStringLiteral("<br/>"));
}

Template Template::Compile(const QString& source, int firstLine, const std::function<bool(const QString&)>& known)
{
    Template t;
    QList<std::pair<qsizetype, int>> open;  // piece index and line of each open section
    QString literal;
    int line = firstLine;
    const auto flush = [&] {
        if (!literal.isEmpty())
            t.m_pieces.append({Piece::Text, literal, Filter::Plain, 0, line});
        literal.clear();
    };
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (c == u'\n')
            ++line;
        if (c != u'{') {
            literal += c;
            continue;
        }
        if (i + 1 < source.size() && source[i + 1] == u'{') {
            literal += u'{';
            ++i;
            continue;
        }
        const qsizetype close = source.indexOf(u'}', i + 1);
        const qsizetype newline = source.indexOf(u'\n', i + 1);
        if (close < 0 || (newline >= 0 && newline < close))
            FailAt(line, QStringLiteral("\"{\" sem \"}\" na mesma linha (para escrever uma chave, use \"{{\")"));
        const QString inner = source.mid(i + 1, close - i - 1);
        QString body = inner;
        Piece piece;
        piece.kind = Piece::Value;
        piece.line = line;
        if (body.startsWith(u'?') || body.startsWith(u'!') || body.startsWith(u'/')) {
            piece.kind = body[0] == u'?' ? Piece::IfSet : body[0] == u'!' ? Piece::IfEmpty : Piece::End;
            body = body.mid(1);
        }
        QString filter;
        const qsizetype bar = body.indexOf(u'|');
        if (bar >= 0) {
            filter = body.mid(bar + 1);
            body = body.left(bar);
        }
        bool valid = !body.isEmpty();
        for (qsizetype k = 0; k < body.size() && valid; ++k)
            valid = nameChar(body[k], k == 0);
        if (!valid)
            FailAt(line, QStringLiteral("marcador inválido: \"{%1}\"").arg(inner));
        if (bar >= 0) {
            if (piece.kind != Piece::Value)
                FailAt(line, QStringLiteral("uma seção não leva filtro: \"{%1}\"").arg(inner));
            if (filter == QLatin1String("caption"))
                piece.filter = Filter::Caption;
            else if (filter == QLatin1String("value"))
                piece.filter = Filter::Value;
            else if (filter == QLatin1String("rules"))
                piece.filter = Filter::Rules;
            else
                FailAt(line, QStringLiteral("filtro desconhecido: \"%1\" (use caption, value ou rules)").arg(filter));
        }
        if (!known(body))
            FailAt(line, QStringLiteral("parâmetro desconhecido: \"{%1}\"").arg(inner));
        piece.text = body;
        flush();
        if (piece.kind == Piece::End) {
            if (open.isEmpty() || t.m_pieces[open.last().first].text != body)
                FailAt(line, open.isEmpty() ? QStringLiteral("\"{/%1}\" sem seção aberta").arg(body)
                                            : QStringLiteral("\"{/%1}\" fecha a seção \"%2\" aberta na linha %3")
                                                  .arg(body, t.m_pieces[open.last().first].text)
                                                  .arg(open.last().second));
            t.m_pieces[open.last().first].end = t.m_pieces.size();
            open.removeLast();
        } else if (piece.kind != Piece::Value) {
            open.append({t.m_pieces.size(), line});
        }
        t.m_pieces.append(piece);
        i = close;
    }
    if (!open.isEmpty())
        FailAt(open.last().second, QStringLiteral("a seção \"%1\" não foi fechada com \"{/%1}\"").arg(t.m_pieces[open.last().first].text));
    flush();
    return t;
}

QString Template::render(const ParamMap& params) const
{
    QString out;
    for (qsizetype i = 0; i < m_pieces.size(); ++i) {
        const Piece& p = m_pieces[i];
        switch (p.kind) {
        case Piece::Text:
            out += p.text;
            break;
        case Piece::Value:
            out += filtered(params.value(p.text), p.filter);
            break;
        case Piece::IfSet:
        case Piece::IfEmpty:
            if (params.value(p.text).isEmpty() == (p.kind == Piece::IfSet))
                i = p.end;  // past the matching End
            break;
        case Piece::End:
            break;
        }
    }
    return out;
}

QHash<QString, int> Template::names() const
{
    QHash<QString, int> out;
    for (const Piece& p : m_pieces)
        if (p.kind != Piece::Text && !out.contains(p.text))
            out.insert(p.text, p.line);
    return out;
}

}  // namespace qv::report
