#include "printing/ReportProject.h"

#include "records/Cp1252.h"
#include "records/FileIo.h"

#include <QRegularExpression>
#include <QSet>

namespace qv::report {

namespace {

[[noreturn]] void fail(int line, const QString& message)
{
    throw ProjectError(line, line > 0 ? QStringLiteral("linha %1: %2").arg(line).arg(message) : message);
}

// Splits a line into words; a double-quoted part keeps its spaces ("" inside is one quote);
// a word starting with '#' starts a comment.
QStringList tokenize(const QString& text, int line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    word += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                word += c;
            }
            continue;
        }
        if (c.isSpace()) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
            continue;
        }
        if (!inWord && c == u'#')
            break;
        inWord = true;
        if (c == u'"')
            quoted = true;
        else
            word += c;
    }
    if (quoted)
        fail(line, QStringLiteral("texto entre aspas sem a aspa final"));
    if (inWord)
        words.append(word);
    return words;
}

double number(const QString& text, int line, const QString& what)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || v < 0 || v > 10000)
        fail(line, QStringLiteral("valor inválido para %1: \"%2\"").arg(what, text));
    return v;
}

QString colour(const QString& text, int line)
{
    static const QRegularExpression re(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!re.match(text).hasMatch())
        fail(line, QStringLiteral("cor inválida: \"%1\" (use #rrggbb)").arg(text));
    return text;
}

Align alignment(const QString& text, int line)
{
    if (text == QLatin1String("left"))
        return Align::Left;
    if (text == QLatin1String("center"))
        return Align::Center;
    if (text == QLatin1String("right"))
        return Align::Right;
    fail(line, QStringLiteral("alinhamento inválido: \"%1\"").arg(text));
}

struct KeyValue {
    QString key;
    QString value;
    bool hasValue = false;
};

KeyValue splitKey(const QString& word)
{
    const qsizetype eq = word.indexOf(u'=');
    if (eq < 0)
        return {word, {}, false};
    return {word.left(eq), word.mid(eq + 1), true};
}

void needValue(const KeyValue& kv, int line)
{
    if (!kv.hasValue)
        fail(line, QStringLiteral("\"%1\" precisa de um valor (%1=...)").arg(kv.key));
}

void parseStyle(ReportProject& project, const QStringList& words, int line)
{
    if (words.size() < 2)
        fail(line, QStringLiteral("estilo sem nome"));
    Style style;
    for (qsizetype i = 2; i < words.size(); ++i) {
        const KeyValue kv = splitKey(words[i]);
        if (kv.key == QLatin1String("from")) {
            needValue(kv, line);
            if (!project.styles.contains(kv.value))
                fail(line, QStringLiteral("estilo desconhecido: \"%1\"").arg(kv.value));
            style = project.styles.value(kv.value);
        } else if (kv.key == QLatin1String("font")) {
            needValue(kv, line);
            style.family = kv.value;
        } else if (kv.key == QLatin1String("size")) {
            needValue(kv, line);
            style.size = number(kv.value, line, kv.key);
            if (style.size < 4 || style.size > 72)
                fail(line, QStringLiteral("tamanho de fonte fora de 4 a 72: \"%1\"").arg(kv.value));
        } else if (kv.key == QLatin1String("bold")) {
            style.bold = true;
        } else if (kv.key == QLatin1String("regular")) {
            style.bold = false;
            style.italic = false;
        } else if (kv.key == QLatin1String("italic")) {
            style.italic = true;
        } else if (kv.key == QLatin1String("color")) {
            needValue(kv, line);
            style.color = colour(kv.value, line);
        } else if (kv.key == QLatin1String("fill")) {
            needValue(kv, line);
            style.fill = kv.value == QLatin1String("none") ? QString() : colour(kv.value, line);
        } else if (kv.key == QLatin1String("align")) {
            needValue(kv, line);
            style.align = alignment(kv.value, line);
        } else if (kv.key == QLatin1String("padding")) {
            needValue(kv, line);
            style.padding = number(kv.value, line, kv.key);
        } else {
            fail(line, QStringLiteral("propriedade de estilo desconhecida: \"%1\"").arg(kv.key));
        }
    }
    project.styles.insert(words[1], style);
}

bool kindFromWord(const QString& word, ElementKind& kind)
{
    static const QMap<QString, ElementKind> kinds = {
        {QStringLiteral("text"), ElementKind::Text},   {QStringLiteral("field"), ElementKind::Field},
        {QStringLiteral("pair"), ElementKind::Pair},   {QStringLiteral("rule"), ElementKind::Rule},
        {QStringLiteral("box"), ElementKind::Box},     {QStringLiteral("choices"), ElementKind::Choices},
        {QStringLiteral("flow"), ElementKind::Flow}};
    const auto it = kinds.find(word);
    if (it == kinds.end())
        return false;
    kind = *it;
    return true;
}

Element parseElement(ElementKind kind, const QStringList& words, int line)
{
    Element e;
    e.kind = kind;
    e.line = line;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const KeyValue kv = splitKey(words[i]);
        const QString& k = kv.key;
        if (k == QLatin1String("hideempty")) {
            e.hideEmpty = true;
            continue;
        }
        if (k == QLatin1String("underline")) {
            e.underline = true;
            continue;
        }
        needValue(kv, line);
        const QString& v = kv.value;
        if (k == QLatin1String("x")) {
            e.x = number(v, line, k);
        } else if (k == QLatin1String("y")) {
            if (v.startsWith(QLatin1String("same"))) {
                e.place = Place::Same;
                const QString offset = v.mid(4);
                if (!offset.isEmpty()) {
                    if (!offset.startsWith(u'+'))
                        fail(line, QStringLiteral("use y=same ou y=same+N"));
                    e.y = number(offset.mid(1), line, k);
                }
            } else if (v.startsWith(u'+')) {
                e.place = Place::Below;
                e.y = number(v.mid(1), line, k);
            } else {
                e.place = Place::Absolute;
                e.y = number(v, line, k);
            }
        } else if (k == QLatin1String("w")) {
            e.w = number(v, line, k);
        } else if (k == QLatin1String("h")) {
            e.h = v == QLatin1String("auto") ? 0 : number(v, line, k);
        } else if (k == QLatin1String("style")) {
            e.style = v;
        } else if (k == QLatin1String("text")) {
            e.text = v;
        } else if (k == QLatin1String("param")) {
            e.param = v;
        } else if (k == QLatin1String("if")) {
            e.ifParam = v;
        } else if (k == QLatin1String("caption")) {
            e.captionWidth = number(v, line, k);
        } else if (k == QLatin1String("valuestyle")) {
            e.valueStyle = v;
        } else if (k == QLatin1String("thickness")) {
            e.thickness = number(v, line, k);
        } else if (k == QLatin1String("color")) {
            e.color = colour(v, line);
        } else if (k == QLatin1String("cross")) {
            const QStringList names = v.split(u',');
            if (names.size() != 6 || names.contains(QString()))
                fail(line, QStringLiteral("uma cruz precisa de seis parâmetros: barra horizontal, barra vertical e os quatro quadrantes"));
            e.crosses.append({names[0], names[1], {names[2], names[3], names[4], names[5]}});
        } else if (k == QLatin1String("crosssize")) {
            e.crossSize = number(v, line, k);
        } else if (k == QLatin1String("quadrantstyle")) {
            e.quadrantStyle = v;
        } else if (k == QLatin1String("jointstyle")) {
            e.jointStyle = v;
        } else {
            fail(line, QStringLiteral("propriedade desconhecida: \"%1\"").arg(k));
        }
    }
    const bool needsParam = kind == ElementKind::Field || kind == ElementKind::Pair || kind == ElementKind::Choices
                            || kind == ElementKind::Flow;
    if (needsParam && e.param.isEmpty())
        fail(line, QStringLiteral("falta o parâmetro (param=...)"));
    if (kind == ElementKind::Text && e.text.isEmpty())
        fail(line, QStringLiteral("falta o texto (text=\"...\")"));
    if (kind == ElementKind::Box && (e.w <= 0 || e.h <= 0))
        fail(line, QStringLiteral("um retângulo precisa de largura e altura (w=..., h=...)"));
    if (kind == ElementKind::Choices && e.crossSize <= 0)
        fail(line, QStringLiteral("tamanho de cruz inválido"));
    return e;
}

void checkStyles(const ReportProject& project, const Element& e)
{
    for (const QString* name : {&e.style, &e.valueStyle, &e.quadrantStyle, &e.jointStyle})
        if (!name->isEmpty() && !project.styles.contains(*name))
            fail(e.line, QStringLiteral("estilo desconhecido: \"%1\"").arg(*name));
}

}  // namespace

ReportProject ParseReportProject(const QString& text)
{
    ReportProject project;
    const QStringList lines = text.split(u'\n');
    ReportLayout* report = nullptr;
    QList<Element>* area = nullptr;
    int reportLine = 0;
    bool sawProject = false;

    for (qsizetype n = 0; n < lines.size(); ++n) {
        const int line = int(n + 1);
        const QStringList words = tokenize(lines[n], line);
        if (words.isEmpty())
            continue;
        const QString& head = words[0];

        if (!sawProject) {
            if (head != QLatin1String("project") || words.size() != 2)
                fail(line, QStringLiteral("o arquivo deve começar por: project \"nome\""));
            project.name = words[1];
            sawProject = true;
            continue;
        }

        if (!report) {
            if (head == QLatin1String("style")) {
                parseStyle(project, words, line);
            } else if (head == QLatin1String("report")) {
                if (words.size() != 2)
                    fail(line, QStringLiteral("use: report nome"));
                if (project.reports.contains(words[1]))
                    fail(line, QStringLiteral("relatório repetido: \"%1\"").arg(words[1]));
                report = &project.reports[words[1]];
                report->name = words[1];
                reportLine = line;
                area = nullptr;
            } else {
                fail(line, QStringLiteral("esperado \"style\" ou \"report\", encontrado \"%1\"").arg(head));
            }
            continue;
        }

        if (head == QLatin1String("end")) {
            if (report->pages.isEmpty())
                fail(line, QStringLiteral("o relatório \"%1\" não tem páginas").arg(report->name));
            report = nullptr;
            area = nullptr;
        } else if (head == QLatin1String("title")) {
            if (words.size() != 2)
                fail(line, QStringLiteral("use: title \"texto\""));
            report->title = words[1];
        } else if (head == QLatin1String("paper")) {
            static const QSet<QString> papers = {QStringLiteral("A4"), QStringLiteral("A5"), QStringLiteral("Letter"),
                                                 QStringLiteral("Legal")};
            if (words.size() < 2 || words.size() > 3 || !papers.contains(words[1]))
                fail(line, QStringLiteral("use: paper A4|A5|Letter|Legal [portrait|landscape]"));
            report->paper = words[1];
            if (words.size() == 3) {
                if (words[2] == QLatin1String("landscape"))
                    report->landscape = true;
                else if (words[2] == QLatin1String("portrait"))
                    report->landscape = false;
                else
                    fail(line, QStringLiteral("orientação inválida: \"%1\"").arg(words[2]));
            }
        } else if (head == QLatin1String("margins")) {
            if (words.size() != 5)
                fail(line, QStringLiteral("use: margins esquerda topo direita base (mm)"));
            for (int k = 0; k < 4; ++k)
                report->margins[size_t(k)] = number(words[k + 1], line, QStringLiteral("margins"));
        } else if (head == QLatin1String("gap")) {
            if (words.size() != 2)
                fail(line, QStringLiteral("use: gap mm"));
            report->bodyGap = number(words[1], line, QStringLiteral("gap"));
        } else if (head == QLatin1String("header")) {
            area = &report->header;
        } else if (head == QLatin1String("footer")) {
            area = &report->footer;
        } else if (head == QLatin1String("page")) {
            report->pages.append(QList<Element>());
            area = &report->pages.last();
        } else {
            ElementKind kind;
            if (!kindFromWord(head, kind))
                fail(line, QStringLiteral("palavra desconhecida: \"%1\"").arg(head));
            if (!area)
                fail(line, QStringLiteral("elemento fora de \"header\", \"footer\" ou \"page\""));
            Element e = parseElement(kind, words, line);
            checkStyles(project, e);
            if (e.kind == ElementKind::Flow && (report->pages.isEmpty() || area != &report->pages.last()))
                fail(line, QStringLiteral("um texto corrido (flow) só pode estar numa página"));
            area->append(e);
        }
    }
    if (!sawProject)
        fail(1, QStringLiteral("o arquivo está vazio"));
    if (report)
        fail(reportLine, QStringLiteral("o relatório \"%1\" não termina com \"end\"").arg(report->name));
    if (project.reports.isEmpty())
        fail(0, QStringLiteral("o projeto não tem relatórios"));
    return project;
}

ReportProject LoadReportProject(const QString& path)
{
    const QByteArray bytes = ReadFileBytes(path);
    QString text = FromCp1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return ParseReportProject(text);
}

}  // namespace qv::report
