// Fuzzes the tracing file (".tra"): whatever its bytes, decoding refuses them with a reason or
// gives a tracing that encodes and decodes to itself; and opening it without its radiograph
// either refuses its points or lays them on a blank canvas within the limit, drawn without fault.
// Links the radiograph's pixels and the overlay's drawing, with Qt Core and Gui.

#include "FuzzCheck.h"
#include "tracing/Radiograph.h"
#include "analysis/TracingFile.h"
#include "tracing/TracingOverlay.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstddef>
#include <cstdint>

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_tracing_file";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;

    const DecodedTracing decoded = DecodeTracing(fuzz::Bytes(data, size));
    if (!decoded.document) {
        fuzz::Check(!decoded.error.isEmpty(), "a refused tracing says why");
        return 0;
    }
    const TracingDocument& doc = *decoded.document;
    const DecodedTracing again = DecodeTracing(EncodeTracing(doc));
    fuzz::Check(again.document && *again.document == doc, "decode -> encode -> decode keeps the tracing");

    // The radiograph is missing: the points must fit the largest blank canvas.
    if (LandmarkOutside(doc.landmarks, BlankCanvasArea()))
        return 0;
    const QSize canvas = BlankCanvasSize(doc.landmarks);
    fuzz::Check(canvas.width() >= 1000 && canvas.width() <= kBlankCanvasLimit && canvas.height() >= 800
                    && canvas.height() <= kBlankCanvasLimit,
                "the blank canvas stays within its limit");
    for (int i = 0; i < kLandmarkCount; ++i)
        if (doc.landmarks.has(LandmarkAt(i)))
            fuzz::Check(doc.landmarks.at(LandmarkAt(i)).x() <= canvas.width() + 1
                            && doc.landmarks.at(LandmarkAt(i)).y() <= canvas.height() + 1,
                        "the blank canvas holds every point");
    // Larger canvases differ only in size; the run stays fast on the common ones.
    if (qint64(canvas.width()) * canvas.height() > 2'000'000)
        return 0;
    const Radiograph blank = BlankRadiograph(doc.landmarks);
    QImage picture = RenderRadiograph(blank, DefaultLevels(blank));
    fuzz::Check(picture.size() == canvas, "the blank canvas is drawn whole");
    QPainter painter(&picture);
    OverlayStyle style;
    style.bounds = QRectF(picture.rect());
    DrawTracing(painter, QTransform(), doc.landmarks, doc.calibration, style);
    // And as the window shows it, zoomed into a corner.
    style.bounds = QRectF(0, 0, 300, 200);
    DrawTracing(painter, QTransform(4, 0, 0, 4, -100, -50), doc.landmarks, doc.calibration, style);
    return 0;
}
