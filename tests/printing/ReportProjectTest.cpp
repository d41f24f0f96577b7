// The report project file and its template language: the shipped project declares and places
// every parameter of its report, substitution escapes and keeps line breaks, and faulty
// projects are refused with the line of the fault.

#include "PrintSamples.h"

#include "printing/ReportParams.h"
#include "printing/ReportProject.h"
#include "records/Cp1252.h"
#include "records/IoError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace qv::report {
namespace {

QString shippedPath() { return QDir(QStringLiteral(QUORVEL_DATA_DIR)).filePath(QStringLiteral("Análises.rav")); }

QSet<QString> placed(const ReportProject& project, const ReportLayout& report)
{
    QSet<QString> names;
    for (const Template* t : {&project.header, &project.footer})
        for (const QString& n : t->names().keys())
            names.insert(n);
    for (const Template& page : report.pages)
        for (const QString& n : page.names().keys())
            names.insert(n);
    for (const QString& n : BuiltInParams())
        names.remove(n);
    return names;
}

QSet<QString> built(const ReportParamList& list)
{
    QSet<QString> names;
    for (const ReportParam& p : list)
        names.insert(p.name);
    return names;
}

QString sorted(const QSet<QString>& s)
{
    QStringList l(s.begin(), s.end());
    l.sort();
    return l.join(u' ');
}

TEST(ShippedProject, DeclaresAndPlacesExactlyTheParametersOfEachReport)
{
    const ReportProject project = LoadReportProject(shippedPath());
    // report5 (the evolution) and report6 (the cephalometric analyses) are checked with their builders
    ASSERT_EQ(project.reports.size(), 6);
    const TweedReportPlan tweed = BuildTweedReport(test::SampleTweedDiagnosed());
    const QMap<QString, QSet<QString>> expected = {
        {QStringLiteral("report1"), built(tweed.params) + built(tweed.alternatives)},
        {QStringLiteral("report2"), built(test::SampleBoltonReport())},
        {QStringLiteral("report3"), built(BuildHistoryReport(QStringLiteral("A"), QStringLiteral("x")))},
        {QStringLiteral("report4"), built(BuildPlanReport(QStringLiteral("A"), QStringLiteral("x")))},
    };
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        ASSERT_TRUE(project.reports.contains(it.key())) << it.key().toStdString();
        const ReportLayout& report = project.reports[it.key()];
        EXPECT_EQ(sorted(report.params).toStdString(), sorted(it.value()).toStdString()) << it.key().toStdString();
        // The Tweed report draws each alternative beside its cross instead of the joined texts.
        QSet<QString> shown = it.value();
        if (it.key() == QLatin1String("report1"))
            shown -= QSet<QString>{QStringLiteral("discmed"), QStringLiteral("desarm")};
        EXPECT_EQ(sorted(placed(project, report)).toStdString(), sorted(shown).toStdString()) << it.key().toStdString();
        EXPECT_FALSE(report.title.isEmpty());
    }
    EXPECT_EQ(project.setup.paper, QStringLiteral("A4"));
    EXPECT_EQ(project.reports[QStringLiteral("report1")].pages.size(), 2);
    EXPECT_EQ(project.reports[QStringLiteral("report1")].title, QStringLiteral("Análise Cefalométrica de Tweed"));
}

TEST(ShippedProject, IsWindows1252OnDisk)
{
    QFile f(shippedPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains(ToCp1252(QStringLiteral("Análise de Bolton"))));
    EXPECT_FALSE(bytes.contains(QStringLiteral("Análise").toUtf8()));
}

Template compile(const char* source)
{
    return Template::Compile(QString::fromUtf8(source), 1, [](const QString& n) { return n != QLatin1String("desconhecido"); });
}

TEST(TemplateLanguage, SubstitutesEscapedTextsWithTheirLineBreaks)
{
    const ParamMap params = {
        {"nome", QStringLiteral("Paciente:  <Ana> & \"Bia\"")},
        {"memo", QStringLiteral("linha 1\r\nlinha 2\rlinha 3\n\r\n  \r\n")},
        {"cruz", QStringLiteral("X  4")},
        {"hist", QStringLiteral("a\r\n") + QString(12, u'-') + QStringLiteral("\r\nb")},
        {"sem", QStringLiteral("só valor")},
        {"tab", QStringLiteral("\tArco")},
    };
    struct Case {
        const char* source;
        QString html;
    };
    const std::vector<Case> cases = {
        {"<p>{nome}</p>", QStringLiteral("<p>Paciente:  &lt;Ana&gt; &amp; &quot;Bia&quot;</p>").replace(":  ", ": &#160;")},
        {"{nome|caption}", QStringLiteral("Paciente")},
        {"{nome|value}", QStringLiteral("&lt;Ana&gt; &amp; &quot;Bia&quot;")},
        {"[{sem|caption}]", QStringLiteral("[]")},
        {"{sem|value}", QStringLiteral("só valor")},
        // Line breaks of every kind; blank lines at the end would only add empty pages.
        {"{memo}", QStringLiteral("linha 1<br/>linha 2<br/>linha 3")},
        // Runs of spaces and tabs stay as typed.
        {"{cruz}", QStringLiteral("X &#160;4")},
        {"{tab}", QStringLiteral("&#160;&#160;&#160;&#160;Arco")},
        {"{hist|rules}", QStringLiteral("a<hr/>b")},
        {"{hist}", QStringLiteral("a<br/>------------<br/>b")},
        // Sections, nested, and the literal brace.
        {"{?cruz}[{?nada}x{/nada}{!nada}y{/nada}]{/cruz}", QStringLiteral("[y]")},
        {"{?nada}{cruz}{/nada}{!cruz}z{/cruz}", QString()},
        {"{{x}", QStringLiteral("{x}")},
        // A parameter the run does not set is empty.
        {"<b>{vazio}</b>", QStringLiteral("<b></b>")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(compile(c.source).render(params), c.html) << c.source;
    // A parameter set by the program but placed nowhere is simply not printed.
    const Template t = compile("<p>{nome|value}</p>");
    EXPECT_FALSE(t.render(params).contains(QStringLiteral("Arco")));
    EXPECT_EQ(t.names().keys(), QList<QString>{QStringLiteral("nome")});
}

TEST(TemplateLanguage, RepeatsABlockPerItemNestedWithEachItemsOwnParameters)
{
    const QSet<QString> declared{"a", "a.t", "a.m", "a.m.v", "a.m.x", "x", "n"};
    const auto known = [&](const QString& n) { return declared.contains(n); };
    const ParamMap params = {
        {"a", "2"},     {"a.1.t", "Steiner"}, {"a.1.m", "2"},   {"a.1.m.1.v", "SNA"}, {"a.1.m.2.v", "SNB"},
        {"a.1.m.2.x", "1"}, {"a.2.t", "Wits"}, {"a.2.m", "1"}, {"a.2.m.1.v", "AO"},  {"x", "fora"}, {"n", "0"},
    };
    struct Case {
        const char* source;
        QString html;
    };
    const std::vector<Case> cases = {
        {"{*a}[{t}:{*m}({v}{?x}!{/x}){/m}]{/a}", QStringLiteral("[Steiner:(SNA)(SNB!)][Wits:(AO)]")},
        // A name the block does not declare is the report's own.
        {"{*a}{n}{/a}", QStringLiteral("00")},
        // Nothing for none, and for a count that is not a number.
        {"{*n}x{/n}|{*x}y{/x}", QStringLiteral("|")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Template::Compile(QString::fromUtf8(c.source), 1, known).render(params), c.html) << c.source;
    EXPECT_EQ(Template::Compile(QStringLiteral("{*a}{*m}{v}{/m}{/a}"), 1, known).names().keys().size(), 3);
    // A block inside another declares its names under it.
    try {
        Template::Compile(QStringLiteral("{*a}\n{*n}{/n}{/a}"), 1, known);
        ADD_FAILURE() << "accepted a block not declared under its own";
    } catch (const ProjectError& e) {
        EXPECT_EQ(e.line(), 2);
        EXPECT_TRUE(e.message().contains(QStringLiteral("deve ser declarada como \"a.n\""))) << e.message().toStdString();
    }
}

TEST(TemplateLanguage, FaultsNameTheirLineAndPlaceholder)
{
    struct Case {
        const char* source;
        int line;
        const char* fragment;
    };
    const std::vector<Case> cases = {
        {"a\nb {desconhecido}", 2, "{desconhecido}"},
        {"{x|negrito}", 1, "negrito"},
        {"{?x}\n\n{/y}", 3, "{/y}"},
        {"\n{?x}sem fim", 2, "não foi fechada"},
        {"{/x}", 1, "sem seção"},
        {"{x y}", 1, "{x y}"},
        {"{x\n}", 1, "{{"},
        {"{?x|value}{/x}", 1, "filtro"},
    };
    for (const Case& c : cases) {
        try {
            compile(c.source);
            ADD_FAILURE() << "accepted: " << c.source;
        } catch (const ProjectError& e) {
            EXPECT_EQ(e.line(), c.line) << c.source;
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.fragment))) << c.source << " -> " << e.message().toStdString();
        }
    }
}

QString project(const char* body)
{
    return QString::fromUtf8("<project name=\"Q\">\n") + QString::fromUtf8(body) + QStringLiteral("</project>\n");
}

const char* kReport = "<report name=\"r\" title=\"T\" params=\"x\"><page><p>{x}</p></page></report>\n";

TEST(ProjectParser, ReadsSetupStyleBandsAndReports)
{
    const ReportProject p = ParseReportProject(project(
        "<!-- comment -->\n"
        "<setup paper=\"A5\" orientation=\"landscape\" margins=\"10 11 12 13\" gap=\"3\"/>\n"
        "<style>p { font-size: 9pt; color: #112233; }</style>\n"
        "<header><p>{title} {consultorio}</p><p>{x}</p></header>\n"
        "<footer><p>{page}/{pages}</p></footer>\n"
        "<report name=\"r\" title=\"Título &quot;entre aspas&quot;\" params=\"x\n  y\">\n"
        "  <page><table><tr>{?y}<td>{y|value}</td>{/y}</tr></table></page>\n"
        "  <page><p>{x}</p></page>\n"
        "</report>\n"));
    EXPECT_EQ(p.name, QStringLiteral("Q"));
    EXPECT_EQ(p.setup.paper, QStringLiteral("A5"));
    EXPECT_TRUE(p.setup.landscape);
    EXPECT_EQ(p.setup.margins, (std::array<double, 4>{10, 11, 12, 13}));
    EXPECT_DOUBLE_EQ(p.setup.gap, 3);
    EXPECT_TRUE(p.styleSheet.contains(QStringLiteral("#112233")));
    EXPECT_EQ(p.headerLine, 5);
    const ReportLayout& r = p.reports[QStringLiteral("r")];
    EXPECT_EQ(r.title, QStringLiteral("Título \"entre aspas\""));
    EXPECT_EQ(r.params, (QSet<QString>{"x", "y"}));
    ASSERT_EQ(r.pages.size(), 2);
    EXPECT_EQ(r.pages[0].render({{"y", QStringLiteral("a:  b")}}), QStringLiteral("<table><tr><td>b</td></tr></table>"));
    EXPECT_EQ(r.pages[0].render({}), QStringLiteral("<table><tr></tr></table>"));
    EXPECT_EQ(p.header.render({{"title", QStringLiteral("T")}, {"x", QStringLiteral("1")}}), QStringLiteral("<p>T </p><p>1</p>"));
}

TEST(ProjectParser, FaultsAreRefusedWithTheirLine)
{
    struct Case {
        QString text;
        int line;
        const char* fragment;
    };
    const auto p = [](const char* body) { return project(body); };
    const std::vector<Case> cases = {
        {QString(), 1, "vazio"},
        {QStringLiteral("report r\n"), 1, "mal formado"},
        {QStringLiteral("<relatorio/>"), 1, "<project>"},
        {p("<report name=\"r\" title=\"T\"><page><p>aberto</page></report>\n"), 2, "<p> não foi fechado"},
        {p("\n<report name=\"r\" title=\"T\"><page><p>x</p></page>\n"), 3, "<report> não foi fechado"},
        {p("<report name=\"r\" title=\"T\"><page>\n<td>x</td></page></report>\n"), 3, "<td> fora de lugar"},
        {p("<report name=\"r\" title=\"T\"><page>\n<table><p>x</p></table></page></report>\n"), 3, "<p> fora de lugar"},
        {p("<report name=\"r\" title=\"T\"><page>\n<table>solto<tr><td/></tr></table></page></report>\n"), 3, "solto"},
        {p("<report name=\"r\" title=\"T\"><page>\n<campo/></page></report>\n"), 3, "palavra desconhecida: \"campo\""},
        {p("<campo/>\n"), 2, "palavra desconhecida: \"campo\""},
        {p("<report name=\"r\" title=\"T\"><page>\n<p>{y}</p></page></report>\n"), 3, "{y}"},
        {p("<header>\n{x}</header>\n<report name=\"r\" title=\"T\" params=\"x\"><page/></report>\n<report name=\"s\" "
           "title=\"S\"><page/></report>\n"),
         3, "\"s\""},
        {p("<setup margins=\"75 1 184 2\"/>\n"), 2, "margens"},
        {p("<setup margins=\"nan 10 10 10\"/>\n"), 2, "nan"},
        {p("<setup margins=\"10 10 10\"/>\n"), 2, "quatro"},
        {p("<setup paper=\"A3\"/>\n"), 2, "A3"},
        {p("<setup/>\n<setup/>\n"), 3, "repetido"},
        {p("<style>p { font-size: 1e9pt; }</style>\n"), 2, "1e9"},
        {p("<report name=\"r\" title=\"T\"><page>\n<img width=\"nan\"/></page></report>\n"), 3, "nan"},
        {p("<report name=\"r\" title=\"T\"><page>\n<table cellpadding=\"400\"><tr><td/></tr></table></page></report>\n"), 3,
         "400"},
        {p("<report name=\"r\" title=\"T\" params=\"x\"><page>\n<p style=\"{x}\"/></page></report>\n"), 3, "atributo"},
        {p("<report name=\"r\" title=\"T\" cor=\"x\"><page/></report>\n"), 2, "cor"},
        {p("<report name=\"r\"><page/></report>\n"), 2, "title"},
        {p("<report name=\"r\" title=\"T\"></report>\n"), 2, "páginas"},
        {p("<report name=\"r\" title=\"T\"><page/></report>\n<report name=\"r\" title=\"T\"><page/></report>\n"), 3,
         "repetido"},
        {p("texto solto\n"), 2, "texto solto"},
        {QStringLiteral("<!DOCTYPE x [<!ENTITY a \"b\">]>\n<project/>"), 1, "declaração"},
        {p(""), 0, "não tem relatórios"},
    };
    for (const Case& c : cases) {
        try {
            ParseReportProject(c.text);
            ADD_FAILURE() << "accepted: " << c.text.toStdString();
        } catch (const ProjectError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text.toStdString() << " -> " << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.fragment)))
                << c.text.toStdString() << " -> " << e.message().toStdString();
        }
    }
    EXPECT_NO_THROW(ParseReportProject(project(kReport)));
}

struct FaultCase {
    QString text;
    int line;
    const char* fragment;
};

void expectRefused(const std::vector<FaultCase>& cases)
{
    for (const FaultCase& c : cases) {
        try {
            ParseReportProject(c.text);
            ADD_FAILURE() << "accepted: " << c.text.toStdString();
        } catch (const ProjectError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text.toStdString() << " -> " << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.fragment)))
                << c.text.toStdString() << " -> " << e.message().toStdString();
        }
    }
}

QString page(const char* html)
{
    return QStringLiteral("<project name=\"Q\">\n<report name=\"r\" title=\"T\"><page>\n") + QString::fromUtf8(html)
           + QStringLiteral("\n</page></report>\n</project>\n");
}

TEST(ProjectParser, SizesAPageCannotHoldAreRefusedWithTheirLine)
{
    const auto p = [](const char* body) { return project(body); };
    expectRefused({
        // Letters: from 1 to 72 pt, in a style attribute or the style sheet, in any unit.
        {page("<p style=\"font-size: 1999px\">x</p>"), 3, "\"font-size: 1999px\""},
        {page("<p style=\"font-size: 73pt\">x</p>"), 3, "tamanho de letra"},
        {page("<p style=\"font-size: 0.5pt\">x</p>"), 3, "de 1 a 72 pt"},
        {page("<p style=\"font-size: 2.6cm\">x</p>"), 3, "2.6cm"},
        {page("<p style=\"font-size: 700%\">x</p>"), 3, "700%"},
        {p("<style>\np { color: #000000; }\n\ntd { font-size: 400px; }\n</style>\n" /* line 5 of the file */), 5,
         "font-size: 400px"},
        // Margins, paddings and indents: at most 30 mm.
        {page("<div style=\"margin-left: 1999px\"><p>x</p></div>"), 3, "\"margin-left: 1999px\""},
        {page("<p style=\"padding: 1px 4px 31mm\">x</p>"), 3, "espaço fora de proporção"},
        {page("<p style=\"text-indent: -5in\">x</p>"), 3, "text-indent"},
        {p("<style>\np {\n  margin-top: 2px;\n  margin-bottom: 120px;\n}\n</style>\n"), 5, "margin-bottom: 120px"},
        {page("<p style=\"line-height: 900%\">x</p>"), 3, "altura de linha"},
        {page("<p style=\"-qt-block-indent: 60\">x</p>"), 3, "recuo fora de proporção"},
        // Widths and heights: inside the printable area of the page setup, wherever the setup stands.
        {page("<table>\n<tr><td width=\"1999\">x</td></tr></table>"), 4, "width=\"1999\" não cabe na área de impressão"},
        {page("<table width=\"150%\"><tr><td>x</td></tr></table>"), 3, "150%"},
        {page("<img height=\"1100\"/>"), 3, "174.0 × 271.0 mm"},
        {page("<p style=\"width: 200mm\">x</p>"), 3, "width: 200mm"},
        {p("<report name=\"r\" title=\"T\"><page>\n<img width=\"640\"/></page></report>\n<setup paper=\"A5\"/>\n"), 3,
         "112.0 × 184.0 mm"},
        // A number that is not one, in the style sheet: the line it is on, not the end of <style>.
        {p("<style>\np { color: #ff0000; }\n\ntd { margin: nan; }\n\n</style>\n"), 5, "nan"},
        {p("<style>p { font-size: 9pt; }\n/* 1e999 */ td { padding: 1e999px; }</style>\n"), 3, "1e999"},
    });
}

TEST(ProjectParser, SizesAtTheirLimitsAreAccepted)
{
    for (const char* html : {"<p style=\"font-size: 72pt; margin-left: 30mm; padding: 3cm\">x</p>",
                             "<p style=\"font-size: 1pt; line-height: 500%; text-indent: -30mm\">x</p>",
                             "<table width=\"100%\"><tr><td width=\"657\">x</td></tr></table>",
                             "<img width=\"640\" height=\"1000\"/>", "<p style=\"font-weight: 700; color: #999999\">x</p>",
                             "<p style=\"-qt-block-indent: 10\">x</p>"})
        EXPECT_NO_THROW(ParseReportProject(page(html))) << html;
}

TEST(ProjectParser, BrokenXmlIsToldInPortugueseNamingTheElementWhateverQtsLanguage)
{
    const auto p = [](const char* body) { return project(body); };
    const std::vector<FaultCase> cases = {
        {page("<div>\n<p>texto</p>\n"), 3, "o elemento <div> não foi fechado"},
        {page("<div>\n<p>texto</div>"), 4, "o elemento <p> não foi fechado"},
        {p("<report name=\"r\" title=\"T\">\n<page><table><tr><td>x</td></tr>\n</page></report>\n"), 3,
         "o elemento <table> não foi fechado"},
        {QStringLiteral("isto não é um projeto\n"), 1, "texto mal formado: o projeto deve começar por <project>"},
        {QStringLiteral("\n\n{ \"report\": 1 }"), 3, "deve começar por <project>"},
        {page("<p>Souza & Filhos</p>"), 3, "dentro de <p> (aberto na linha 3): um \"&\" no texto deve ser escrito &amp;"},
        {page("<table border=1><tr><td>x</td></tr></table>"), 3, "entre aspas"},
        {page("<p>1 < 2</p>"), 3, "&lt;"},
    };
    expectRefused(cases);
    // Qt's own text is in the language of its translation, and names no element: the program
    // tells the fault in its own words either way.
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTranslator portuguese;
    ASSERT_TRUE(portuguese.load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    ASSERT_TRUE(QCoreApplication::installTranslator(&portuguese));
    expectRefused(cases);
    for (const FaultCase& c : cases) {
        try {
            ParseReportProject(c.text);
        } catch (const ProjectError& e) {
            for (const char* qtWords : {"expected", "Expected", "mismatch", "esperad", "Incompatibilidade"})
                EXPECT_FALSE(e.message().contains(QLatin1String(qtWords))) << e.message().toStdString();
        }
    }
}

TEST(ProjectLoader, MissingFileIsAnInputOutputError)
{
    QTemporaryDir dir;
    EXPECT_THROW(LoadReportProject(dir.filePath(QStringLiteral("Análises.rav"))), IoError);
}

TEST(ProjectLoader, ReadsWindows1252WithAnyLineEnding)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.rav"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ToCp1252(QStringLiteral("<project>\r\n<report name=\"r\" title=\"Análise Cefalométrica\">\r<page>\r\n<p>\r{desconhecido}</p>"
                                    "</page></report></project>")));
    f.close();
    try {
        LoadReportProject(path);
        ADD_FAILURE() << "an unknown parameter was accepted";
    } catch (const ProjectError& e) {
        EXPECT_EQ(e.line(), 5);  // CR LF and a lone CR each end one line
    }
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(ToCp1252(QStringLiteral("<project>\r\n<report name=\"r\" title=\"Análise Cefalométrica\">\r<page/></report></project>")));
    f.close();
    EXPECT_EQ(LoadReportProject(path).reports[QStringLiteral("r")].title, QStringLiteral("Análise Cefalométrica"));
}

}  // namespace
}  // namespace qv::report
