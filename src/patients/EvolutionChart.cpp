#include "patients/EvolutionChart.h"

#include "patients/EvolutionCharts.h"
#include "platform/Modules.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qv {

namespace {

const EvolutionCharts* chartsModule(QString* why = nullptr)
{
    return platform::ModuleOf<EvolutionCharts>(QStringLiteral("quorvel-charts"), why);
}

}  // namespace

EvolutionChart::EvolutionChart(int columns, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("grafico"));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    QString why;
    m_charts = chartsModule(&why);
    if (m_charts) {
        m_grid = m_charts->create(columns, this);
    } else {
        auto* note = new QLabel(QStringLiteral("O gráfico não pode ser mostrado: %1.").arg(why), this);
        note->setObjectName(QStringLiteral("graficoIndisponivel"));
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignCenter);
        m_grid = note;
    }
    box->addWidget(m_grid);
}

void EvolutionChart::setEvolution(const Evolution& evolution)
{
    if (m_charts)
        m_charts->show(m_grid, evolution);
}

QByteArray EvolutionChart::RenderPng(const Evolution& evolution, const QSize& size)
{
    const EvolutionCharts* charts = chartsModule();
    return charts ? charts->renderPng(evolution, size) : QByteArray();
}

}  // namespace qv
