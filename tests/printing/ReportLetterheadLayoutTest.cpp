// The clinic's letterhead in the shipped report project: it never costs a report any of its
// content, and its short items each keep to one line, at A4 and at Letter.

#include "PrintSamples.h"

#include "platform/PageContext.h"
#include "printing/ClinicInfo.h"
#include "printing/PrintActions.h"
#include "printing/ReportDocument.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"
#include "records/Cp1252.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace qv {
namespace {

using report::ClinicInfo;
using report::LaidPage;

// As long as the letterhead window lets a field be, in words that wrap like real ones.
QString longest(const QString& words)
{
    QString t;
    while (t.size() < 200)
        t += words + u' ';
    return t.left(200).trimmed();
}

ClinicInfo longestClinic(const QString& logo)
{
    ClinicInfo c;
    c.clinic = longest(QStringLiteral("Clínica Odontológica Sorriso Perfeito"));
    c.professional = longest(QStringLiteral("Dra. Ana Carolina de Souza Albuquerque"));
    c.registration = longest(QStringLiteral("CRO-SP 45678"));
    c.address = longest(QStringLiteral("Av. Brigadeiro Faria Lima, 1234, conjunto 56, São Paulo"));
    c.phone = longest(QStringLiteral("(11) 3456-7890"));
    c.email = longest(QStringLiteral("atendimento@sorrisoperfeito.com.br"));
    c.logo = logo;
    return c;
}

// A real clinic's letterhead: every item fits a line of the page.
ClinicInfo realClinic(const QString& logo)
{
    ClinicInfo c;
    c.clinic = QStringLiteral("Clínica Odontológica Sorriso Perfeito — Ortodontia");
    c.professional = QStringLiteral("Dra. Ana Carolina de Souza Albuquerque");
    c.registration = QStringLiteral("CRO-SP 45678");
    c.address = QStringLiteral("Av. Brigadeiro Faria Lima, 1234, conjunto 56 — Jardim Paulistano — São Paulo, SP");
    c.phone = QStringLiteral("(11) 3456-7890 / (11) 98765-4321");
    c.email = QStringLiteral("atendimento@sorrisoperfeito-ortodontia.com.br");
    c.logo = logo;
    return c;
}

// The texts of the header as the shipped project writes them, in reading order.
QStringList headerTexts(const ClinicInfo& c, const QString& title, const QString& patient)
{
    return {c.clinic, c.professional + QStringLiteral(" — ") + c.registration, c.address,
            QStringLiteral("Telefone: ") + c.phone + QStringLiteral(" · ") + c.email, title, patient};
}

// The words of the body of every page, sorted: what a report holds, however it is paginated
// (a table that straddles a page break is read column by column on each page).
QStringList content(const QList<LaidPage>& pages)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList words;
    for (const LaidPage& p : pages)
        for (const QString& text : p.body())
            words += text.split(blanks, Qt::SkipEmptyParts);
    words.sort();
    return words;
}

class LetterheadLayoutTest : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        dialogs.setHideItem(&popOcultar);
        work.write(HistoryFilePath(QStringLiteral("ANA")), ToCp1252(test::SampleHistoryFile(QStringLiteral("ANA"), 40)));
        QImage logo(600, 300, QImage::Format_RGB32);
        logo.fill(QColor(31, 78, 121));
        ASSERT_TRUE(logo.save(work.file(QStringLiteral("logo.png"))));
    }

    QString logo() const { return work.file(QStringLiteral("logo.png")); }

    struct Print {
        const char* report;
        std::function<PrintOutcome(ReportEngine&)> run;
    };

    std::vector<Print> prints()
    {
        return {
            {"report1", [&](ReportEngine& e) { return PrintTweed(e, page, test::SampleTweedDiagnosed()); }},
            {"report2", [&](ReportEngine& e) { return PrintBolton(e, page, test::SampleBolton()); }},
            {"report3", [&](ReportEngine& e) { return PrintHistory(e, page, QStringLiteral("ANA"), 160); }},
            {"report4",
             [&](ReportEngine& e) {
                 return PrintPlan(e, page, QStringLiteral("ANA"), test::SampleHistoryFile(QStringLiteral("ANA"), 12), 48,
                                  [] { return true; });
             }},
            {"report5", [&](ReportEngine& e) { return PrintEvolution(e, page, evolutionParams(), 2); }},
            {"report6", [&](ReportEngine& e) { return PrintCephalometric(e, page, cephalometricParams(), 10); }},
        };
    }

    // report6 with every analysis chosen, a text in every other parameter and the traced picture.
    ReportParamList cephalometricParams() const
    {
        const report::ReportProject project = report::LoadReportProject(ReportEngine::ProjectFile());
        ReportParamList params;
        QImage picture(900, 700, QImage::Format_RGB32);
        picture.fill(Qt::darkGray);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        for (const QString& name : project.reports[QStringLiteral("report6")].params)
            params.append({name, name == QLatin1String("nome")     ? QStringLiteral("Paciente:  ANA")
                                 : name == QLatin1String("imagem") ? QStringLiteral("data:image/png;base64,")
                                                                         + QString::fromLatin1(png.toBase64())
                                                                   : QStringLiteral("v-") + name});
        return params;
    }

    // report5 with a text in every parameter it declares and the chart as a picture.
    ReportParamList evolutionParams() const
    {
        const report::ReportProject project = report::LoadReportProject(ReportEngine::ProjectFile());
        ReportParamList params;
        for (const QString& name : project.reports[QStringLiteral("report5")].params)
            params.append({name, name == QLatin1String("nome") ? QStringLiteral("Paciente:  ANA") : QStringLiteral("v-") + name});
        QImage chart(640, 320, QImage::Format_RGB32);
        chart.fill(Qt::darkGreen);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        chart.save(&buffer, "PNG");
        for (ReportParam& p : params)
            if (p.name == QLatin1String("grafico"))
                p.text = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
        return params;
    }

    QList<LaidPage> print(const Print& p)
    {
        ReportEngine engine(dialogs, std::make_unique<report::MemoryOutput>());
        EXPECT_EQ(p.run(engine), PrintOutcome::Ran) << p.report;
        return static_cast<report::MemoryOutput&>(engine.output()).pages;
    }

    QAction popOcultar;
    platform::PageContext page{dialogs, [] { return QStringLiteral("Quorvel"); }};
};

TEST_F(LetterheadLayoutTest, EveryReportKeepsItsWholeContentUnderTheLongestLetterhead)
{
    const ClinicInfo clinic = longestClinic(logo());
    for (const Print& p : prints()) {
        QFile::remove(ClinicInfo::FileName());
        const QList<LaidPage> plain = print(p);
        clinic.save();
        const QList<LaidPage> lettered = print(p);
        ASSERT_FALSE(plain.isEmpty()) << p.report;
        ASSERT_FALSE(lettered.isEmpty()) << p.report;
        EXPECT_GE(lettered.size(), plain.size()) << p.report;
        // Every word, only paginated otherwise; nothing says it goes on.
        const QStringList with = content(lettered);
        const QStringList without = content(plain);
        QStringList missing = without;
        for (const QString& w : with)
            missing.removeOne(w);
        EXPECT_TRUE(missing.isEmpty()) << p.report << " lost: " << missing.join(u' ').left(400).toStdString();
        EXPECT_EQ(with.size(), without.size()) << p.report;
        const QString n = QString::number(lettered.size());
        for (int k = 0; k < lettered.size(); ++k) {
            const LaidPage& pg = lettered[k];
            EXPECT_FALSE(pg.texts().join(u'|').contains(QStringLiteral("(continua:"))) << p.report << " page " << k + 1;
            // The whole letterhead on every page, and the page count the pages really have.
            EXPECT_EQ(pg.texts().mid(0, 4), headerTexts(clinic, {}, {}).mid(0, 4)) << p.report << " page " << k + 1;
            EXPECT_EQ(pg.texts().last(), QStringLiteral("Página %1 de %2").arg(k + 1).arg(n)) << p.report;
        }
    }
}

TEST_F(LetterheadLayoutTest, TheTweedDiagnosisKeepsItsAlternativesAndNoteWithTheLetterhead)
{
    longestClinic(logo()).save();
    const QList<LaidPage> pages = print(prints()[0]);
    QStringList body;
    for (const LaidPage& p : pages)
        body += p.body();
    const QString all = body.join(u'|');
    for (const char* text : {"Diagnóstico Sugerido", "Tratamento compensatório por\nposicionamento dentário",
                             "O diagnóstico e o plano de tratamento sugeridos são apenas uma orientação; a decisão é do "
                             "profissional.",
                             "ÍNDICE DE DIFICULDADE SUAVE: 18.8"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(text))) << text;
    int crosses = 0;
    for (const LaidPage& p : pages)
        crosses += p.crosses;
    EXPECT_EQ(crosses, 8);
    // The suggested diagnosis still starts a page of its own.
    int diagnosisPage = -1;
    for (int k = 0; k < pages.size(); ++k)
        if (pages[k].body().value(0) == QStringLiteral("Diagnóstico Sugerido"))
            diagnosisPage = k;
    EXPECT_GT(diagnosisPage, 0);
}

TEST_F(LetterheadLayoutTest, ARealLetterheadAddsNoPageToTheTweedAndBoltonReports)
{
    realClinic(logo()).save();
    struct Case {
        int print;
        int pages;
    };
    for (const Case& c : {Case{0, 2}, Case{1, 1}}) {
        const QList<LaidPage> pages = print(prints()[size_t(c.print)]);
        EXPECT_EQ(pages.size(), c.pages) << prints()[size_t(c.print)].report;
        EXPECT_EQ(pages.value(0).texts().mid(0, 4), headerTexts(realClinic(logo()), {}, {}).mid(0, 4));
    }
}

TEST_F(LetterheadLayoutTest, ThePrintRangeGrowsWithTheLetterheadAndAShorterRangeIsHonoured)
{
    const ClinicInfo clinic = longestClinic(logo());
    const report::ReportProject project = report::LoadReportProject(ReportEngine::ProjectFile());
    const TweedReportPlan plan = BuildTweedReport(test::SampleTweedDiagnosed());
    report::ParamMap params;
    for (const ReportParam& p : plan.params + plan.alternatives)
        params.insert(p.name, p.text);
    const report::ReportDocument plain(project, project.reports[QStringLiteral("report1")], params, plan.lastPage);
    EXPECT_EQ(plain.lastPage(), 2);
    const report::ParamMap letterhead = clinic.params(true);
    for (auto it = letterhead.begin(); it != letterhead.end(); ++it)
        params.insert(it.key(), it.value());
    report::ReportDocument doc(project, project.reports[QStringLiteral("report1")], params, plan.lastPage);
    doc.setLogo(clinic.logoImage());
    const int last = doc.lastPage();
    EXPECT_GT(last, 2);
    struct Case {
        int from, to, painted;
    };
    for (const Case& c : {Case{1, last, last}, Case{1, 0, last}, Case{1, 2, 2}, Case{2, last - 1, last - 2}, Case{last, last, 1}}) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageLayout(doc.pageLayout());
        QList<LaidPage> pages;
        EXPECT_EQ(doc.print(writer, c.from, c.to, {}, &pages), c.painted) << c.from << ".." << c.to;
        EXPECT_EQ(pages.value(0).texts().last(), QStringLiteral("Página %1 de %2").arg(c.from).arg(last));
    }
}

TEST_F(LetterheadLayoutTest, ARunawayHistoryStillStopsAtItsLastPageWithTheLetterhead)
{
    longestClinic(logo()).save();
    work.write(HistoryFilePath(QStringLiteral("ANA")), ToCp1252(test::SampleHistoryFile(QStringLiteral("ANA"), 1200)));
    const QList<LaidPage> pages =
        print({"report3", [&](ReportEngine& e) { return PrintHistory(e, page, QStringLiteral("ANA"), 4800); }});
    ASSERT_EQ(pages.size(), 50);
    EXPECT_TRUE(pages.last().texts().contains(report::TruncationNotice(50)));
    EXPECT_EQ(pages.last().texts().last(), QStringLiteral("Página 50 de 50"));
}

TEST_F(LetterheadLayoutTest, ShortItemsOfTheHeaderKeepToOneLineAtA4AndLetter)
{
    const ClinicInfo clinic = realClinic(logo());
    const report::ReportProject project = report::LoadReportProject(ReportEngine::ProjectFile());
    struct Case {
        const char* report;
        ReportParamList params;
        QString patient;
    };
    const TweedReportPlan tweed = BuildTweedReport(test::SampleTweedDiagnosed());
    const std::vector<Case> cases = {
        {"report1", tweed.params + tweed.alternatives, QStringLiteral("Paciente:  ANA  -  INTER1")},
        {"report2", test::SampleBoltonReport(), QStringLiteral("Paciente:  BIA")},
        {"report3", BuildHistoryReport(QStringLiteral("MARIA APARECIDA DOS SANTOS OLIVEIRA"), QStringLiteral("x")),
         QStringLiteral("Paciente:  MARIA APARECIDA DOS SANTOS OLIVEIRA")},
        {"report4", BuildPlanReport(QStringLiteral("ANA"), QStringLiteral("x")), QStringLiteral("Paciente:  ANA")},
    };
    for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
        for (const Case& c : cases) {
            const QString name = QString::fromLatin1(c.report);
            report::ParamMap params;
            for (const ReportParam& p : c.params)
                params.insert(p.name, p.text);
            const report::ParamMap letterhead = clinic.params(true);
            for (auto it = letterhead.begin(); it != letterhead.end(); ++it)
                params.insert(it.key(), it.value());
            report::ReportDocument doc(project, project.reports[name], params, 2);
            doc.setLogo(clinic.logoImage());
            QByteArray pdf;
            QBuffer buffer(&pdf);
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            QPageLayout layout = doc.pageLayout();
            layout.setPageSize(QPageSize(paper));
            writer.setPageLayout(layout);
            QList<LaidPage> pages;
            ASSERT_GE(doc.print(writer, 1, 1, {}, &pages), 1) << c.report;
            const LaidPage& first = pages.value(0);
            const QStringList expected = headerTexts(clinic, project.reports[name].title, c.patient);
            ASSERT_EQ(first.headerTexts, expected.size()) << c.report << " " << first.texts().join(u'|').toStdString();
            for (qsizetype k = 0; k < expected.size(); ++k) {
                EXPECT_EQ(first.blocks[k].simplified(), expected[k].simplified()) << c.report;
                EXPECT_EQ(first.lines[k], 1) << c.report << " paper " << int(paper) << ": " << expected[k].toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace qv
