#include "patients/EvolutionView.h"

#include "patients/EvolutionChart.h"
#include "patients/EvolutionReport.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace qv {

namespace {

const QColor kResultText(0x1f, 0x4e, 0x79);
const QColor kSectionBack(0xe8, 0xee, 0xf5);
const QColor kBetter(0, 128, 0);
const QColor kWorse(200, 0, 0);

}  // namespace

Evolution ReadEvolution(const QString& folder, const QString& patient, const std::array<QString, 4>& stageFiles)
{
    QList<EvolutionStage> stages;
    const QDir dir(folder);
    for (int s = 0; s < 4; ++s) {
        if (stageFiles[size_t(s)].isEmpty())
            continue;
        QFile file(dir.filePath(stageFiles[size_t(s)]));
        EvolutionStage stage{s, {}};
        if (file.open(QIODevice::ReadOnly))
            stage.results = CalculateStage(file.read(200));
        stages << stage;
    }
    return BuildEvolution(patient, stages);
}

EvolutionView::EvolutionView(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormEvolucao"));
    setWindowModality(Qt::WindowModal);
    resize(1240, 760);

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("evpaciente"));
    QFont big = m_title->font();
    big.setPointSizeF(big.pointSizeF() * 1.35);
    big.setBold(true);
    m_title->setFont(big);

    m_model = new QStandardItemModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("evtabela"));
    m_table->setModel(m_model);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(false);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    m_chart = new EvolutionChart(this);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_table);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);

    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("evobs"));
    m_notes->setWordWrap(true);
    m_notes->setStyleSheet(QStringLiteral("color: #b00000"));

    m_imprimir = new QPushButton(QStringLiteral("IMPRIMIR"), this);
    m_imprimir->setObjectName(QStringLiteral("evimprimir"));
    m_fechar = new QPushButton(QStringLiteral("FECHAR"), this);
    m_fechar->setObjectName(QStringLiteral("evfechar"));
    connect(m_imprimir, &QPushButton::clicked, this, &EvolutionView::imprimirClick);
    connect(m_fechar, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_notes, 1);
    buttons->addWidget(m_imprimir);
    buttons->addWidget(m_fechar);
    auto* box = new QVBoxLayout(this);
    box->addWidget(m_title);
    box->addWidget(split, 1);
    box->addLayout(buttons);
}

void EvolutionView::showPatient(const QString& folder, const QString& patient, const std::array<QString, 4>& files)
{
    setEvolution(ReadEvolution(folder, patient, files));
}

void EvolutionView::setEvolution(const Evolution& ev)
{
    m_evolution = ev;
    setWindowTitle(QStringLiteral("Evolução do tratamento - %1").arg(ev.patient));
    m_title->setText(QStringLiteral("Evolução do tratamento: %1").arg(ev.patient));

    m_model->clear();
    m_table->clearSpans();
    QStringList headers{QStringLiteral("Medida")};
    headers += ev.headers;
    headers << ev.changeHeader();
    m_model->setHorizontalHeaderLabels(headers);
    const int columns = int(headers.size());
    for (int r = 0; r < ev.rows.size(); ++r) {
        const EvolutionRow& row = ev.rows[r];
        QList<QStandardItem*> items;
        auto* label = new QStandardItem(row.label);
        items << label;
        if (row.kind == EvolutionRow::Section) {
            QFont f = m_table->font();
            f.setBold(true);
            label->setFont(f);
            label->setBackground(kSectionBack);
            for (int c = 1; c < columns; ++c) {
                auto* filler = new QStandardItem;
                filler->setBackground(kSectionBack);
                items << filler;
            }
            m_model->appendRow(items);
            m_table->setSpan(r, 0, 1, columns);
            continue;
        }
        for (const QString& cell : row.cells) {
            auto* item = new QStandardItem(cell);
            const bool text = row.kind == EvolutionRow::Horn || row.kind == EvolutionRow::Grade;
            item->setTextAlignment(text ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
            if (row.result) {
                item->setForeground(kResultText);
                QFont f = m_table->font();
                f.setBold(true);
                item->setFont(f);
            }
            items << item;
        }
        auto* change = new QStandardItem(row.change);
        change->setTextAlignment(Qt::AlignCenter);
        if (row.change == QLatin1String("melhorou"))
            change->setForeground(kBetter);
        else if (row.change == QLatin1String("piorou"))
            change->setForeground(kWorse);
        items << change;
        m_model->appendRow(items);
    }
    m_table->resizeColumnsToContents();
    int width = 4;
    for (int c = 0; c < columns; ++c)
        width += m_table->columnWidth(c);
    m_table->setMinimumWidth(width + m_table->verticalScrollBar()->sizeHint().width());

    m_chart->setEvolution(ev);

    QStringList notes;
    for (int c = 0; c < ev.notes.size(); ++c)
        if (!ev.notes[c].isEmpty())
            notes << QStringLiteral("%1: %2").arg(ev.headers[c], ev.notes[c]);
    m_notes->setText(notes.join(QStringLiteral("   ")));
}

void EvolutionView::imprimirClick()
{
    if (!m_print)
        return;
    const EvolutionReportPlan plan = BuildEvolutionReport(m_evolution, EvolutionChart::RenderPng(m_evolution));
    m_print(plan.params, plan.lastPage);
}

}  // namespace qv
