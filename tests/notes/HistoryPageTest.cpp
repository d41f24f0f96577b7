#include "notes/HistoryPage.h"
#include "notes/PlanPage.h"

#include "platform/PageContext.h"
#include "support/WorkFolder.h"

#include "PageTestSupport.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTextBlock>

using namespace qv;
using platform::NoticeKind;

namespace {

const QString kHistoryCaption = QStringLiteral("Histórico do Tratamento");
const QString kCreated = QStringLiteral("Plano de Tratamento gravado com sucesso!");
const QString kUpdated = QStringLiteral("Plano de Tratamento atualizado com sucesso!");
const QString kNoName = QStringLiteral("O nome do paciente deve ser preenchido!");
const QString kNoDescription = QStringLiteral("O Campo descrição do atendimento deve ser preenchido antes de salvar!");
const QString kUnsafe = QStringLiteral("O nome do paciente contém caracteres inválidos!");
const QByteArray kDashes(145, '-');

QByteArray dateBytes(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")).toLatin1(); }

}  // namespace

class HistoryPageTest : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        dialogs.setHideItem(&hideItem);
        hideItem.setEnabled(true);
        page.today = [this] { return day; };
        page.resize(975, 660);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    void save(const QString& name, const QString& description)
    {
        page.plpaciente()->setText(name);
        page.insere()->setPlainText(description);
        page.plsalvarClick();
    }

    QString caption = kHistoryCaption;
    platform::PageContext context{dialogs, [this] { return caption; }};
    HistoryPage page{context};
    QAction hideItem;
    QDate day{2024, 12, 9};
};

TEST_F(HistoryPageTest, FirstSaveCreatesTheFile)
{
    page.plpaciente()->setFocus();
    QTest::keyClicks(page.plpaciente(), "ana");
    page.insere()->setFocus();
    test::typeText(page.insere(), QStringLiteral("Colagem do aparelho"));
    page.plsalvarClick();

    const test::Box box = dialogs.take();
    EXPECT_EQ(box.text, kCreated);
    EXPECT_EQ(box.caption, kHistoryCaption);
    EXPECT_EQ(box.kind, NoticeKind::Information);
    EXPECT_FALSE(box.hideItemEnabled);
    EXPECT_TRUE(hideItem.isEnabled());

    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.pln")),
              "ANA\r\n" + dateBytes(day) + "\r\n\r\nColagem do aparelho\r\n" + kDashes + "\r\n");
    EXPECT_EQ(page.plpaciente()->text(), QStringLiteral("ANA"));
    EXPECT_TRUE(page.insere()->toPlainText().isEmpty());
    EXPECT_EQ(page.historico()->toPlainText(),
              QString::fromLatin1(dateBytes(day)) + QStringLiteral("\n\nColagem do aparelho\n") + QString(145, u'-'));
}

TEST_F(HistoryPageTest, LaterVisitsAreAppended)
{
    save(QStringLiteral("ANA"), QStringLiteral("Primeira"));
    dialogs.expectNotice(NoticeKind::Information, kCreated, kHistoryCaption);
    const QByteArray first = work.read(QStringLiteral("Análises/ANA.pln"));

    save(QStringLiteral("ANA"), QStringLiteral("Mesmo dia"));
    dialogs.expectNotice(NoticeKind::Information, kUpdated, kHistoryCaption);
    const QDate before = day;
    day = day.addDays(30);
    save(QStringLiteral("ANA"), QStringLiteral("Outro dia"));
    dialogs.expectNotice(NoticeKind::Information, kUpdated, kHistoryCaption);

    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.pln")),
              first + dateBytes(before) + "\r\n\r\nMesmo dia\r\n" + kDashes + "\r\n" + dateBytes(day) + "\r\n\r\nOutro dia\r\n"
                  + kDashes + "\r\n");
    EXPECT_EQ(page.historico()->document()->blockCount(), 12);
    EXPECT_EQ(page.historico()->document()->lastBlock().text(), QString(145, u'-'));
}

class EmptyDescription : public HistoryPageTest, public ::testing::WithParamInterface<bool> {};

TEST_P(EmptyDescription, WarnsAndWritesNothing)
{
    const bool existing = GetParam();
    const QByteArray old = "ANA\r\nX\r\n";
    if (existing)
        work.write(QStringLiteral("Análises/ANA.pln"), old);
    save(QStringLiteral("ANA"), QString());
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.text, kNoDescription);
    EXPECT_EQ(box.caption, kHistoryCaption);
    EXPECT_EQ(box.kind, NoticeKind::Warning);
    EXPECT_TRUE(hideItem.isEnabled());
    EXPECT_EQ(work.exists(QStringLiteral("Análises/ANA.pln")), existing);
    if (existing) {
        EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.pln")), old);
    }
}

INSTANTIATE_TEST_SUITE_P(FileExists, EmptyDescription, ::testing::Bool());

TEST_F(HistoryPageTest, EmptyNameWarns)
{
    save(QString(), QStringLiteral("X"));
    dialogs.expectNotice(NoticeKind::Warning, kNoName, kHistoryCaption);
    EXPECT_TRUE(QDir(work.file(QStringLiteral("Análises"))).isEmpty());
    EXPECT_EQ(page.insere()->toPlainText(), QStringLiteral("X"));
}

class UnsafeHistoryName : public HistoryPageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnsafeHistoryName, SaveRefused)
{
    save(QString::fromUtf8(GetParam()), QStringLiteral("X"));
    dialogs.expectNotice(NoticeKind::Error, kUnsafe, kHistoryCaption);
    EXPECT_TRUE(QDir(work.file(QStringLiteral("Análises"))).isEmpty());
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files).size(), 3);  // only the three data files
    EXPECT_EQ(page.insere()->toPlainText(), QStringLiteral("X"));
}

INSTANTIATE_TEST_SUITE_P(Names, UnsafeHistoryName, ::testing::Values("../ANA", "ANA/BIA", "..\\ANA", "ANA.BAK", "ANA1"));

TEST_F(HistoryPageTest, WrappedParagraphIsStoredAsItsDisplayedLines)
{
    const QString paragraph = test::paragraphFor(page.insere(), 2.5);
    save(QStringLiteral("ANA"), paragraph + QStringLiteral("\n"));
    dialogs.expectNotice(NoticeKind::Information, kCreated, kHistoryCaption);
    const QStringList lines = QString::fromLatin1(work.read(QStringLiteral("Análises/ANA.pln"))).split(QStringLiteral("\r\n"));
    // ANA, date, empty, three displayed lines, separator, and the empty rest after the last CR LF.
    ASSERT_EQ(lines.size(), 8) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines.mid(3, 3).join(QString()), paragraph);
    const QFontMetrics fm(page.insere()->font());
    for (const QString& l : lines.mid(3, 3))
        EXPECT_LE(fm.horizontalAdvance(l.trimmed()), page.insere()->viewport()->width());
}

TEST_F(HistoryPageTest, InnerEmptyLinesKeptLastOneDropped)
{
    page.plpaciente()->setText(QStringLiteral("ANA"));
    page.insere()->setFocus();
    test::typeText(page.insere(), QStringLiteral("A\n\nB\n"));
    page.plsalvarClick();
    dialogs.expectNotice(NoticeKind::Information, kCreated, kHistoryCaption);
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.pln")), "ANA\r\n" + dateBytes(day) + "\r\n\r\nA\r\n\r\nB\r\n" + kDashes + "\r\n");
}

TEST_F(HistoryPageTest, DescriptionOfOnlyALineBreakIsOneEmptyLine)
{
    save(QStringLiteral("ANA"), QStringLiteral("\n"));
    dialogs.expectNotice(NoticeKind::Information, kCreated, kHistoryCaption);
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.pln")), "ANA\r\n" + dateBytes(day) + "\r\n\r\n\r\n" + kDashes + "\r\n");
}

TEST_F(HistoryPageTest, MenuSaveOnThePlanPageUsesThisPageAndThePlanCaption)
{
    // Even a context that does not follow the active page gives the plan's caption here.
    PlanPage plan(context);
    plan.setHistoryPage(&page);
    plan.plsalvarClick();
    dialogs.expectNotice(NoticeKind::Warning, kNoName, QStringLiteral("Plano de Tratamento"));

    page.plpaciente()->setText(QStringLiteral("ANA"));
    page.insere()->setPlainText(QStringLiteral("Visita"));
    plan.popaciente()->setText(QStringLiteral("BIA"));
    plan.plsalvarClick();
    dialogs.expectNotice(NoticeKind::Information, kCreated, QStringLiteral("Plano de Tratamento"));
    EXPECT_TRUE(work.exists(QStringLiteral("Análises/ANA.pln")));
    EXPECT_FALSE(work.exists(QStringLiteral("Análises/BIA.otl")));

    plan.pllimparClick();
    EXPECT_TRUE(page.plpaciente()->text().isEmpty());
    dialogs.files.push_back(QString());
    plan.plabrirClick();
    EXPECT_EQ(dialogs.take().type, test::Box::OpenFile);
    page.plsalvarClick();
    dialogs.expectNotice(NoticeKind::Warning, kNoName, kHistoryCaption);
    EXPECT_TRUE(page.historico()->toPlainText().isEmpty());
    EXPECT_EQ(plan.popaciente()->text(), QStringLiteral("BIA"));
}

TEST_F(HistoryPageTest, LimparEmptiesTheThreeFields)
{
    page.plpaciente()->setText(QStringLiteral("ANA"));
    page.insere()->setPlainText(QStringLiteral("X"));
    page.historico()->setPlainText(QStringLiteral("Y"));
    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("pllimpar")), Qt::LeftButton);
    EXPECT_TRUE(page.plpaciente()->text().isEmpty());
    EXPECT_TRUE(page.insere()->toPlainText().isEmpty());
    EXPECT_TRUE(page.historico()->toPlainText().isEmpty());
}

TEST_F(HistoryPageTest, OpenLoadsNameAndHistory)
{
    const QByteArray file = "BIA\r\n01/01/2024\r\n\r\nUM\r\n" + kDashes + "\r\n";
    work.write(QStringLiteral("Análises/BIA.pln"), file);
    page.insere()->setPlainText(QStringLiteral("rascunho"));
    dialogs.files.push_back(work.file(QStringLiteral("Análises/BIA.pln")));
    page.plabrirClick();
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.type, test::Box::OpenFile);
    EXPECT_EQ(box.text, QStringLiteral("Arquivo de Plano de Tratamento|*.pln"));
    EXPECT_FALSE(box.hideItemEnabled);
    EXPECT_TRUE(hideItem.isEnabled());
    EXPECT_EQ(page.plpaciente()->text(), QStringLiteral("BIA"));
    EXPECT_EQ(page.historico()->toPlainText(), QStringLiteral("01/01/2024\n\nUM\n") + QString(145, u'-'));
    EXPECT_TRUE(page.insere()->toPlainText().isEmpty());
    EXPECT_EQ(work.read(QStringLiteral("Análises/BIA.pln")), file);
}

struct OpenCase {
    const char* what;
    const char* chosen;  // relative to the working folder; empty cancels
};

class OpenIgnored : public HistoryPageTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenIgnored, PageUnchanged)
{
    work.write(QStringLiteral("Análises/BIA.PLN"), "BIA\r\nX\r\n");
    page.plpaciente()->setText(QStringLiteral("ANA"));
    page.insere()->setPlainText(QStringLiteral("rascunho"));
    const QString chosen = QString::fromUtf8(GetParam().chosen);
    dialogs.files.push_back(chosen.isEmpty() ? QString() : work.file(chosen));
    page.plabrirClick();
    EXPECT_EQ(dialogs.take().type, test::Box::OpenFile);
    EXPECT_TRUE(hideItem.isEnabled());
    EXPECT_EQ(page.plpaciente()->text(), QStringLiteral("ANA"));
    EXPECT_EQ(page.insere()->toPlainText(), QStringLiteral("rascunho"));
}

INSTANTIATE_TEST_SUITE_P(Paths, OpenIgnored,
                         ::testing::Values(OpenCase{"cancelled", ""}, OpenCase{"capital_extension", "Análises/BIA.PLN"}),
                         [](const auto& info) { return std::string(info.param.what); });

struct OddFile {
    const char* what;
    QByteArray bytes;
    const char* patient;
    int historyBlocks;
};

class OpenOddFile : public HistoryPageTest, public ::testing::WithParamInterface<OddFile> {};

TEST_P(OpenOddFile, LoadsWithoutHarm)
{
    work.write(QStringLiteral("Análises/X.pln"), GetParam().bytes);
    dialogs.files.push_back(work.file(QStringLiteral("Análises/X.pln")));
    page.plabrirClick();
    dialogs.take();
    if (GetParam().patient) {
        EXPECT_EQ(page.plpaciente()->text(), QString::fromUtf8(GetParam().patient));
    }
    EXPECT_EQ(page.historico()->toPlainText().isEmpty() ? 0 : page.historico()->document()->blockCount(),
              GetParam().historyBlocks);
    EXPECT_EQ(work.read(QStringLiteral("Análises/X.pln")), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenOddFile,
    ::testing::Values(OddFile{"empty", QByteArray(), "", 0}, OddFile{"name_only", "ANA", "ANA", 0},
                      OddFile{"name_line_only", "ANA\r\n", "ANA", 0},
                      OddFile{"unix_line_ends", "ANA\nA\nB\n", "ANA", 2},
                      OddFile{"binary", QByteArray("\x00\x81\xff\r\n\x01\x02\x9d\x00\x00", 10), nullptr, 1}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(HistoryPageTest, NameFromAFileIsCheckedBeforeSaving)
{
    work.write(QStringLiteral("Análises/X.pln"), "../../EVIL\r\nA\r\n");
    dialogs.files.push_back(work.file(QStringLiteral("Análises/X.pln")));
    page.plabrirClick();
    dialogs.take();
    EXPECT_EQ(page.plpaciente()->text(), QStringLiteral("../../EVIL"));
    page.insere()->setPlainText(QStringLiteral("visita"));
    page.plsalvarClick();
    dialogs.expectNotice(NoticeKind::Error, kUnsafe, kHistoryCaption);
    EXPECT_EQ(QDir(work.file(QStringLiteral("Análises"))).entryList(QDir::Files), QStringList{QStringLiteral("X.pln")});
    EXPECT_FALSE(QFile::exists(work.file(QStringLiteral("../EVIL.pln"))));
}

TEST_F(HistoryPageTest, FileFromAnotherFolderSavesIntoTheAnalysesFolder)
{
    QDir(work.path()).mkdir(QStringLiteral("outra"));
    const QByteArray other = "ANA\r\nANTIGO\r\n";
    work.write(QStringLiteral("outra/ANA.pln"), other);
    dialogs.files.push_back(work.file(QStringLiteral("outra/ANA.pln")));
    page.plabrirClick();
    dialogs.take();
    page.insere()->setPlainText(QStringLiteral("NOVO"));
    page.plsalvarClick();
    dialogs.expectNotice(NoticeKind::Information, kCreated, kHistoryCaption);
    EXPECT_EQ(work.read(QStringLiteral("outra/ANA.pln")), other);
    EXPECT_TRUE(work.read(QStringLiteral("Análises/ANA.pln")).startsWith("ANA\r\n"));
    EXPECT_FALSE(page.historico()->toPlainText().contains(QStringLiteral("ANTIGO")));
}

TEST_F(HistoryPageTest, OpeningAFolderReportsTheError)
{
    QDir(work.path()).mkdir(QStringLiteral("Análises/PASTA.pln"));
    dialogs.files.push_back(work.file(QStringLiteral("Análises/PASTA.pln")));
    page.plabrirClick();
    dialogs.take();
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_TRUE(box.text.contains(QStringLiteral("PASTA.pln")));
    EXPECT_TRUE(hideItem.isEnabled());
}

TEST_F(HistoryPageTest, MissingFolderReportsAndShowsNoSuccess)
{
    QDir(work.path()).rmdir(QStringLiteral("Análises"));
    save(QStringLiteral("ANA"), QStringLiteral("visita"));
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_TRUE(box.text.contains(QStringLiteral("ANA.pln")));
    EXPECT_EQ(page.insere()->toPlainText(), QStringLiteral("visita"));  // the visit is still there to save again
    EXPECT_FALSE(QDir(work.path()).exists(QStringLiteral("Análises")));
}

TEST_F(HistoryPageTest, ReadOnlyFolderReportsAndShowsNoSuccess)
{
    QV_NEEDS_POSIX_PERMISSIONS();
    QFile::setPermissions(work.file(QStringLiteral("Análises")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const test::Unprivileged user(work);
    ASSERT_TRUE(user.ok());
    save(QStringLiteral("ANA"), QStringLiteral("visita"));
    EXPECT_EQ(dialogs.take().kind, NoticeKind::Error);
    EXPECT_FALSE(work.exists(QStringLiteral("Análises/ANA.pln")));
}

TEST_F(HistoryPageTest, FailedAppendKeepsTheStoredVisits)
{
    QV_NEEDS_FILE_SIZE_LIMIT();
    save(QStringLiteral("ANA"), QStringLiteral("primeira"));
    dialogs.take();
    const QByteArray stored = work.read(QStringLiteral("Análises/ANA.pln"));
    QString longVisit;
    for (int i = 0; i < 100; ++i)
        longVisit += QStringLiteral("linha %1 de uma visita muito longa\n").arg(i);
    page.insere()->setPlainText(longVisit);
    {
        const test::FileSizeLimit limit(stored.size() + 200);
        page.plsalvarClick();
    }
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_EQ(box.caption, QStringLiteral("Quorvel"));
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.pln")), stored);
    EXPECT_EQ(page.insere()->toPlainText(), longVisit);
}

TEST_F(HistoryPageTest, WriteToAFullDiskReports)
{
    QV_NEEDS_SYMLINKS();  // a link to /dev/full
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), work.file(QStringLiteral("Análises/ANA.pln"))));
    save(QStringLiteral("ANA"), QStringLiteral("visita"));
    EXPECT_EQ(dialogs.take().kind, NoticeKind::Error);
}

TEST_F(HistoryPageTest, DescriptionKeepsOnlyStorableCharacters)
{
    page.insere()->setFocus();
    test::typeText(page.insere(), QString::fromUtf16(u"Açã€中😀"));
    EXPECT_EQ(page.insere()->toPlainText(), QStringLiteral("Açã€"));

    page.insere()->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(QString::fromUtf16(u" “x”\r\n中y\u2028z"));
    page.insere()->paste();
    EXPECT_EQ(page.insere()->toPlainText(), QString::fromUtf16(u"Açã€ “x”\nyz"));
}

TEST_F(HistoryPageTest, NameFieldRefusesWithThePageCaption)
{
    page.plpaciente()->setFocus();
    QTest::keyClicks(page.plpaciente(), "a1");
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores ALFABÉTICOS!"), kHistoryCaption);
    EXPECT_EQ(page.plpaciente()->text(), QStringLiteral("A"));
    EXPECT_EQ(page.plpaciente()->contextMenuPolicy(), Qt::PreventContextMenu);
}

TEST_F(HistoryPageTest, ControlsAndAccessibleNames)
{
    EXPECT_EQ(page.objectName(), QStringLiteral("TabSheet4"));
    auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    EXPECT_EQ(name(page.plpaciente()), QStringLiteral("Paciente"));
    EXPECT_EQ(name(page.insere()), QStringLiteral("Descrição do atendimento"));
    EXPECT_EQ(name(page.historico()), QStringLiteral("Histórico"));
    EXPECT_TRUE(page.historico()->isReadOnly());
    EXPECT_FALSE(page.historico()->focusPolicy() & Qt::TabFocus);
    int previousX = -1;
    for (const char* n : {"pllimpar", "plsalvar", "plabrir", "plimprimir", "plsair"}) {
        auto* b = page.findChild<QPushButton*>(QString::fromLatin1(n));
        ASSERT_NE(b, nullptr) << n;
        EXPECT_GT(b->x(), previousX) << n;
        previousX = b->x();
        EXPECT_TRUE(page.rect().contains(b->geometry())) << n;
    }
    const QStringList captions = {"LIMPAR", "SALVAR", "ABRIR", "IMPRIMIR", "SAIR"};
    for (const QString& c : captions) {
        bool found = false;
        for (auto* b : page.findChildren<QPushButton*>())
            found = found || b->text() == c;
        EXPECT_TRUE(found) << c.toStdString();
    }
    EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("Label4"))->text(), QStringLiteral("Descrição do atendimento"));
    EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("Label5"))->text(), QStringLiteral("Histórico"));
}

TEST_F(HistoryPageTest, SairCallsTheExitLink)
{
    int exits = 0;
    context.setExitProgram([&] { ++exits; });
    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("plsair")), Qt::LeftButton);
    EXPECT_EQ(exits, 1);
}

// The File menu on the plan page saves this page while it is hidden behind the plan's tab.
TEST_F(HistoryPageTest, HiddenPageStillStoresItsDisplayedLines)
{
    const QString paragraph = test::paragraphFor(page.insere(), 2.5);
    page.hide();
    save(QStringLiteral("ANA"), paragraph);
    dialogs.expectNotice(NoticeKind::Information, kCreated, kHistoryCaption);
    const QStringList lines = QString::fromLatin1(work.read(QStringLiteral("Análises/ANA.pln"))).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 8) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines.mid(3, 3).join(QString()), paragraph);
}
