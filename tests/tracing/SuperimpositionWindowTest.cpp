// The superimposition window on the offscreen platform: the stages it finds in Análises/, the
// refusals it shows, the displacement table for known motions, the exports and the size.

#include "tracing/SuperimpositionWindow.h"

#include "patients/PatientsWindow.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "support/WorkFolder.h"
#include "tracing/DicomSamples.h"
#include "tracing/SuperimpositionViewPrint.h"
#include "tracing/TracingWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QBuffer>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <cmath>

namespace qv::test {
namespace {

using platform::NoticeKind;
using L = Landmark;
const QString kCaption = QStringLiteral("Sobreposição");

// A face looking right at whole pixels; S-N is horizontal, N to the right of S.
const std::pair<L, QPointF> kFace[] = {
    {L::S, {200, 200}},  {L::N, {600, 200}},  {L::Po, {120, 260}}, {L::Or, {520, 260}}, {L::ENA, {620, 330}},
    {L::ENP, {330, 340}}, {L::A, {600, 360}}, {L::B, {580, 520}},  {L::Ar, {180, 300}}, {L::Rp, {170, 450}},
    {L::Tg, {150, 480}}, {L::Me, {450, 600}}, {L::Ii, {560, 430}}, {L::Ai, {470, 540}}, {L::Is, {590, 420}},
    {L::OclP, {400, 430}}, {L::OclA, {570, 425}}, {L::Ls, {660, 400}}, {L::Li, {650, 460}}, {L::PogSoft, {620, 620}},
};

LandmarkSet face()
{
    LandmarkSet s;
    for (const auto& [l, p] : kFace)
        s.set(l, p);
    return s;
}

class SuperimpositionWindowTest : public WorkFolderTest {
protected:
    void save(const QString& stage, const LandmarkSet& points, Calibration c = {0.5, 0.5})
    {
        work.write(QStringLiteral("Análises/MARIA-%1.tra").arg(stage), EncodeTracing({QString(), c, points}));
    }
    QCheckBox* stageCheck(int i) { return window.findChild<QCheckBox*>(QStringLiteral("sbFase%1").arg(i)); }
    QComboBox* combo(const char* name) { return window.findChild<QComboBox*>(QString::fromLatin1(name)); }
    QStringList row(int r)
    {
        QStringList cells;
        for (int c = 0; c < window.table()->columnCount(); ++c)
            cells << window.table()->item(r, c)->text();
        return cells;
    }
    // The table's row of a stage and landmark, empty when there is none.
    QStringList rowOf(const QString& stage, const QString& code)
    {
        for (int r = 0; r < window.table()->rowCount(); ++r)
            if (window.table()->item(r, 0)->text() == stage && window.table()->item(r, 1)->text() == code)
                return row(r);
        return {};
    }
    QStringList analysesFiles() { return QDir(work.file(QStringLiteral("Análises"))).entryList(QDir::Files | QDir::Hidden); }

    SuperimpositionWindow window{dialogs};
};

// ---- the stages found ----

struct FoundCase {
    const char* name;
    std::vector<const char*> saved;    // stages with a sound tracing
    std::vector<const char*> damaged;  // stages whose file is not a tracing
    std::array<bool, 4> usable;
    bool superimposed;
};

TEST_F(SuperimpositionWindowTest, FindsTheStagesSavedForThePatientOnly)
{
    const FoundCase cases[] = {
        {"none", {}, {}, {false, false, false, false}, false},
        {"one", {"INICIAL"}, {}, {true, false, false, false}, false},
        {"first and last", {"INICIAL", "FINAL"}, {}, {true, false, false, true}, true},
        {"all four", {"INICIAL", "INTER1", "INTER2", "FINAL"}, {}, {true, true, true, true}, true},
        {"a damaged one is left out", {"INICIAL", "FINAL"}, {"INTER1"}, {true, false, false, true}, true},
        {"damaged leaves one", {"INTER2"}, {"FINAL"}, {false, false, true, false}, false},
    };
    for (const FoundCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* stage : kStageNames)
            work.remove(QStringLiteral("Análises/MARIA-%1.tra").arg(QLatin1String(stage)));
        for (const char* stage : c.saved)
            save(QLatin1String(stage), face());
        for (const char* stage : c.damaged)
            work.write(QStringLiteral("Análises/MARIA-%1.tra").arg(QLatin1String(stage)), "{not a tracing");
        // Another patient's tracings, and a name that starts alike, are never taken.
        work.write(QStringLiteral("Análises/JOSE-INTER1.tra"), EncodeTracing({QString(), {0.5, 0.5}, face()}));
        work.write(QStringLiteral("Análises/MARIA2-INTER2.tra"), EncodeTracing({QString(), {0.5, 0.5}, face()}));

        window.loadPatient(QStringLiteral("MARIA"));
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(window.stageFiles()[size_t(i)].usable(), c.usable[size_t(i)]) << kStageNames[i];
            EXPECT_EQ(stageCheck(i + 1)->isEnabled(), c.usable[size_t(i)]) << kStageNames[i];
            EXPECT_EQ(stageCheck(i + 1)->isChecked(), c.usable[size_t(i)]) << kStageNames[i];
        }
        EXPECT_EQ(window.result().ok(), c.superimposed) << window.result().error.toStdString();
        for (const char* stage : c.damaged)
            EXPECT_TRUE(window.message()->text().contains(QStringLiteral("%1: o arquivo").arg(QLatin1String(stage))))
                << window.message()->text().toStdString();
        // The base is offered among the chosen stages only.
        EXPECT_EQ(combo("sbBase")->count(), int(std::count(c.usable.begin(), c.usable.end(), true)));
    }
}

TEST_F(SuperimpositionWindowTest, UncheckingAStageTakesItFromTheBaseAndTheDrawing)
{
    for (const char* stage : {"INICIAL", "INTER1", "FINAL"})
        save(QLatin1String(stage), face());
    window.loadPatient(QStringLiteral("MARIA"));
    combo("sbBase")->setCurrentIndex(2);  // FINAL
    ASSERT_EQ(window.view()->stages().size(), 3u);
    stageCheck(2)->setChecked(false);
    EXPECT_EQ(combo("sbBase")->count(), 2);
    EXPECT_EQ(combo("sbBase")->currentData().toString(), QStringLiteral("FINAL"));  // kept
    EXPECT_EQ(window.view()->stages().size(), 2u);
    stageCheck(1)->setChecked(false);  // one left: nothing to superimpose
    EXPECT_FALSE(window.result().ok());
    EXPECT_TRUE(window.view()->stages().empty());
    EXPECT_EQ(window.table()->rowCount(), 0);
}

// ---- refusals ----

struct RefusalCase {
    const char* name;
    Registration registration;
    std::function<void(LandmarkSet&)> changeFinal;
    Calibration finalCalibration;
    QString shown;
};

TEST_F(SuperimpositionWindowTest, ShowsWhyTheStagesCannotBeSuperimposed)
{
    const RefusalCase cases[] = {
        {"uncalibrated stage named", Registration::CranialBase, [](LandmarkSet&) {}, Calibration::none(),
         QStringLiteral("FINAL: sem calibração.")},
        {"registration points named", Registration::BaNAtCF, [](LandmarkSet&) {}, {0.5, 0.5},
         QStringLiteral("INICIAL: faltam os pontos Ba, Pt.")},
        {"a missing point of the cranial base", Registration::CranialBase, [](LandmarkSet& s) { s.remove(L::S); },
         {0.5, 0.5}, QStringLiteral("FINAL: faltam os pontos S.")},
        {"mandible", Registration::Mandible, [](LandmarkSet& s) { s.remove(L::Me); s.remove(L::Tg); }, {0.5, 0.5},
         QStringLiteral("FINAL: faltam os pontos Tg, Me.")},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        save(QStringLiteral("INICIAL"), face());
        LandmarkSet last = face();
        c.changeFinal(last);
        save(QStringLiteral("FINAL"), last, c.finalCalibration);
        window.loadPatient(QStringLiteral("MARIA"));
        combo("sbRegistro")->setCurrentIndex(combo("sbRegistro")->findData(int(c.registration)));
        EXPECT_FALSE(window.result().ok());
        EXPECT_EQ(window.message()->text(), c.shown);
        EXPECT_FALSE(window.message()->isHidden());
        EXPECT_EQ(window.table()->rowCount(), 0);
        EXPECT_TRUE(window.view()->stages().empty());
        EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("sbExportarPng"))->isEnabled());
        EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("sbExportarPdf"))->isEnabled());
    }
}

TEST_F(SuperimpositionWindowTest, BestFitTakesTheTickedPointsOnly)
{
    save(QStringLiteral("INICIAL"), face());
    save(QStringLiteral("FINAL"), face());
    window.loadPatient(QStringLiteral("MARIA"));
    auto* points = window.findChild<QWidget*>(QStringLiteral("sbPontos"));
    EXPECT_FALSE(points->isEnabled());  // only for the best fit
    combo("sbRegistro")->setCurrentIndex(combo("sbRegistro")->findData(int(Registration::BestFit)));
    EXPECT_TRUE(points->isEnabled());
    EXPECT_TRUE(window.result().ok());
    for (const char* code : {"S", "N", "Po", "Or"})
        window.findChild<QCheckBox*>(QStringLiteral("sbPonto") + QLatin1String(code))->setChecked(false);
    EXPECT_EQ(window.message()->text(), QStringLiteral("Marque ao menos dois pontos para o melhor ajuste."));
    window.findChild<QCheckBox*>(QStringLiteral("sbPontoBa"))->setChecked(true);
    window.findChild<QCheckBox*>(QStringLiteral("sbPontoPogMole"))->setChecked(true);
    EXPECT_EQ(window.message()->text(), QStringLiteral("INICIAL: faltam os pontos Ba."));
}

// ---- the displacement table ----

struct MoveCase {
    const char* name;
    Calibration calibration;
    double angle;       // degrees the whole FINAL tracing is turned about (300, 300), in pixels
    QPointF shift;      // then shifted, in pixels
    QPointF bMoved;     // B moved before the motion, in pixels
    bool mirrored;      // both stages face left
    QStringList rowB;   // the table's row of B
};

TEST_F(SuperimpositionWindowTest, TableGivesEachPointsDisplacementFromTheBase)
{
    const MoveCase cases[] = {
        {"B forward and down", {0.5, 0.5}, 0, {}, {3, 2}, false,
         {QStringLiteral("Final"), QStringLiteral("B"), QStringLiteral("1.5 mm"), QStringLiteral("1.0 mm"),
          QStringLiteral("1.8 mm")}},
        {"B back and up", {0.5, 0.5}, 0, {}, {-4, -3}, false,
         {QStringLiteral("Final"), QStringLiteral("B"), QStringLiteral("-2.0 mm"), QStringLiteral("-1.5 mm"),
          QStringLiteral("2.5 mm")}},
        {"the head turned and moved: registration undoes it", {0.5, 0.5}, 30, {40, -25}, {6, 8}, false,
         {QStringLiteral("Final"), QStringLiteral("B"), QStringLiteral("3.0 mm"), QStringLiteral("4.0 mm"),
          QStringLiteral("5.0 mm")}},
        {"profile facing left: anterior is to the left", {0.5, 0.5}, 0, {}, {-6, 8}, true,
         {QStringLiteral("Final"), QStringLiteral("B"), QStringLiteral("3.0 mm"), QStringLiteral("4.0 mm"),
          QStringLiteral("5.0 mm")}},
        {"anisotropic spacing", {0.2, 0.4}, 0, {}, {10, 5}, false,
         {QStringLiteral("Final"), QStringLiteral("B"), QStringLiteral("2.0 mm"), QStringLiteral("2.0 mm"),
          QStringLiteral("2.8 mm")}},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto place = [&](QPointF p) { return c.mirrored ? QPointF(1000 - p.x(), p.y()) : p; };
        LandmarkSet first, last;
        const double a = c.angle * M_PI / 180;
        for (const auto& [l, p0] : kFace) {
            first.set(l, place(p0));
            QPointF p = place(p0) + (l == L::B ? c.bMoved : QPointF());
            const QPointF d = p - QPointF(300, 300);
            p = QPointF(300 + d.x() * std::cos(a) - d.y() * std::sin(a), 300 + d.x() * std::sin(a) + d.y() * std::cos(a));
            last.set(l, p + c.shift);
        }
        // Spacing is per image: a turned radiograph of unequal spacing is no rigid motion, so
        // anisotropic cases keep the head still.
        save(QStringLiteral("INICIAL"), first, c.calibration);
        save(QStringLiteral("FINAL"), last, c.calibration);
        window.loadPatient(QStringLiteral("MARIA"));
        ASSERT_TRUE(window.result().ok()) << window.result().error.toStdString();
        EXPECT_EQ(rowOf(QStringLiteral("Final"), QStringLiteral("B")), c.rowB);
        // Every other point stayed where it was.
        EXPECT_EQ(rowOf(QStringLiteral("Final"), QStringLiteral("Me")),
                  (QStringList{QStringLiteral("Final"), QStringLiteral("Me"), QStringLiteral("0.0 mm"),
                               QStringLiteral("0.0 mm"), QStringLiteral("0.0 mm")}));
        EXPECT_EQ(window.table()->rowCount(), 20);  // the base has no rows of its own
    }
}

TEST_F(SuperimpositionWindowTest, TheTableSaysAlongWhichDirectionXIsMeasured)
{
    save(QStringLiteral("INICIAL"), face());
    save(QStringLiteral("FINAL"), face());
    window.loadPatient(QStringLiteral("MARIA"));
    const std::pair<Registration, QString> cases[] = {
        {Registration::CranialBase, QStringLiteral("S→N")}, {Registration::BaNAtCF, QStringLiteral("Ba→N")},
        {Registration::Maxilla, QStringLiteral("ENP→ENA")}, {Registration::Mandible, QStringLiteral("Tg→Me")},
        {Registration::BestFit, QStringLiteral("S→N")},
    };
    for (const auto& [registration, axis] : cases) {
        combo("sbRegistro")->setCurrentIndex(combo("sbRegistro")->findData(int(registration)));
        EXPECT_EQ(combo("sbRegistro")->currentText(), RegistrationName(registration));
        EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("sbEixos"))
                        ->text()
                        .contains(QStringLiteral("x ao longo de %1 (positivo para anterior)").arg(axis)))
            << axis.toStdString();
    }
}

TEST_F(SuperimpositionWindowTest, EachStageIsDrawnInItsOwnColourOnTheBase)
{
    for (const char* stage : kStageNames)
        save(QLatin1String(stage), face());
    window.loadPatient(QStringLiteral("MARIA"));
    const auto& drawn = window.view()->stages();
    ASSERT_EQ(drawn.size(), 4u);
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].stage, QLatin1String(kStageNames[i]));
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(drawn[i].colour, drawn[j].colour);
        EXPECT_EQ(drawn[i].points.at(L::B), QPointF(290, 260));  // millimetres of the base
    }
    // The drawing is painted: each stage's colour shows in the picture.
    const QImage picture = RenderSuperimposition(drawn, QSize(800, 700), QStringLiteral("MARIA"));
    for (const SuperimposedStage& s : drawn) {
        bool seen = false;
        for (int y = 0; y < picture.height() && !seen; ++y)
            for (int x = 0; x < picture.width() && !seen; ++x)
                seen = picture.pixelColor(x, y) == s.colour;
        EXPECT_TRUE(seen) << s.stage.toStdString();
    }
}

TEST_F(SuperimpositionWindowTest, RadiographsAreDrawnFadedOnlyWhenAskedAndAMissingOneIsNamed)
{
    QImage picture(800, 700, QImage::Format_Grayscale8);
    picture.fill(200);
    ASSERT_TRUE(picture.save(work.file(QStringLiteral("Análises/MARIA-INICIAL.png"))));
    // Stored relative to Análises/, as the tracing window saves it.
    work.write(QStringLiteral("Análises/MARIA-INICIAL.tra"),
               EncodeTracing({QStringLiteral("MARIA-INICIAL.png"), {0.5, 0.5}, face()}));
    work.write(QStringLiteral("Análises/MARIA-FINAL.tra"),
               EncodeTracing({QStringLiteral("MARIA-FINAL.png"), {0.5, 0.5}, face()}));
    window.loadPatient(QStringLiteral("MARIA"));
    ASSERT_TRUE(window.result().ok());
    for (const SuperimposedStage& s : window.view()->stages())
        EXPECT_TRUE(s.picture.isNull()) << s.stage.toStdString();  // not read until asked
    EXPECT_TRUE(window.message()->isHidden());

    window.view()->resize(400, 400);
    const auto beside = [&] {
        const QImage shown = window.view()->grab().toImage();
        return shown.pixelColor(shown.width() - 3, shown.height() / 2);  // beyond every line, on the radiograph
    };
    EXPECT_EQ(beside(), QColor(Qt::white));
    window.findChild<QCheckBox*>(QStringLiteral("sbImagens"))->setChecked(true);
    // Grey 200 under the paper at 40 %: 255 x 0.6 + 200 x 0.4.
    const QColor faded = beside();
    EXPECT_NEAR(faded.red(), 233, 2);
    EXPECT_EQ(faded.red(), faded.blue());
    const auto& drawn = window.view()->stages();
    ASSERT_EQ(drawn.size(), 2u);
    ASSERT_FALSE(drawn[0].picture.isNull());
    EXPECT_TRUE(drawn[1].picture.isNull());
    // The picture's pixels land on the tracing's millimetres: its corner (800, 700) at (400, 350).
    EXPECT_EQ(drawn[0].pictureToMm.map(QPointF(800, 700)), QPointF(400, 350));
    EXPECT_TRUE(window.message()->text().startsWith(QStringLiteral("FINAL: a radiografia"))) << window.message()->text().toStdString();
    EXPECT_TRUE(window.result().ok());  // the superimposition stands without it
}

struct SpacingCase {
    const char* name;
    const char* image;  // the radiograph the uncalibrated INICIAL names
    bool dicom;
    QString shown;      // the refusal, empty when superimposed
};

TEST_F(SuperimpositionWindowTest, AStageSavedWithoutSpacingTakesItsDicomsAsTheTracingWindowDoes)
{
    DicomSample sample;
    sample.width = 800;
    sample.height = 700;
    sample.pixelSpacing = "0.4\\0.2";  // rows 0.4 mm apart, columns 0.2 mm
    ASSERT_TRUE(WriteDicom(work.file(QStringLiteral("Análises/MARIA-INICIAL.dcm")), sample));
    QImage plain(800, 700, QImage::Format_Grayscale8);
    plain.fill(100);
    ASSERT_TRUE(plain.save(work.file(QStringLiteral("Análises/MARIA-INICIAL.png"))));
    const SpacingCase cases[] = {
        {"DICOM with its spacing", "MARIA-INICIAL.dcm", true, QString()},
        {"a picture has none", "MARIA-INICIAL.png", false, QStringLiteral("INICIAL: sem calibração.")},
        {"the radiograph is gone", "MARIA-OUTRA.dcm", false, QStringLiteral("INICIAL: sem calibração.")},
    };
    for (const SpacingCase& c : cases) {
        SCOPED_TRACE(c.name);
        work.write(QStringLiteral("Análises/MARIA-INICIAL.tra"),
                   EncodeTracing({QLatin1String(c.image), Calibration::none(), face()}));
        save(QStringLiteral("FINAL"), face(), {0.2, 0.4});
        window.loadPatient(QStringLiteral("MARIA"));
        EXPECT_EQ(window.result().error, c.shown);
        if (c.dicom) {
            EXPECT_EQ(window.stageFiles()[0].tracing.calibration, (Calibration{0.2, 0.4}));
            // The same points at the same spacing: nothing moved.
            EXPECT_EQ(rowOf(QStringLiteral("Final"), QStringLiteral("B")),
                      (QStringList{QStringLiteral("Final"), QStringLiteral("B"), QStringLiteral("0.0 mm"),
                                   QStringLiteral("0.0 mm"), QStringLiteral("0.0 mm")}));
        }
    }
}

// ---- exports ----

struct ExportCase {
    const char* name;
    const char* button;
    QString suggested;
    QByteArray magic;
};

TEST_F(SuperimpositionWindowTest, ExportWritesTheChosenFileUnderThePatientsNameReadableByTheOwnerOnly)
{
    const ExportCase cases[] = {
        {"png", "sbExportarPng", QStringLiteral("MARIA-sobreposicao.png"), QByteArray("\x89PNG", 4)},
        {"pdf", "sbExportarPdf", QStringLiteral("MARIA-sobreposicao.pdf"), QByteArray("%PDF")},
    };
    save(QStringLiteral("INICIAL"), face());
    save(QStringLiteral("FINAL"), face());
    window.loadPatient(QStringLiteral("MARIA"));
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = work.file(c.suggested);
        dialogs.saveFiles.push_back(path);
        window.findChild<QPushButton*>(QString::fromLatin1(c.button))->click();
        const Box asked = dialogs.take();
        EXPECT_EQ(asked.type, Box::SaveFile);
        EXPECT_EQ(asked.text, c.suggested);  // the name offered holds the patient's
        EXPECT_EQ(asked.caption, QStringLiteral("Exportar sobreposição"));
        dialogs.expectNotice(NoticeKind::Information,
                             QStringLiteral("Sobreposição exportada em \"%1\".").arg(QDir::toNativeSeparators(path)),
                             kCaption);
        ASSERT_TRUE(work.exists(c.suggested));
        EXPECT_TRUE(work.read(c.suggested).startsWith(c.magic));
        const QFileDevice::Permissions mode = QFile::permissions(path);
        EXPECT_TRUE(mode.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        if (test::kPosixPermissions)
            EXPECT_FALSE(mode & (QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                 | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther));
    }
    // The PNG shows the drawing: white paper, not an empty picture.
    const QImage png(work.file(QStringLiteral("MARIA-sobreposicao.png")));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.pixelColor(png.width() - 2, png.height() - 2), QColor(Qt::white));
}

TEST_F(SuperimpositionWindowTest, NothingIsWrittenUnlessAnExportIsChosen)
{
    save(QStringLiteral("INICIAL"), face());
    save(QStringLiteral("FINAL"), face(), Calibration::none());
    const QStringList before = analysesFiles();
    const QStringList workBefore = QDir(work.path()).entryList(QDir::Files | QDir::Hidden);
    window.loadPatient(QStringLiteral("MARIA"));
    // Refused: the export says why and asks for no file.
    window.sbExportarPngClick();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("FINAL: sem calibração."), kCaption);
    window.sbImprimirClick();  // nor is anything printed
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("FINAL: sem calibração."), kCaption);
    // Cancelled: nothing.
    save(QStringLiteral("FINAL"), face());
    window.loadPatient(QStringLiteral("MARIA"));
    combo("sbRegistro")->setCurrentIndex(4);
    window.findChild<QCheckBox*>(QStringLiteral("sbImagens"))->setChecked(true);
    dialogs.saveFiles.push_back(QString());
    window.sbExportarPdfClick();
    EXPECT_EQ(dialogs.take().text, QStringLiteral("MARIA-sobreposicao.pdf"));
    dialogs.saveFiles.push_back(QString());
    window.sbExportarPngClick();
    EXPECT_EQ(dialogs.take().text, QStringLiteral("MARIA-sobreposicao.png"));
    EXPECT_TRUE(dialogs.pending().empty()) << dialogs.describePending().toStdString();
    EXPECT_EQ(analysesFiles(), before);
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files | QDir::Hidden), workBefore);
}

TEST_F(SuperimpositionWindowTest, OpenRefusesNamesThatAreNoPatientsFile)
{
    window.Open(QString());
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Informe o nome do paciente antes de sobrepor os traçados!"),
                         kCaption);
    EXPECT_FALSE(window.isVisible());
    window.Open(QStringLiteral("../MARIA"));
    EXPECT_EQ(dialogs.take().kind, NoticeKind::Error);
    EXPECT_FALSE(window.isVisible());
    // A patient's name: the window shows that patient's stages, read afresh.
    save(QStringLiteral("INICIAL"), face());
    save(QStringLiteral("INTER2"), face());
    window.Open(QStringLiteral("MARIA"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.patient(), QStringLiteral("MARIA"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Sobreposição — MARIA"));
    EXPECT_TRUE(window.result().ok());
    save(QStringLiteral("FINAL"), face());
    window.Open(QStringLiteral("MARIA"));
    EXPECT_EQ(window.view()->stages().size(), 3u);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Escape);  // Esc leaves, as FECHAR does
    EXPECT_FALSE(window.isVisible());
}

// ---- the printed page ----

struct PrintCase {
    const char* name;
    int rows;      // of the table
    int from, to;  // the print range
    int painted;   // pages painted
    bool titled;   // the first page (with the title and drawing) among them
};

TEST_F(SuperimpositionWindowTest, PrintedPagesHoldTheTitleDrawingAndEveryRowOnce)
{
    save(QStringLiteral("INICIAL"), face());
    save(QStringLiteral("FINAL"), face());
    window.loadPatient(QStringLiteral("MARIA"));
    const SuperimpositionSheet shown = window.sheet();
    EXPECT_EQ(shown.title, QStringLiteral("Sobreposição — MARIA — S-N em S, base Inicial"));
    EXPECT_TRUE(shown.note.contains(QStringLiteral("x ao longo de S→N (positivo para anterior)"))) << shown.note.toStdString();
    ASSERT_EQ(shown.rows.size(), 20u);
    EXPECT_EQ(shown.rows[7], (QStringList{QStringLiteral("Final"), QStringLiteral("B"), QStringLiteral("0.0 mm"),
                                          QStringLiteral("0.0 mm"), QStringLiteral("0.0 mm")}));

    const PrintCase cases[] = {
        {"short table: one page", 20, 1, 99, 1, true},
        // A4 across: 43 rows beside the drawing, 45 on each further page.
        {"the table goes on over a second page", 80, 1, 99, 2, true},
        {"the first page full", 43, 1, 99, 1, true},
        {"one row more", 44, 1, 99, 2, true},
        {"a long table from its second page", 200, 2, 99, 4, false},
        {"the first page only", 200, 1, 1, 1, true},
    };
    for (const PrintCase& c : cases) {
        SCOPED_TRACE(c.name);
        SuperimpositionSheet sheet = shown;
        sheet.rows.clear();
        for (int r = 0; r < c.rows; ++r)
            sheet.rows.push_back({QStringLiteral("Final"), QStringLiteral("row%1").arg(r), QStringLiteral("1.0 mm"),
                                  QStringLiteral("2.0 mm"), QStringLiteral("2.2 mm")});
        const SuperimpositionDocument document(window.view()->stages(), sheet);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&out);
        pdf.setPageLayout(document.pageLayout());
        QList<report::LaidPage> laid;
        EXPECT_EQ(document.print(pdf, c.from, c.to, {}, &laid), c.painted);
        ASSERT_EQ(laid.size(), c.painted);
        EXPECT_EQ(laid.first().blocks.contains(sheet.title), c.titled);
        EXPECT_EQ(laid.first().blocks.contains(sheet.note), c.titled);
        // Rows follow each other over the pages, none twice, none lost, as far as printed.
        QStringList rows;
        for (const report::LaidPage& page : laid)
            for (const QString& b : page.blocks)
                if (b.startsWith(QStringLiteral("Final row")))
                    rows << b;
        for (int i = 1; i < rows.size(); ++i)
            EXPECT_EQ(rows[i].section(QLatin1Char(' '), 1, 1).mid(3).toInt(),
                      rows[i - 1].section(QLatin1Char(' '), 1, 1).mid(3).toInt() + 1);
        if (c.from == 1 && c.to >= document.lastPage()) {
            EXPECT_EQ(rows.size(), c.rows);
        }
        EXPECT_TRUE(out.data().startsWith("%PDF"));
    }
    // A progress that answers no stops the run before the next page.
    SuperimpositionSheet longSheet = shown;
    for (int r = 0; r < 200; ++r)
        longSheet.rows.push_back(shown.rows.front());
    const SuperimpositionDocument document(window.view()->stages(), longSheet);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&out);
    pdf.setPageLayout(document.pageLayout());
    EXPECT_EQ(document.print(pdf, 1, 99, [](int page, int) { return page < 2; }), 1);
}

// ---- size and the ways in ----

TEST_F(SuperimpositionWindowTest, FitsA1024By768Screen)
{
    for (const char* stage : kStageNames)
        save(QLatin1String(stage), face());
    window.loadPatient(QStringLiteral("MARIA"));
    const QSize size = SuperimpositionWindow::PreferredSize(QSize(1024, 768 - 40));  // a panel's height
    EXPECT_LE(size.width(), 1024 - 24);
    EXPECT_LE(size.height(), 768 - 40 - 48);
    const QSize least = window.minimumSizeHint();
    EXPECT_LE(least.width(), size.width());
    EXPECT_LE(least.height(), size.height());
    window.resize(size);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.size(), size);
    // Every point of the best fit is on the window, not clipped.
    const QWidget* last = window.findChild<QCheckBox*>(QStringLiteral("sbPontoCm"));
    EXPECT_TRUE(window.rect().contains(QRect(last->mapTo(&window, QPoint(0, 0)), last->size())));
}

TEST_F(SuperimpositionWindowTest, TheTracingAndPatientsWindowsAskForThePatientsStages)
{
    TracingWindow tracing(dialogs);
    TracingTweedState tweed;
    tweed.patient = QStringLiteral("MARIA");
    tracing.setTweedState(tweed);
    QSignalSpy fromTracing(&tracing, &TracingWindow::superimpositionRequested);
    tracing.findChild<QPushButton*>(QStringLiteral("tSobreposicao"))->click();
    ASSERT_EQ(fromTracing.size(), 1);
    EXPECT_EQ(fromTracing.at(0).at(0).toString(), QStringLiteral("MARIA"));

    work.write(QStringLiteral("Análises/JOSE-INICIAL.twe"), QByteArray(16, '\0'));
    PatientsWindow patients(QStringLiteral("Análises/"));
    patients.rescan();
    QSignalSpy fromPatients(&patients, &PatientsWindow::superimpositionRequested);
    auto* button = patients.findChild<QPushButton*>(QStringLiteral("pcsobreposicao"));
    ASSERT_TRUE(button->isEnabled());
    button->click();
    ASSERT_EQ(fromPatients.size(), 1);
    EXPECT_EQ(fromPatients.at(0).at(0).toString(), QStringLiteral("JOSE"));
}

TEST_F(SuperimpositionWindowTest, TheProgramOpensItFromTheTracingAndThePatientsWindows)
{
    save(QStringLiteral("INICIAL"), face());
    save(QStringLiteral("FINAL"), face());
    work.write(QStringLiteral("Análises/JOSE-INICIAL.tra"), EncodeTracing({QString(), {0.5, 0.5}, face()}));
    work.write(QStringLiteral("Análises/JOSE-INICIAL.twe"), QByteArray(16, '\0'));
    FakeShell shell;
    Windows windows(dialogs, shell);
    SuperimpositionWindow* shown = windows.superimposition();
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->isVisible());

    // The tracing window asks for the Tweed page's patient.
    windows.form2()->findChild<QLineEdit*>(QStringLiteral("twPaciente"))->setText(QStringLiteral("MARIA"));
    windows.tracing()->Open();  // it learns the Tweed page's patient as it opens
    windows.tracing()->findChild<QPushButton*>(QStringLiteral("tSobreposicao"))->click();
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->patient(), QStringLiteral("MARIA"));
    EXPECT_TRUE(shown->result().ok());
    shown->close();

    // The patients window asks for the one selected.
    windows.patients()->rescan();
    windows.patients()->findChild<QPushButton*>(QStringLiteral("pcsobreposicao"))->click();
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->patient(), QStringLiteral("JOSE"));
    EXPECT_FALSE(shown->result().ok());  // one tracing only
    EXPECT_TRUE(shown->message()->text().startsWith(QStringLiteral("JOSE tem 1 traçado(s)")));
}

}  // namespace
}  // namespace qv::test
