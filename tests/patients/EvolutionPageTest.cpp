// The evolution shows what the Tweed page shows after opening each stage file, and the view
// puts it in a table, a chart and report5.

#include "patients/EvolutionChart.h"
#include "patients/EvolutionView.h"
#include "patients/PatientsWindow.h"
#include "platform/PageContext.h"
#include "support/WorkFolder.h"
#include "tweed/TweedPage.h"

#include "StageSamples.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

#include <memory>

using namespace qv;
using test::Box;

namespace {

const QString kCaption = QStringLiteral("Análise de Tweed");
const std::array<QString, 4> kFiles = {QStringLiteral("ANA-INICIAL.twe"), QStringLiteral("ANA-INTER1.twe"),
                                       QStringLiteral("ANA-INTER2.twe"), QStringLiteral("ANA-FINAL.twe")};

class EvolutionPageTest : public test::WorkFolderTest {
protected:
    void writeStages(const std::array<QByteArray, 4>& records)
    {
        for (int s = 0; s < 4; ++s)
            work.write(QStringLiteral("Análises/") + kFiles[size_t(s)], records[size_t(s)]);
    }
    // A fresh Tweed page with the file opened through ABRIR; the boxes after the open-file
    // dialog are left for the caller.
    std::unique_ptr<TweedPage> openOnPage(const QString& path)
    {
        auto page = std::make_unique<TweedPage>(context);
        dialogs.files.push_back(path);
        page->tabrirClick();
        EXPECT_EQ(dialogs.take().type, Box::OpenFile);
        return page;
    }
    static QString shown(const TweedPage& page, const QString& name)
    {
        if (auto* e = page.findChild<QLineEdit*>(name))
            return e->text();
        if (auto* l = page.findChild<QLabel*>(name))
            return l->text();
        ADD_FAILURE() << "no control " << name.toStdString();
        return {};
    }
    // Every row of the evolution's column against the page.
    static void expectColumnIsThePage(const Evolution& ev, int column, const TweedPage& page)
    {
        for (const EvolutionRow& row : ev.rows) {
            if (row.kind == EvolutionRow::Section)
                continue;
            SCOPED_TRACE(row.name.toStdString());
            const QString cell = row.cells[column];
            if (row.kind == EvolutionRow::Grade) {
                const QString label = shown(page, QStringLiteral("idlabel"));
                EXPECT_EQ(label, cell.isEmpty() ? QString()
                                                : QStringLiteral("ÍNDICE DE DIFICULDADE %1: %2")
                                                      .arg(cell.toUpper(), shown(page, QStringLiteral("idtotres"))));
            } else {
                EXPECT_EQ(cell, shown(page, row.name));
            }
        }
    }

    platform::PageContext context{dialogs, [] { return kCaption; }};
};

TEST_F(EvolutionPageTest, EachStageColumnIsWhatOpeningTheFileShows)
{
    writeStages(test::FourStages(QStringLiteral("ANA")));
    const Evolution ev = ReadEvolution(QStringLiteral("Análises/"), QStringLiteral("ANA"), kFiles);
    ASSERT_EQ(ev.headers.size(), 4);
    for (int s = 0; s < 4; ++s) {
        SCOPED_TRACE(kFiles[size_t(s)].toStdString());
        const auto page = openOnPage(work.file(QStringLiteral("Análises/") + kFiles[size_t(s)]));
        ASSERT_EQ(page->state(), TweedPage::State::Concluded);
        expectColumnIsThePage(ev, s, *page);
    }
}

TEST_F(EvolutionPageTest, AStageThePageRefusesHasNoResultsAndSaysWhy)
{
    auto records = test::FourStages(QStringLiteral("ANA"));
    records[2] = test::StageRecord(QStringLiteral("ANA"), "15", {{"twafa", ".0"}});
    writeStages(records);
    const Evolution ev = ReadEvolution(QStringLiteral("Análises/"), QStringLiteral("ANA"), kFiles);
    const auto page = openOnPage(work.file(QStringLiteral("Análises/ANA-INTER2.twe")));
    const Box warning = dialogs.take();
    EXPECT_EQ(warning.kind, platform::NoticeKind::Warning);
    EXPECT_EQ(warning.text, ev.notes[2]);
    EXPECT_EQ(page->state(), TweedPage::State::Editing);
    expectColumnIsThePage(ev, 2, *page);
}

// The chart's bands and the table's captions are the Tweed page's own.
TEST_F(EvolutionPageTest, CaptionsAreThoseOfTheTweedPage)
{
    TweedPage page(context);
    QStringList captions;
    for (const QLabel* l : page.findChildren<QLabel*>())
        captions << l->text();
    writeStages(test::FourStages(QStringLiteral("ANA")));
    const Evolution ev = ReadEvolution(QStringLiteral("Análises/"), QStringLiteral("ANA"), kFiles);
    for (const ChartMeasure& m : ev.chart)
        EXPECT_TRUE(captions.contains(m.caption)) << m.caption.toStdString();
    for (const EvolutionRow& row : ev.rows)
        if (row.name.startsWith(QLatin1String("tw")) && !row.result) {
            const auto* caption = page.findChild<QLabel*>(row.name + QStringLiteral("Caption"));
            ASSERT_NE(caption, nullptr) << row.name.toStdString();
            EXPECT_EQ(caption->text(), row.label);
        }
}

TEST_F(EvolutionPageTest, TheViewShowsTheTableAndChartAndPrintsReport5)
{
    writeStages(test::FourStages(QStringLiteral("ANA")));
    PatientsWindow window;
    std::vector<std::pair<ReportParamList, int>> printed;
    QObject::connect(&window, &PatientsWindow::evolutionPrintRequested, &window,
                     [&](const ReportParamList& p, int last) { printed.emplace_back(p, last); });
    window.Open();
    window.findChild<QTableView*>(QStringLiteral("pclista"))->setCurrentIndex(window.filter()->index(0, 0));
    window.findChild<QPushButton*>(QStringLiteral("pcevolucao"))->click();
    EvolutionView* view = window.evolutionView();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->isVisible());

    const Evolution& ev = view->evolution();
    QStandardItemModel* model = view->model();
    ASSERT_EQ(model->columnCount(), 6);
    ASSERT_EQ(model->rowCount(), ev.rows.size());
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Inicial"));
    EXPECT_EQ(model->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Variação\nInicial → Final"));
    for (int r = 0; r < ev.rows.size(); ++r) {
        EXPECT_EQ(model->item(r, 0)->text(), ev.rows[r].label);
        if (ev.rows[r].kind == EvolutionRow::Section) {
            EXPECT_EQ(view->table()->columnSpan(r, 0), 6);
            continue;
        }
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(model->item(r, c + 1)->text(), ev.rows[r].cells[c]);
        EXPECT_EQ(model->item(r, 5)->text(), ev.rows[r].change);
    }
    EXPECT_EQ(view->findChildren<EvolutionChartPanel*>().size(), 5);

    view->findChild<QPushButton*>(QStringLiteral("evimprimir"))->click();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].second, 2);
    QString chart;
    for (const ReportParam& p : printed[0].first)
        if (p.name == QLatin1String("grafico"))
            chart = p.text;
    ASSERT_TRUE(chart.startsWith(QStringLiteral("data:image/png;base64,")));
    QImage image;
    ASSERT_TRUE(image.loadFromData(QByteArray::fromBase64(chart.mid(22).toLatin1()), "PNG"));
    EXPECT_GE(image.width(), 1000);
    EXPECT_EQ(image.width(), EvolutionChart::kPrintPixelWidth);  // drawn for paper, not grabbed from the screen
}

// Each panel is titled with its range in degrees, as the table's caption, and labels its points
// with one decimal, above each point.
TEST_F(EvolutionPageTest, ChartPanelsReadAsTheTable)
{
    writeStages(test::FourStages(QStringLiteral("ANA")));
    EvolutionView view;
    view.showPatient(QStringLiteral("Análises/"), QStringLiteral("ANA"), kFiles);
    view.show();
    QCoreApplication::processEvents();
    const Evolution& ev = view.evolution();
    const QList<EvolutionChartPanel*> panels = view.findChildren<EvolutionChartPanel*>();
    ASSERT_EQ(panels.size(), ev.chart.size());
    const std::pair<const char*, QStringList> expected[] = {
        {"FMA (22° a 28°)", {"25.0", "26.5", "31.0", "24.0"}},
        {"Ang. Z (70° a 80°)", {"75.0", "68.0", "75.0", "77.0"}},
        {"ANB (1° a 5°)", ev.chart[3].labels}};
    for (const auto& [title, labels] : expected) {
        SCOPED_TRACE(title);
        const EvolutionChartPanel* panel = nullptr;
        for (const EvolutionChartPanel* p : panels)
            if (p->measure().heading == QString::fromUtf8(title))
                panel = p;
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->accessibleName(), QString::fromUtf8(title));
        const ChartPanelLayout layout = panel->panelLayout();
        EXPECT_TRUE(layout.plot.isValid());
        ASSERT_TRUE(QRectF(panel->rect()).contains(layout.plot));
        QStringList shown;
        for (const ChartPanelLayout::Point& p : layout.points) {
            shown << p.label;
            EXPECT_NEAR(p.labelBox.center().x(), p.at.x(), 1.0) << p.label.toStdString();
            EXPECT_LT(p.labelBox.bottom(), p.at.y()) << p.label.toStdString();
            EXPECT_NEAR(p.at.x(), layout.x(p.column), 1e-9);
            EXPECT_NEAR(p.at.y(), layout.y(p.value), 1e-9);
        }
        EXPECT_EQ(shown, labels);
    }
}

// The path the list hands to the page is one its ABRIR takes as the dialog's own answer: the
// same page state and the same boxes.
TEST_F(EvolutionPageTest, TheListsPathOpensAsTheDialogsPathDoes)
{
    auto records = test::FourStages(QStringLiteral("ANA"));
    records[0] = test::StageRecord(QStringLiteral("ANA"), "13", {{"twafa", "0"}});
    writeStages(records);
    PatientsWindow window;
    QString listPath;
    QObject::connect(&window, &PatientsWindow::tweedFileRequested, &window, [&](const QString& p) { listPath = p; });
    window.Open();
    for (int stage = 0; stage < 4; ++stage) {
        SCOPED_TRACE(stage);
        window.Open();
        window.activate(window.filter()->index(0, PatientTableModel::Inicial + stage));
        ASSERT_FALSE(listPath.isEmpty());
        const auto fromList = openOnPage(listPath);
        const std::vector<Box> listBoxes = dialogs.pending();
        dialogs.clear();
        const auto fromDialog = openOnPage(work.file(QStringLiteral("Análises/") + kFiles[size_t(stage)]));
        const std::vector<Box> dialogBoxes = dialogs.pending();
        dialogs.clear();
        ASSERT_EQ(listBoxes.size(), dialogBoxes.size());
        for (size_t b = 0; b < listBoxes.size(); ++b)
            EXPECT_EQ(listBoxes[b].text, dialogBoxes[b].text);
        EXPECT_EQ(fromList->state(), fromDialog->state());
        EXPECT_EQ(fromList->stage(), fromDialog->stage());
        for (const char* name : {"twPaciente", "twfma", "twanbres", "hornres", "dcimpares", "andiscres", "idlabel"})
            EXPECT_EQ(shown(*fromList, QLatin1String(name)), shown(*fromDialog, QLatin1String(name))) << name;
    }
}

}  // namespace
