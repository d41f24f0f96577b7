// SALVAR and ABRIR of the Tweed page on the program's own windows: the page, the guide window
// and the File menu wired as the start-up wires them, the boxes scripted.

#include "tweed/DiagnosisPanel.h"
#include "guide/GuideWindow.h"
#include "records/TweedFile.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "records/StatsFile.h"
#include "support/WorkFolder.h"
#include "tweed/TweedPage.h"
#include "tweed/TweedPageFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

using namespace qv;
using platform::Answer;
using platform::NoticeKind;
using test::Box;

namespace {

const QString kCaption = QStringLiteral("Análise de Tweed");
const QString kWritten = QStringLiteral("Arquivo Gravado com sucesso!");
const QString kNotConcluded = QStringLiteral("A Análise não está concluída!");
const QString kSaved = QStringLiteral("Já existe análise salva para este paciente!");
const QString kSavedWithGuide = QStringLiteral("Já existe análise e Guia Diagnóstico salvos para este paciente!");
const QString kAlreadyOpen = QStringLiteral("O arquivo já está aberto!");

// ---- the record as laid out, written here by hand ----

void put(QByteArray& r, int offset, const QByteArray& latin1)
{
    r[offset] = char(latin1.size());
    std::memcpy(r.data() + offset + 1, latin1.constData(), size_t(latin1.size()));
}

// The sample patient's twenty measurements at their offsets.
const std::pair<int, const char*> kSampleAtOffsets[] = {
    {56, "25.0"},  {62, "66.0"},  {68, "95.0"},  {74, "10.0"},  {80, "82.0"},  {86, "78.5"},  {92, "2.0"},
    {98, "75.0"},  {104, "15.0"}, {110, "12.0"}, {116, "100.0"}, {122, "66.0"}, {128, "10.0"}, {134, "7.5"},
    {140, "20.0"}, {146, "19.0"}, {152, "-1.5"}, {158, "-2.0"}, {164, "12.0"}, {170, "8.0"}};

// Offsets of the stored guide answers.
enum : int {
    oDaapinh = 183, oMenor, oDmapinh, oDmrel, oDmpro, oDpadq, oClsim, oHorcl2, oSubdivision, oHorcl3, oAberta,
    oOpenBiteGrade, oProfunda, oMedia, oDesarm, oDessuave
};

// The sample patient, a boy, saved with the guide cleared.
QByteArray SampleRecord(const QByteArray& name, const QByteArray& age = "13")
{
    QByteArray r(199, '\0');
    put(r, 1, name);
    put(r, 52, age);
    r[55] = 1;
    for (const auto& [offset, text] : kSampleAtOffsets)
        put(r, offset, text);
    r[oSubdivision] = 's';
    r[oOpenBiteGrade] = 'v';
    return r;
}

// A completed guide: crowding under 3 mm, Class II molars, third molars in place, skeletal
// Class II without subdivision and a mild open bite.
QByteArray SampleRecordWithGuide(const QByteArray& name)
{
    QByteArray r = SampleRecord(name);
    r[0] = 1;
    r[oDaapinh] = 1;
    r[oMenor] = 1;
    r[oDmrel] = 1;
    r[oDpadq] = 1;
    r[oClsim] = 1;
    r[oHorcl2] = 1;
    r[oAberta] = 1;
    r[oOpenBiteGrade] = 's';
    return r;
}

// Catches Form3 being shown, with whether it was minimised then. (Leaving the minimised state
// sends a show event to a hidden window too; that one puts nothing on the screen.)
class ShowWatch : public QObject {
public:
    std::vector<bool> minimisedWhenShown;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* w = static_cast<QWidget*>(o);
        if (e->type() == QEvent::Show && w->isVisible())
            minimisedWhenShown.push_back(w->isMinimized());
        return false;
    }
};

class TweedFileTest : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        form2->setActivePage(MainWindow::Tweed);
        form2->setEnabled(true);
        form2->popOcultarAction()->setEnabled(true);
    }

    template <typename T>
    T* find(const char* name) const
    {
        T* w = page->findChild<T*>(QLatin1String(name));
        if (!w)
            ADD_FAILURE() << "no control " << name;
        return w;
    }
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(name); }
    QString text(const char* name) const
    {
        if (auto* e = page->findChild<QLineEdit*>(QLatin1String(name)))
            return e->text();
        if (auto* b = page->findChild<QAbstractButton*>(QLatin1String(name)))
            return b->text();
        return find<QLabel>(name)->text();
    }
    bool checked(const char* name) const { return find<QAbstractButton>(name)->isChecked(); }
    QAction* popOcultar() const { return form2->popOcultarAction(); }

    void fill(const QString& name, const char* stage = "inicial")
    {
        for (const auto& [field, value] : test::kSamplePatient)
            edit(field)->setText(QString::fromUtf8(value));
        edit("twPaciente")->setText(name);
        find<QRadioButton>("GenMasc")->setChecked(true);
        find<QRadioButton>(stage)->setChecked(true);
    }
    void calculate(Answer answer)
    {
        dialogs.answers.push_back(answer);
        page->tCalcularClick();
        EXPECT_EQ(dialogs.take().type, Box::Question);
    }
    // GUIA DIAGNÓSTICO, the given answers, DIAGNÓSTICO.
    void diagnose(std::initializer_list<const char*> answers)
    {
        page->tCalcularClick();
        const Box reminder = dialogs.take();
        EXPECT_EQ(reminder.caption, kCaption);
        for (const char* a : answers)
            form3->setAnswer(QLatin1String(a), true);
        form3->gdiagClick();
        ASSERT_EQ(page->state(), TweedPage::State::Diagnosed);
    }
    // The answers of SampleRecordWithGuide.
    void diagnoseSample() { diagnose({"daapinh", "menor", "dmrel", "dpadq", "clsim", "horcl2", "sem", "aberta", "suave"}); }

    void expectNotice(NoticeKind kind, const QString& message) { dialogs.expectNotice(kind, message, kCaption); }
    void expectFailure()
    {
        const Box b = dialogs.take();
        EXPECT_EQ(b.kind, NoticeKind::Error);
        EXPECT_EQ(b.caption, QStringLiteral("Quorvel"));
        EXPECT_TRUE(b.text.startsWith(QStringLiteral("Erro de entrada/saída"))) << b.text.toStdString();
    }
    // ABRIR choosing the path (an empty one cancels); takes the open-file box.
    void open(const QString& path)
    {
        dialogs.files.push_back(path);
        page->tabrirClick();
        const Box b = dialogs.take();
        EXPECT_EQ(b.type, Box::OpenFile);
        EXPECT_FALSE(b.hideItemEnabled);
    }
    void openWithGuide(const QString& path)
    {
        open(path);
        const Box reminder = dialogs.take();
        EXPECT_EQ(reminder.caption, kCaption);
        EXPECT_TRUE(reminder.text.startsWith(QStringLiteral("O diagnóstico gerado é meramente sugestivo")));
    }
    static StatsRecord stats() { return ReadStats(); }
    static void expectSameCounts(const StatsRecord& before)
    {
        EXPECT_EQ(stats().tweedCount, before.tweedCount);
        EXPECT_EQ(stats().guideCount, before.guideCount);
    }

    test::FakeShell shell;
    Windows windows{dialogs, shell};
    MainWindow* form2 = windows.form2();
    GuideWindow* form3 = windows.form3();
    TweedPage* page = static_cast<TweedPage*>(form2->page(MainWindow::Tweed));
};

// ---- SALVAR ----

TEST_F(TweedFileTest, AnaMariaAtInter2IsWrittenByteForByte)
{
    fill(QStringLiteral("ANA MARIA"), "inter2");
    calculate(Answer::Yes);
    page->tsalvarClick();
    expectNotice(NoticeKind::Information, kWritten);

    const QByteArray bytes = work.read(QStringLiteral("Análises/ANA MARIA-INTER2.twe"));
    ASSERT_EQ(bytes.size(), 199);
    EXPECT_EQ(bytes.mid(1, 10), QByteArray("\x09" "ANA MARIA"));
    EXPECT_EQ(bytes.toHex(' '), SampleRecord("ANA MARIA").toHex(' '));
    EXPECT_TRUE(checked("parcial"));
    EXPECT_FALSE(checked("completo"));
}

TEST_F(TweedFileTest, TextsAreCutToTheirFieldsAndReopenCut)
{
    const QString name60 = QString(30, u'Á') + QString(30, u'B');
    fill(name60);
    edit("Idade")->setText(QStringLiteral("105"));
    edit("twaobo")->setText(QStringLiteral("-100.5"));
    edit("anper")->setText(QStringLiteral("12.125"));
    calculate(Answer::Yes);
    page->tsalvarClick();
    expectNotice(NoticeKind::Information, kWritten);

    const QString path = QStringLiteral("Análises/") + name60 + QStringLiteral("-INICIAL.twe");
    const QByteArray bytes = work.read(path);
    ASSERT_EQ(bytes.size(), 199);
    EXPECT_EQ(bytes.mid(1, 51), QByteArray("\x32") + QByteArray(30, '\xC1') + QByteArray(20, 'B'));
    EXPECT_EQ(bytes.mid(52, 3), QByteArray("\x02" "10"));
    EXPECT_EQ(bytes.mid(92, 6), QByteArray("\x05" "-100."));
    EXPECT_EQ(bytes.mid(164, 6), QByteArray("\x05" "12.12"));

    page->NewAnalysis();
    open(path);
    EXPECT_EQ(text("twPaciente"), name60.left(50));
    EXPECT_EQ(text("Idade"), QStringLiteral("10"));
    EXPECT_EQ(text("twaobo"), QStringLiteral("-100."));
    EXPECT_EQ(text("anper"), QStringLiteral("12.12"));
    EXPECT_EQ(page->state(), TweedPage::State::Concluded);
}

// Every row of SALVAR's decision on the page: how the page was left, and whether a file of the
// patient and stage was there before.
enum class Setup { Nothing, ConcludedYes, Diagnosed, ImpaNo };
struct SaveRow {
    Setup setup;
    bool fileBefore;
    std::optional<NoticeKind> kind;  // none: no box at all
    const char* message;
    bool written;  // false: no file, or the old one untouched
    bool parcial, completo;
};

void PrintTo(const SaveRow& row, std::ostream* os) { *os << int(row.setup) << (row.fileBefore ? " over a file" : " no file"); }

class TweedSaveTable : public TweedFileTest, public ::testing::WithParamInterface<SaveRow> {};

TEST_P(TweedSaveTable, Decides)
{
    const SaveRow& row = GetParam();
    const QString path = QStringLiteral("Análises/ANA-INICIAL.twe");
    const QByteArray before = SampleRecord("ANA", "77");
    if (row.fileBefore)
        work.write(path, before);
    fill(QStringLiteral("ANA"));
    switch (row.setup) {
    case Setup::Nothing:
        break;
    case Setup::ConcludedYes:
        calculate(Answer::Yes);
        break;
    case Setup::Diagnosed:
        calculate(Answer::Yes);
        diagnoseSample();
        break;
    case Setup::ImpaNo:
        calculate(Answer::No);
        edit("dcopcres")->setText(QStringLiteral("92.0"));
        break;
    }

    page->tsalvarClick();
    if (row.kind)
        expectNotice(*row.kind, QString::fromUtf8(row.message));

    const QByteArray after = work.read(path);
    if (row.written) {
        ASSERT_EQ(after.size(), 199);
        EXPECT_EQ(after.at(0), row.setup == Setup::Diagnosed ? 1 : 0);
        EXPECT_EQ(after.mid(52, 3), QByteArray("\x02" "13"));
        if (row.setup == Setup::Diagnosed) {
            EXPECT_EQ(after.mid(183), SampleRecordWithGuide("ANA").mid(183));
        }
        if (row.setup == Setup::ImpaNo) {
            EXPECT_EQ(after.mid(176, 7), QByteArray("\x01\x04" "92.0\0", 7));
        }
    } else {
        EXPECT_EQ(after, row.fileBefore ? before : QByteArray());
    }
    EXPECT_EQ(checked("parcial"), row.parcial);
    EXPECT_EQ(checked("completo"), row.completo);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, TweedSaveTable,
    ::testing::Values(
        SaveRow{Setup::Nothing, false, NoticeKind::Warning, "A Análise não está concluída!", false, false, false},
        SaveRow{Setup::Nothing, true, NoticeKind::Warning, "A Análise não está concluída!", false, false, false},
        SaveRow{Setup::ConcludedYes, false, NoticeKind::Information, "Arquivo Gravado com sucesso!", true, true, false},
        SaveRow{Setup::ConcludedYes, true, NoticeKind::Error, "Já existe análise salva para este paciente!", false, true, false},
        SaveRow{Setup::Diagnosed, false, NoticeKind::Information, "Arquivo Gravado com sucesso!", true, true, true},
        SaveRow{Setup::Diagnosed, true, NoticeKind::Information, "Arquivo Gravado com sucesso!", true, true, true},
        SaveRow{Setup::ImpaNo, false, NoticeKind::Information, "Arquivo Gravado com sucesso!", true, true, false},
        SaveRow{Setup::ImpaNo, true, std::nullopt, "", false, false, false}));

TEST_F(TweedFileTest, GuideAddedAfterASaveReplacesTheFileOnceOnly)
{
    const QString path = QStringLiteral("Análises/ANA-INICIAL.twe");
    fill(QStringLiteral("ANA"));
    calculate(Answer::Yes);
    page->tsalvarClick();
    expectNotice(NoticeKind::Information, kWritten);
    page->tsalvarClick();
    expectNotice(NoticeKind::Error, kSaved);
    EXPECT_EQ(work.read(path).at(0), 0);

    diagnoseSample();
    page->tsalvarClick();
    expectNotice(NoticeKind::Information, kWritten);
    EXPECT_EQ(work.read(path), SampleRecordWithGuide("ANA"));
    page->tsalvarClick();
    expectNotice(NoticeKind::Error, kSavedWithGuide);

    // After VOLTAR a new complete analysis of the same patient and stage replaces it.
    page->tLimparClick();
    edit("Idade")->setText(QStringLiteral("14"));
    calculate(Answer::Yes);
    diagnoseSample();
    page->tsalvarClick();
    expectNotice(NoticeKind::Information, kWritten);
    EXPECT_EQ(work.read(path).mid(52, 3), QByteArray("\x02" "14"));
}

TEST_F(TweedFileTest, UnsafeNameReadFromAFileIsRefusedAndNothingIsWritten)
{
    work.write(QStringLiteral("Análises/x.twe"), SampleRecord("../FORA"));
    open(QStringLiteral("Análises/x.twe"));
    ASSERT_EQ(page->state(), TweedPage::State::Concluded);
    page->tsalvarClick();
    expectNotice(NoticeKind::Error, QStringLiteral("O nome do paciente contém caracteres inválidos!"));
    EXPECT_FALSE(work.exists(QStringLiteral("FORA-INICIAL.twe")));
    EXPECT_EQ(QDir(work.file(QStringLiteral("Análises"))).entryList(QDir::Files), QStringList{QStringLiteral("x.twe")});
}

TEST_F(TweedFileTest, MissingAnalysesFolderReportsTheFailureWithoutSuccess)
{
    ASSERT_TRUE(QDir(work.file(QStringLiteral("Análises"))).removeRecursively());
    fill(QStringLiteral("ANA"));
    calculate(Answer::Yes);
    diagnoseSample();
    page->tsalvarClick();
    expectFailure();
    EXPECT_TRUE(checked("parcial"));
    EXPECT_TRUE(checked("completo"));
    EXPECT_TRUE(popOcultar()->isEnabled());
}

TEST_F(TweedFileTest, ReadOnlyFolderAndReadOnlyFileFailAndKeepWhatIsThere)
{
    QV_NEEDS_POSIX_PERMISSIONS();
    const QString path = QStringLiteral("Análises/ANA-INICIAL.twe");
    const QByteArray before = SampleRecord("ANA", "77");
    work.write(path, before);
    test::SetModeForAll(work.file(path), true, false);
    test::SetModeForAll(work.file(QStringLiteral("Análises")), true, false, true);
    fill(QStringLiteral("ANA"));
    calculate(Answer::Yes);
    diagnoseSample();
    {
        const test::Unprivileged user(work);
        ASSERT_TRUE(user.ok());
        page->tsalvarClick();  // a rewrite of a file that may not be written
        expectFailure();
        EXPECT_EQ(work.read(path), before);

    }
    // A new file of another stage, concluded again after VOLTAR.
    page->tLimparClick();
    find<QRadioButton>("final")->setChecked(true);
    calculate(Answer::Yes);
    {
        const test::Unprivileged user(work);
        ASSERT_TRUE(user.ok());
        page->tsalvarClick();  // a new file in a folder that may not be written
        expectFailure();
        EXPECT_FALSE(work.exists(QStringLiteral("Análises/ANA-FINAL.twe")));
    }
}

// ---- ABRIR ----

// The diagnosis comes back from the file alone: the guide window is never shown, not even minimised.
TEST_F(TweedFileTest, SavedDiagnosisComesBackWithoutTheGuideWindowAndTheGuideEmptied)
{
    fill(QStringLiteral("ANA"), "inter1");
    calculate(Answer::Yes);
    diagnoseSample();
    const PanelState generated = page->panel()->state();
    page->tsalvarClick();
    expectNotice(NoticeKind::Information, kWritten);
    page->NewAnalysis();
    ASSERT_FALSE(page->panel()->state().antInfo);
    const StatsRecord before = stats();

    ShowWatch watch;
    form3->installEventFilter(&watch);
    dialogs.onBox = [this](const Box& b) {
        if (b.type == Box::Notice) {
            EXPECT_FALSE(form3->isVisible());
        }
    };
    openWithGuide(QStringLiteral("Análises/ANA-INTER1.twe"));
    dialogs.onBox = nullptr;
    EXPECT_EQ(dialogs.lastOpenRequest.defaultSuffix, QStringLiteral("twe"));
    EXPECT_EQ(dialogs.lastOpenRequest.filter, QStringLiteral("Arquivo de Análise de Tweed|*.twe"));

    EXPECT_EQ(page->panel()->state(), generated);
    EXPECT_EQ(page->state(), TweedPage::State::Diagnosed);
    EXPECT_EQ(text("tLimpar"), QStringLiteral("LIMPAR"));
    EXPECT_TRUE(checked("inter1"));
    EXPECT_TRUE(checked("abrir") && checked("parcial") && checked("completo"));
    EXPECT_EQ(text("twPaciente"), QStringLiteral("ANA"));
    EXPECT_TRUE(checked("GenMasc"));
    EXPECT_EQ(form3->answers(), GuideAnswers{});
    EXPECT_FALSE(form3->isVisible());
    EXPECT_FALSE(form3->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(watch.minimisedWhenShown.empty());
    EXPECT_TRUE(form2->isEnabled());
    EXPECT_TRUE(popOcultar()->isEnabled());
    EXPECT_EQ(stats().tweedCount, before.tweedCount + 1);
    EXPECT_EQ(stats().guideCount, before.guideCount + 1);
}

TEST_F(TweedFileTest, FileWithoutGuideConcludesWithTheClinicianImpa)
{
    QByteArray r = SampleRecord("BIA");
    r[176] = 1;
    put(r, 177, "91.5");
    r[55] = 0;
    work.write(QStringLiteral("Análises/BIA-FINAL.twe"), r);
    const StatsRecord before = stats();

    open(QStringLiteral("Análises/BIA-FINAL.twe"));
    EXPECT_EQ(page->state(), TweedPage::State::Concluded);
    EXPECT_TRUE(checked("final"));
    EXPECT_TRUE(checked("GenFem"));
    EXPECT_TRUE(checked("dcnao"));
    EXPECT_TRUE(find<QWidget>("dcopcres")->isHidden());
    EXPECT_EQ(text("dcopcres"), QStringLiteral("91.5"));
    EXPECT_EQ(text("dcimpares"), QStringLiteral("91.5"));
    EXPECT_FALSE(text("idlabel").isEmpty());
    EXPECT_TRUE(checked("abrir") && checked("parcial"));
    EXPECT_FALSE(checked("completo"));
    EXPECT_FALSE(page->panel()->state().antInfo);
    EXPECT_EQ(stats().tweedCount, before.tweedCount + 1);
    EXPECT_EQ(stats().guideCount, before.guideCount);
}

// The already-open test: substring of the name and the page's stage, only while concluded.
struct AlreadyOpenRow {
    bool concluded;
    const char* pageStage;
    const char* file;
    bool refused;
    const char* stageAfter;
};

void PrintTo(const AlreadyOpenRow& row, std::ostream* os)
{
    *os << (row.concluded ? "concluded " : "editing ") << row.pageStage << ", " << row.file;
}

class TweedAlreadyOpen : public TweedFileTest, public ::testing::WithParamInterface<AlreadyOpenRow> {};

TEST_P(TweedAlreadyOpen, RefusedOrOpened)
{
    const AlreadyOpenRow& row = GetParam();
    const QString path = QStringLiteral("Análises/") + QLatin1String(row.file);
    work.write(path, SampleRecord("MARIANA", "40"));
    fill(QStringLiteral("ANA"), row.pageStage);
    if (row.concluded)
        calculate(Answer::Yes);
    form3->setAnswer(QStringLiteral("dmrel"), true);

    open(path);
    if (row.refused) {
        expectNotice(NoticeKind::Error, kAlreadyOpen);
        EXPECT_EQ(text("Idade"), QStringLiteral("13"));  // nothing loaded
        EXPECT_EQ(page->state(), TweedPage::State::Concluded);
    } else {
        EXPECT_EQ(text("Idade"), QStringLiteral("40"));
        EXPECT_EQ(text("twPaciente"), QStringLiteral("MARIANA"));
        EXPECT_EQ(page->state(), TweedPage::State::Concluded);
    }
    EXPECT_TRUE(checked(row.stageAfter));
    EXPECT_FALSE(form3->answer(QStringLiteral("dmrel")));
    EXPECT_TRUE(popOcultar()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TweedAlreadyOpen,
    ::testing::Values(AlreadyOpenRow{true, "inicial", "ANA-INICIAL.twe", true, "inicial"},
                      AlreadyOpenRow{true, "inicial", "ANA-FINAL.twe", false, "final"},
                      AlreadyOpenRow{true, "inter2", "ANA-INTER2.twe", true, "inter2"},
                      AlreadyOpenRow{true, "inicial", "MARIANA-INICIAL.twe", true, "inicial"},  // "ANA" inside
                      AlreadyOpenRow{false, "inicial", "ANA-INICIAL.twe", false, "inicial"},
                      AlreadyOpenRow{true, "inicial", "ANA.twe", false, "inicial"},  // no stage in the name
                      AlreadyOpenRow{true, "final", "BIA.twe", false, "inicial"}));

// Nothing is loaded; the guide is still cleared and the tray item enabled.
class TweedNotOpened : public TweedFileTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(TweedNotOpened, LeavesThePageAsItWas)
{
    work.write(QStringLiteral("Análises/ANA-INICIAL.TWE"), SampleRecord("ANA"));
    edit("twPaciente")->setText(QStringLiteral("ZECA"));
    form3->setAnswer(QStringLiteral("daapinh"), true);
    form3->setAnswer(QStringLiteral("clsim"), true);
    const StatsRecord before = stats();

    open(QString::fromUtf8(GetParam()));
    EXPECT_EQ(text("twPaciente"), QStringLiteral("ZECA"));
    EXPECT_FALSE(checked("abrir"));
    EXPECT_EQ(form3->answers(), GuideAnswers{});
    EXPECT_TRUE(popOcultar()->isEnabled());
    expectSameCounts(before);
}

INSTANTIATE_TEST_SUITE_P(Paths, TweedNotOpened,
                         ::testing::Values("", "Análises/ANA-INICIAL.TWE", "Análises/ANA.bol"));

TEST_F(TweedFileTest, ShortFileFailsAfterTheClearAndLoadsNothing)
{
    work.write(QStringLiteral("Análises/ANA-FINAL.twe"), SampleRecordWithGuide("ANA").left(198));
    fill(QStringLiteral("ZECA"));
    calculate(Answer::Yes);
    form3->setAnswer(QStringLiteral("dmpro"), true);
    const StatsRecord before = stats();

    open(QStringLiteral("Análises/ANA-FINAL.twe"));
    expectFailure();
    EXPECT_EQ(text("twPaciente"), QStringLiteral("ZECA"));  // VOLTAR keeps the inputs
    EXPECT_TRUE(text("idlabel").isEmpty());
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    EXPECT_TRUE(checked("final"));
    EXPECT_TRUE(checked("abrir") && checked("parcial"));
    EXPECT_FALSE(checked("completo"));
    EXPECT_EQ(form3->answers(), GuideAnswers{});
    EXPECT_TRUE(popOcultar()->isEnabled());
    expectSameCounts(before);
}

TEST_F(TweedFileTest, UnreadableFileFailsLikeAShortOne)
{
    QV_NEEDS_POSIX_PERMISSIONS();
    work.write(QStringLiteral("Análises/ANA-INICIAL.twe"), SampleRecord("ANA"));
    test::SetModeForAll(work.file(QStringLiteral("Análises/ANA-INICIAL.twe")), false, false);
    const test::Unprivileged user(work);
    ASSERT_TRUE(user.ok());
    open(QStringLiteral("Análises/ANA-INICIAL.twe"));
    expectFailure();
    EXPECT_TRUE(text("twPaciente").isEmpty());
    EXPECT_TRUE(checked("abrir") && checked("parcial"));
    EXPECT_TRUE(popOcultar()->isEnabled());
}

// A file from elsewhere opened under a name without stage, then saved as the initial analysis:
// the guide was emptied after the regeneration, yet the new file holds the answers it came from.
TEST_F(TweedFileTest, ReopenedDiagnosisIsSavedWithItsOwnAnswers)
{
    const QByteArray original = SampleRecordWithGuide("ANA");
    work.write(QStringLiteral("Análises/ANA.twe"), original);
    openWithGuide(QStringLiteral("Análises/ANA.twe"));
    ASSERT_EQ(page->state(), TweedPage::State::Diagnosed);
    ASSERT_EQ(form3->answers(), GuideAnswers{});

    page->tsalvarClick();
    expectNotice(NoticeKind::Information, kWritten);
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA-INICIAL.twe")).toHex(' '), original.toHex(' '));
}

// A recalculation stopped by a check leaves the page editable: no diagnosis is made up from
// empty results.
TEST_F(TweedFileTest, IncompleteFileWithGuideStaysEditableWithoutDiagnosis)
{
    QByteArray r = SampleRecordWithGuide("ANA");
    r.replace(116, 6, QByteArray(6, '\0'));  // AFA empty
    work.write(QStringLiteral("Análises/ANA-INICIAL.twe"), r);
    const StatsRecord before = stats();

    open(QStringLiteral("Análises/ANA-INICIAL.twe"));
    expectNotice(NoticeKind::Warning, QStringLiteral("Todos os campos devem ser preenchidos antes do cálculo!"));
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    EXPECT_TRUE(find<QPushButton>("tCalcular")->isEnabled());
    EXPECT_FALSE(page->panel()->state().antInfo);
    EXPECT_TRUE(checked("abrir") && checked("parcial"));
    EXPECT_FALSE(checked("completo"));
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(form3->answers(), GuideAnswers{});
    expectSameCounts(before);
}

TEST_F(TweedFileTest, FileMenuOpensAndSavesTheTweedPage)
{
    work.write(QStringLiteral("Análises/ANA-INICIAL.twe"), SampleRecord("ANA"));
    auto* menuSave = form2->findChild<QAction*>(QStringLiteral("Save1"));
    auto* menuOpen = form2->findChild<QAction*>(QStringLiteral("Open1"));
    ASSERT_TRUE(menuSave && menuOpen);
    menuSave->trigger();
    expectNotice(NoticeKind::Warning, kNotConcluded);

    dialogs.files.push_back(QStringLiteral("Análises/ANA-INICIAL.twe"));
    menuOpen->trigger();
    EXPECT_EQ(dialogs.take().type, Box::OpenFile);
    EXPECT_EQ(page->state(), TweedPage::State::Concluded);
    menuSave->trigger();
    expectNotice(NoticeKind::Error, kSaved);
}

// ---- the guide's answers restored through its own rules ----

struct RestoreRow {
    const char* name;
    std::vector<std::pair<int, char>> stored;  // offset, byte
    std::vector<const char*> expected;         // every answer checked afterwards
};

void PrintTo(const RestoreRow& row, std::ostream* os) { *os << row.name; }

class TweedGuideRestore : public test::WorkFolderTest, public ::testing::WithParamInterface<RestoreRow> {};

TEST_P(TweedGuideRestore, ChecksExactlyTheseAnswers)
{
    GuideWindow guide(dialogs);
    QByteArray r(199, '\0');
    r[0] = 1;
    for (const auto& [offset, byte] : GetParam().stored)
        r[offset] = byte;
    guide.restoreAnswers(DecodeTweed(r).guide);

    QStringList checkedNow;
    for (const char* n : {"daapinh", "menor", "maior", "dmapinh", "dmrel", "dmpro", "dpadq", "dpinadeq", "clsim",
                          "clnao", "horcl2", "direita", "esquerda", "sem", "horcl3", "aberta", "profunda", "suave",
                          "media", "severa", "desarm", "dessuave", "dessevera"})
        if (guide.answer(QLatin1String(n)))
            checkedNow << QLatin1String(n);
    QStringList expected;
    for (const char* n : GetParam().expected)
        expected << QLatin1String(n);
    EXPECT_EQ(checkedNow.join(u' ').toStdString(), expected.join(u' ').toStdString());

    // The rules ran: every checked answer is shown, and its partner is disabled.
    for (const QString& n : checkedNow)
        EXPECT_FALSE(guide.answerControl(n)->isHidden()) << n.toStdString();
    const std::pair<const char*, const char*> partners[] = {{"menor", "maior"},   {"dpadq", "dpinadeq"},
                                                            {"horcl2", "horcl3"}, {"aberta", "profunda"},
                                                            {"dessuave", "dessevera"}};
    for (const auto& [a, b] : partners) {
        if (guide.answer(QLatin1String(a))) {
            EXPECT_FALSE(guide.answerControl(QLatin1String(b))->isEnabled()) << b;
        }
        if (guide.answer(QLatin1String(b))) {
            EXPECT_FALSE(guide.answerControl(QLatin1String(a))->isEnabled()) << a;
        }
    }
    const bool deep = guide.answer(QStringLiteral("profunda"));
    EXPECT_EQ(guide.answerControl(QStringLiteral("media"))->text(), deep ? QStringLiteral("Suave") : QStringLiteral("Média"));
}

const std::pair<int, char> kAllSkeletal[] = {{oHorcl2, 1}, {oSubdivision, 'd'}, {oHorcl3, 1}, {oAberta, 1},
                                             {oOpenBiteGrade, 's'}, {oProfunda, 1}, {oMedia, 1}, {oDesarm, 1},
                                             {oDessuave, 1}};

std::vector<std::pair<int, char>> withoutClsim()
{
    std::vector<std::pair<int, char>> v = {{oDaapinh, 1}, {oMenor, 1}, {oDmapinh, 1}, {oDmrel, 1}, {oDmpro, 1}, {oDpadq, 1}};
    v.insert(v.end(), std::begin(kAllSkeletal), std::end(kAllSkeletal));
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, TweedGuideRestore,
    ::testing::Values(
        RestoreRow{"NoSkeletalOnlyFirstSix", withoutClsim(),
                   {"daapinh", "menor", "dmapinh", "dmrel", "dmpro", "dpadq", "clnao"}},
        RestoreRow{"CrowdingWithoutSizeIsLarger", {{oDaapinh, 1}}, {"daapinh", "maior", "dpinadeq", "clnao"}},
        RestoreRow{"SizeWithoutCrowdingIsIgnored", {{oMenor, 1}, {oDpadq, 1}}, {"dpadq", "clnao"}},
        RestoreRow{"ClassTwoRight", {{oClsim, 1}, {oHorcl2, 1}, {oSubdivision, 'd'}}, {"dpinadeq", "clsim", "horcl2", "direita"}},
        RestoreRow{"ClassTwoLeft", {{oClsim, 1}, {oHorcl2, 1}, {oSubdivision, 'e'}}, {"dpinadeq", "clsim", "horcl2", "esquerda"}},
        RestoreRow{"ClassTwoWithout", {{oClsim, 1}, {oHorcl2, 1}, {oSubdivision, 's'}}, {"dpinadeq", "clsim", "horcl2", "sem"}},
        RestoreRow{"ClassTwoOtherLetter", {{oClsim, 1}, {oHorcl2, 1}, {oSubdivision, 'x'}}, {"dpinadeq", "clsim", "horcl2", "sem"}},
        RestoreRow{"ClassThree", {{oClsim, 1}, {oHorcl3, 1}, {oSubdivision, 'd'}}, {"dpinadeq", "clsim", "horcl3"}},
        RestoreRow{"OpenBiteMild", {{oClsim, 1}, {oAberta, 1}, {oOpenBiteGrade, 's'}}, {"dpinadeq", "clsim", "aberta", "suave"}},
        RestoreRow{"OpenBiteMedium", {{oClsim, 1}, {oAberta, 1}, {oOpenBiteGrade, 'm'}, {oMedia, 1}},
                   {"dpinadeq", "clsim", "aberta", "media"}},
        RestoreRow{"OpenBiteSevere", {{oClsim, 1}, {oAberta, 1}, {oOpenBiteGrade, 'v'}}, {"dpinadeq", "clsim", "aberta", "severa"}},
        RestoreRow{"DeepBiteMild", {{oClsim, 1}, {oProfunda, 1}, {oMedia, 1}, {oOpenBiteGrade, 'm'}},
                   {"dpinadeq", "clsim", "profunda", "media"}},
        RestoreRow{"DeepBiteSevere", {{oClsim, 1}, {oProfunda, 1}, {oOpenBiteGrade, 'v'}}, {"dpinadeq", "clsim", "profunda", "severa"}},
        RestoreRow{"FacialMild", {{oClsim, 1}, {oDesarm, 1}, {oDessuave, 1}}, {"dpinadeq", "clsim", "desarm", "dessuave"}},
        RestoreRow{"FacialSevere", {{oClsim, 1}, {oDesarm, 1}}, {"dpinadeq", "clsim", "desarm", "dessevera"}},
        RestoreRow{"GradesWithoutTheirAnswerAreIgnored",
                   {{oClsim, 1}, {oSubdivision, 'd'}, {oOpenBiteGrade, 's'}, {oMedia, 1}, {oDessuave, 1}, {oDpadq, 1}},
                   {"dpadq", "clsim"}}),
    [](const ::testing::TestParamInfo<RestoreRow>& info) { return std::string(info.param.name); });

}  // namespace
