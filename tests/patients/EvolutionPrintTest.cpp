// report5 through the real engine and the shipped project: the table on page 1, the chart on page 2.

#include "StageSamples.h"
#include "printing/PdfProbe.h"

#include "patients/EvolutionReport.h"
#include "patients/EvolutionView.h"
#include "platform/PageContext.h"
#include "printing/PrintActions.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"
#include "support/WorkFolder.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace qv {
namespace {

class EvolutionPrint : public test::WorkFolderTest {};

TEST_F(EvolutionPrint, Report5PrintsTheTableThenTheChart)
{
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

}  // namespace
}  // namespace qv
