// The boxes after a backup and a restore say exactly what happened: what a backup could not
// take, and which files a restore skipped or where it stopped.

#include "notes/BackupActions.h"

#include "records/Backup.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>

using namespace qv;
using platform::NoticeKind;

namespace {

RestoreSummary summary(int restored, int replaced, int kept, int same, QList<SkippedFile> skipped = {}, QString stop = {})
{
    RestoreSummary s;
    s.restored = restored;
    s.replaced = replaced;
    s.kept = kept;
    s.same = same;
    s.skipped = std::move(skipped);
    s.interrupted = std::move(stop);
    return s;
}

TEST(RestoreReport, SaysWhatWasRestoredSkippedAndWhereItStopped)
{
    QList<SkippedFile> many;
    for (int i = 0; i < 17; ++i)
        many.append({QStringLiteral("Análises/P%1.pln").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("falhou"), false});
    const struct {
        const char* what;
        RestoreSummary s;
        NoticeKind kind;
        QString text;
    } cases[] = {
        {"everything", summary(3, 1, 1, 2), NoticeKind::Information,
         QStringLiteral("Cópia restaurada.\r\rRestaurados: 3\rSubstituídos: 1\rMantidos: 1\rJá iguais: 2")},
        {"one busy, one blocked",
         summary(4, 0, 0, 1,
                 {{QStringLiteral("Análises/ANA.pln"), QStringLiteral("está sendo salvo em outro computador"), true},
                  {QStringLiteral("Análises/X.twe"), QStringLiteral("aqui há uma pasta com esse nome"), false}}),
         NoticeKind::Warning,
         QStringLiteral("Cópia restaurada, exceto 2 arquivo(s).\r\rRestaurados: 4\rSubstituídos: 0\rMantidos: 0\rJá iguais: 1"
                        "\r\rNão restaurados (2):\rAnálises/ANA.pln: está sendo salvo em outro computador\r"
                        "Análises/X.twe: aqui há uma pasta com esse nome\r\r"
                        "Restaure a cópia de novo quando o outro computador terminar: "
                        "os arquivos já restaurados serão reconhecidos como iguais.")},
        {"blocked only: no advice to wait",
         summary(1, 0, 0, 0, {{QStringLiteral("Stats.cef"), QStringLiteral("Erro de entrada/saída"), false}}),
         NoticeKind::Warning,
         QStringLiteral("Cópia restaurada, exceto 1 arquivo(s).\r\rRestaurados: 1\rSubstituídos: 0\rMantidos: 0\rJá iguais: 0"
                        "\r\rNão restaurados (1):\rStats.cef: Erro de entrada/saída")},
        {"stopped", summary(2, 0, 1, 0, {}, QStringLiteral("o arquivo compactado termina antes do fim (truncated gzip input)")),
         NoticeKind::Warning,
         QStringLiteral("A restauração parou antes do fim: a cópia de segurança \"/media/pen/c.tar.gz\" deixou de ser legível "
                        "(o arquivo compactado termina antes do fim (truncated gzip input)). Os arquivos seguintes dela não "
                        "foram restaurados.\r\rAté ali:\rRestaurados: 2\rSubstituídos: 0\rMantidos: 1\rJá iguais: 0")},
    };
    for (const auto& c : cases) {
        NoticeKind kind = NoticeKind::Error;
        QString expected = c.text;
        expected.replace(QStringLiteral("/media/pen/c.tar.gz"), QDir::toNativeSeparators(QStringLiteral("/media/pen/c.tar.gz")));
        EXPECT_EQ(RestoreReport(c.s, QStringLiteral("/media/pen/c.tar.gz"), &kind), expected) << c.what;
        EXPECT_EQ(kind, c.kind) << c.what;
    }
    // A long list shows its first fifteen and counts the rest.
    NoticeKind kind = NoticeKind::Error;
    const QString text = RestoreReport(summary(0, 0, 0, 0, many), QStringLiteral("c.tar.gz"), &kind);
    EXPECT_TRUE(text.contains(QStringLiteral("Não restaurados (17):\rAnálises/P00.pln: falhou\r")));
    EXPECT_TRUE(text.contains(QStringLiteral("Análises/P14.pln: falhou\r... e mais 2.")));
    EXPECT_FALSE(text.contains(QStringLiteral("P15")));
}

class BackupActionsTest : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        dialogs.setHideItem(&hideItem);
        hideItem.setEnabled(true);
    }
    QAction hideItem;
    QTemporaryDir usb;
};

TEST_F(BackupActionsTest, ABackupWithoutARadiographSaysSo)
{
    work.write(QStringLiteral("Análises/ANA-INICIAL.tra"), "{\"format\": \"quorvel-tracing\", \"image\": \"/mnt/rx/ana.png\"}");
    const QString archive = QDir(usb.path()).filePath(QStringLiteral("Quorvel-2026-12-09.tar.gz"));
    dialogs.saveFiles.push_back(archive);
    MakeBackup(dialogs, QDate(2026, 12, 9));
    EXPECT_EQ(dialogs.take().type, test::Box::SaveFile);
    dialogs.expectNotice(NoticeKind::Warning,
                         QStringLiteral("Cópia de segurança gravada e conferida com sucesso!\r\r2 arquivo(s) em \"%1\".\r\r"
                                        "Ficaram de fora (1), e uma restauração não os terá:\r"
                                        "A radiografia \"%2\" do traçado \"Análises/ANA-INICIAL.tra\" não foi "
                                        "encontrada.")
                             .arg(QDir::toNativeSeparators(archive), QDir::toNativeSeparators(QStringLiteral("/mnt/rx/ana.png"))),
                         QStringLiteral("Cópia de Segurança"));
}

TEST_F(BackupActionsTest, ARestoreMeetingABusyFileRestoresTheRestAndNamesIt)
{
    work.write(QStringLiteral("Análises/ANA.pln"), "ANA\r\nvisita\r\n");
    work.write(QStringLiteral("Análises/BIA.pln"), "BIA\r\nvisita\r\n");
    const QString archive = QDir(usb.path()).filePath(QStringLiteral("c.tar.gz"));
    dialogs.saveFiles.push_back(archive);
    MakeBackup(dialogs, QDate(2026, 12, 9));
    dialogs.take();
    dialogs.take();

    work.remove(QStringLiteral("Análises/ANA.pln"));
    work.remove(QStringLiteral("Análises/BIA.pln"));
    QLockFile other(work.file(QStringLiteral("Análises/ANA.pln.lock")));
    ASSERT_TRUE(other.tryLock(0));
    dialogs.files.push_back(archive);
    RestoreFromBackup(dialogs);
    EXPECT_EQ(dialogs.take().type, test::Box::OpenFile);
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Warning);
    EXPECT_EQ(box.caption, QStringLiteral("Restaurar Cópia"));
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Cópia restaurada, exceto 1 arquivo(s).\r\rRestaurados: 1\r")))
        << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QStringLiteral("Análises/ANA.pln: está sendo salvo em outro computador")));
    EXPECT_FALSE(box.text.contains(QStringLiteral("Nada foi gravado")));
    EXPECT_FALSE(work.exists(QStringLiteral("Análises/ANA.pln")));
    EXPECT_EQ(work.read(QStringLiteral("Análises/BIA.pln")), "BIA\r\nvisita\r\n");
}

}  // namespace
