// report5 through the real engine and the shipped project: the table on page 1, the chart on page 2.

#include "StageSamples.h"
#include "printing/PdfProbe.h"

#include "patients/EvolutionChart.h"
#include "patients/EvolutionReport.h"
#include "patients/EvolutionView.h"
#include "platform/PageContext.h"
#include "printing/PrintActions.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"
#include "printing/ReportProject.h"
#include "support/WorkFolder.h"

#include <QBuffer>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QImage>

#include <gtest/gtest.h>

namespace qv {
namespace {

class EvolutionPrint : public test::WorkFolderTest {};

TEST_F(EvolutionPrint, Report5PrintsTheTableThenTheChart)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    const std::array<QByteArray, 4> stages = test::FourStages(QStringLiteral("ANA"));
    const char* names[] = {"ANA-INICIAL.twe", "ANA-INTER1.twe", "ANA-INTER2.twe", "ANA-FINAL.twe"};
    std::array<QString, 4> files;
    for (int k = 0; k < 4; ++k) {
        work.write(QStringLiteral("Análises/") + QLatin1String(names[k]), stages[size_t(k)]);
        files[size_t(k)] = QLatin1String(names[k]);
    }
    const Evolution ev = ReadEvolution(work.file(QStringLiteral("Análises")), QStringLiteral("ANA"), files);

    QImage chart(400, 200, QImage::Format_RGB32);
    chart.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    chart.save(&buffer, "PNG");
    const EvolutionReportPlan plan = BuildEvolutionReport(ev, png);

    const QString pdf = work.file(QStringLiteral("evolucao.pdf"));
    ReportEngine engine(dialogs, std::make_unique<report::PdfFileOutput>(pdf));
    const platform::PageContext page{dialogs, [] { return QStringLiteral("Pacientes"); }};
    ASSERT_EQ(PrintEvolution(engine, page, plan.params, plan.lastPage), PrintOutcome::Ran);
    test::KeepReport(pdf, QStringLiteral("evolucao.pdf"));

    ASSERT_EQ(test::PdfPages(pdf), 2);
    const QString first = test::PdfText(pdf, 1);
    for (const char* text : {"Evolução do Tratamento", "ANA", "FMA (22° a 28°)", "Inicial", "Final", "Variação"})
        EXPECT_TRUE(first.contains(QString::fromUtf8(text), Qt::CaseInsensitive)) << text << "\n" << first.toStdString();
    const QString second = test::PdfText(pdf, 2);
    EXPECT_TRUE(second.contains(QStringLiteral("FMIA, IMPA, ANB"))) << second.toStdString();
    EXPECT_FALSE(second.contains(QStringLiteral("continua"))) << second.toStdString();
}

// The chart's page carries the program's own drawing as one picture of print resolution: its
// 4000 pixels across the report's 640 units are 600 pixels per inch on paper.
TEST_F(EvolutionPrint, Report5CarriesTheChartAtPrintResolution)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    const std::array<QByteArray, 4> stages = test::FourStages(QStringLiteral("ANA"));
    const char* names[] = {"ANA-INICIAL.twe", "ANA-INTER1.twe", "ANA-INTER2.twe", "ANA-FINAL.twe"};
    std::array<QString, 4> files;
    for (int k = 0; k < 4; ++k) {
        work.write(QStringLiteral("Análises/") + QLatin1String(names[k]), stages[size_t(k)]);
        files[size_t(k)] = QLatin1String(names[k]);
    }
    const Evolution ev = ReadEvolution(work.file(QStringLiteral("Análises")), QStringLiteral("ANA"), files);
    const EvolutionReportPlan plan = BuildEvolutionReport(ev, EvolutionChart::RenderPng(ev));

    const QString pdf = work.file(QStringLiteral("evolucao.pdf"));
    ReportEngine engine(dialogs, std::make_unique<report::PdfFileOutput>(pdf));
    const platform::PageContext page{dialogs, [] { return QStringLiteral("Pacientes"); }};
    ASSERT_EQ(PrintEvolution(engine, page, plan.params, plan.lastPage), PrintOutcome::Ran);
    test::KeepReport(pdf, QStringLiteral("evolucao-grafico.pdf"));
    ASSERT_EQ(test::PdfPages(pdf), 2);

    // pdfimages -list: "page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio"
    const QStringList lines = test::RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                  .split(u'\n', Qt::SkipEmptyParts);
    QList<QStringList> images;
    for (const QString& line : lines.mid(2)) {
        const QStringList f = line.simplified().split(u' ');
        if (f.size() >= 14 && f[2] == QLatin1String("image"))
            images << f;
    }
    ASSERT_EQ(images.size(), 1) << lines.join(u'\n').toStdString();
    const QStringList& chart = images.front();
    EXPECT_EQ(chart[0], QStringLiteral("2"));  // on the chart's page, not the table's
    EXPECT_EQ(chart[3].toInt(), EvolutionChart::kPrintPixelWidth);
    EXPECT_EQ(chart[4].toInt(), 2431);
    EXPECT_GE(chart[12].toInt(), 590) << lines.join(u'\n').toStdString();
    EXPECT_GE(chart[13].toInt(), 590);
}

// The printed table reads as the one on screen: stage columns right-aligned under right-aligned
// headers, Horn's index and the grade (words) centred, the change centred.
TEST_F(EvolutionPrint, Report5AlignsNumbersWordsAndChanges)
{
    const std::array<QByteArray, 4> stages = test::FourStages(QStringLiteral("ANA"));
    const char* names[] = {"ANA-INICIAL.twe", "ANA-INTER1.twe", "ANA-INTER2.twe", "ANA-FINAL.twe"};
    std::array<QString, 4> files;
    for (int k = 0; k < 4; ++k) {
        work.write(QStringLiteral("Análises/") + QLatin1String(names[k]), stages[size_t(k)]);
        files[size_t(k)] = QLatin1String(names[k]);
    }
    const Evolution ev = ReadEvolution(work.file(QStringLiteral("Análises")), QStringLiteral("ANA"), files);
    report::ParamMap params;
    for (const ReportParam& p : BuildEvolutionReport(ev, QByteArray()).params)
        params.insert(p.name, p.text);
    const report::ReportProject project = report::LoadReportProject(ReportEngine::ProjectFile());
    ASSERT_TRUE(project.reports.contains(QStringLiteral("report5")));
    QTextDocument doc;
    doc.setDefaultStyleSheet(project.styleSheet);
    doc.setHtml(project.reports[QStringLiteral("report5")].pages.at(0).render(params));

    QTextTable* table = nullptr;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(frame); t && t->columns() == 6)
            table = t;
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rows(), ev.rows.size() + 1);
    const auto align = [&](int row, int column) {
        // HTML's "right" is absolute (not mirrored in right-to-left text): only the side counts here.
        return table->cellAt(row, column).firstCursorPosition().blockFormat().alignment()
               & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify);
    };
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(align(0, c), Qt::AlignRight) << "header of stage column " << c;
    EXPECT_EQ(align(0, 5), Qt::AlignHCenter);

    const std::pair<EvolutionRow::Kind, Qt::Alignment> byKind[] = {
        {EvolutionRow::Number, Qt::AlignRight}, {EvolutionRow::Integer, Qt::AlignRight},
        {EvolutionRow::Percent, Qt::AlignRight}, {EvolutionRow::Horn, Qt::AlignHCenter},
        {EvolutionRow::Grade, Qt::AlignHCenter}};
    QSet<int> seen;
    for (int r = 0; r < ev.rows.size(); ++r) {
        const EvolutionRow& row = ev.rows[r];
        if (row.kind == EvolutionRow::Section)
            continue;
        SCOPED_TRACE(row.label.toStdString());
        for (const auto& [kind, expected] : byKind)
            if (kind == row.kind) {
                seen.insert(int(kind));
                for (int c = 1; c <= 4; ++c)
                    EXPECT_EQ(align(r + 1, c), expected) << "stage column " << c;
            }
        EXPECT_EQ(align(r + 1, 5), Qt::AlignHCenter) << "change";
    }
    EXPECT_EQ(seen.size(), 5u);  // every kind of row was met
}

}  // namespace
}  // namespace qv
