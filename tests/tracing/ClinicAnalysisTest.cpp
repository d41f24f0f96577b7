// A clinic's own analysis, written in "Análises Cefalométricas/" of the working folder, end to end:
// offered in the analyses menu under the clinic's heading, measured in the table, its norms in the
// dialog and Normas.json, printed in the report and exported in the spreadsheet; a broken file
// beside it is named with its line once and the others load.

#include "TracingWindowFixture.h"

#include "tracing/CephCsvExport.h"
#include "tracing/CephNormsStore.h"
#include "tracing/NormsDialog.h"

#include "printing/ReportTemplate.h"

#include <QDir>
#include <QListWidget>
#include <QToolButton>
#include <QMenu>

#include <gtest/gtest.h>

namespace qv {
namespace {

using namespace test;

const QString kTitle = QStringLiteral("Análise da Clínica");

// SNPog at N (norm 80 ± 3) and Pog ahead of N along Frankfort, in millimetres (no norm).
const char* kDefinition = R"({
  "formato": "quorvel-analise",
  "versao": 1,
  "titulo": "Análise da Clínica",
  "pontos": ["S", "N", "Po", "Or", "Pog"],
  "medidas": [
    {"rotulo": "SN.Pog", "unidade": "°", "norma": {"media": 80, "dp": 3},
     "valor": {"op": "angle_at", "vertex": "N", "points": ["S", "Pog"]}},
    {"rotulo": "Pog-N", "unidade": "mm", "norma": null,
     "valor": {"op": "along_fh", "point": "Pog", "from": "N"}}
  ]
}
)";

class ClinicAnalysisTest : public TracingWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("Análises Cefalométricas")));
        work.write(QStringLiteral("Análises Cefalométricas/clinica.json"), kDefinition);
        work.write(QStringLiteral("Análises Cefalométricas/quebrada.json"), "{\"formato\": \"quorvel-analise\",\n\"versao\": 1,\n\"titulo\": 3}");
        window.Open();  // reads the working folder's analyses again
        dialogs.expectNotice(NoticeKind::Warning,
                             QStringLiteral("Estas definições de análise não foram usadas:\rAnálises Cefalométricas/quebrada.json, "
                                            "linha 3: \"titulo\" deve ser um texto não vazio\rAs demais análises estão "
                                            "disponíveis."),
                             kCaption);
        window.tFecharClick();
    }
};

TEST_F(ClinicAnalysisTest, IsOfferedMeasuredNormedPrintedAndExportedLikeAShippedOne)
{
    // The menu: the program's analyses, then the clinic's under its own heading.
    QMenu* menu = window.findChild<QMenu*>(QStringLiteral("analises"));
    const QList<QAction*> actions = menu->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions[actions.size() - 2]->text(), QStringLiteral("Análises do consultório"));
    EXPECT_EQ(actions.last()->text(), kTitle);
    actions.last()->trigger();
    EXPECT_TRUE(window.analyses().contains(kTitle));
    window.Open();  // nothing changed: nothing told again
    EXPECT_TRUE(dialogs.pending().empty()) << dialogs.describePending().toStdString();

    // The table: S, N at 90° to Pog gives SN.Pog 90, beyond three SDs of 80 ± 3.
    openAtScaleOne();
    window.setLandmark(L::S, QPointF(100, 100));
    window.setLandmark(L::N, QPointF(300, 100));
    window.setLandmark(L::Pog, QPointF(300, 400));
    window.setLandmark(L::Po, QPointF(50, 150));
    window.setLandmark(L::Or, QPointF(250, 150));
    auto* ceph = window.findChild<QTableWidget*>(QStringLiteral("cefalometria"));
    QStringList rows;
    for (int r = 0; r < ceph->rowCount(); ++r)
        rows << ceph->item(r, 0)->text() + u'|' + (ceph->item(r, 1) ? ceph->item(r, 1)->text() : QString()) + u'|'
                    + (ceph->item(r, 3) ? ceph->item(r, 3)->text() : QString());
    EXPECT_EQ(rows, (QStringList{kTitle + QStringLiteral("||"), QStringLiteral("SN.Pog|90.0°|+3.33 DP"),
                                 QStringLiteral("Pog-N|—|sem calibração")}));

    // The norms: listed in the dialog, kept in Normas.json under the analysis's title.
    CephNormsStore store(dialogs);
    NormsDialog dialog(dialogs, store.norms());
    EXPECT_EQ(dialog.findChild<QListWidget*>(QStringLiteral("normasAnalises"))->item(11)->text(), kTitle);
    ASSERT_NE(dialog.table(kTitle), nullptr);
    EXPECT_EQ(dialog.table(kTitle)->item(0, 1)->text(), QStringLiteral("80"));
    dialog.table(kTitle)->item(0, 1)->setText(QStringLiteral("88"));
    dialog.accept();
    ASSERT_TRUE(store.save(dialog.norms()));
    EXPECT_TRUE(work.read(QStringLiteral("Normas.json")).contains("\"Análise da Clínica\": {"));
    window.setNorms(store.norms());
    EXPECT_EQ(ceph->item(1, 3)->text(), QStringLiteral("+0.67 DP"));

    // The report: its block under its title, measured against the clinic's norm.
    std::vector<report::ParamMap> printed;
    QObject::connect(&window, &TracingWindow::printRequested, &window, [&](const ReportParamList& params, int) {
        report::ParamMap p;
        for (const ReportParam& r : params)
            p.insert(r.name, r.text);
        printed.push_back(p);
    });
    window.findChild<QToolButton*>(QStringLiteral("tImprimir"))->click();
    ASSERT_EQ(printed.size(), 1u);
    const int chosen = printed[0].value(QStringLiteral("analises")).toInt();
    EXPECT_EQ(printed[0].value(QStringLiteral("analises.%1.titulo").arg(chosen)), kTitle);
    EXPECT_EQ(printed[0].value(QStringLiteral("analises.%1.medidas.1.val").arg(chosen)), QStringLiteral("90.0°"));
    EXPECT_EQ(printed[0].value(QStringLiteral("analises.%1.medidas.1.norma").arg(chosen)), QStringLiteral("88.0 ± 3.0°"));

    // The spreadsheet: its columns after the program's.
    TracingDocument doc;  // the spreadsheet reads the stages' files
    doc.landmarks = window.landmarks();
    doc.calibration = {0.1, 0.1};
    doc.image = QStringLiteral("ceph.png");
    work.write(QStringLiteral("Análises/MARIA-INICIAL.tra"), EncodeTracing(doc));
    dialogs.saveFiles.push_back(work.file(QStringLiteral("m.csv")));
    ExportCephCsv(dialogs, QStringLiteral("Análises/"), QStringLiteral("MARIA"), kCaption);
    dialogs.take();  // the save box
    dialogs.take();  // "exported"
    const QStringList lines = QString::fromUtf8(work.read(QStringLiteral("m.csv")).mid(3)).split(QStringLiteral("\r\n"));
    const QStringList header = lines[0].split(u';'), first = lines[1].split(u';');
    EXPECT_EQ(header.mid(header.size() - 2),
              (QStringList{kTitle + QStringLiteral(" SN.Pog (°)"), kTitle + QStringLiteral(" Pog-N (mm)")}));
    EXPECT_EQ(first.mid(first.size() - 2), (QStringList{QStringLiteral("90,0"), QStringLiteral("0,0")}));
}

}  // namespace
}  // namespace qv
