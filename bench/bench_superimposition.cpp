// Four stages of one patient superimposed and the view repainted, as each change of stage, base
// or registration does in the superimposition window: lines only, and over four faded
// radiographs of the size the window keeps them.

#include "BenchMain.h"
#include "tracing/SuperimpositionView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cmath>

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
    QImage image(1600, 1328, QImage::Format_RGB32);
    image.fill(QColor(20, 20, 20));
    QPainter p(&image);
    p.setBrush(QColor(120 + 20 * i, 120, 120));
    p.drawEllipse(QRect(300, 200, 1000, 900));
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
                d.pictureToMm = QTransform::fromScale(3000.0 / 1600, 3000.0 / 1600) * d.pictureToMm;
            }
            drawn.push_back(std::move(d));
        }
        view.setStages(std::move(drawn));
        view.repaint();
        base = (base + 1) % 4;
    }
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

}  // namespace

int main(int argc, char** argv) { return qv::bench::RunWidgetBenchmarks(argc, argv); }
