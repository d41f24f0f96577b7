#include "notes/PlanPage.h"

#include "platform/PageContext.h"
#include "notes/StorableTextEdit.h"
#include "support/WorkFolder.h"

#include "PageTestSupport.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace qv;
using platform::NoticeKind;

namespace {

const QString kPlanCaption = QStringLiteral("Plano de Tratamento");
const QString kSaved = QStringLiteral("Plano de Tratamento salvo com sucesso!");
const QString kUpdated = QStringLiteral("Plano de Tratamento atualizado com sucesso!");
const QString kUnsafe = QStringLiteral("O nome do paciente contém caracteres inválidos!");

}  // namespace

class PlanPageTest : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        dialogs.setHideItem(&hideItem);
        hideItem.setEnabled(true);
        page.resize(975, 660);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    bool save(const QString& name, const QString& plan)
    {
        page.popaciente()->setText(name);
        page.outline()->setPlainText(plan);
        return page.posalvarclick();
    }

    void open(const QString& chosen)
    {
        dialogs.files.push_back(chosen);
        page.poabrirclick();
        const test::Box box = dialogs.take();
        EXPECT_EQ(box.type, test::Box::OpenFile);
        EXPECT_EQ(box.text, QStringLiteral("Arquivo de Plano de Tratamento|*.otl"));
    }

    // The active page is another one: the plan's boxes still carry the plan's caption.
    platform::PageContext context{dialogs, [] { return QStringLiteral("Análise de Tweed"); }};
    PlanPage page{context};
    QAction hideItem;
};

TEST_F(PlanPageTest, SavedThenUpdated)
{
    EXPECT_TRUE(save(QStringLiteral("ANA"), QStringLiteral("Um\nDois\nTrês")));
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.text, kSaved);
    EXPECT_EQ(box.caption, kPlanCaption);
    EXPECT_EQ(box.kind, NoticeKind::Information);
    EXPECT_FALSE(box.hideItemEnabled);
    EXPECT_TRUE(hideItem.isEnabled());
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.otl")), QByteArray("ANA\r\nUm\r\nDois\r\nTr\xEAs\r\n"));
    EXPECT_EQ(page.label10()->text(), QStringLiteral("open"));
    EXPECT_FALSE(page.label10()->isVisible());

    page.outline()->setPlainText(QStringLiteral("Um\nDois"));
    EXPECT_TRUE(page.posalvarclick());
    dialogs.expectNotice(NoticeKind::Information, kUpdated, kPlanCaption);
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.otl")), QByteArray("ANA\r\nUm\r\nDois\r\n"));
}

TEST_F(PlanPageTest, AfterLimparAShorterPlanReplacesTheOldOne)
{
    save(QStringLiteral("ANA"), QStringLiteral("1\n2\n3\n4\n5"));
    dialogs.take();
    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    EXPECT_TRUE(page.popaciente()->text().isEmpty());
    EXPECT_TRUE(page.outline()->toPlainText().isEmpty());
    EXPECT_TRUE(page.label10()->text().isEmpty());
    save(QStringLiteral("ANA"), QStringLiteral("novo"));
    dialogs.expectNotice(NoticeKind::Information, kSaved, kPlanCaption);
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.otl")), QByteArray("ANA\r\nnovo\r\n"));
}

TEST_F(PlanPageTest, CancelledOpenStillMarksThePlanOpen)
{
    open(QString());
    EXPECT_TRUE(hideItem.isEnabled());
    EXPECT_EQ(page.label10()->text(), QStringLiteral("open"));
    save(QStringLiteral("ANA"), QStringLiteral("x"));
    dialogs.expectNotice(NoticeKind::Information, kUpdated, kPlanCaption);
}

TEST_F(PlanPageTest, CapitalExtensionIsIgnored)
{
    work.write(QStringLiteral("Análises/BIA.OTL"), "BIA\r\nX\r\n");
    page.outline()->setPlainText(QStringLiteral("meu plano"));
    open(work.file(QStringLiteral("Análises/BIA.OTL")));
    EXPECT_EQ(page.outline()->toPlainText(), QStringLiteral("meu plano"));
    EXPECT_EQ(page.label10()->text(), QStringLiteral("open"));
}

struct EndCase {
    const char* what;
    QString typed;
    QByteArray file;
};

class PlanLines : public PlanPageTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(PlanLines, Written)
{
    page.popaciente()->setText(QStringLiteral("ANA"));
    page.outline()->setFocus();
    test::typeText(page.outline(), GetParam().typed);
    EXPECT_TRUE(page.posalvarclick());
    dialogs.take();
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.otl")), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanLines,
    ::testing::Values(EndCase{"empty_plan", QString(), "ANA\r\n"}, EndCase{"final_break_dropped", QStringLiteral("A\nB\n"), "ANA\r\nA\r\nB\r\n"},
                      EndCase{"only_the_last_break", QStringLiteral("A\n\n"), "ANA\r\nA\r\n\r\n"},
                      EndCase{"inner_empty_kept", QStringLiteral("A\n\nB"), "ANA\r\nA\r\n\r\nB\r\n"},
                      EndCase{"accents", QStringLiteral("Extração € “x”"), "ANA\r\nExtra\xE7\xE3o \x80 \x93x\x94\r\n"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(PlanPageTest, WrappedParagraphReopensAsTwoLines)
{
    const QString paragraph = test::paragraphFor(page.outline(), 1.5);
    save(QStringLiteral("ANA"), paragraph);
    dialogs.take();
    page.polimparclick();
    open(work.file(QStringLiteral("Análises/ANA.otl")));
    EXPECT_EQ(page.outline()->document()->blockCount(), 2);
    EXPECT_EQ(page.outline()->toPlainText().remove(u'\n'), paragraph);
}

TEST_F(PlanPageTest, OpenFillsThePageAndRoundTripsByteForByte)
{
    // Every byte a Windows-1252 text can hold, the five it leaves undefined included.
    QByteArray body;
    for (int b = 0x20; b < 0x100; ++b)
        body.append(char(b));
    const QByteArray file = QByteArray("JOÃO\r\n").replace("Ã", "\xC3") + "Linha \x80\r\n\r\n" + body + "\r\n";
    work.write(QStringLiteral("Análises/JOAO.otl"), file);
    open(work.file(QStringLiteral("Análises/JOAO.otl")));
    EXPECT_EQ(page.popaciente()->text(), QStringLiteral("JOÃO"));
    EXPECT_EQ(page.outline()->toPlainText().section(u'\n', 0, 0), QStringLiteral("Linha €"));
    EXPECT_EQ(page.label10()->text(), QStringLiteral("open"));
    EXPECT_TRUE(hideItem.isEnabled());

    // Wide enough that nothing wraps: what was read is what is written.
    page.outline()->setLineWrapMode(QPlainTextEdit::NoWrap);
    EXPECT_TRUE(page.posalvarclick());
    dialogs.expectNotice(NoticeKind::Information, kUpdated, kPlanCaption);
    const QByteArray again = work.read(QStringLiteral("Análises/JOÃO.otl"));
    EXPECT_EQ(again.toHex().toStdString(), file.toHex().toStdString());
}

TEST_F(PlanPageTest, FileFromAnotherFolderSavesIntoTheAnalysesFolder)
{
    QDir(work.path()).mkdir(QStringLiteral("outra"));
    const QByteArray other = "ANA\r\nANTIGO\r\n";
    work.write(QStringLiteral("outra/ANA.otl"), other);
    open(work.file(QStringLiteral("outra/ANA.otl")));
    page.outline()->setPlainText(QStringLiteral("NOVO"));
    page.posalvarclick();
    dialogs.expectNotice(NoticeKind::Information, kUpdated, kPlanCaption);
    EXPECT_EQ(work.read(QStringLiteral("outra/ANA.otl")), other);
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.otl")), QByteArray("ANA\r\nNOVO\r\n"));
}

struct OddPlan {
    const char* what;
    QByteArray bytes;
    int blocks;
};

class OpenOddPlan : public PlanPageTest, public ::testing::WithParamInterface<OddPlan> {};

TEST_P(OpenOddPlan, LoadsWithoutTouchingTheFile)
{
    work.write(QStringLiteral("Análises/X.otl"), GetParam().bytes);
    page.outline()->setPlainText(QStringLiteral("rascunho"));
    open(work.file(QStringLiteral("Análises/X.otl")));
    EXPECT_EQ(page.outline()->toPlainText().isEmpty() ? 0 : page.outline()->document()->blockCount(), GetParam().blocks);
    EXPECT_EQ(work.read(QStringLiteral("Análises/X.otl")), GetParam().bytes);
    EXPECT_EQ(page.label10()->text(), QStringLiteral("open"));
}

INSTANTIATE_TEST_SUITE_P(Files, OpenOddPlan,
                         ::testing::Values(OddPlan{"empty", QByteArray(), 0}, OddPlan{"name_only", "ANA", 0},
                                           OddPlan{"binary", QByteArray("\x00\x9d\r\x00\x81\xfe\n\n", 8), 2},
                                           OddPlan{"huge_line", "ANA\r\n" + QByteArray(200000, 'A'), 1}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(PlanPageTest, EmptyNameWarns)
{
    EXPECT_FALSE(save(QString(), QStringLiteral("x")));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("O nome do paciente deve ser preenchido!"), kPlanCaption);
    EXPECT_TRUE(QDir(work.file(QStringLiteral("Análises"))).isEmpty());
    EXPECT_TRUE(page.label10()->text().isEmpty());
}

TEST_F(PlanPageTest, UnsafeNameFromAFileIsRefused)
{
    work.write(QStringLiteral("Análises/X.otl"), "..\\..\\EVIL\r\nA\r\n");
    open(work.file(QStringLiteral("Análises/X.otl")));
    EXPECT_FALSE(page.posalvarclick());
    dialogs.expectNotice(NoticeKind::Error, kUnsafe, kPlanCaption);
    EXPECT_EQ(QDir(work.file(QStringLiteral("Análises"))).entryList(QDir::Files), QStringList{QStringLiteral("X.otl")});
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files).size(), 3);
}

TEST_F(PlanPageTest, MissingFolderReportsAndKeepsTheMark)
{
    QDir(work.path()).rmdir(QStringLiteral("Análises"));
    EXPECT_FALSE(save(QStringLiteral("ANA"), QStringLiteral("x")));
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_TRUE(box.text.contains(QStringLiteral("ANA.otl")));
    EXPECT_TRUE(page.label10()->text().isEmpty());
}

TEST_F(PlanPageTest, ReadOnlyFolderKeepsTheOldPlan)
{
    QV_NEEDS_POSIX_PERMISSIONS();
    work.write(QStringLiteral("Análises/ANA.otl"), "ANA\r\nvelho\r\n");
    QFile::setPermissions(work.file(QStringLiteral("Análises")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const test::Unprivileged user(work);
    ASSERT_TRUE(user.ok());
    EXPECT_FALSE(save(QStringLiteral("ANA"), QStringLiteral("novo")));
    EXPECT_EQ(dialogs.take().kind, NoticeKind::Error);
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.otl")), QByteArray("ANA\r\nvelho\r\n"));
}

TEST_F(PlanPageTest, FailedWriteKeepsTheOldPlanWhole)
{
    QV_NEEDS_FILE_SIZE_LIMIT();
    const QByteArray old = "ANA\r\nplano antigo\r\n";
    work.write(QStringLiteral("Análises/ANA.otl"), old);
    QString plan;
    for (int i = 0; i < 200; ++i)
        plan += QStringLiteral("etapa %1 do plano novo\n").arg(i);
    {
        const test::FileSizeLimit limit(1000);
        EXPECT_FALSE(save(QStringLiteral("ANA"), plan));
    }
    EXPECT_EQ(dialogs.take().kind, NoticeKind::Error);
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.otl")), old);
    EXPECT_EQ(QDir(work.file(QStringLiteral("Análises"))).entryList(QDir::Files), QStringList{QStringLiteral("ANA.otl")});
}

TEST_F(PlanPageTest, OpeningAFolderReportsTheError)
{
    QDir(work.path()).mkdir(QStringLiteral("Análises/PASTA.otl"));
    open(work.file(QStringLiteral("Análises/PASTA.otl")));
    EXPECT_EQ(dialogs.take().kind, NoticeKind::Error);
    EXPECT_TRUE(hideItem.isEnabled());
}

TEST_F(PlanPageTest, OutlineKeepsOnlyStorableCharacters)
{
    page.outline()->setFocus();
    test::typeText(page.outline(), QString::fromUtf16(u"ã中ç"));
    QApplication::clipboard()->setText(QString::fromUtf16(u"\u0394x\u2026"));
    page.outline()->paste();
    EXPECT_EQ(page.outline()->toPlainText(), QString::fromUtf16(u"ãçx\u2026"));
}

TEST_F(PlanPageTest, ControlsAndAccessibleNames)
{
    EXPECT_EQ(page.objectName(), QStringLiteral("TabSheet5"));
    auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    EXPECT_EQ(name(page.popaciente()), QStringLiteral("Paciente"));
    EXPECT_EQ(name(page.outline()), QStringLiteral("Descrição do atendimento"));
    EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("Label11"))->text(), QStringLiteral("Descrição do atendimento"));
    EXPECT_EQ(page.findChild<QWidget*>(QStringLiteral("outline")), page.outline());
    EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("Label10")), page.label10());
    EXPECT_FALSE(page.label10()->isVisible());
    EXPECT_TRUE(page.label10()->text().isEmpty());
    int previousX = -1;
    const std::pair<const char*, const char*> buttons[] = {
        {"Button1", "LIMPAR"}, {"Button2", "SALVAR"}, {"Button4", "ABRIR"}, {"Button5", "IMPRIMIR"}, {"Button6", "SAIR"}};
    for (auto [n, caption] : buttons) {
        auto* b = page.findChild<QPushButton*>(QString::fromLatin1(n));
        ASSERT_NE(b, nullptr) << n;
        EXPECT_EQ(b->text(), QString::fromLatin1(caption));
        EXPECT_GT(b->x(), previousX) << n;
        previousX = b->x();
        EXPECT_TRUE(page.rect().contains(b->geometry())) << n;
    }
}

TEST_F(PlanPageTest, ButtonsRunTheActions)
{
    int exits = 0;
    context.setExitProgram([&] { ++exits; });
    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("Button6")), Qt::LeftButton);
    EXPECT_EQ(exits, 1);

    page.popaciente()->setText(QStringLiteral("ANA"));
    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    dialogs.expectNotice(NoticeKind::Information, kSaved, kPlanCaption);
    dialogs.files.push_back(QString());
    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("Button4")), Qt::LeftButton);
    EXPECT_EQ(dialogs.take().type, test::Box::OpenFile);
}

TEST_F(PlanPageTest, NameFilterWarnsWithThePlanCaption)
{
    page.popaciente()->setFocus();
    QTest::keyClicks(page.popaciente(), "a.");
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores ALFABÉTICOS!"), kPlanCaption);
    EXPECT_EQ(page.popaciente()->text(), QStringLiteral("A"));
}

// The lines follow the field's width at the moment they are asked for.
TEST_F(PlanPageTest, DisplayedLinesFollowTheWidth)
{
    const QString paragraph = test::paragraphFor(page.outline(), 1.5);
    page.outline()->setPlainText(paragraph);
    EXPECT_EQ(DisplayedLines(page.outline()).size(), 2);
    page.resize(975 * 2, 660);
    QApplication::processEvents();
    EXPECT_EQ(DisplayedLines(page.outline()), QStringList{paragraph});
}
