// The patients window over a folder of 5,000 patients (20,000 files): the first full list, a
// keystroke in the search field, a rescan of an unchanged folder; and the evolution of a
// patient with four stages, from the files to the table and chart.
#include "BenchMain.h"
#include "patients/EvolutionView.h"
#include "patients/PatientsWindow.h"
#include "records/TweedFile.h"

#include <QApplication>
#include <QScreen>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>


#include <memory>

namespace {

const char* const kFirst[] = {"ANA", "JOÃO", "MARIA", "JOSÉ", "CONCEIÇÃO", "PEDRO", "LUÍSA", "RAFAEL", "BEATRIZ", "ÍCARO"};
const char* const kLast[] = {"SILVA", "SOUZA", "OLIVEIRA", "SANTOS", "PEREIRA", "LIMA", "GONÇALVES", "ARAÚJO"};

QByteArray StageBytes(const QString& patient, const char* fma)
{
    qv::TweedFileRecord r;
    r.twPaciente = patient;
    r.Idade = QStringLiteral("13");
    r.GenMasc = true;
    const char* values[] = {fma,    "66.0", "95.0", "10.0", "82.0", "78.5", "2.0",  "75.0", "15.0", "12.0",
                            "100.0", "66.0", "10.0", "7.5",  "20.0", "19.0", "-1.5", "-2.0", "12.0", "8.0"};
    int i = 0;
    for (const qv::TweedField& f : qv::TweedFields())
        if (f.input && f.offset >= 56)  // the twenty measurements, in the record's order
            r.*(f.input) = QString::fromLatin1(values[i++]);
    return qv::EncodeTweed(r);
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

// 5,000 patients with two Tweed stages, a Bolton file and a history of three visits each.
struct BigFolder {
    QTemporaryDir dir;
    QString folder;
    BigFolder()
    {
        folder = QDir(dir.path()).filePath(QStringLiteral("Análises"));
        QDir().mkpath(folder);
        const QByteArray sep(145, '-');
        QByteArray history = "X\r\n";
        for (int v = 0; v < 3; ++v)
            history += "0" + QByteArray::number(v + 1) + "/02/2025\r\n\r\nRevisão\r\n" + sep + "\r\n";
        const QByteArray stage = StageBytes(QStringLiteral("X"), "25.0");
        const QByteArray bolton(219, '\0');
        for (int p = 0; p < 5000; ++p) {
            const QString name = QStringLiteral("%1 %2 %3")
                                     .arg(QString::fromUtf8(kFirst[p % 10]), QString::fromUtf8(kLast[(p / 10) % 8]))
                                     .arg(p);
            const QDir d(folder);
            Write(d.filePath(name + QStringLiteral("-INICIAL.twe")), stage);
            Write(d.filePath(name + QStringLiteral("-FINAL.twe")), stage);
            Write(d.filePath(name + QStringLiteral(".bol")), bolton);
            Write(d.filePath(name + QStringLiteral(".pln")), history);
        }
    }
};

BigFolder& Folder()
{
    static BigFolder folder;
    return folder;
}

// From nothing read to the full list shown (a new window each time).
void BM_FirstFullList(benchmark::State& state)
{
    const QString folder = Folder().folder;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<qv::PatientsWindow>(folder);
        state.ResumeTiming();
        window->Open();  // reads the folder as it shows
        QApplication::processEvents();  // laid out and drawn
        state.PauseTiming();
        if (window->model()->rowCount() != 5000)
            state.SkipWithError("not 5000 patients");
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstFullList)->Unit(benchmark::kMillisecond)->Iterations(5);

// The periodic rescan of an unchanged folder while the window shows.
void BM_RescanUnchanged(benchmark::State& state)
{
    qv::PatientsWindow window(Folder().folder);
    window.Open();
    QApplication::processEvents();
    for (auto _ : state) {
        window.rescan();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RescanUnchanged)->Unit(benchmark::kMillisecond)->Iterations(10);

// One key typed into the search field, with the list shown and redrawn.
void BM_SearchKeystroke(benchmark::State& state)
{
    qv::PatientsWindow window(Folder().folder);
    window.Open();
    QApplication::processEvents();
    QLineEdit* search = window.searchField();
    const QString word = QStringLiteral("joao silva");
    int i = 0;
    for (auto _ : state) {
        if (i == word.size()) {
            state.PauseTiming();
            search->clear();
            QApplication::processEvents();
            i = 0;
            state.ResumeTiming();
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(word[i]));
        QApplication::sendEvent(search, &press);
        QApplication::processEvents();
        ++i;
    }
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond)->Iterations(100);

// A four-stage patient: the files read and recomputed, the table and chart built and drawn.
// ANA's four stages, the FMA changing from one to the next, written into `folder`.
std::array<QString, 4> WriteFourStages(const QString& folder)
{
    const std::array<QString, 4> files = {QStringLiteral("ANA-INICIAL.twe"), QStringLiteral("ANA-INTER1.twe"),
                                          QStringLiteral("ANA-INTER2.twe"), QStringLiteral("ANA-FINAL.twe")};
    const char* fma[] = {"25.0", "27.0", "31.0", "24.0"};
    for (int s = 0; s < 4; ++s)
        Write(QDir(folder).filePath(files[size_t(s)]), StageBytes(QStringLiteral("ANA"), fma[s]));
    return files;
}

void BM_EvolutionFourStages(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::array<QString, 4> files = WriteFourStages(dir.path());
    qv::EvolutionView view;
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        view.showPatient(dir.path(), QStringLiteral("ANA"), files);
        view.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_EvolutionFourStages)->Unit(benchmark::kMillisecond)->Iterations(20);

// The first evolution view of the program's run: the window made, the files read, the table
// filled and the chart drawn on screen. With after_a_window:1 another window has shown first, as
// the program's main window always has: Qt's font database, style and backing store are then set
// up, so that is the evolution's own cost. Run each alone to be the first
// (--benchmark_filter=after_a_window:0, then :1).
void BM_EvolutionFirstView(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::array<QString, 4> files = WriteFourStages(dir.path());
    std::unique_ptr<QLineEdit> before;
    if (state.range(0)) {
        before = std::make_unique<QLineEdit>(QStringLiteral("ANA SILVA"));
        before->show();
        before->repaint();
        QApplication::processEvents();
    }
    for (auto _ : state) {
        qv::EvolutionView view;
        view.showPatient(dir.path(), QStringLiteral("ANA"), files);
        view.show();
        view.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_EvolutionFirstView)->ArgName("after_a_window")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// --screenshots <folder>: the four-stage evolution (table and chart) as evolution.png, and the
// patients window with that patient and one who has only tracings as patients.png.
int screenshots(const QString& folder)
{
    QTemporaryDir dir;
    const std::array<QString, 4> files = WriteFourStages(dir.path());
    qv::EvolutionView view;
    view.resize(1100, 760);
    view.show();
    view.showPatient(dir.path(), QStringLiteral("ANA"), files);
    QApplication::processEvents();
    for (const char* stage : {"INICIAL", "FINAL"}) {
        QFile tracing(QDir(dir.path()).filePath(QStringLiteral("BIA-%1.tra").arg(QLatin1String(stage))));
        if (!tracing.open(QIODevice::WriteOnly) || tracing.write("{}") != 2)
            return 1;
    }
    qv::PatientsWindow patients(dir.path());
    patients.resize(qv::PatientsWindow::PreferredSize(QGuiApplication::primaryScreen()));
    patients.show();
    patients.rescan();
    QApplication::processEvents();
    return view.grab().save(folder + QStringLiteral("/evolution.png")) && patients.grab().save(folder + QStringLiteral("/patients.png"))
               ? 0
               : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    return qv::bench::RunWidgetBenchmarks(argc, argv, {"--screenshots", true, screenshots});
}
