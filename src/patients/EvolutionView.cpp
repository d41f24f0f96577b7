#include "patients/EvolutionView.h"

#include "patients/EvolutionChart.h"
#include "patients/EvolutionReport.h"
#include "platform/Dialogs.h"
#include "platform/PageContext.h"
#include "printing/PrintActions.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"
#include "records/FileIo.h"
#include "records/IoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
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
    // The program runs from 1024 x 768 up: table above, the chart's row of panels below.
    QSize size(1010, 740);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(10, 40));
    resize(size);

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
    m_table->setWordWrap(true);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    m_chart = new EvolutionChart(5, this);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_table);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);

    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("evobs"));
    m_notes->setWordWrap(true);
    m_notes->setStyleSheet(QStringLiteral("color: #b00000"));

    m_imprimir = new QPushButton(QStringLiteral("IMPRIMIR"), this);
    m_imprimir->setObjectName(QStringLiteral("evimprimir"));
    m_pdf = new QPushButton(QStringLiteral("SALVAR PDF"), this);
    m_pdf->setObjectName(QStringLiteral("evpdf"));
    m_fechar = new QPushButton(QStringLiteral("FECHAR"), this);
    m_fechar->setObjectName(QStringLiteral("evfechar"));
    connect(m_imprimir, &QPushButton::clicked, this, &EvolutionView::imprimirClick);
    connect(m_pdf, &QPushButton::clicked, this, &EvolutionView::salvarPdfClick);
    connect(m_fechar, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_notes, 1);
    buttons->addWidget(m_imprimir);
    buttons->addWidget(m_pdf);
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
    // Numbers need little room; the long texts of Horn's index wrap onto two lines.
    const QFontMetrics metrics(m_table->font());
    m_table->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("Área posterior: espaço requerido")) + 16);
    for (int c = 1; c < columns - 1; ++c)
        m_table->setColumnWidth(c, metrics.horizontalAdvance(QStringLiteral("Tratamento Ortodôntico")) / 2 + 40);
    m_table->setColumnWidth(columns - 1, metrics.horizontalAdvance(QStringLiteral("Inicial → Final")) + 16);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int r = 0; r < ev.rows.size(); ++r)
        if (ev.rows[r].kind == EvolutionRow::Horn)
            m_table->setRowHeight(r, 2 * QFontMetrics(m_table->font()).lineSpacing() + 8);
    m_table->setCurrentIndex({});
    m_table->clearSelection();

    m_chart->setEvolution(ev);

    QStringList notes;
    for (int c = 0; c < ev.notes.size(); ++c)
        if (!ev.notes[c].isEmpty())
            notes << QStringLiteral("%1: %2").arg(ev.headers[c], ev.notes[c]);
    m_notes->setText(notes.join(QStringLiteral("   ")));
}

void EvolutionView::imprimirClick()
{
    const EvolutionReportPlan plan = BuildEvolutionReport(m_evolution, EvolutionChart::RenderPng(m_evolution));
    emit printRequested(plan.params, plan.lastPage);
}

void EvolutionView::salvarPdfClick()
{
    if (!m_dialogs)
        return;
    QString path = m_dialogs->SaveFile(
        {QStringLiteral("Salvar a evolução em PDF"), EvolutionPdfName(m_evolution.patient), QStringLiteral("Arquivo PDF|*.pdf")});
    if (path.isEmpty())
        return;
    path = WithPdfSuffix(path);
    const EvolutionReportPlan plan = BuildEvolutionReport(m_evolution, EvolutionChart::RenderPng(m_evolution));
    auto memory = std::make_unique<report::MemoryOutput>();
    const report::MemoryOutput& pdf = *memory;
    ReportEngine engine(*m_dialogs, std::move(memory));
    const platform::PageContext page{*m_dialogs, [] { return QStringLiteral("Evolução do tratamento"); }};
    // The engine and the print action have said why when nothing was made.
    if (PrintEvolution(engine, page, plan.params, plan.lastPage) != PrintOutcome::Ran || pdf.pdf.isEmpty())
        return;
    try {
        SavePrivateFile(path, pdf.pdf);
    } catch (const IoError& e) {
        m_dialogs->ShowFailure(e.message());
    }
}

}  // namespace qv
