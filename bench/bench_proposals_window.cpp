// The tracing window's landmark proposals with fifty synthetic 3000 x 2500 tracings saved: how
// long "Propor pontos" takes on a radiograph that size, how long the learning in the background
// takes, and how long each frame of the window takes meanwhile while a point is dragged (the
// paint of the canvas and the events between frames). It prints its figures; nothing is asserted.
//   bench_proposals_window [--tracings N] [--screenshots <folder>]

#include "support/SyntheticFiles.h"
#include "tracing/TracingCanvas.h"
#include "tracing/TracingWindow.h"

#include "platform/Dialogs.h"
#include "records/FileIo.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace qv;

namespace {

// Boxes answered at once: Yes to every question, and printed.
class QuietDialogs : public platform::Dialogs {
protected:
    void showMessage(platform::NoticeKind, const QString& text, const QString&) override
    {
        std::printf("  (box) %s\n", qPrintable(text));
    }
    platform::Answer askYesNo(const QString&, const QString&) override { return platform::Answer::Yes; }
    QString chooseFile(const platform::OpenFileRequest&) override { return {}; }
};

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

void Mouse(TracingCanvas* c, QEvent::Type type, QPointF image, Qt::MouseButtons buttons)
{
    const QPointF at = c->toWidget(image);
    QMouseEvent e(type, at, c->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(c, &e);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    int count = 50;
    QString shots;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QStringLiteral("--tracings"))
            count = args[i + 1].toInt();
        if (args[i] == QStringLiteral("--screenshots"))
            shots = QDir(args[i + 1]).absolutePath();
    }
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    QElapsedTimer clock;
    clock.start();
    for (int seed = 1; seed <= count; ++seed)
        if (!test::WriteSyntheticTracing(work.path(), QStringLiteral("P%1").arg(seed), QStringLiteral("INICIAL"), std::uint32_t(seed)))
            return 1;
    const auto patient = test::WriteSyntheticTracing(work.path() + QStringLiteral("/novo"), QStringLiteral("NOVO"),
                                                     QStringLiteral("INICIAL"), 4242);
    std::printf("%d synthetic tracings of 3000 x 2500 pixels written in %.1f s\n", count, double(clock.elapsed()) / 1000);

    QuietDialogs dialogs;
    TracingWindow window(dialogs);
    window.resize(1024, 768 - 60);
    window.show();
    if (!window.openImage(patient->imageFile))
        return 1;
    window.setCalibration({0.1, 0.1}, QStringLiteral("Calibração informada"));
    QApplication::processEvents();
    TracingCanvas* canvas = window.canvas();
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        window.learning().learn();
        QTimer::singleShot(1500, [&] { window.grab().save(shots + QStringLiteral("/proposals-learning.png")); });
    }

    // The learning, and the frames of a drag meanwhile: one move and one paint every 16 ms.
    std::vector<double> frames, gaps;
    bool learned = false;
    QObject::connect(&window.learning(), &LandmarkLearning::finished, [&](bool ok, const QString& text) {
        learned = ok;
        std::printf("  %s\n", qPrintable(text));
        QApplication::quit();
    });
    const QPointF from(1500, 1200);
    window.placeLandmark(Landmark::S, from);
    QElapsedTimer frame, since;
    int step = 0;
    QTimer pulse;
    pulse.setInterval(16);
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        if (since.isValid())
            gaps.push_back(double(since.nsecsElapsed()) / 1e6);
        frame.start();
        const QPointF at = from + QPointF(40 * std::sin(step * 0.2), 40 * std::cos(step * 0.2));
        Mouse(canvas, step == 0 ? QEvent::MouseButtonPress : QEvent::MouseMove, step == 0 ? from : at, Qt::LeftButton);
        canvas->repaint();
        frames.push_back(double(frame.nsecsElapsed()) / 1e6);
        ++step;
        since.start();
    });
    clock.restart();
    if (!window.learning().learning())
        window.learning().learn();
    pulse.start();
    app.exec();
    pulse.stop();
    Mouse(canvas, QEvent::MouseButtonRelease, from, Qt::NoButton);
    std::printf("learning from %d tracings in the background: %.1f s%s\n", count, double(clock.elapsed()) / 1000,
                learned ? "" : " (nothing learned)");
    std::printf("frames meanwhile: %zu; paint and drag median %.2f ms, 99th percentile %.2f ms, longest %.2f ms\n",
                frames.size(), Percentile(frames, 0.5), Percentile(frames, 0.99), Percentile(frames, 1.0));
    const auto longest = std::max_element(gaps.begin(), gaps.end());
    std::printf("time between frames (16 ms asked): median %.1f ms, 99th percentile %.1f ms, longest %.1f ms (after frame %d)\n",
                Percentile(gaps, 0.5), Percentile(gaps, 0.99), Percentile(gaps, 1.0), int(longest - gaps.begin()));
    if (!learned)
        return 1;
    // The one step of the learning on the window's thread: the model written through the safe write.
    const QByteArray model = ReadFileBytes(LandmarkLearning::modelFile());
    clock.restart();
    ReplaceFileBytes(LandmarkLearning::modelFile(), model);
    std::printf("model file: %lld bytes, written by the window's thread in %.1f ms\n", (long long)model.size(),
                double(clock.nsecsElapsed()) / 1e6);

    while (window.undoStack().canUndo())  // the point dragged goes
        window.undoStack().undo();
    // "Propor pontos" on the 3000 x 2500 radiograph, each time taken back.
    std::vector<double> proposing;
    for (int i = 0; i < 5; ++i) {
        clock.restart();
        window.tProporClick();
        proposing.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (i < 4)
            window.undoStack().undo();
    }
    std::printf("Propor pontos on a 3000 x 2500 radiograph (%zu points): median %.0f ms (%.0f to %.0f)\n",
                window.model().proposedPoints().count(), Percentile(proposing, 0.5), Percentile(proposing, 0),
                Percentile(proposing, 1));
    double sum = 0;
    int n = 0;
    for (Landmark l : window.placingOrder())
        if (window.model().origin(l) == PointOrigin::Proposed) {
            const QPointF d = window.landmarks().at(l) - patient->document.landmarks.at(l);
            sum += std::hypot(d.x(), d.y()) * 0.1;
            ++n;
        }
    std::printf("on this radiograph the proposals lie %.2f mm from the drawn landmarks on average\n", n ? sum / n : 0.0);
    if (!shots.isEmpty()) {
        QApplication::processEvents();
        window.grab().save(shots + QStringLiteral("/proposals-proposed.png"));
        canvas->setView(0.6, -(window.landmarks().at(Landmark::A) * 0.6 - QPointF(250, 250)));
        QApplication::processEvents();
        window.grab().save(shots + QStringLiteral("/proposals-zoom.png"));
        window.tPrecisaoClick();
        QApplication::processEvents();
        if (auto* accuracy = window.findChild<QWidget*>(QStringLiteral("PrecisaoPropostas")))
            accuracy->grab().save(shots + QStringLiteral("/proposals-accuracy.png"));
        window.tConfirmarTodosClick();
        QApplication::processEvents();
        window.grab().save(shots + QStringLiteral("/proposals-confirmed.png"));
        std::printf("screenshots in %s\n", qPrintable(shots));
    }
    return 0;
}
