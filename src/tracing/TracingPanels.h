#pragma once
// The column beside the radiograph: the points of the chosen analyses (a click picks one to place
// again), the measurements as they come, and the calibration; and the point awaited with its
// hint, shown above the radiograph.

#include "tracing/CephTable.h"
#include "analysis/TracingGeometry.h"
#include "analysis/TracingValues.h"

#include <array>
#include <functional>
#include <optional>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace qv {

// The objectName of a point's button: "ponto" and its code without the prime ("pontoPog" is the
// soft-tissue Pog'); the bony Pog, which would take the same name, is "pontoPogOsseo".
QString PointButtonName(Landmark l);

class TracingPanels {
public:
    // pick runs when the clinician clicks one of the point buttons.
    QWidget* build(std::function<void(Landmark)> pick, std::function<void(const QString&)> warn);
    // The point awaited and its hint, as tall as the longest of them needs when `narrowest`
    // pixels wide, so what lies below never moves.
    QGroupBox* buildAwaited(int narrowest);

    void showAwaited(std::optional<Landmark> awaited, bool rulerMode, bool proposalsPending = false);
    void showLandmarks(const LandmarkSet& points, std::optional<Landmark> awaited, const LandmarkFlags& proposed = {});
    // `proposed`: the points still only proposed; a value resting on one of them is marked.
    void showMeasurements(const Measurements& m, const TracingValues& v, const LandmarkSet& points,
                          const LandmarkFlags& proposed = {});
    void showCalibration(const Calibration& c, const QString& source);
    // The point buttons of `order` only, in that order; the Tweed measurements while Tweed is
    // chosen, the other analyses' table while one of them is.
    // `tweed`: the Tweed-Merrifield analysis is chosen (its own table); `others`: the other chosen
    // analyses, as indices of the catalogue.
    void showAnalyses(bool tweed, std::shared_ptr<const AnalysisCatalogue> catalogue, const std::vector<int>& others,
                      const std::vector<Landmark>& order);
    void showCephalometrics(const CephValues& values, const CephNorms& norms, const LandmarkSet& points,
                            const LandmarkFlags& proposed = {});

    QPushButton* ruler = nullptr;      // tRegua: the next two clicks mark the ruler
    QPushButton* calibrate = nullptr;  // tCalibrar
    QLineEdit* rulerMm = nullptr;      // calmm: millimetres between the ruler marks
    QLineEdit* mmPerPixel = nullptr;   // calmmpx
    QTableWidget* table = nullptr;     // medidas
    CephTable ceph;                    // cefalometria

private:
    QGroupBox* buildLandmarks(std::function<void(Landmark)> pick);
    QGroupBox* buildMeasurements();
    QGroupBox* buildCalibration(std::function<void(const QString&)> warn);

    QLabel* m_awaitedName = nullptr;
    QLabel* m_awaitedHint = nullptr;
    std::array<QToolButton*, kLandmarkCount> m_points{};
    QGridLayout* m_grid = nullptr;
    QVBoxLayout* m_column = nullptr;
    QGroupBox* m_measurements = nullptr;
    QTabWidget* m_tabs = nullptr;
    QWidget* m_tweedPage = nullptr;
    bool m_cephShown = false;
    bool m_tweedShown = true;
    QLabel* m_calibration = nullptr;
    QLabel* m_notice = nullptr;
};

}  // namespace qv
