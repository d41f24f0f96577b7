// Fuzzes the report project: whatever the bytes of "Análises.rav" hold, loading refuses them
// with a ProjectError or gives a project whose every report lays out and paints the texts a
// clinician prints: a computed Tweed analysis with its suggested diagnosis, a Bolton analysis,
// a long history, a plan, the evolution with its chart, under the longest letterhead with a logo.
// Links against the printing sources (ReportProject, ReportTemplate, ReportDocument, ClinicInfo)
// and the pure calculations, with Qt Core and Gui.

#include "FuzzCheck.h"

#include "analysis/BoltonCalc.h"
#include "analysis/DiagnosisGeneration.h"
#include "patients/EvolutionReport.h"
#include "printing/ClinicInfo.h"
#include "printing/ReportDocument.h"
#include "printing/ReportParams.h"
#include "tracing/CephReport.h"
#include "printing/ReportProject.h"
#include "records/Cp1252.h"
#include "records/TweedFile.h"
#include "analysis/TweedAnalysis.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <cstddef>
#include <cstdint>

using namespace qv;

namespace {

TweedSheet tweedSheet(AnalysisStage stage, double drift)
{
    TweedSheet s;
    s.twPaciente = QStringLiteral("MARIA APARECIDA DOS SANTOS");
    s.Idade = QStringLiteral("13");
    s.GenFem = true;
    s.stage = stage;
    const auto v = [drift](double x) { return QString::number(x + drift, 'f', 1); };
    s.twfma = v(31.0), s.twfmia = v(58.0), s.twimpa = v(97.0), s.twploc = v(14.0), s.twsna = v(84.0);
    s.twsnb = v(77.5), s.twaobo = v(4.5), s.twangz = v(64.0), s.twls = v(16.0), s.twqt = v(12.0);
    s.twafa = v(70.0), s.twafp = v(43.0);
    s.anaer = v(34.0), s.anaep = v(27.5), s.anmer = v(22.0), s.anmep = v(18.5), s.anmspee = v(-2.5);
    s.anmcorr = v(-3.0), s.anper = v(14.0), s.anpep = v(9.0);
    s.anmcl2 = true;
    return s;
}

// report1 as the Tweed page prints it: the calculation and the guide's suggestion.
ReportParamList tweedReport()
{
    const TweedSheet sheet = tweedSheet(AnalysisStage::INICIAL, 0);
    const TweedResults results = ComputeTweed(sheet);
    GuideAnswers answers;
    answers.daapinh = answers.maior = true;
    answers.dmapinh = answers.dmpro = true;
    answers.dpinadeq = true;
    answers.clsim = true;
    answers.clnao = false;
    answers.horcl2 = answers.direita = answers.aberta = answers.severa = true;
    answers.desarm = answers.dessevera = true;
    const PanelState panel = GenerateDiagnosis(
        {results.space.anantres, results.space.anmedres, results.space.anposres, results.twanbres}, answers);
    const TweedReportPlan plan = BuildTweedReport(sheet, results, panel);
    return plan.params + plan.alternatives;
}

// report2 with sums computed and the table's look-up as the page shows it.
ReportParamList boltonReport()
{
    BoltonSheet sheet;
    sheet.bpaciente = QStringLiteral("MARIA APARECIDA DOS SANTOS");
    const char* upper[12] = {"10.5", "7.0", "7.5", "8.0", "6.5", "8.5", "8.5", "6.5", "8.0", "7.5", "7.0", "10.5"};
    const char* lower[12] = {"11.5", "7.5", "7.0", "7.0", "6.0", "5.5", "5.5", "6.0", "7.0", "7.0", "7.5", "11.5"};
    for (int k = 0; k < 12; ++k) {
        sheet.s[size_t(k)] = QString::fromLatin1(upper[k]);
        sheet.i[size_t(k)] = QString::fromLatin1(lower[k]);
    }
    // Bolton's own table, from the source of Bolton.cef.
    static const BoltonTable table = [] {
        BoltonTable t;
        QFile file(QStringLiteral(QUORVEL_DATA_SOURCE "/bolton_tables.txt"));
        fuzz::Check(file.open(QIODevice::ReadOnly | QIODevice::Text), "bolton_tables.txt readable");
        std::vector<std::pair<double, double>>* rows = nullptr;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).section(u'#', 0, 0).trimmed();
            if (line.startsWith(QLatin1String("[anterior]")))
                rows = &t.anterior;
            else if (line.startsWith(QLatin1String("[overall]")))
                rows = &t.overall;
            else if (rows && !line.isEmpty())
                rows->push_back({line.simplified().section(u' ', 0, 0).toDouble(), line.simplified().section(u' ', 1, 1).toDouble()});
        }
        fuzz::Check(int(t.anterior.size()) == BoltonTable::kAnteriorRows && int(t.overall.size()) == BoltonTable::kOverallRows,
                    "rows of bolton_tables.txt");
        return t;
    }();
    return BuildBoltonReport(sheet, ComputeBolton(sheet, table));
}

QString historyText(int visits)
{
    QStringList lines;
    for (int v = 1; v <= visits; ++v) {
        lines << QStringLiteral("%1/03/2024").arg(v % 28 + 1, 2, 10, QChar(u'0')) << QString()
              << QStringLiteral("Consulta %1: ajuste do arco superior 0.018\" aço, troca das ligaduras elásticas, "
                                "orientação de higiene & uso dos elásticos <classe II>.")
                     .arg(v)
              << QString(145, u'-');
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// The chart as the evolution hands it to its report: a picture of the program's drawing.
QByteArray chartPng()
{
    QImage image(640, 320, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(QRect(40, 100, 580, 80), QColor(232, 238, 245));
    p.setPen(QPen(QColor(31, 78, 121), 2));
    p.drawPolyline(QPolygon({QPoint(40, 260), QPoint(230, 190), QPoint(420, 150), QPoint(620, 140)}));
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

ReportParamList evolutionReport()
{
    QList<EvolutionStage> stages;
    const AnalysisStage names[] = {AnalysisStage::INICIAL, AnalysisStage::INTER1, AnalysisStage::INTER2,
                                   AnalysisStage::FINAL};
    for (int k = 0; k < 4; ++k)
        stages.append({k, CalculateStage(EncodeTweed(tweedSheet(names[k], -1.5 * k)))});
    return BuildEvolutionReport(BuildEvolution(QStringLiteral("MARIA APARECIDA DOS SANTOS"), stages), chartPng()).params;
}

// report6 with every shipped analysis, its blocks repeated per analysis and measure, over a
// face with some points missing and no calibration (values, dashes and their reasons).
ReportParamList cephalometricReport()
{
    CephReportInput in;
    in.patient = QStringLiteral("MARIA APARECIDA DOS SANTOS");
    in.stage = QStringLiteral("INTER1");
    in.calibration = QStringLiteral("Sem calibração: distâncias não medidas.");
    in.normsSource = QStringLiteral("Normas padrão do programa.");
    for (int i = 0; i < kLandmarkCount; i += 2)
        in.points.set(LandmarkAt(i), QPointF(100 + 13 * i, 80 + 7 * (i % 5)));
    in.catalogue = std::make_shared<const AnalysisCatalogue>(ShippedAnalyses());
    in.values = MeasureCephalometrics(*in.catalogue, in.points, {});
    in.norms = CephNorms::defaults(*in.catalogue);
    for (size_t a = 0; a < in.catalogue->analyses.size(); ++a)
        in.analyses.push_back(int(a));
    return BuildCephReport(in).params;
}

report::ClinicInfo longestLetterhead()
{
    const auto longest = [](const QString& words) {
        QString t;
        while (t.size() < 200)
            t += words + u' ';
        return t.left(200).trimmed();
    };
    report::ClinicInfo c;
    c.clinic = longest(QStringLiteral("Clínica Odontológica Sorriso & Cia <Ortodontia>"));
    c.professional = longest(QStringLiteral("Dra. Ana Carolina de Souza Albuquerque"));
    c.registration = QStringLiteral("CRO-SP 45678");
    c.address = longest(QStringLiteral("Av. Brigadeiro Faria Lima, 1234, conjunto 56, São Paulo"));
    c.phone = QStringLiteral("(11) 3456-7890 / (11) 98765-4321");
    c.email = QStringLiteral("atendimento@sorrisoperfeito.com.br");
    c.logo = QStringLiteral("logotipo.png");
    return c;
}

struct Run {
    report::ParamMap params;
    int lastPage;
};

// The parameters of every report as the program sets them, letterhead included.
const QHash<QString, Run>& runs()
{
    static const QHash<QString, Run> all = [] {
        const auto map = [](const ReportParamList& list, int lastPage) {
            Run run{{}, lastPage};
            for (const ReportParam& p : list)
                run.params.insert(p.name, p.text);
            const report::ParamMap letterhead = longestLetterhead().params(true);
            for (auto it = letterhead.begin(); it != letterhead.end(); ++it)
                run.params.insert(it.key(), it.value());
            return run;
        };
        QHash<QString, Run> r;
        r.insert(QStringLiteral("report1"), map(tweedReport(), 2));
        r.insert(QStringLiteral("report2"), map(boltonReport(), 1));
        const QString nome = QStringLiteral("MARIA APARECIDA DOS SANTOS");
        r.insert(QStringLiteral("report3"),
                 map(BuildHistoryReport(nome, HistoryMemo(SplitFileLines(nome + QStringLiteral("\r\n") + historyText(30)), 120)),
                     50));
        r.insert(QStringLiteral("report4"), map(BuildPlanReport(nome, historyText(4)), 50));
        r.insert(QStringLiteral("report5"), map(evolutionReport(), 2));
        r.insert(QStringLiteral("report6"), map(cephalometricReport(), 13));
        r.insert(QString(), map({}, 3));  // a report the program does not print: the letterhead only
        return r;
    }();
    return all;
}

QImage logo()
{
    QImage image(300, 150, QImage::Format_ARGB32);
    image.fill(QColor(31, 78, 121, 200));
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_report_project";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    static const QImage letterheadLogo = logo();

    const QString text = FromCp1252(fuzz::Bytes(data, size));
    report::ReportProject project;
    try {
        project = report::ParseReportProject(text);
        report::CheckBands(project);
    } catch (const report::ProjectError&) {
        return 0;
    }
    for (const report::ReportLayout& layout : project.reports) {
        const Run run = runs().value(layout.name, runs().value(QString()));
        report::ReportDocument document(project, layout, run.params, run.lastPage);
        document.setLogo(letterheadLogo);
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageLayout(document.pageLayout());
        QList<report::LaidPage> pages;
        const int painted = document.print(writer, 1, document.lastPage(), {}, &pages);
        fuzz::Check(painted >= 1 && painted <= document.lastPage() && painted == pages.size(), "pages of the range");
        fuzz::Check(document.lastPage() >= run.lastPage, "the range never shrinks");
    }
    return 0;
}
