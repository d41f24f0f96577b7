#include "tracing/ProposalAccuracyWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace qv {

QString AccuracyMm(double mm) { return QStringLiteral("%1 mm").arg(mm, 0, 'f', 1); }
QString AccuracyShare(double share) { return QStringLiteral("%1 %").arg(std::lround(share * 100)); }

ProposalAccuracyWindow::ProposalAccuracyWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrecisaoPropostas"));
    setWindowTitle(QStringLiteral("Precisão das propostas"));
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("precisaoResumo"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    m_table = new QTableWidget(0, 5);
    m_table->setObjectName(QStringLiteral("precisaoTabela"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Ponto"), QStringLiteral("Erro médio"), QStringLiteral("Até 2 mm"),
                                        QStringLiteral("Até 4 mm"), QStringLiteral("Traçados")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(m_table, 1);
    auto* close = new QPushButton(QStringLiteral("Fechar"));
    close->setObjectName(QStringLiteral("precisaoFechar"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(560, 600);
}

void ProposalAccuracyWindow::show(const ProposalAccuracy& accuracy, const QDateTime& learnedAt)
{
    const QString when = QLocale(QLocale::Portuguese, QLocale::Brazil).toString(learnedAt.toLocalTime(), QStringLiteral("dd/MM/yyyy HH:mm"));
    if (accuracy.folds > 0)
        m_summary->setText(QStringLiteral("Distância entre o ponto proposto e o ponto marcado por você nos traçados do "
                                          "consultório que o programa não usou para aprender: cada um dos %1 traçados "
                                          "ficou de fora uma vez, em %2 partes. Aprendido em %3.")
                               .arg(accuracy.tracings)
                               .arg(accuracy.folds)
                               .arg(when));
    else
        m_summary->setText(QStringLiteral("A precisão não foi medida. Aprendido em %1 com %2 traçados.").arg(when).arg(accuracy.tracings));
    m_table->setRowCount(int(accuracy.landmarks.size()));
    int row = 0;
    for (const LandmarkAccuracy& a : accuracy.landmarks) {
        const QString name = QString::fromUtf8(Info(a.landmark).name);
        const QString cells[] = {name, a.tracings ? AccuracyMm(a.meanErrorMm) : QStringLiteral("—"),
                                 a.tracings ? AccuracyShare(a.within2mm) : QStringLiteral("—"),
                                 a.tracings ? AccuracyShare(a.within4mm) : QStringLiteral("—"), QString::number(a.tracings)};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, c, item);
        }
        ++row;
    }
    m_table->setCurrentItem(nullptr);
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    QDialog::show();
    raise();
    activateWindow();
}

}  // namespace qv
