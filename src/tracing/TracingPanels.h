#pragma once
// The column beside the radiograph: the twenty points (a click picks one to place again), the
// measurements as they come, and the calibration; and the point awaited with its hint, shown
// above the radiograph.

#include "tracing/TracingGeometry.h"
#include "tracing/TracingValues.h"

#include <array>
#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolButton;
class QWidget;

namespace qv {

class TracingPanels {
public:
    // pick runs when the clinician clicks one of the twenty point buttons.
    QWidget* build(std::function<void(Landmark)> pick, std::function<void(const QString&)> warn);
    // The point awaited and its hint, as tall as the longest of them needs when `narrowest`
    // pixels wide, so what lies below never moves.
    QGroupBox* buildAwaited(int narrowest);

    void showAwaited(std::optional<Landmark> awaited, bool rulerMode);
    void showLandmarks(const LandmarkSet& points, std::optional<Landmark> awaited);
    void showMeasurements(const Measurements& m, const TracingValues& v, const LandmarkSet& points);
    void showCalibration(const Calibration& c, const QString& source);

    QPushButton* ruler = nullptr;      // tRegua: the next two clicks mark the ruler
    QPushButton* calibrate = nullptr;  // tCalibrar
    QLineEdit* rulerMm = nullptr;      // calmm: millimetres between the ruler marks
    QLineEdit* mmPerPixel = nullptr;   // calmmpx
    QTableWidget* table = nullptr;     // medidas

private:
    QGroupBox* buildLandmarks(std::function<void(Landmark)> pick);
    QGroupBox* buildMeasurements();
    QGroupBox* buildCalibration(std::function<void(const QString&)> warn);

    QLabel* m_awaitedName = nullptr;
    QLabel* m_awaitedHint = nullptr;
    std::array<QToolButton*, kTweedLandmarkCount> m_points{};
    QLabel* m_calibration = nullptr;
    QLabel* m_notice = nullptr;
};

}  // namespace qv
