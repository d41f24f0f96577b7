// The patients window on real widgets: the list of Análises/, searching as you type, opening a
// file through the links, and following the folder while it shows.

#include "patients/EvolutionView.h"
#include "patients/PatientsWindow.h"
#include "support/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <gtest/gtest.h>

#include <memory>

using namespace qv;

namespace {

const QString kFolder = QStringLiteral("Análises");

class PatientsWindowTest : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        window = std::make_unique<PatientsWindow>();
        PatientsWindow* w = window.get();
        QObject::connect(w, &PatientsWindow::mainWindowEnabledRequested, w, [this](bool on) { mainEnabled.push_back(on); });
        QObject::connect(w, &PatientsWindow::tweedFileRequested, w, [this](const QString& p) { opened.emplace_back("tweed", p); });
        QObject::connect(w, &PatientsWindow::boltonFileRequested, w, [this](const QString& p) { opened.emplace_back("bolton", p); });
        QObject::connect(w, &PatientsWindow::historyFileRequested, w, [this](const QString& p) { opened.emplace_back("history", p); });
        QObject::connect(w, &PatientsWindow::planFileRequested, w, [this](const QString& p) { opened.emplace_back("plan", p); });
    }
    void TearDown() override
    {
        window.reset();
        WorkFolderTest::TearDown();
    }
    void put(const QString& name, const QByteArray& bytes = "x") { work.write(kFolder + u'/' + name, bytes); }
    QStringList shownNames() const
    {
        QStringList names;
        for (int r = 0; r < window->filter()->rowCount(); ++r)
            names << window->filter()->index(r, PatientTableModel::Name).data().toString();
        return names;
    }
    QModelIndex cell(const QString& patient, int column) const
    {
        for (int r = 0; r < window->filter()->rowCount(); ++r)
            if (window->filter()->index(r, 0).data().toString() == patient)
                return window->filter()->index(r, column);
        ADD_FAILURE() << "no row " << patient.toStdString();
        return {};
    }
    QString count() const { return window->findChild<QLabel*>(QStringLiteral("pcquantidade"))->text(); }
    void type(const QString& text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, window->searchField(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    std::unique_ptr<PatientsWindow> window;
    std::vector<bool> mainEnabled;
    std::vector<std::pair<std::string, QString>> opened;
};

TEST_F(PatientsWindowTest, ActsAsTheOtherSecondaryWindows)
{
    window->Open();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(mainEnabled, std::vector<bool>({false}));
    EXPECT_EQ(window->objectName(), QStringLiteral("FormPacientes"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Pacientes"));
    window->findChild<QPushButton*>(QStringLiteral("pcfechar"))->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(mainEnabled, std::vector<bool>({false, true}));
}

TEST_F(PatientsWindowTest, ListsEveryPatientByNameWhenOpened)
{
    for (const char* f : {"MARIA.otl", "ÉDER-INICIAL.twe", "ANA.bol", "ANA-FINAL.twe", "ANA.pln", "notas.txt",
                          "MARIA.otl.eoCkTc", "BRUNO-INICIAL.tra", "BRUNO-INTER1.tra", "ANA-FINAL.tra"})
        put(QString::fromUtf8(f));
    window->Open();
    // BRUNO has tracings and nothing else: listed, with the stages traced.
    EXPECT_EQ(shownNames(), QStringList({"ANA", "BRUNO", "ÉDER", "MARIA"}));
    EXPECT_EQ(count(), QStringLiteral("4 pacientes"));
    EXPECT_EQ(cell("BRUNO", PatientTableModel::Traced).data().toString(), QStringLiteral("I 1"));
    EXPECT_EQ(cell("BRUNO", PatientTableModel::Traced).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Inicial, Inter 1"));
    EXPECT_EQ(cell("ANA", PatientTableModel::Traced).data().toString(), QStringLiteral("F"));
    EXPECT_EQ(cell("MARIA", PatientTableModel::Traced).data().toString(), QString());
    EXPECT_EQ(cell("ANA", PatientTableModel::Final).data().toString(), QStringLiteral("✔"));
    EXPECT_EQ(cell("ANA", PatientTableModel::Inicial).data().toString(), QString());
    EXPECT_EQ(cell("ANA", PatientTableModel::History).data().toString(), QStringLiteral("sem consultas"));
    EXPECT_FALSE(cell("MARIA", PatientTableModel::LastChange).data().toString().isEmpty());
}

struct OpenCase {
    int column;
    const char* link;
    const char* file;
};

TEST_F(PatientsWindowTest, DoubleClickOrEnterOnAFileOpensItThroughItsPage)
{
    const QStringList files = {"JOÃO DA SILVA-INICIAL.twe", "JOÃO DA SILVA-INTER1.twe", "JOÃO DA SILVA-INTER2.twe",
                               "JOÃO DA SILVA-FINAL.twe", "JOÃO DA SILVA.bol", "JOÃO DA SILVA.pln",
                               "JOÃO DA SILVA.otl"};
    for (const QString& f : files)
        put(f);
    const OpenCase cases[] = {
        {PatientTableModel::Inicial, "tweed", "JOÃO DA SILVA-INICIAL.twe"},
        {PatientTableModel::Inter1, "tweed", "JOÃO DA SILVA-INTER1.twe"},
        {PatientTableModel::Inter2, "tweed", "JOÃO DA SILVA-INTER2.twe"},
        {PatientTableModel::Final, "tweed", "JOÃO DA SILVA-FINAL.twe"},
        {PatientTableModel::Bolton, "bolton", "JOÃO DA SILVA.bol"},
        {PatientTableModel::History, "history", "JOÃO DA SILVA.pln"},
        {PatientTableModel::Plan, "plan", "JOÃO DA SILVA.otl"},
    };
    for (bool byKey : {false, true}) {
        for (const OpenCase& c : cases) {
            SCOPED_TRACE(std::string(c.file) + (byKey ? " by Enter" : " by double-click"));
            opened.clear();
            mainEnabled.clear();
            window->Open();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
            const QModelIndex index = cell(QStringLiteral("JOÃO DA SILVA"), c.column);
            window->table()->setCurrentIndex(index);
            if (byKey) {
                window->table()->setFocus();
                QTest::keyClick(window->table(), Qt::Key_Return);
            } else {
                const QPoint at = window->table()->visualRect(index).center();
                // A double click is a click followed by the second press.
                QTest::mouseClick(window->table()->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(window->table()->viewport(), Qt::LeftButton, {}, at);
            }
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_EQ(opened[0].first, c.link);
            EXPECT_EQ(opened[0].second, kFolder + u'/' + QString::fromUtf8(c.file));
            // The window has left before the page opens the file: Form2 takes input again.
            EXPECT_FALSE(window->isVisible());
            EXPECT_EQ(mainEnabled, std::vector<bool>({false, true}));
        }
    }
}

TEST_F(PatientsWindowTest, TheNameShowsTheEvolutionOrTheOnlyFile)
{
    put(QStringLiteral("ANA-INICIAL.twe"), QByteArray(199, '\0'));
    put(QStringLiteral("ANA.bol"));
    put(QStringLiteral("BIA.otl"));
    put(QStringLiteral("CAIO.bol"));
    put(QStringLiteral("CAIO.pln"));
    window->Open();

    window->activate(cell(QStringLiteral("BIA"), PatientTableModel::Name));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], (std::pair<std::string, QString>("plan", kFolder + QStringLiteral("/BIA.otl"))));

    window->Open();
    opened.clear();
    window->activate(cell(QStringLiteral("CAIO"), PatientTableModel::Name));
    EXPECT_TRUE(opened.empty());  // two files: the clinician picks the cell
    EXPECT_TRUE(window->isVisible());

    window->activate(cell(QStringLiteral("ANA"), PatientTableModel::Name));
    EXPECT_TRUE(opened.empty());
    ASSERT_NE(window->evolutionView(), nullptr);
    EXPECT_TRUE(window->evolutionView()->isVisible());
    EXPECT_EQ(window->evolutionView()->evolution().patient, QStringLiteral("ANA"));
    EXPECT_EQ(window->evolutionView()->evolution().headers, QStringList({"Inicial"}));
}

TEST_F(PatientsWindowTest, SearchFiltersAsYouTypeIgnoringCaseAndAccents)
{
    for (const char* f : {"JOÃO SILVA.bol", "JOANA.bol", "MARIA JOAO.otl", "PEDRO.pln"})
        put(QString::fromUtf8(f));
    window->Open();
    const std::pair<const char*, QStringList> steps[] = {
        {"j", {"JOANA", "JOÃO SILVA", "MARIA JOAO"}},
        {"o", {"JOANA", "JOÃO SILVA", "MARIA JOAO"}},
        {"ã", {"JOANA", "JOÃO SILVA", "MARIA JOAO"}},
        {"o", {"JOÃO SILVA", "MARIA JOAO"}},
        {" s", {"JOÃO SILVA"}},
        {"x", {}},
    };
    for (const auto& [keys, names] : steps) {
        SCOPED_TRACE(keys);
        type(QString::fromUtf8(keys));
        EXPECT_EQ(shownNames(), names);
    }
    EXPECT_EQ(count(), QStringLiteral("0 de 4 pacientes"));
    window->searchField()->clear();
    EXPECT_EQ(shownNames().size(), 4);
    EXPECT_EQ(count(), QStringLiteral("4 pacientes"));
}

TEST_F(PatientsWindowTest, FollowsTheFolderAddRemoveRename)
{
    put(QStringLiteral("ANA.bol"));
    put(QStringLiteral("CAIO.bol"));
    window->Open();
    ASSERT_EQ(shownNames(), QStringList({"ANA", "CAIO"}));
    window->table()->setCurrentIndex(cell(QStringLiteral("CAIO"), PatientTableModel::Bolton));

    put(QStringLiteral("BIA-FINAL.twe"));  // a page saves a file
    QTRY_COMPARE_WITH_TIMEOUT(shownNames(), QStringList({"ANA", "BIA", "CAIO"}), 3000);
    // The clinician's place in the list stays.
    EXPECT_EQ(window->table()->currentIndex(), cell(QStringLiteral("CAIO"), PatientTableModel::Bolton));

    put(QStringLiteral("ANA-INTER1.twe"));  // a new stage of a listed patient
    QTRY_COMPARE_WITH_TIMEOUT(cell(QStringLiteral("ANA"), PatientTableModel::Inter1).data().toString(),
                              QStringLiteral("✔"), 3000);

    work.remove(kFolder + QStringLiteral("/CAIO.bol"));  // removed by hand
    QTRY_COMPARE_WITH_TIMEOUT(shownNames(), QStringList({"ANA", "BIA"}), 3000);

    ASSERT_TRUE(QFile::rename(work.file(kFolder + QStringLiteral("/BIA-FINAL.twe")),
                              work.file(kFolder + QStringLiteral("/BEATRIZ-FINAL.twe"))));
    QTRY_COMPARE_WITH_TIMEOUT(shownNames(), QStringList({"ANA", "BEATRIZ"}), 3000);
}

// A shared folder that sends no notice is read again every few seconds; here the folder does
// not even exist when the window opens, so nothing can be watching it.
TEST_F(PatientsWindowTest, RescansAFolderThatDoesNotNotify)
{
    ASSERT_TRUE(QDir(work.path()).rmdir(kFolder));
    window->setRescanInterval(100);
    window->Open();
    EXPECT_EQ(window->model()->rowCount(), 0);
    EXPECT_EQ(count(), QStringLiteral("A pasta \"Análises\" não foi encontrada"));
    ASSERT_TRUE(QDir(work.path()).mkdir(kFolder));
    put(QStringLiteral("ANA.otl"));
    QTRY_COMPARE_WITH_TIMEOUT(shownNames(), QStringList({"ANA"}), 3000);
    EXPECT_EQ(count(), QStringLiteral("1 paciente"));
}

TEST_F(PatientsWindowTest, NothingIsReadAgainWhileHidden)
{
    window->setRescanInterval(50);
    window->Open();
    window->close();
    QSignalSpy rescans(window.get(), &PatientsWindow::rescanned);
    put(QStringLiteral("ANA.otl"));
    QTest::qWait(300);
    EXPECT_EQ(rescans.count(), 0);
    window->Open();
    EXPECT_EQ(shownNames(), QStringList({"ANA"}));
}

}  // namespace
