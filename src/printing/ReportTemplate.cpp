#include "printing/ReportTemplate.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

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
    QStringList repeats;                    // the declared names of the repetitions open, outermost first
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
        if (body.startsWith(u'?') || body.startsWith(u'!') || body.startsWith(u'/') || body.startsWith(u'*')) {
            piece.kind = body[0] == u'?'   ? Piece::IfSet
                         : body[0] == u'!' ? Piece::IfEmpty
                         : body[0] == u'*' ? Piece::Repeat
                                           : Piece::End;
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
        piece.written = body;
        flush();
        if (piece.kind == Piece::End) {
            if (open.isEmpty() || t.m_pieces[open.last().first].written != body)
                FailAt(line, open.isEmpty() ? QStringLiteral("\"{/%1}\" sem seção aberta").arg(body)
                                            : QStringLiteral("\"{/%1}\" fecha a seção \"%2\" aberta na linha %3")
                                                  .arg(body, t.m_pieces[open.last().first].written)
                                                  .arg(open.last().second));
            const Piece& opened = t.m_pieces[open.last().first];
            piece.text = opened.text;
            piece.depth = opened.depth;
            if (opened.kind == Piece::Repeat)
                repeats.removeLast();
            t.m_pieces[open.last().first].end = t.m_pieces.size();
            open.removeLast();
        } else {
            // The innermost repetition that declares the name has it; else the report itself.
            piece.depth = -1;
            for (qsizetype d = repeats.size(); d >= 0 && piece.depth < 0; --d) {
                const QString scoped = d > 0 ? repeats[d - 1] + u'.' + body : body;
                if (known(scoped)) {
                    piece.text = scoped;
                    piece.depth = int(d);
                }
            }
            if (piece.depth < 0)
                FailAt(line, QStringLiteral("parâmetro desconhecido: \"{%1}\"").arg(inner));
            if (piece.kind == Piece::Repeat) {
                if (piece.depth != repeats.size())
                    FailAt(line, QStringLiteral("a repetição \"{*%1}\" dentro de \"{*%2}\" deve ser declarada como \"%3.%1\"")
                                     .arg(body, repeats.last().section(u'.', -1), repeats.last()));
                repeats.append(piece.text);
            }
            if (piece.kind != Piece::Value)
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

QString Template::key(const Piece& p, const QList<int>& numbers)
{
    if (p.depth == 0)
        return p.text;
    // "a.b.x" in the repetitions 2 and 5 reads "a.2.b.5.x".
    const QStringList parts = p.text.split(u'.');
    QStringList named;
    int inserted = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        named << parts[i];
        if (inserted < p.depth && inserted < numbers.size() && i + 1 < parts.size()) {
            named << QString::number(numbers[inserted]);
            ++inserted;
        }
    }
    return named.join(u'.');
}

qsizetype Template::renderRange(QString& out, const ParamMap& params, qsizetype from, qsizetype to, QList<int>& numbers) const
{
    constexpr int kMostRepetitions = 1000;  // a count beyond what any report lists is a fault, not a loop to run
    for (qsizetype i = from; i < to; ++i) {
        const Piece& p = m_pieces[i];
        switch (p.kind) {
        case Piece::Text:
            out += p.text;
            break;
        case Piece::Value:
            out += filtered(params.value(key(p, numbers)), p.filter);
            break;
        case Piece::IfSet:
        case Piece::IfEmpty:
            if (params.value(key(p, numbers)).isEmpty() == (p.kind == Piece::IfSet))
                i = p.end;  // past the matching End
            break;
        case Piece::Repeat: {
            const int count = std::clamp(params.value(key(p, numbers)).toInt(), 0, kMostRepetitions);
            for (int n = 1; n <= count; ++n) {
                QList<int> inner = numbers;
                inner.append(n);
                renderRange(out, params, i + 1, p.end, inner);
            }
            i = p.end;
            break;
        }
        case Piece::End:
            break;
        }
    }
    return to;
}

QString Template::render(const ParamMap& params) const
{
    QString out;
    QList<int> numbers;
    renderRange(out, params, 0, m_pieces.size(), numbers);
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
