#pragma once
// The drawing of superimposed stages: each stage's lines and soft-tissue profile in its own
// colour, moved onto the base stage's millimetres, over its faded radiograph when asked, with a
// legend. The same drawing serves the window, the PNG and the PDF.

#include "analysis/Superimposition.h"

#include <QColor>
#include <QImage>
#include <QPageLayout>
#include <QStringList>
#include <QTransform>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace qv {

struct SuperimposedStage {
    QString stage;           // "INICIAL", "INTER1", "INTER2" or "FINAL"
    QColor colour;
    LandmarkSet points;      // in the base stage's millimetres
    QImage picture;          // the radiograph as shown, null when not drawn
    QTransform pictureToMm;  // its pixels onto the base stage's millimetres
};

// The stages a patient may have, in treatment order.
inline constexpr const char* kStageNames[] = {"INICIAL", "INTER1", "INTER2", "FINAL"};
// "Inicial", "Intermediária 1", ...; the stage itself when unknown.
QString StageTitle(const QString& stage);
// One colour per stage, the same wherever it is drawn.
QColor StageColour(const QString& stage);

// A stage's points moved by its motion (pixels through its spacing, then the rigid motion).
SuperimposedStage MoveStage(const StageTracing& t, const Rigid& motion);

// The pairs of landmarks joined by a line, then the soft-tissue profile drawn through its placed
// points in order.
const std::vector<std::pair<Landmark, Landmark>>& SuperimpositionLines();
const std::vector<Landmark>& ProfileLandmarks();

// Millimetres onto `area`: every placed point of every stage inside it with a margin, one scale
// on both axes. Identity when no point is placed.
QTransform FitTransform(const std::vector<SuperimposedStage>& stages, const QRectF& area);

// Paints the stages (white background) into `area`; `scale` thickens pens and lettering.
void DrawSuperimposition(QPainter& p, const QRectF& area, const std::vector<SuperimposedStage>& stages,
                         double scale = 1);

class SuperimpositionView : public QWidget {
    Q_OBJECT
public:
    explicit SuperimpositionView(QWidget* parent = nullptr);
    void setStages(std::vector<SuperimposedStage> stages);
    const std::vector<SuperimposedStage>& stages() const { return m_stages; }
    QSize sizeHint() const override { return {520, 480}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<SuperimposedStage> m_stages;
};

// The exports: written whole (FileIo) or not at all; failures throw IoError.
struct SuperimpositionSheet {
    QString title;                        // patient, registration, base
    QString note;                         // what the table's axes are
    QStringList header;                   // the table's column captions
    std::vector<QStringList> rows;        // the displacement table as shown
};
QImage RenderSuperimposition(const std::vector<SuperimposedStage>& stages, QSize size, const QString& title);
void ExportSuperimpositionPng(const QString& path, const std::vector<SuperimposedStage>& stages,
                              const QString& title);
void ExportSuperimpositionPdf(const QString& path, const std::vector<SuperimposedStage>& stages,
                              const SuperimpositionSheet& sheet);

// The printed pages (A4 landscape): the title, the drawing and the table beside it, the table
// going on over further pages. `pageHeight` in 1/96 inch.
QPageLayout SuperimpositionPageLayout();
// The table's rows [first, last) on each page.
std::vector<std::pair<int, int>> SuperimpositionPages(const SuperimpositionSheet& sheet, double pageHeight);
// Paints pages from..to (from 1) on the device; the pages painted, -1 when it cannot start.
// `progress` is told each page before it is painted and stops the run by answering false.
int PaintSuperimpositionPages(QPagedPaintDevice& device, const std::vector<SuperimposedStage>& stages,
                              const SuperimpositionSheet& sheet, int from, int to,
                              const std::function<bool(int)>& progress = {});

}  // namespace qv
