#pragma once
// The evolution's charts, a module of their own (EvolutionChartModule.cpp, the plugin
// "quorvel-charts") so that Qt Charts and OpenGL are loaded when a chart is first drawn, not at
// the program's start.

#include "patients/Evolution.h"

#include <QByteArray>
#include <QSize>
#include <QtPlugin>

class QWidget;

namespace qv {

class EvolutionCharts {
public:
    virtual ~EvolutionCharts() = default;
    // An empty grid of panels, `columns` wide, as a child of `parent`.
    virtual QWidget* create(int columns, QWidget* parent) const = 0;
    // Puts the evolution's measurements in a grid made by create().
    virtual void show(QWidget* grid, const Evolution& evolution) const = 0;
    // The panels drawn at a fixed size for printing, as PNG bytes.
    virtual QByteArray renderPng(const Evolution& evolution, const QSize& size) const = 0;
};

}  // namespace qv

#define QV_EVOLUTION_CHARTS_IID "br.com.quorvel.EvolutionCharts/1"
Q_DECLARE_INTERFACE(qv::EvolutionCharts, QV_EVOLUTION_CHARTS_IID)
