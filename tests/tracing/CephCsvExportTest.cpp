// The measures' spreadsheet files: "CSV..." of the tracing window (one patient's stages) and
// "Exportar todos (CSV)..." of the patients window (every patient and stage in Análises/); the
// tracings read, those that cannot be read skipped and named, the file private, nothing written
// when the clinician cancels.

#include "TracingWindowFixture.h"

#include "patients/PatientsWindow.h"
#include "tracing/CephCsvExport.h"
#include "tracing/CephCsvFiles.h"
#include "analysis/TracingFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace qv {
namespace {

using L = Landmark;
using platform::NoticeKind;
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
// A name a spreadsheet could misread, and its cell. Windows forbids '"' in a file name: there the
// name quotes with "'".
#ifdef _WIN32
const QString kPatient = QStringLiteral("=JOSÉ; 'Zé'");
constexpr const char* kPatientCell = "\"'=JOSÉ; 'Zé'\"";
#else
const QString kPatient = QStringLiteral("=JOSÉ; \"Zé\"");
constexpr const char* kPatientCell = "\"'=JOSÉ; \"\"Zé\"\"\"";
#endif

QFile::Permissions mode(const QString& path)
{
    return QFile::permissions(path) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                       | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
                                       | QFile::ExeOther);
}

// A tracing whose SNA is `sna` degrees (S 100 px behind N, A 100 px from N).
QByteArray tracing(double sna)
{
    const double r = sna * 3.14159265358979323846 / 180;
    TracingDocument doc;
    doc.image = QStringLiteral("radiografia.png");
    doc.calibration = {0.1, 0.1};
    doc.landmarks.set(L::S, QPointF(100, 100));
    doc.landmarks.set(L::N, QPointF(200, 100));
    doc.landmarks.set(L::A, QPointF(200 - 100 * std::cos(r), 100 + 100 * std::sin(r)));
    return EncodeTracing(doc);
}

// The cells of a line as written (no cell here holds a quoted ';').
QStringList cells(const QString& line) { return line.split(u';'); }

class CephCsvExportTest : public test::TracingWindowTest {
protected:
    void SetUp() override
    {
        // Stages out of order and names in mixed case and accents, to check the rows' order.
        writeTracing(QStringLiteral("MARIA-FINAL.tra"), tracing(84));
        writeTracing(QStringLiteral("MARIA-INICIAL.tra"), tracing(80));
        writeTracing(QStringLiteral("ÁGUEDA-inter1.tra"), tracing(82));
        writeTracing(kPatient + QStringLiteral("-INTER2.tra"), tracing(90));
        writeTracing(QStringLiteral("BIA-INICIAL.tra"), "{ not a tracing");
        // Not tracings of a stage: left alone.
        writeTracing(QStringLiteral("notas.tra"), tracing(70));
        writeTracing(QStringLiteral("MARIA-INTER9.tra"), tracing(70));
        writeTracing(QStringLiteral(".oculto-INICIAL.tra"), tracing(70));
        work.write(QStringLiteral("Análises/MARIA-INICIAL.twe"), "x");
    }
    void writeTracing(const QString& name, const QByteArray& bytes) { work.write(QStringLiteral("Análises/") + name, bytes); }
    QStringList lines(const QString& name)
    {
        const QByteArray bytes = work.read(name);
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
        QStringList l = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
        EXPECT_EQ(l.takeLast(), QString());  // every line ends
        return l;
    }
    int snaColumn(const QStringList& l) { return int(cells(l[0]).indexOf(QStringLiteral("Steiner SNA (°)"))); }
    void takeSaveBox(const QString& proposed)
    {
        const test::Box box = dialogs.take();
        EXPECT_EQ(box.type, test::Box::SaveFile);
        EXPECT_EQ(box.text, proposed);
        EXPECT_EQ(dialogs.lastSaveRequest.filter, QStringLiteral("Planilha CSV|*.csv"));
    }
};

TEST_F(CephCsvExportTest, AllPatientsAndStagesInAClinicianOrderSkippingWhatCannotBeRead)
{
    PatientsWindow patients(QStringLiteral("Análises"));
    patients.setDialogs(&dialogs);
    dialogs.saveFiles.push_back(work.file(QStringLiteral("todos")));
    patients.findChild<QPushButton*>(QStringLiteral("pccsv"))->click();
    takeSaveBox(QStringLiteral("cefalometria-todos.csv"));
    const QString written = work.file(QStringLiteral("todos.csv"));
    dialogs.expectNotice(NoticeKind::Information,
                         QStringLiteral("Medidas de 4 fases exportadas em \"%1\".\rNão puderam ser lidos e ficaram de fora: "
                                        "BIA-INICIAL.tra.")
                             .arg(QDir::toNativeSeparators(written)),
                         QStringLiteral("Pacientes"));
    if (test::kPosixPermissions)
        EXPECT_EQ(mode(written), kOwnerOnly);
    const QStringList l = lines(QStringLiteral("todos.csv"));
    ASSERT_EQ(l.size(), 5);
    const int sna = snaColumn(l);
    ASSERT_GT(sna, 1);
    const struct {
        const char *patient, *stage, *sna;
    } rows[] = {
        {kPatientCell, "INTER2", "90,0"},  // '=' folds to nothing: first
        {"ÁGUEDA", "INTER1", "82,0"},
        {"MARIA", "INICIAL", "80,0"},
        {"MARIA", "FINAL", "84,0"},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const QString line = l[i + 1];
        EXPECT_TRUE(line.startsWith(QString::fromUtf8(rows[i].patient) + u';' + QLatin1String(rows[i].stage) + u';'))
            << line.toStdString();
        // After the quoted name the cells split cleanly.
        QStringList c = cells(line);
        if (i == 0)
            c = c.mid(1);
        EXPECT_EQ(c.size(), cells(l[0]).size());
        EXPECT_EQ(c.value(sna), QLatin1String(rows[i].sna));
    }
}

TEST_F(CephCsvExportTest, OnePatientsStagesFromTheTracingWindow)
{
    const struct {
        const char* answer;
        const char* written;
    } cases[] = {{"maria", "maria.csv"}, {"MARIA-cefalometria.csv", "MARIA-cefalometria.csv"}, {"Medidas.CSV", "Medidas.CSV"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        dialogs.saveFiles.push_back(work.file(QString::fromUtf8(c.answer)));
        window.findChild<QAction*>(QStringLiteral("tCsv"))->trigger();
        takeSaveBox(QStringLiteral("MARIA-cefalometria.csv"));
        const QString written = work.file(QString::fromUtf8(c.written));
        dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Medidas de 2 fases exportadas em \"%1\".").arg(QDir::toNativeSeparators(written)),
                             test::kCaption);
        if (test::kPosixPermissions)
            EXPECT_EQ(mode(written), kOwnerOnly);
        const QStringList l = lines(QString::fromUtf8(c.written));
        ASSERT_EQ(l.size(), 3);
        EXPECT_EQ(cells(l[1]).mid(0, 2), (QStringList{QStringLiteral("MARIA"), QStringLiteral("INICIAL")}));
        EXPECT_EQ(cells(l[2]).mid(0, 2), (QStringList{QStringLiteral("MARIA"), QStringLiteral("FINAL")}));
        EXPECT_EQ(cells(l[2]).value(snaColumn(l)), QStringLiteral("84,0"));
    }
}

TEST_F(CephCsvExportTest, TheStageOnScreenIsExportedAsShownSavedOrNot)
{
    // Saved with SNA 80 (INICIAL) and 84 (FINAL); on screen, INICIAL moved to SNA 86, then INTER1
    // traced and never saved.
    const auto trace = [this](double sna) {
        const double r = sna * 3.14159265358979323846 / 180;
        window.setLandmark(L::S, QPointF(100, 100));
        window.setLandmark(L::N, QPointF(200, 100));
        window.setLandmark(L::A, QPointF(200 - 100 * std::cos(r), 100 + 100 * std::sin(r)));
        window.setCalibration({0.1, 0.1}, QStringLiteral("Calibração informada"));
    };
    const struct {
        const char* stage;
        double sna;
        QStringList stages, snas;
    } cases[] = {
        {"INICIAL", 86, {"INICIAL", "FINAL"}, {"86,0", "84,0"}},
        {"INTER1", 88, {"INICIAL", "INTER1", "FINAL"}, {"80,0", "88,0", "84,0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stage);
        stage = QString::fromLatin1(c.stage);
        tweedChanged();
        trace(c.sna);
        dialogs.saveFiles.push_back(work.file(QStringLiteral("m.csv")));
        window.findChild<QAction*>(QStringLiteral("tCsv"))->trigger();
        takeSaveBox(QStringLiteral("MARIA-cefalometria.csv"));
        dialogs.take();  // exported
        const QStringList l = lines(QStringLiteral("m.csv"));
        QStringList stages, snas;
        for (qsizetype i = 1; i < l.size(); ++i) {
            stages << cells(l[i]).value(1);
            snas << cells(l[i]).value(snaColumn(l));
        }
        EXPECT_EQ(stages, c.stages);
        EXPECT_EQ(snas, c.snas);
    }
}

TEST_F(CephCsvExportTest, AReplacedFileBecomesPrivate)
{
    work.write(QStringLiteral("anterior.csv"), "old");
    const QString path = work.file(QStringLiteral("anterior.csv"));
    ASSERT_TRUE(QFile::setPermissions(path, kOwnerOnly | QFile::ReadGroup | QFile::ReadOther));
    dialogs.saveFiles.push_back(path);
    window.findChild<QAction*>(QStringLiteral("tCsv"))->trigger();
    takeSaveBox(QStringLiteral("MARIA-cefalometria.csv"));
    dialogs.take();
    if (test::kPosixPermissions)
        EXPECT_EQ(mode(path), kOwnerOnly);
    EXPECT_TRUE(work.read(QStringLiteral("anterior.csv")).startsWith("\xEF\xBB\xBF"));
    const QStringList left = QDir(work.path()).entryList({QStringLiteral("*anterior*")}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("anterior.csv")});
}

TEST_F(CephCsvExportTest, CancellingWritesNothing)
{
    const QStringList before = QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const char* from : {"window", "patients"}) {
        SCOPED_TRACE(from);
        dialogs.saveFiles.push_back(QString());
        if (QLatin1String(from) == QLatin1String("window")) {
            window.findChild<QAction*>(QStringLiteral("tCsv"))->trigger();
            takeSaveBox(QStringLiteral("MARIA-cefalometria.csv"));
        } else {
            PatientsWindow patients(QStringLiteral("Análises"));
            patients.setDialogs(&dialogs);
            patients.findChild<QPushButton*>(QStringLiteral("pccsv"))->click();
            takeSaveBox(QStringLiteral("cefalometria-todos.csv"));
        }
        EXPECT_TRUE(dialogs.pending().empty()) << dialogs.describePending().toStdString();
        EXPECT_EQ(QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    }
}

TEST_F(CephCsvExportTest, WithoutTracingsOrPatientNothingIsAsked)
{
    const struct {
        const char* patient;
        NoticeKind kind;
        const char* text;
    } cases[] = {
        {"", NoticeKind::Warning, "Informe o nome do paciente na Análise de Tweed antes de exportar!"},
        {"ANA", NoticeKind::Warning, "Nenhum traçado de ANA foi encontrado na pasta das análises!"},
        {"BIA", NoticeKind::Warning, "Nenhum traçado pôde ser lido: BIA-INICIAL.tra."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.patient);
        patient = QString::fromUtf8(c.patient);
        tweedChanged();
        window.findChild<QAction*>(QStringLiteral("tCsv"))->trigger();
        dialogs.expectNotice(c.kind, QString::fromUtf8(c.text), test::kCaption);
        EXPECT_TRUE(dialogs.pending().empty());
    }
}

TEST_F(CephCsvExportTest, AFolderItCannotWriteIsReportedAndLeftEmpty)
{
    QV_NEEDS_POSIX_PERMISSIONS();
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("fechada")));
    const QString folder = work.file(QStringLiteral("fechada"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const test::Unprivileged user(work);
    ASSERT_TRUE(user.ok());
    dialogs.saveFiles.push_back(folder + QStringLiteral("/medidas.csv"));
    window.findChild<QAction*>(QStringLiteral("tCsv"))->trigger();
    takeSaveBox(QStringLiteral("MARIA-cefalometria.csv"));
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_TRUE(box.text.contains(QStringLiteral("medidas.csv"))) << box.text.toStdString();
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST(CephCsvNames, ProposedNamesAndSuffix)
{
    EXPECT_EQ(CephCsvFileName(QStringLiteral("ANA")), QStringLiteral("ANA-cefalometria.csv"));
    EXPECT_EQ(CephCsvFileName(QString()), QStringLiteral("cefalometria-todos.csv"));
    const std::pair<const char*, const char*> suffix[] = {
        {"a", "a.csv"}, {"a.CSV", "a.CSV"}, {"a.csv.txt", "a.csv.txt.csv"}, {"dados.csv", "dados.csv"}};
    for (const auto& [in, out] : suffix)
        EXPECT_EQ(WithCsvSuffix(QString::fromUtf8(in)), QString::fromUtf8(out));
    EXPECT_EQ(CephStageWords(), (QStringList{QStringLiteral("INICIAL"), QStringLiteral("INTER1"), QStringLiteral("INTER2"),
                                             QStringLiteral("FINAL")}));
}

}  // namespace
}  // namespace qv
