// Reloading a long treatment history into the history page (target: under 200 ms for 2,000
// visits), and saving one more visit onto it. Measured, never asserted.

#include "BenchMain.h"
#include "platform/PageContext.h"
#include "records/HistoryFile.h"
#include "notes/HistoryPage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class SilentDialogs : public qv::platform::Dialogs {
protected:
    void showMessage(qv::platform::NoticeKind, const QString&, const QString&) override {}
    qv::platform::Answer askYesNo(const QString&, const QString&) override { return qv::platform::Answer::Closed; }
    QString chooseFile(const qv::platform::OpenFileRequest&) override { return {}; }
};

// A working folder holding ANA.pln with `visits` visits of two description lines each.
struct HistoryFixture {
    explicit HistoryFixture(int visits)
    {
        QDir(dir.path()).mkdir(QStringLiteral("Análises"));
        QDir::setCurrent(dir.path());
        QByteArray bytes = "ANA MARIA DA SILVA\r\n";
        const QString date = qv::HistoryDateText(QDate(2024, 3, 1));
        for (int i = 0; i < visits; ++i)
            bytes += qv::HistoryBlock(date, {QStringLiteral("Visita %1: ativação do aparelho, troca do arco superior e controle de higiene.").arg(i),
                                             QStringLiteral("Paciente relata desconforto leve na região dos pré-molares; orientada quanto à escovação.")});
        original = bytes;
        restore();
        page.resize(975, 660);
        page.show();
        QApplication::processEvents();
    }
    void restore() const
    {
        QFile f(qv::HistoryFileName(QStringLiteral("ANA MARIA DA SILVA")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(original);
    }

    QTemporaryDir dir;
    QByteArray original;
    SilentDialogs dialogs;
    qv::platform::PageContext context{dialogs, [] { return QStringLiteral("Histórico do Tratamento"); }};
    qv::HistoryPage page{context};
};

void BM_ReloadHistory(benchmark::State& state)
{
    HistoryFixture fx(int(state.range(0)));
    const QString path = qv::HistoryFileName(QStringLiteral("ANA MARIA DA SILVA"));
    for (auto _ : state) {
        fx.page.pllimparClick();
        fx.page.ReloadHistory(path);
        QApplication::processEvents();  // layout and paint of what the clinician sees
    }
    state.counters["lines"] = fx.page.historico()->document()->blockCount();
}
BENCHMARK(BM_ReloadHistory)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveVisitOnLongHistory(benchmark::State& state)
{
    HistoryFixture fx(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        fx.restore();
        fx.page.plpaciente()->setText(QStringLiteral("ANA MARIA DA SILVA"));
        fx.page.insere()->setPlainText(QStringLiteral("Nova visita: colagem de bráquetes nos segundos molares."));
        state.ResumeTiming();
        fx.page.plsalvarClick();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SaveVisitOnLongHistory)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return qv::bench::RunWidgetBenchmarks(argc, argv);
}
