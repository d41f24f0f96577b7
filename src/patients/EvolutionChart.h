#pragma once
// The chart of an evolution: one small panel per measurement (FMA, FMIA, IMPA, ANB, Z), its
// values across the stages as a line over its norm band, shaded. Separate panels keep a change
// of a few degrees visible, which one shared scale from ANB to IMPA would flatten. The panels
// come from the charts module (EvolutionCharts.h), opened with the first chart.

#include "patients/Evolution.h"

#include <QByteArray>
#include <QWidget>

namespace qv {

class EvolutionCharts;

class EvolutionChart : public QWidget {
    Q_OBJECT
public:
    // Panels in a grid of this many columns (the legend takes the cell after the last panel
    // in three columns, a row of its own otherwise).
    explicit EvolutionChart(int columns, QWidget* parent = nullptr);
    void setEvolution(const Evolution& evolution);

    // The chart drawn at a fixed size for printing, as PNG bytes; empty without the module.
    static QByteArray RenderPng(const Evolution& evolution, const QSize& size = {1020, 620});

private:
    const EvolutionCharts* m_charts = nullptr;
    QWidget* m_grid = nullptr;  // the module's panels, or a note saying why there are none
};

}  // namespace qv
