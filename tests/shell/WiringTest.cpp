// The program's windows as the start-up builds them: pages in their tabs, the File menu
// reaching each page's actions with the active page's caption.

#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

using namespace qv;
using qv::platform::NoticeKind;

namespace {

class WiringTest : public qv::test::WorkFolderTest {
protected:
    qv::test::FakeShell shell;
    Windows windows{dialogs, shell};
    MainWindow* form2 = windows.form2();
    QAction* action(const char* name) { return form2->findChild<QAction*>(QLatin1String(name)); }
};

TEST_F(WiringTest, SaveOnThePlanPageRunsTheHistorySaveWithThePlanCaption)
{
    form2->setActivePage(MainWindow::Plan);
    action("Save1")->trigger();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("O nome do paciente deve ser preenchido!"),
                         QStringLiteral("Plano de Tratamento"));
    action("Print1")->trigger();
    dialogs.expectNotice(NoticeKind::Error, QStringLiteral("Ação não disponível!"), QStringLiteral("Plano de Tratamento"));
}

TEST_F(WiringTest, NewOnTheHistoryPageEmptiesItsFields)
{
    auto* name = form2->page(MainWindow::History)->findChild<QLineEdit*>(QStringLiteral("plpaciente"));
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("ANA"));
    form2->setActivePage(MainWindow::History);
    action("New1")->trigger();
    EXPECT_TRUE(name->text().isEmpty());
    action("Save1")->trigger();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("O nome do paciente deve ser preenchido!"),
                         QStringLiteral("Histórico do Tratamento"));
}

TEST_F(WiringTest, EveryPageSitsInItsTab)
{
    const char* names[] = {"TabSheet3", "TabSheet1", "TabSheet2", "TabSheet4", "TabSheet5"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(form2->page(MainWindow::Page(i))->objectName(), QLatin1String(names[i]));
    EXPECT_NE(form2->page(MainWindow::History)->findChild<QPlainTextEdit*>(QStringLiteral("historico")), nullptr);
    EXPECT_NE(form2->page(MainWindow::Plan)->findChild<QPlainTextEdit*>(QStringLiteral("outline")), nullptr);
}

}  // namespace
