#pragma once
// The chart of an evolution: one small panel per measurement (FMA, FMIA, IMPA, ANB, Z), its
// values across the stages as a line over its norm band, shaded. Separate panels keep a change
// of a few degrees visible, which one shared scale from ANB to IMPA would flatten.

#include "patients/Evolution.h"

#include <QByteArray>
#include <QWidget>

namespace qv {

class EvolutionChart : public QWidget {
    Q_OBJECT
public:
    explicit EvolutionChart(QWidget* parent = nullptr);
    void setEvolution(const Evolution& evolution);

    // The chart drawn at a fixed size for printing, as PNG bytes.
    static QByteArray RenderPng(const Evolution& evolution, const QSize& size = {1500, 860});

private:
    QList<QWidget*> m_views;
};

}  // namespace qv
