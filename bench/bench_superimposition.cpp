// Four stages of one patient superimposed and the view repainted, as each change of stage, base
// or registration does in the superimposition window: lines only, and over four faded
// radiographs of the size the window keeps them.
// With --screenshots <folder> it instead saves four stage tracings of a patient there and
// pictures of the window on them (lines only, over the radiographs, another registration)
// and its PNG and PDF exports.

#include "BenchMain.h"
#include "platform/Dialogs.h"
#include "records/FileIo.h"
#include "tracing/SuperimpositionView.h"
#include "tracing/SuperimpositionWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QLabel>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdio>

namespace {

using namespace qv;
using L = Landmark;

// Every landmark on a 1000 x 830 face looking right.
const std::pair<L, QPointF> kFace[] = {
    {L::S, {400, 330}},   {L::N, {735, 320}},    {L::Po, {250, 420}},   {L::Or, {655, 390}},  {L::ENA, {765, 470}},
    {L::ENP, {480, 478}}, {L::A, {720, 500}},    {L::B, {700, 600}},    {L::Ar, {320, 430}},  {L::Rp, {335, 560}},
    {L::Tg, {380, 615}},  {L::Me, {690, 722}},   {L::Ii, {728, 548}},   {L::Ai, {683, 650}},  {L::Is, {742, 535}},
    {L::OclP, {560, 548}}, {L::OclA, {725, 545}}, {L::Ls, {800, 515}},  {L::Li, {793, 568}},  {L::PogSoft, {785, 665}},
    {L::Pog, {712, 690}}, {L::Gn, {705, 712}},   {L::Go, {360, 600}},   {L::Co, {330, 400}},  {L::Ba, {300, 470}},
    {L::Pt, {470, 430}},  {L::As, {690, 450}},   {L::Prn, {850, 430}},  {L::Sn, {800, 480}},  {L::Cm, {820, 470}},
};

// Each stage turned, moved and grown a little, as radiographs of one patient years apart are.
std::vector<StageTracing> fourStages()
{
    std::vector<StageTracing> stages;
    for (int i = 0; i < 4; ++i) {
        StageTracing t{QString::fromLatin1(kStageNames[i]), {}, {0.1, 0.1}};
        const double a = 0.04 * i, grow = 1 + 0.02 * i;
        for (const auto& [l, p] : kFace) {
            const QPointF q = (p - QPointF(400, 330)) * grow;
            t.points.set(l, QPointF(400 + 30 * i + q.x() * std::cos(a) - q.y() * std::sin(a),
                                    330 - 20 * i + q.x() * std::sin(a) + q.y() * std::cos(a)) * 3);
        }
        stages.push_back(std::move(t));
    }
    return stages;
}

QImage fadedPicture(int i)
{
    QImage image(1000, 830, QImage::Format_RGB32);
    image.fill(QColor(20, 20, 20));
    QPainter p(&image);
    p.setBrush(QColor(120 + 20 * i, 120, 120));
    p.drawEllipse(QRect(200, 120, 620, 560));
    return image;
}

void showExposed(QWidget& w)
{
    w.show();
    QElapsedTimer t;
    t.start();
    while (!(w.windowHandle() && w.windowHandle()->isExposed()) && t.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
}

// Processor time of every thread of the program, in ms: Qt's painter spreads large fills over
// threads of its own, which the benchmark's CPU column (this thread's) leaves out.
double processMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

void superimposeAndRepaint(benchmark::State& state, bool pictures)
{
    const std::vector<StageTracing> stages = fourStages();
    std::vector<QImage> images;
    for (int i = 0; i < 4; ++i)
        images.push_back(fadedPicture(i));
    SuperimpositionView view;
    view.resize(610, 600);  // its share of the window on a 1024 x 768 screen
    showExposed(view);
    int base = 0;
    const double before = processMs();
    for (auto _ : state) {
        // Each frame another base, so nothing is carried over from the one before.
        const Superimposition s = Superimpose(stages, base, Registration::CranialBase);
        if (!s.ok())
            state.SkipWithError("not superimposed");
        std::vector<SuperimposedStage> drawn;
        for (size_t k = 0; k < stages.size(); ++k) {
            SuperimposedStage d = MoveStage(stages[k], s.stages[k].motion);
            if (pictures) {
                d.picture = images[k];
                d.pictureToMm = QTransform::fromScale(3.0, 3.0) * d.pictureToMm;
            }
            drawn.push_back(std::move(d));
        }
        view.setStages(std::move(drawn));
        view.repaint();
        base = (base + 1) % 4;
    }
    state.counters["all_threads_ms"] = benchmark::Counter(processMs() - before, benchmark::Counter::kAvgIterations);
}

void BM_SuperimposeFourStagesAndRepaint(benchmark::State& state) { superimposeAndRepaint(state, false); }
BENCHMARK(BM_SuperimposeFourStagesAndRepaint)->Unit(benchmark::kMillisecond);

void BM_SuperimposeFourStagesOverRadiographs(benchmark::State& state) { superimposeAndRepaint(state, true); }
BENCHMARK(BM_SuperimposeFourStagesOverRadiographs)->Unit(benchmark::kMillisecond);

void BM_BestFitOfTenPoints(benchmark::State& state)
{
    const std::vector<StageTracing> stages = fourStages();
    const L fit[] = {L::S, L::N, L::Po, L::Or, L::Ba, L::Pt, L::ENA, L::ENP, L::Ar, L::Co};
    for (auto _ : state)
        benchmark::DoNotOptimize(Superimpose(stages, 0, Registration::BestFit, fit));
}
BENCHMARK(BM_BestFitOfTenPoints)->Unit(benchmark::kMicrosecond);

// Boxes answered without a window.
class Quiet : public platform::Dialogs {
protected:
    void showMessage(platform::NoticeKind, const QString&, const QString&) override {}
    platform::Answer askYesNo(const QString&, const QString&) override { return platform::Answer::No; }
    QString chooseFile(const platform::OpenFileRequest&) override { return {}; }
    // Exports go into the folder of the screenshots, under the name proposed.
    QString chooseSaveFile(const platform::SaveFileRequest& request) override
    {
        return QDir::current().filePath(request.suggestedName);
    }
};

int screenshots(const QString& folder)
{
    QDir().mkpath(folder + QStringLiteral("/Análises"));
    QDir::setCurrent(folder);
    std::vector<StageTracing> stages = fourStages();
    for (size_t i = 0; i < stages.size(); ++i) {
        // The mandible grows forward and down from stage to stage.
        for (L l : {L::B, L::Pog, L::Gn, L::Me, L::Ii, L::Ai, L::Li, L::PogSoft})
            stages[i].points.set(l, stages[i].points.at(l) + QPointF(25.0 * i, 15.0 * i));
        QImage picture(3000, 2500, QImage::Format_Grayscale8);
        picture.fill(25);
        QPainter p(&picture);
        p.setBrush(QColor(110 + 25 * int(i), 110 + 25 * int(i), 110 + 25 * int(i)));
        p.setPen(Qt::NoPen);
        QPolygonF head;
        for (L l : {L::S, L::N, L::Prn, L::Sn, L::Ls, L::Li, L::PogSoft, L::Me, L::Go, L::Ba})
            head << stages[i].points.at(l);
        p.drawPolygon(head);
        p.end();
        const QString image = QStringLiteral("Análises/PACIENTE EXEMPLO-%1.png").arg(stages[i].stage);
        picture.save(image);
        ReplaceFileBytes(TracingFileName(QStringLiteral("PACIENTE EXEMPLO"), stages[i].stage),
                         EncodeTracing({image.mid(9), stages[i].calibration, stages[i].points}));
    }
    Quiet boxes;
    SuperimpositionWindow window(boxes);
    window.resize(SuperimpositionWindow::PreferredSize(QSize(1024, 768)));
    window.Open(QStringLiteral("PACIENTE EXEMPLO"));
    QApplication::processEvents();
    window.grab().save(folder + QStringLiteral("/superimposition.png"));
    window.findChild<QCheckBox*>(QStringLiteral("sbImagens"))->setChecked(true);
    QApplication::processEvents();
    window.grab().save(folder + QStringLiteral("/superimposition-images.png"));
    window.sbExportarPngClick();
    window.sbExportarPdfClick();
    auto* registration = window.findChild<QComboBox*>(QStringLiteral("sbRegistro"));
    registration->setCurrentIndex(registration->findData(int(Registration::BestFit)));
    QApplication::processEvents();
    window.grab().save(folder + QStringLiteral("/superimposition-bestfit.png"));
    registration->setCurrentIndex(registration->findData(int(Registration::BaNAtCF)));
    window.findChild<QCheckBox*>(QStringLiteral("sbFase3"))->setChecked(false);
    QApplication::processEvents();
    window.grab().save(folder + QStringLiteral("/superimposition-banat.png"));
    std::printf("%s\n", qPrintable(window.message()->text()));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    return qv::bench::RunWidgetBenchmarks(argc, argv, {"--screenshots", true, screenshots});
}
