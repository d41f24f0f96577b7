// The tracing window: a 3000 x 2500 16-bit DICOM opened to its first picture, a repaint while a
// landmark is dragged at fit zoom in a 1024 x 768 window, the twelve measurements, and every
// measure of every cephalometric analysis.
// With --screenshots <folder> it instead draws a synthetic radiograph, traces it and saves
// pictures of the window (whole, zoomed, while placing) and the exports there.

#include "BenchMain.h"
#include "platform/Dialogs.h"
#include "analysis/CephMeasures.h"
#include "tracing/TracingCanvas.h"
#include "tracing/TracingExport.h"
#include "analysis/TracingGeometry.h"
#include "analysis/TracingValues.h"
#include "tracing/NormsDialog.h"
#include "tracing/TracingWindow.h"
#include "platform/PageContext.h"
#include "printing/PrintActions.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"

#include "../tests/tracing/DicomSamples.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using namespace qv;
using L = Landmark;

// Landmarks on a 1000 x 830 face looking right.
const std::pair<L, QPointF> kFace[] = {
    {L::S, {400, 330}},   {L::N, {735, 320}},   {L::Po, {250, 420}},  {L::Or, {655, 390}},  {L::ENA, {765, 470}},
    {L::ENP, {480, 478}}, {L::A, {720, 500}},   {L::B, {700, 600}},   {L::Ar, {320, 430}},  {L::Rp, {335, 560}},
    {L::Tg, {380, 615}},  {L::Me, {690, 722}},  {L::Ii, {728, 548}},  {L::Ai, {683, 650}},  {L::Is, {742, 535}},
    {L::OclP, {560, 548}}, {L::OclA, {725, 545}}, {L::Ls, {800, 515}}, {L::Li, {793, 568}}, {L::PogSoft, {785, 665}},
};
// The further analyses' points on the same face.
const std::pair<L, QPointF> kFurther[] = {
    {L::Pog, {716, 688}}, {L::Gn, {706, 712}}, {L::Go, {362, 640}}, {L::Co, {330, 405}}, {L::Ba, {345, 490}},
    {L::Pt, {470, 430}},  {L::As, {700, 462}}, {L::Prn, {850, 432}}, {L::Sn, {800, 482}}, {L::Cm, {826, 470}},
    {L::D, {690, 680}},   {L::Pm, {712, 655}}, {L::Dc, {365, 481}}, {L::R1, {450, 540}}, {L::R2, {340, 545}},
    {L::R3, {405, 455}},  {L::R4, {420, 650}}, {L::U6, {575, 546}}, {L::NSoft, {765, 318}},
};
constexpr QSizeF kBase(1000, 830);

LandmarkSet faceLandmarks(double k, bool further = false)
{
    LandmarkSet s;
    for (const auto& [l, p] : kFace)
        s.set(l, p * k);
    if (further)
        for (const auto& [l, p] : kFurther)
            s.set(l, p * k);
    return s;
}

// A grey head in profile: soft tissue, skull, sella, orbit, jaws, incisors, and a ruler.
QImage syntheticCephalogram(double k)
{
    QImage image((kBase * k).toSize(), QImage::Format_Grayscale8);
    image.fill(18);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    p.setPen(Qt::NoPen);
    auto shape = [&](std::initializer_list<QPointF> points, int grey) {
        QPainterPath path;
        path.addPolygon(QPolygonF(points));
        path.closeSubpath();
        p.setBrush(QColor(grey, grey, grey));
        p.drawPath(path);
    };
    // Soft tissue with the profile through Ls, Li and Pog'.
    shape({{120, 330}, {200, 120}, {430, 40}, {680, 110}, {745, 250}, {760, 320}, {850, 420}, {790, 470},
           {800, 515}, {782, 545}, {793, 568}, {768, 610}, {785, 665}, {740, 730}, {560, 770}, {420, 830}, {180, 830}, {130, 600}},
          70);
    p.setBrush(QColor(150, 150, 150));
    p.drawEllipse(QPointF(430, 300), 290, 240);  // skull
    p.setBrush(QColor(95, 95, 95));
    p.drawEllipse(QPointF(430, 290), 250, 200);  // brain case
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(QPointF(400, 335), 22, 16);    // sella
    shape({{560, 380}, {735, 320}, {740, 440}, {765, 470}, {720, 500}, {745, 540}, {480, 520}, {470, 470}}, 165);  // maxilla
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QPointF(640, 360), 45, 32);    // orbit
    p.setBrush(QColor(25, 25, 25));
    p.drawEllipse(QPointF(255, 430), 14, 11);    // ear canal
    shape({{310, 420}, {345, 425}, {345, 560}, {380, 612}, {560, 650}, {700, 600}, {715, 555}, {730, 640}, {720, 700},
           {690, 725}, {560, 700}, {380, 640}, {330, 590}},
          175);  // mandible
    shape({{742, 535}, {752, 500}, {735, 470}, {705, 470}, {725, 550}}, 235);  // upper incisor
    shape({{728, 548}, {740, 560}, {705, 652}, {683, 650}, {715, 560}}, 225);  // lower incisor
    shape({{520, 530}, {600, 530}, {600, 565}, {520, 565}}, 215);              // molars
    // Ruler: a tick each 10 pixels, long each 50.
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(900, 60, 8, 260));
    for (int i = 0; i <= 25; ++i)
        p.drawRect(QRectF(908, 60 + i * 10, i % 5 == 0 ? 22 : 12, 1.5));
    return image;
}

QString writeDicom(const QString& path, const QImage& grey8, const char* spacing)
{
    test::DicomSample s;
    s.width = grey8.width();
    s.height = grey8.height();
    s.bitsStored = 16;
    s.pixelSpacing = spacing;
    s.values.resize(size_t(s.width) * size_t(s.height));
    QRandomGenerator noise(7);
    for (int y = 0; y < s.height; ++y) {
        const uchar* line = grey8.constScanLine(y);
        for (int x = 0; x < s.width; ++x)
            s.values[size_t(y) * size_t(s.width) + size_t(x)] = std::min(65535, line[x] * 250 + int(noise.bounded(400)));
    }
    test::WriteDicom(path, s);
    return path;
}

struct Quiet : platform::Dialogs {
protected:
    void showMessage(platform::NoticeKind, const QString& text, const QString&) override
    {
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
    }
    platform::Answer askYesNo(const QString&, const QString&) override { return platform::Answer::Yes; }
    QString chooseFile(const platform::OpenFileRequest&) override { return {}; }
    // Exports go to Análises/ of the working folder under the name proposed.
    QString chooseSaveFile(const platform::SaveFileRequest& request) override
    {
        return QStringLiteral("Análises/") + request.suggestedName;
    }
};

// Counts the paint events a canvas really received, so a frame that was skipped is not timed.
struct PaintCount : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        count += e->type() == QEvent::Paint;
        return false;
    }
};

// A window the offscreen platform has exposed, so repaint() really paints.
void showExposed(QWidget& w)
{
    w.show();
    QElapsedTimer t;
    t.start();
    while (!(w.windowHandle() && w.windowHandle()->isExposed()) && t.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
}

const QString& bigDicom()
{
    static QTemporaryDir dir;
    static const QString path = writeDicom(dir.filePath(QStringLiteral("big.dcm")), syntheticCephalogram(3), "0.1\\0.1");
    return path;
}

void BM_OpenDicomToFirstPicture(benchmark::State& state)
{
    const QString path = bigDicom();
    Quiet boxes;
    TracingWindow window(boxes);
    window.resize(1024, 768);
    showExposed(window);
    PaintCount paints;
    window.canvas()->installEventFilter(&paints);
    for (auto _ : state) {
        window.openImage(path);
        window.canvas()->repaint();
    }
    state.counters["width"] = window.radiograph().width;
    state.counters["painted"] = benchmark::Counter(double(paints.count), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OpenDicomToFirstPicture)->Unit(benchmark::kMillisecond)->MinTime(3);

// The window over the big radiograph with every landmark of a face placed, fitted and drawn,
// its canvas's paints counted from here on.
struct TracedWindow {
    Quiet boxes;
    TracingWindow window{boxes};
    LandmarkSet face = faceLandmarks(3);
    TracingCanvas* canvas = nullptr;
    PaintCount paints;

    TracedWindow()
    {
        window.resize(1024, 768);
        showExposed(window);
        window.openImage(bigDicom());
        for (int i = 0; i < kTweedLandmarkCount; ++i)
            window.setLandmark(LandmarkAt(i), face.at(LandmarkAt(i)));
        canvas = window.canvas();
        canvas->fit();
        canvas->repaint();
        canvas->installEventFilter(&paints);
    }
    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, at, canvas->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas, &e);
    }
    benchmark::Counter paintsPerIteration() const
    {
        return benchmark::Counter(double(paints.count), benchmark::Counter::kAvgIterations);
    }
};

void BM_RepaintWhileDragging(benchmark::State& state)
{
    TracedWindow t;
    const QPointF start = t.canvas->toWidget(t.face.at(L::Me));
    t.send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        const QPointF at = start + QPointF(10 + step % 40, step % 25);
        t.send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        t.canvas->repaint();
        ++step;
    }
    t.send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    state.counters["zoom"] = t.canvas->zoom();
    state.counters["painted"] = t.paintsPerIteration();
}
BENCHMARK(BM_RepaintWhileDragging)->Unit(benchmark::kMillisecond);

void BM_PanAtFitZoom(benchmark::State& state)
{
    TracedWindow t;
    const QPointF start(400, 300);
    t.send(QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
    int step = 0;
    for (auto _ : state) {
        t.send(QEvent::MouseMove, start + QPointF(step % 2 ? 5 : -5, 0), Qt::NoButton, Qt::RightButton);
        t.canvas->repaint();
        ++step;
    }
    t.send(QEvent::MouseButtonRelease, start, Qt::RightButton, Qt::NoButton);
    state.counters["painted"] = t.paintsPerIteration();
}
BENCHMARK(BM_PanAtFitZoom)->Unit(benchmark::kMillisecond);

void BM_TwelveMeasurements(benchmark::State& state)
{
    const LandmarkSet face = faceLandmarks(3);
    const Calibration spacing{0.1, 0.1};
    for (auto _ : state)
        benchmark::DoNotOptimize(MeasureTracing(face, spacing));
}
BENCHMARK(BM_TwelveMeasurements)->Unit(benchmark::kMicrosecond);

void BM_TwelveMeasurementTexts(benchmark::State& state)
{
    const LandmarkSet face = faceLandmarks(3);
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeTracingValues(MeasureTracing(face, {0.1, 0.1})));
}
BENCHMARK(BM_TwelveMeasurementTexts)->Unit(benchmark::kMicrosecond);

// Reading every shipped analysis definition, as the tracing window does when it is built.
void BM_LoadShippedDefinitions(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadAnalyses(QString::fromLatin1(kShippedAnalysesFolder), {}));
}
BENCHMARK(BM_LoadShippedDefinitions)->Unit(benchmark::kMillisecond);

// Every measure of every shipped analysis from every point, as the table is refreshed on each
// step of a drag.
void BM_EveryCephalometricMeasure(benchmark::State& state)
{
    const LandmarkSet face = faceLandmarks(3, true);
    const Calibration spacing{0.1, 0.1};
    for (auto _ : state)
        benchmark::DoNotOptimize(MeasureCephalometrics(face, spacing));
}
BENCHMARK(BM_EveryCephalometricMeasure)->Unit(benchmark::kMicrosecond);

int screenshots(const QString& folder)
{
    QDir().mkpath(folder);
    QDir().mkpath(folder + QStringLiteral("/Análises"));
    QDir::setCurrent(folder);
    const double k = 2;
    const QString dicom = writeDicom(folder + QStringLiteral("/sintetica.dcm"), syntheticCephalogram(k), "0.1\\0.1");
    Quiet boxes;
    TracingWindow window(boxes);
    TracingTweedState tweed;
    tweed.patient = QStringLiteral("PACIENTE EXEMPLO");
    tweed.stage = QStringLiteral("INICIAL");
    window.setTweedState(tweed);
    window.resize(1280, 860);
    window.show();
    window.openImage(dicom);
    const LandmarkSet face = faceLandmarks(k);
    // Half placed, the cursor where the next point goes: the magnifier shows.
    for (int i = 0; i < 12; ++i)
        window.setLandmark(LandmarkAt(i), face.at(LandmarkAt(i)));
    TracingCanvas* c = window.canvas();
    QApplication::processEvents();
    const QPointF at = c->toWidget(face.at(L::Ii));
    QMouseEvent move(QEvent::MouseMove, at, c->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(c, &move);
    window.grab().save(folder + QStringLiteral("/tracing-placing.png"));
    for (int i = 12; i < kTweedLandmarkCount; ++i)
        window.setLandmark(LandmarkAt(i), face.at(LandmarkAt(i)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(c, &leave);
    window.grab().save(folder + QStringLiteral("/tracing-all.png"));
    c->setView(2.2, QPointF(0, 0));
    c->setView(2.2, QPointF(c->width() / 2.0, c->height() / 2.0) - face.at(L::Ii) * 2.2);
    window.grab().save(folder + QStringLiteral("/tracing-zoom.png"));
    window.tExportarPngClick();
    window.tExportarPdfClick();
    // Every analysis chosen and traced, the other analyses' table in front.
    window.setAnalyses(window.catalogue().titles());
    const LandmarkSet full = faceLandmarks(k, true);
    for (const auto& [l, p] : kFurther)
        window.setLandmark(l, full.at(l));
    window.findChild<QTabWidget*>(QStringLiteral("medidasAbas"))->setCurrentIndex(1);
    c->fit();
    QApplication::processEvents();
    window.grab().save(folder + QStringLiteral("/tracing-analyses.png"));
    window.resize(1024, 708);
    QApplication::processEvents();
    window.grab().save(folder + QStringLiteral("/tracing-analyses-1024.png"));

    // The analyses menu open, the table of Padrão USP alone, and the report of every analysis.
    auto* menu = window.findChild<QMenu*>(QStringLiteral("analises"));
    menu->popup(window.mapToGlobal(QPoint(40, 40)));
    QApplication::processEvents();
    menu->grab().save(folder + QStringLiteral("/tracing-analyses-menu.png"));
    menu->hide();
    window.setAnalyses({QStringLiteral("Padrão USP")});
    QApplication::processEvents();
    window.grab().save(folder + QStringLiteral("/tracing-padrao-usp.png"));
    window.setAnalyses(window.catalogue().titles());
    ReportParamList params;
    int lastPage = 1;
    QObject::connect(&window, &TracingWindow::printRequested, &window, [&](const ReportParamList& p, int last) {
        params = p;
        lastPage = last;
    });
    window.tImprimirClick();
    QFile::copy(QStringLiteral(QUORVEL_DATA_DIR "/Análises.rav"), folder + QStringLiteral("/Análises.rav"));
    ReportEngine engine(boxes, std::make_unique<report::MemoryOutput>());
    const platform::PageContext page(boxes, [] { return QStringLiteral("Traçado Cefalométrico"); });
    PrintCephalometric(engine, page, params, lastPage);
    NormsDialog norms(boxes, CephNorms::defaults(window.catalogue()));
    norms.findChild<QListWidget*>(QStringLiteral("normasAnalises"))->setCurrentRow(8);  // Padrão USP
    norms.show();
    QApplication::processEvents();
    norms.grab().save(folder + QStringLiteral("/normas.png"));
    QFile pdf(folder + QStringLiteral("/relatorio-cefalometrico.pdf"));
    if (pdf.open(QIODevice::WriteOnly))
        pdf.write(static_cast<report::MemoryOutput&>(engine.output()).pdf);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    return qv::bench::RunWidgetBenchmarks(argc, argv, {"--screenshots", true, screenshots});
}
