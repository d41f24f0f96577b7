// What the clinician is told when the analyses folder lies on a share client that does not
// protect saves from several computers: once, at start-up or at the first save, naming the mount.

#include "notes/HistoryPage.h"
#include "platform/PageContext.h"
#include "shell/MainWindow.h"
#include "shell/Startup.h"
#include "support/WorkFolder.h"
#include "tracing/TracingWindow.h"

#include "ShareMount.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace qv;
using platform::Answer;
using platform::NoticeKind;

namespace {

const QString kShareFs = QStringLiteral(QUORVEL_SHARE_FS);

class ShareWarning : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        if (const QString missing = test::ShareClientMissing(kShareFs); !missing.isEmpty())
            GTEST_SKIP() << qPrintable(missing);
        const QDir d(share.path());
        ASSERT_TRUE(d.mkpath(QStringLiteral("server/Análises")) && d.mkdir(QStringLiteral("mnt")));
        mount = std::make_unique<test::ShareMount>(kShareFs, d.filePath(QStringLiteral("server")), d.filePath(QStringLiteral("mnt")));
        ASSERT_TRUE(mount->mounted());
        // Análises is a link to the share, as the README sets it up.
        ASSERT_TRUE(QDir(work.file(QStringLiteral("Análises"))).removeRecursively());
        ASSERT_TRUE(QFile::link(d.filePath(QStringLiteral("mnt/Análises")), work.file(QStringLiteral("Análises"))));
    }
    void TearDown() override
    {
        form2.reset();
        QFile::remove(work.file(QStringLiteral("Análises")));
        mount.reset();
        test::WorkFolderTest::TearDown();
    }
    void expectWarning(const QString& caption)
    {
        const test::Box box = dialogs.take();
        EXPECT_EQ(box.kind, NoticeKind::Warning);
        EXPECT_EQ(box.caption, caption);
        const QString mountPoint = QDir(share.path()).canonicalPath() + QStringLiteral("/mnt");
        EXPECT_TRUE(box.text.startsWith(QStringLiteral("A pasta \"Análises\" está em \"%1\" (sharelike, tipo fuse.sharelike)").arg(mountPoint)))
            << qPrintable(box.text);
        EXPECT_TRUE(box.text.contains(QStringLiteral("salvamentos feitos de vários computadores não estão protegidos")));
    }
    bool saveVisit(HistoryPage& page, const QString& text)
    {
        page.plpaciente()->setText(QStringLiteral("ANA"));
        page.insere()->setPlainText(text);
        page.plsalvarClick();
        return QFile::exists(QDir(share.path()).filePath(QStringLiteral("server/Análises/ANA.pln")));
    }
    // The pages' context as the program wires it.
    platform::PageContext& context()
    {
        if (!form2)
            form2 = std::make_unique<MainWindow>(dialogs, shell, false);
        return form2->context();
    }
    QTemporaryDir share;
    std::unique_ptr<test::ShareMount> mount;
    test::FakeDisplay display;
    test::FakeShell shell;
    std::unique_ptr<MainWindow> form2;
};

TEST_F(ShareWarning, StartUpWarnsAndTheSavesDoNotRepeatIt)
{
    const StartupResult r = RunStartup(dialogs, display);
    EXPECT_TRUE(r.proceed);
    expectWarning(QStringLiteral("Quorvel"));
    HistoryPage page{context()};
    EXPECT_TRUE(saveVisit(page, QStringLiteral("Troca de fio")));
    dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Plano de Tratamento gravado com sucesso!"), context().caption());
}

TEST_F(ShareWarning, TheFirstSaveWarnsBeforeSavingWhenStartUpDidNot)
{
    HistoryPage page{context()};
    EXPECT_TRUE(saveVisit(page, QStringLiteral("Troca de fio")));
    expectWarning(context().caption());
    dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Plano de Tratamento gravado com sucesso!"), context().caption());
    EXPECT_TRUE(saveVisit(page, QStringLiteral("Colagem")));
    dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Plano de Tratamento atualizado com sucesso!"), context().caption());
}

TEST_F(ShareWarning, TheTracingsSaveWarnsFirstAndNothingSavedAfterRepeatsIt)
{
    TracingWindow tracing(dialogs);
    tracing.setTweedState({true, QStringLiteral("ANA"), QStringLiteral("INICIAL")});
    tracing.placeLandmark(Landmark::S, QPointF(150, 60));
    const QString saved = QStringLiteral("Traçado salvo em \"Análises/ANA-INICIAL.tra\".");
    tracing.findChild<QPushButton*>(QStringLiteral("tSalvar"))->click();
    expectWarning(QStringLiteral("Traçado Cefalométrico"));
    dialogs.expectNotice(NoticeKind::Information, saved, QStringLiteral("Traçado Cefalométrico"));
    EXPECT_TRUE(QFile::exists(QDir(share.path()).filePath(QStringLiteral("server/Análises/ANA-INICIAL.tra"))));

    dialogs.answers.push_back(Answer::Yes);  // replace the tracing
    tracing.findChild<QPushButton*>(QStringLiteral("tSalvar"))->click();
    EXPECT_EQ(dialogs.take().type, test::Box::Question);
    dialogs.expectNotice(NoticeKind::Information, saved, QStringLiteral("Traçado Cefalométrico"));
    HistoryPage page{context()};
    EXPECT_TRUE(saveVisit(page, QStringLiteral("Troca de fio")));
    dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Plano de Tratamento gravado com sucesso!"), context().caption());
}

TEST_F(ShareWarning, ALocalFolderIsNeverWarnedAbout)
{
    QFile::remove(work.file(QStringLiteral("Análises")));
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("Análises")));
    EXPECT_TRUE(RunStartup(dialogs, display).proceed);
    context().beforeSave();
    EXPECT_TRUE(dialogs.pending().empty()) << qPrintable(dialogs.describePending());
}

}  // namespace
