#include "printing/ReportProject.h"

#include "printing/ReportStyle.h"
#include "records/Cp1252.h"
#include "records/FileIo.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>

namespace qv::report {

namespace {

// HTML elements the rich-text engine draws, and where the ones that only make sense inside
// another must stand.
const QSet<QString>& htmlElements()
{
    static const QSet<QString> names = {
        "a",  "b",  "big", "blockquote", "br", "center", "cite", "code", "dd",  "div",   "dl",    "dt",    "em",
        "font", "h1", "h2", "h3", "h4", "h5", "h6", "hr", "i", "img", "kbd", "li", "nobr", "ol", "p", "pre", "s",
        "samp", "small", "span", "strong", "sub", "sup", "table", "tbody", "td", "tfoot", "th", "thead", "tr",
        "tt", "u", "ul", "var"};
    return names;
}

QStringList parentsOf(const QString& element)
{
    if (element == QLatin1String("tr"))
        return {"table", "thead", "tbody", "tfoot"};
    if (element == QLatin1String("td") || element == QLatin1String("th"))
        return {"tr"};
    if (element == QLatin1String("thead") || element == QLatin1String("tbody") || element == QLatin1String("tfoot"))
        return {"table"};
    if (element == QLatin1String("li"))
        return {"ul", "ol"};
    if (element == QLatin1String("dt") || element == QLatin1String("dd"))
        return {"dl"};
    return {};
}

// Elements whose text and other elements would be dropped: only their own children belong in them.
bool holdsOnlyItems(const QString& element)
{
    static const QSet<QString> names = {"table", "thead", "tbody", "tfoot", "tr", "ul", "ol", "dl"};
    return names.contains(element);
}

// Section markers may stand between rows and cells: they choose which are written.
bool onlyMarkers(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("\\{[?!/*][A-Za-z_][A-Za-z0-9_.]*\\}"));
    QString rest = text;
    rest.remove(marker);
    return rest.trimmed().isEmpty();
}

bool validName(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*$"));
    return re.match(name).hasMatch();
}

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text), m_xml(text) {}

    ReportProject run()
    {
        readRoot();
        while (next() != QXmlStreamReader::EndElement) {
            const QString name = m_xml.name().toString();
            const int line = int(m_xml.lineNumber());
            if (name == QLatin1String("setup"))
                once(m_seenSetup, line), readSetup();
            else if (name == QLatin1String("style"))
                once(m_seenStyle, line), readStyle();
            else if (name == QLatin1String("header"))
                once(m_seenHeader, line), m_project.headerLine = line, m_project.header = readHtml(any());
            else if (name == QLatin1String("footer"))
                once(m_seenFooter, line), m_project.footerLine = line, m_project.footer = readHtml(any());
            else if (name == QLatin1String("report"))
                readReport();
            else
                FailAt(line, QStringLiteral("palavra desconhecida: \"%1\"").arg(name));
        }
        // Anything after the project's end is refused by the reader itself.
        while (!m_xml.atEnd())
            m_xml.readNext();
        if (m_xml.hasError())
            xmlFault();
        if (m_project.reports.isEmpty())
            FailAt(0, QStringLiteral("o projeto não tem relatórios"));
        const PageSetup& s = m_project.setup;
        const auto [paperW, paperH] = PaperSize(s.paper, s.landscape);
        m_sizes.checkArea(paperW - s.margins[0] - s.margins[2], paperH - s.margins[1] - s.margins[3]);
        checkBands(m_project.header);
        checkBands(m_project.footer);
        return std::move(m_project);
    }

private:
    static std::function<bool(const QString&)> any()
    {
        return [](const QString&) { return true; };
    }

    // A fault of the XML itself, told in the program's words: Qt's own text is in whatever
    // language its translation has, and names no element.
    [[noreturn]] void xmlFault()
    {
        const int line = int(m_xml.lineNumber());
        if (!m_open.isEmpty()
            && (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError || closesAnother(m_open.last().first)))
            FailAt(m_open.last().second, QStringLiteral("o elemento <%1> não foi fechado").arg(m_open.last().first));
        QString where;
        if (!m_open.isEmpty())
            where = QStringLiteral(" dentro de <%1> (aberto na linha %2)").arg(m_open.last().first).arg(m_open.last().second);
        FailAt(line, QStringLiteral("texto mal formado%1: %2").arg(where, faultOnLine(line)));
    }

    // Whether the reader stopped on the end tag of another element than the one open.
    bool closesAnother(const QString& open) const
    {
        static const QRegularExpression endTag(QStringLiteral("^</([A-Za-z_][A-Za-z0-9_.:-]*)\\s*>?$"));
        const qsizetype at = std::min(qsizetype(m_xml.characterOffset()), m_text.size());
        const qsizetype start = at < 2 ? -1 : m_text.lastIndexOf(QStringLiteral("</"), at - 2);
        if (start < 0)
            return false;
        const auto m = endTag.match(m_text.mid(start, at - start));
        return m.hasMatch() && m.captured(1) != open;
    }

    // What is wrong on the line, as far as the usual slips of a hand edit go.
    QString faultOnLine(int line) const
    {
        if (m_open.isEmpty() && !m_started)
            return QStringLiteral("o projeto deve começar por <project>");
        const QString source = m_text.section(u'\n', line - 1, line - 1).trimmed();
        static const QRegularExpression ampersand(QStringLiteral("&(?!#?[A-Za-z0-9]+;)"));
        static const QRegularExpression unquoted(QStringLiteral("\\s[A-Za-z_][A-Za-z0-9_.:-]*\\s*=\\s*[^\"'\\s]"));
        static const QRegularExpression lessThan(QStringLiteral("<(?![A-Za-z_/!?])"));
        QString why;
        if (ampersand.match(source).hasMatch())
            why = QStringLiteral("um \"&\" no texto deve ser escrito &amp;");
        else if (unquoted.match(source).hasMatch())
            why = QStringLiteral("o valor de um atributo deve estar entre aspas");
        else if (lessThan.match(source).hasMatch())
            why = QStringLiteral("um \"<\" no texto deve ser escrito &lt;");
        else
            why = QStringLiteral("elemento, atributo ou entidade incompleto");
        return QStringLiteral("%1, em \"%2\"").arg(why, source.left(60));
    }

    // The next element start or end inside the current element; text there must be blank.
    QXmlStreamReader::TokenType next()
    {
        for (;;) {
            const auto t = m_xml.readNext();
            switch (t) {
            case QXmlStreamReader::Invalid:
                xmlFault();
            case QXmlStreamReader::StartElement:
                m_started = true;
                m_open.append({m_xml.name().toString(), int(m_xml.lineNumber())});
                return t;
            case QXmlStreamReader::EndElement:
                m_open.removeLast();
                return t;
            case QXmlStreamReader::Characters:
                if (!m_xml.isWhitespace())
                    FailAt(textLine(),
                           QStringLiteral("texto fora de lugar: \"%1\"").arg(m_xml.text().toString().trimmed().left(40)));
                break;
            case QXmlStreamReader::Comment:
            case QXmlStreamReader::StartDocument:
                break;
            case QXmlStreamReader::EndDocument:
                FailAt(int(m_xml.lineNumber()), QStringLiteral("o projeto terminou antes de </project>"));
            default:
                FailAt(int(m_xml.lineNumber()), QStringLiteral("declaração não permitida no projeto"));
            }
        }
    }

    // The line of the first visible character of the text just read.
    int textLine() const
    {
        const QString t = m_xml.text().toString();
        qsizetype first = 0;
        while (first < t.size() && t[first].isSpace())
            ++first;
        return int(m_xml.lineNumber() - t.mid(first).count(u'\n'));
    }

    void readRoot()
    {
        if (next() != QXmlStreamReader::StartElement || m_xml.name() != QLatin1String("project"))
            FailAt(int(m_xml.lineNumber()), QStringLiteral("o projeto deve começar por <project>"));
        m_project.name = attributes({"name"}).value(QStringLiteral("name"));
    }

    static void once(bool& seen, int line)
    {
        if (seen)
            FailAt(line, QStringLiteral("elemento repetido"));
        seen = true;
    }

    QHash<QString, QString> attributes(const QStringList& allowed)
    {
        QHash<QString, QString> out;
        for (const QXmlStreamAttribute& a : m_xml.attributes()) {
            const QString name = a.name().toString();
            if (!allowed.contains(name))
                FailAt(int(m_xml.lineNumber()), QStringLiteral("atributo desconhecido: \"%1\"").arg(name));
            out.insert(name, a.value().toString());
        }
        return out;
    }

    void endOfEmptyElement()
    {
        if (next() != QXmlStreamReader::EndElement)
            FailAt(int(m_xml.lineNumber()), QStringLiteral("<%1> não leva conteúdo").arg(m_xml.name().toString()));
    }

    void readSetup()
    {
        const int line = int(m_xml.lineNumber());
        const auto a = attributes({"paper", "orientation", "margins", "gap"});
        PageSetup& s = m_project.setup;
        s.paper = a.value(QStringLiteral("paper"), s.paper);
        static const QStringList papers = {"A4", "A5", "Letter", "Legal"};
        if (!papers.contains(s.paper))
            FailAt(line, QStringLiteral("paper desconhecido: \"%1\" (use A4, A5, Letter ou Legal)").arg(s.paper));
        const QString orientation = a.value(QStringLiteral("orientation"), QStringLiteral("portrait"));
        if (orientation != QLatin1String("portrait") && orientation != QLatin1String("landscape"))
            FailAt(line, QStringLiteral("orientation deve ser portrait ou landscape"));
        s.landscape = orientation == QLatin1String("landscape");
        if (a.contains(QStringLiteral("margins"))) {
            const QStringList parts = a.value(QStringLiteral("margins")).split(u' ', Qt::SkipEmptyParts);
            if (parts.size() != 4)
                FailAt(line, QStringLiteral("margins leva quatro números: esquerda, topo, direita, base (mm)"));
            for (int k = 0; k < 4; ++k)
                s.margins[size_t(k)] = number(parts[k], line, 300);
        }
        if (a.contains(QStringLiteral("gap")))
            s.gap = number(a.value(QStringLiteral("gap")), line, 30);
        const std::pair<double, double> paper = PaperSize(s.paper, s.landscape);
        const double w = paper.first - s.margins[0] - s.margins[2];
        const double h = paper.second - s.margins[1] - s.margins[3];
        if (w < 60 || h < 60)
            FailAt(line, QStringLiteral("as margens não deixam área para imprimir (%1 × %2 mm; o mínimo é 60 × 60 mm)")
                             .arg(w, 0, 'f', 1)
                             .arg(h, 0, 'f', 1));
        endOfEmptyElement();
    }

    static double number(const QString& text, int line, double max)
    {
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (!ok || !std::isfinite(v) || v < 0 || v > max)
            FailAt(line, QStringLiteral("número inválido: \"%1\" (de 0 a %2)").arg(text).arg(max));
        return v;
    }

    void readStyle()
    {
        attributes({});
        QString css;
        for (;;) {
            const auto t = m_xml.readNext();
            if (t == QXmlStreamReader::Invalid)
                xmlFault();
            if (t == QXmlStreamReader::EndElement)
                break;
            if (t == QXmlStreamReader::StartElement)
                FailAt(int(m_xml.lineNumber()), QStringLiteral("<style> leva só texto"));
            if (t == QXmlStreamReader::Characters) {
                // The reader stands at the end of the text: its first line is as many lines up
                // as the text has line breaks.
                const QString text = m_xml.text().toString();
                m_sizes.checkStyle(text, int(m_xml.lineNumber() - text.count(u'\n')), 500);
                css += text;
            }
        }
        m_open.removeLast();
        m_project.styleSheet = css;
    }

    void readReport()
    {
        const int line = int(m_xml.lineNumber());
        const auto a = attributes({"name", "title", "params"});
        ReportLayout r;
        r.name = a.value(QStringLiteral("name"));
        r.title = a.value(QStringLiteral("title"));
        r.line = line;
        if (!validName(r.name))
            FailAt(line, QStringLiteral("relatório sem nome válido: \"%1\"").arg(r.name));
        if (m_project.reports.contains(r.name))
            FailAt(line, QStringLiteral("relatório repetido: \"%1\"").arg(r.name));
        if (r.title.trimmed().isEmpty())
            FailAt(line, QStringLiteral("o relatório \"%1\" não tem title").arg(r.name));
        for (const QString& p : a.value(QStringLiteral("params")).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            if (!validName(p))
                FailAt(line, QStringLiteral("nome de parâmetro inválido: \"%1\"").arg(p));
            r.params.insert(p);
        }
        const auto known = [&r](const QString& name) { return r.params.contains(name) || BuiltInParams().contains(name); };
        while (next() != QXmlStreamReader::EndElement) {
            if (m_xml.name() != QLatin1String("page"))
                FailAt(int(m_xml.lineNumber()), QStringLiteral("palavra desconhecida: \"%1\" (um relatório só tem <page>)")
                                                    .arg(m_xml.name().toString()));
            r.pages.append(readHtml(known));
        }
        if (r.pages.isEmpty())
            FailAt(line, QStringLiteral("o relatório \"%1\" não tem páginas").arg(r.name));
        m_project.reports.insert(r.name, r);
    }

    // The content of the element just started, checked as HTML and compiled as a template.
    Template readHtml(const std::function<bool(const QString&)>& known)
    {
        attributes({});
        const qsizetype start = m_xml.characterOffset();
        const qsizetype depth = m_open.size();
        for (;;) {
            const auto t = m_xml.readNext();
            switch (t) {
            case QXmlStreamReader::Invalid:
                xmlFault();
            case QXmlStreamReader::StartElement:
                openHtml();
                break;
            case QXmlStreamReader::EndElement:
                m_open.removeLast();
                break;
            case QXmlStreamReader::Characters:
                if (m_open.size() > depth && holdsOnlyItems(m_open.last().first) && !onlyMarkers(m_xml.text().toString()))
                    FailAt(textLine(), QStringLiteral("texto fora de lugar dentro de <%1>: \"%2\"")
                                                        .arg(m_open.last().first, m_xml.text().toString().trimmed().left(40)));
                break;
            case QXmlStreamReader::Comment:
                break;
            default:
                FailAt(int(m_xml.lineNumber()), QStringLiteral("declaração não permitida no projeto"));
            }
            if (m_open.size() < depth)
                break;
        }
        const qsizetype end = m_xml.characterOffset();
        const qsizetype closing = m_text.lastIndexOf(QStringLiteral("</"), end - 1);
        const QString source = closing > start ? m_text.mid(start, closing - start) : QString();
        const int line = int(m_text.left(start).count(u'\n')) + 1;
        return Template::Compile(source, line, known);
    }

    void openHtml()
    {
        const QString name = m_xml.name().toString();
        const int line = int(m_xml.lineNumber());
        if (!htmlElements().contains(name))
            FailAt(line, QStringLiteral("palavra desconhecida: \"%1\"").arg(name));
        const QString parent = m_open.isEmpty() ? QString() : m_open.last().first;
        const QStringList parents = parentsOf(name);
        if (!parents.isEmpty() && !parents.contains(parent))
            FailAt(line, QStringLiteral("<%1> fora de lugar: deve estar dentro de <%2>").arg(name, parents.join(QStringLiteral("> ou <"))));
        if (parents.isEmpty() && holdsOnlyItems(parent))
            FailAt(line, QStringLiteral("<%1> fora de lugar dentro de <%2>").arg(name, parent));
        if (m_open.size() > 40)
            FailAt(line, QStringLiteral("elementos encaixados fundo demais"));
        for (const QXmlStreamAttribute& a : m_xml.attributes()) {
            const QString attr = a.name().toString();
            const QString value = a.value().toString();
            checkPlaceholders(value, attr == QLatin1String("src"), line);
            if (attr == QLatin1String("src") || attr == QLatin1String("href") || attr == QLatin1String("title")
                || attr == QLatin1String("alt") || attr == QLatin1String("class"))
                continue;
            m_sizes.checkAttribute(attr, value, line);
        }
        m_open.append({name, line});
    }

    // In attributes, sections may choose what is written; a parameter's text belongs only in src.
    static void checkPlaceholders(const QString& value, bool textAllowed, int line)
    {
        static const QRegularExpression section(QStringLiteral("\\{[?!/][A-Za-z_][A-Za-z0-9_.]*\\}"));
        QString rest = value;
        rest.remove(section);
        if (!textAllowed && rest.contains(u'{'))
            FailAt(line, QStringLiteral("um atributo só leva seções {?nome}...{/nome}, não o texto de um parâmetro"));
    }

    void checkBands(const Template& band) const
    {
        const QHash<QString, int> names = band.names();
        for (auto it = names.begin(); it != names.end(); ++it) {
            if (BuiltInParams().contains(it.key()))
                continue;
            for (const ReportLayout& r : m_project.reports)
                if (!r.params.contains(it.key()))
                    FailAt(it.value(), QStringLiteral("parâmetro desconhecido: \"{%1}\" (o relatório \"%2\" não o tem)")
                                           .arg(it.key(), r.name));
        }
    }

    const QString& m_text;
    QXmlStreamReader m_xml;
    QList<std::pair<QString, int>> m_open;  // open elements and their lines
    ReportProject m_project;
    bool m_started = false;  // an element was read
    bool m_seenSetup = false;
    bool m_seenStyle = false;
    bool m_seenHeader = false;
    bool m_seenFooter = false;
    SizeChecker m_sizes;
};

}  // namespace

const QStringList& BuiltInParams()
{
    static const QStringList names = {"title",    "page",     "pages", "date",    "consultorio", "profissional",
                                      "registro", "endereco", "telefone", "email", "logotipo", "timbrado"};
    return names;
}

std::pair<double, double> PaperSize(const QString& paper, bool landscape)
{
    std::pair<double, double> mm{210, 297};
    if (paper == QLatin1String("A5"))
        mm = {148, 210};
    else if (paper == QLatin1String("Letter"))
        mm = {215.9, 279.4};
    else if (paper == QLatin1String("Legal"))
        mm = {215.9, 355.6};
    if (landscape)
        std::swap(mm.first, mm.second);
    return mm;
}

ReportProject ParseReportProject(const QString& input)
{
    if (input.trimmed().isEmpty())
        FailAt(1, QStringLiteral("o arquivo está vazio"));
    if (input.size() > 4 * 1024 * 1024)
        FailAt(0, QStringLiteral("o arquivo é grande demais para um projeto de relatórios"));
    QString text = input;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    Parser parser(text);
    return parser.run();
}

ReportProject LoadReportProject(const QString& path) { return ParseReportProject(FromCp1252(ReadFileBytes(path))); }

}  // namespace qv::report
