// The report project file: the shipped project places every parameter of its report, and
// faulty projects are refused with the line of the fault.

#include "PrintSamples.h"

#include "printing/ReportParams.h"
#include "printing/ReportProject.h"
#include "records/Cp1252.h"
#include "records/IoError.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::report {
namespace {

QString shippedPath() { return QDir(QStringLiteral(QUORVEL_DATA_DIR)).filePath(QStringLiteral("Análises.rav")); }

QSet<QString> placed(const ReportLayout& report)
{
    QSet<QString> names;
    auto add = [&](const QList<Element>& elements) {
        for (const Element& e : elements) {
            for (const QString& n : {e.param, e.ifParam})
                if (!n.isEmpty())
                    names.insert(n);
            for (const CrossDef& c : e.crosses) {
                names.insert(c.hbar);
                names.insert(c.vbar);
                for (const QString& q : c.quadrants)
                    names.insert(q);
            }
        }
    };
    add(report.header);
    add(report.footer);
    for (const auto& page : report.pages)
        add(page);
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

TEST(ShippedProject, PlacesExactlyTheParametersOfEachReport)
{
    const ReportProject project = LoadReportProject(shippedPath());
    ASSERT_EQ(project.reports.size(), 4);
    const QMap<QString, QSet<QString>> expected = {
        {QStringLiteral("report1"), built(BuildTweedReport(test::SampleTweedDiagnosed()).params)},
        {QStringLiteral("report2"), built(test::SampleBoltonReport())},
        {QStringLiteral("report3"), built(BuildHistoryReport(QStringLiteral("A"), QStringLiteral("x")))},
        {QStringLiteral("report4"), built(BuildPlanReport(QStringLiteral("A"), QStringLiteral("x")))},
    };
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        ASSERT_TRUE(project.reports.contains(it.key())) << it.key().toStdString();
        const ReportLayout& report = project.reports[it.key()];
        EXPECT_EQ(sorted(placed(report)).toStdString(), sorted(it.value()).toStdString()) << it.key().toStdString();
        EXPECT_EQ(report.paper, QStringLiteral("A4"));
        EXPECT_FALSE(report.title.isEmpty());
    }
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

const char* kMinimal = "project \"Q\"\nstyle s size=9\nreport r\n page\n  field param=x style=s\nend\n";

TEST(ProjectParser, ReadsPlacementsStylesAndCrosses)
{
    const ReportProject p = ParseReportProject(QString::fromUtf8(
        "# comment\n"
        "project \"Quorvel\"\n"
        "style base font=\"DejaVu Sans\" size=9.5 color=#112233\n"
        "style big from=base size=12 bold align=right fill=#eeeeee padding=1.5\n"
        "report r   # trailing comment\n"
        "  title \"Título \"\"entre aspas\"\"\"\n"
        "  paper A5 landscape\n"
        "  margins 10 11 12 13\n"
        "  page\n"
        "    text x=1 y=2 w=30 h=5 style=big text=\"Olá {page}\"\n"
        "    pair x=0 y=+3 caption=20 param=p valuestyle=base underline\n"
        "    rule x=5 y=same+1.5 h=8 thickness=0.6\n"
        "    choices param=c if=ci cross=h1,v1,q1,q2,q3,q4 cross=h2,v2,r1,r2,r3,r4 crosssize=14\n"
        "end\n"));
    ASSERT_TRUE(p.reports.contains(QStringLiteral("r")));
    const ReportLayout& r = p.reports[QStringLiteral("r")];
    EXPECT_EQ(r.title, QStringLiteral("Título \"entre aspas\""));
    EXPECT_EQ(r.paper, QStringLiteral("A5"));
    EXPECT_TRUE(r.landscape);
    EXPECT_EQ(r.margins, (std::array<double, 4>{10, 11, 12, 13}));
    const Style& big = p.styles[QStringLiteral("big")];
    EXPECT_EQ(big.color, QStringLiteral("#112233"));  // inherited
    EXPECT_DOUBLE_EQ(big.size, 12);
    EXPECT_TRUE(big.bold);
    EXPECT_EQ(big.align, Align::Right);
    ASSERT_EQ(r.pages.size(), 1);
    const auto& e = r.pages[0];
    ASSERT_EQ(e.size(), 4);
    EXPECT_EQ(e[0].place, Place::Absolute);
    EXPECT_DOUBLE_EQ(e[0].y, 2);
    EXPECT_EQ(e[0].text, QStringLiteral("Olá {page}"));
    EXPECT_EQ(e[1].place, Place::Below);
    EXPECT_DOUBLE_EQ(e[1].y, 3);
    EXPECT_TRUE(e[1].underline);
    EXPECT_EQ(e[2].place, Place::Same);
    EXPECT_DOUBLE_EQ(e[2].y, 1.5);
    EXPECT_DOUBLE_EQ(e[2].h, 8);
    EXPECT_EQ(e[3].place, Place::Below);  // no y: right below the previous row
    ASSERT_EQ(e[3].crosses.size(), 2);
    EXPECT_EQ(e[3].crosses[1].quadrants[3], QStringLiteral("r4"));
    EXPECT_EQ(e[3].ifParam, QStringLiteral("ci"));
}

TEST(ProjectParser, FaultsNameTheirLine)
{
    struct Case {
        const char* text;
        int line;
        const char* fragment;
    };
    const std::vector<Case> cases = {
        {"", 1, "vazio"},
        {"report r\n", 1, "project"},
        {"project \"Q\"\nreport r\n page\n  field param=x\n", 2, "end"},
        {"project \"Q\"\nreport r\n title \"x\"\nend\n", 4, "páginas"},
        {"project \"Q\"\nreport r\n page\n  field x=1\nend\n", 4, "param"},
        {"project \"Q\"\nreport r\n page\n  field param=x style=nada\nend\n", 4, "nada"},
        {"project \"Q\"\nreport r\n page\n  field param=x x=abc\nend\n", 4, "abc"},
        {"project \"Q\"\nreport r\n page\n  field param=x x=-3\nend\n", 4, "-3"},
        {"project \"Q\"\nreport r\n page\n  blob param=x\nend\n", 4, "blob"},
        {"project \"Q\"\nreport r\n page\n  text text=\"sem fim\nend\n", 4, "aspas"},
        {"project \"Q\"\nreport r\n page\n  choices param=c cross=a,b,c\nend\n", 4, "seis"},
        {"project \"Q\"\nreport r\n page\n  field param=x color=red\nend\n", 4, "cor"},
        {"project \"Q\"\nreport r\n page\n  field param=x\nend\nreport r\n page\n  field param=x\nend\n", 6, "repetido"},
        {"project \"Q\"\nreport r\n field param=x\n page\nend\n", 3, "fora"},
        {"project \"Q\"\nreport r\n header\n  flow param=m\n page\nend\n", 4, "flow"},
        {"project \"Q\"\nreport r\n paper A3\n page\n  field param=x\nend\n", 3, "paper"},
        {"project \"Q\"\nstyle s size=100\n", 2, "tamanho"},
        {"project \"Q\"\n", 0, "relatórios"},
    };
    for (const Case& c : cases) {
        try {
            ParseReportProject(QString::fromUtf8(c.text));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ProjectError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text;
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.fragment))) << c.text << " -> " << e.message().toStdString();
        }
    }
    EXPECT_NO_THROW(ParseReportProject(QString::fromUtf8(kMinimal)));
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
    f.write(ToCp1252(QStringLiteral("project \"Q\"\r\nreport r\r  title \"Análise Cefalométrica\"\r\n page\r\n  field param=x\r\nend")));
    f.close();
    const ReportProject p = LoadReportProject(path);
    EXPECT_EQ(p.reports[QStringLiteral("r")].title, QStringLiteral("Análise Cefalométrica"));
}

}  // namespace
}  // namespace qv::report
