// What the clinician sees of a shared folder: a save refused while another computer saves the
// same file, and the backup and restore commands with their boxes.

#include "notes/BackupActions.h"
#include "notes/HistoryPage.h"

#include "platform/PageContext.h"
#include "support/WorkFolder.h"

#include "PageTestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

using namespace qv;
using platform::Answer;
using platform::NoticeKind;

namespace {

class SharedFolderPageTest : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        dialogs.setHideItem(&hideItem);
        hideItem.setEnabled(true);
    }
    QAction hideItem;
};

TEST_F(SharedFolderPageTest, HistorySavedElsewhereAtTheSameMomentIsRefusedAndTheTextStays)
{
    platform::PageContext context{dialogs, [] { return QStringLiteral("Histórico do Tratamento"); }};
    HistoryPage page{context};
    QProcess other;
    other.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quorvel_file_helper"), {QStringLiteral("hold"), work.file(QStringLiteral("Análises/ANA.pln")),
                                                      QStringLiteral("2600")});
    ASSERT_TRUE(other.waitForReadyRead(10000));
    page.plpaciente()->setText(QStringLiteral("ANA"));
    page.insere()->setPlainText(QStringLiteral("Troca de fio"));
    page.plsalvarClick();
    dialogs.expectNotice(NoticeKind::Error,
                         QStringLiteral("O arquivo \"Análises/ANA.pln\" está sendo salvo em outro computador. Nada foi gravado: "
                                        "aguarde um instante e salve novamente."),
                         QStringLiteral("Quorvel"));
    EXPECT_EQ(page.insere()->toPlainText(), QStringLiteral("Troca de fio"));
    EXPECT_FALSE(work.exists(QStringLiteral("Análises/ANA.pln")));
    other.waitForFinished(10000);
    // The other computer's program is gone: the same SALVAR now goes through.
    page.plsalvarClick();
    dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Plano de Tratamento gravado com sucesso!"),
                         QStringLiteral("Histórico do Tratamento"));
    EXPECT_TRUE(work.exists(QStringLiteral("Análises/ANA.pln")));
}

TEST_F(SharedFolderPageTest, BackupThenRestoreAsksBeforeReplacingAndReports)
{
    work.write(QStringLiteral("Análises/ANA.pln"), "ANA\r\nvisita\r\n");
    work.write(QStringLiteral("Análises/ANA-INICIAL.twe"), QByteArray(199, '\1'));
    QTemporaryDir usb;
    const QString archive = QDir(usb.path()).filePath(QStringLiteral("Quorvel-2026-12-09.tar.gz"));

    dialogs.saveFiles.push_back(archive);
    MakeBackup(dialogs, QDate(2026, 12, 9));
    test::Box chooser = dialogs.take();
    EXPECT_EQ(chooser.type, test::Box::SaveFile);
    EXPECT_EQ(dialogs.lastSaveRequest.suggestedName, QStringLiteral("Quorvel-2026-12-09.tar.gz"));
    EXPECT_EQ(dialogs.lastSaveRequest.title, QStringLiteral("Cópia de Segurança"));
    dialogs.expectNotice(NoticeKind::Information,
                         QStringLiteral("Cópia de segurança gravada e conferida com sucesso!\r\r3 arquivo(s) em \"%1\".").arg(QDir::toNativeSeparators(archive)),
                         QStringLiteral("Cópia de Segurança"));
    EXPECT_TRUE(hideItem.isEnabled());

    work.write(QStringLiteral("Análises/ANA.pln"), "ANA\r\nvisita\r\noutra\r\n");
    work.remove(QStringLiteral("Análises/ANA-INICIAL.twe"));
    dialogs.files.push_back(archive);
    dialogs.answers.push_back(Answer::No);
    RestoreFromBackup(dialogs);
    EXPECT_EQ(dialogs.take().type, test::Box::OpenFile);
    const test::Box question = dialogs.take();
    EXPECT_EQ(question.type, test::Box::Question);
    EXPECT_EQ(question.text, QStringLiteral("O arquivo \"Análises/ANA.pln\" é diferente do que está na cópia de segurança.\r\r"
                                            "Substituir pelo da cópia?"));
    dialogs.expectNotice(NoticeKind::Information,
                         QStringLiteral("Cópia restaurada.\r\rRestaurados: 1\rSubstituídos: 0\rMantidos: 1\rJá iguais: 1"),
                         QStringLiteral("Restaurar Cópia"));
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA.pln")), "ANA\r\nvisita\r\noutra\r\n");
    EXPECT_EQ(work.read(QStringLiteral("Análises/ANA-INICIAL.twe")), QByteArray(199, '\1'));
    EXPECT_TRUE(hideItem.isEnabled());
}

TEST_F(SharedFolderPageTest, CancelledChoicesDoNothingAndADamagedArchiveIsReported)
{
    dialogs.saveFiles.push_back(QString());
    MakeBackup(dialogs);
    EXPECT_EQ(dialogs.take().type, test::Box::SaveFile);
    dialogs.files.push_back(QString());
    RestoreFromBackup(dialogs);
    EXPECT_EQ(dialogs.take().type, test::Box::OpenFile);
    EXPECT_TRUE(hideItem.isEnabled());

    work.write(QStringLiteral("cut.tar.gz"), QByteArray::fromHex("1f8b0800000000000003"));
    dialogs.files.push_back(work.file(QStringLiteral("cut.tar.gz")));
    RestoreFromBackup(dialogs);
    EXPECT_EQ(dialogs.take().type, test::Box::OpenFile);
    const test::Box failure = dialogs.take();
    EXPECT_EQ(failure.kind, NoticeKind::Error);
    EXPECT_EQ(failure.caption, QStringLiteral("Quorvel"));
    EXPECT_TRUE(failure.text.endsWith(QStringLiteral("Nada foi restaurado."))) << failure.text.toStdString();
}

}  // namespace
