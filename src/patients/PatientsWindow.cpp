#include "patients/PatientsWindow.h"

#include "patients/EvolutionView.h"
#include "platform/Dialogs.h"
#include "platform/SecondaryWindow.h"
#include "records/PatientName.h"
#include "tracing/CephCsvExport.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {

namespace {
constexpr int kDefaultRescanMs = 5000;
constexpr int kNoticeDelayMs = 150;

const QString kHint = QStringLiteral(
    "Duplo clique ou Enter: num ✔, abre esse arquivo na sua página; no nome, mostra a evolução "
    "das análises de Tweed do paciente.");
}  // namespace

QSize PatientsWindow::PreferredSize(const QScreen* screen)
{
    // Room for a long name beside every column; never wider or taller than the screen leaves
    // once the window's frame and title are drawn (1024 x 768 and up).
    QSize size(980, 620);
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size() - QSize(24, 48));
    return size;
}

PatientsWindow::PatientsWindow(QWidget* parent) : PatientsWindow(AnalysesFolder(), parent) {}

PatientsWindow::PatientsWindow(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_scanner(folder), m_model(new PatientTableModel(this)),
      m_filter(new PatientFilter(this)), m_watcher(new QFileSystemWatcher(this)), m_soon(new QTimer(this)),
      m_periodic(new QTimer(this))
{
    setObjectName(QStringLiteral("FormPacientes"));
    setWindowTitle(QStringLiteral("Pacientes"));
    m_filter->setSourceTable(m_model);
    m_filter->setSortCaseSensitivity(Qt::CaseInsensitive);
    build();

    m_soon->setSingleShot(true);
    m_soon->setInterval(kNoticeDelayMs);
    connect(m_soon, &QTimer::timeout, this, &PatientsWindow::rescan);
    m_periodic->setInterval(kDefaultRescanMs);
    connect(m_periodic, &QTimer::timeout, this, &PatientsWindow::rescan);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_soon, qOverload<>(&QTimer::start));
}

void PatientsWindow::build()
{
    auto* searchLabel = new QLabel(QStringLiteral("&Pesquisar:"), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("pcpesquisa"));
    m_search->setPlaceholderText(QStringLiteral("parte do nome (maiúsculas e acentos não importam)"));
    m_search->setClearButtonEnabled(true);
    searchLabel->setBuddy(m_search);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("pcquantidade"));

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("pclista"));
    m_table->setModel(m_filter);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(PatientTableModel::Name, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->setAccessibleName(QStringLiteral("Pacientes"));
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(PatientTableModel::Name, QHeaderView::Stretch);
    header->setMinimumSectionSize(50);
    // The marks need only their header's width, so the names keep the room a 1024-pixel screen leaves.
    const int mark = m_table->fontMetrics().horizontalAdvance(QStringLiteral("Inter 2")) + 14;
    for (int c = PatientTableModel::Inicial; c <= PatientTableModel::Traced; ++c)
        m_table->setColumnWidth(c, mark);
    m_table->setColumnWidth(PatientTableModel::History,
                            m_table->fontMetrics().horizontalAdvance(QStringLiteral("12 consultas, última 12/12/2025")) + 16);
    m_table->setColumnWidth(PatientTableModel::LastChange,
                            m_table->fontMetrics().horizontalAdvance(QStringLiteral("Última alteração")) + 24);
    connect(m_table, &QAbstractItemView::activated, this, &PatientsWindow::activate);

    m_hint = new QLabel(kHint, this);
    m_hint->setObjectName(QStringLiteral("pcdica"));
    m_hint->setWordWrap(true);

    m_abrir = new QPushButton(QStringLiteral("ABRIR"), this);
    m_abrir->setObjectName(QStringLiteral("pcabrir"));
    m_evolucao = new QPushButton(QStringLiteral("EVOLUÇÃO"), this);
    m_evolucao->setObjectName(QStringLiteral("pcevolucao"));
    m_csv = new QPushButton(QStringLiteral("Exportar todos (CSV)..."), this);
    m_csv->setObjectName(QStringLiteral("pccsv"));
    m_csv->setToolTip(QStringLiteral("Exporta as medidas cefalométricas de todos os pacientes e fases traçados."));
    m_sobreposicao = new QPushButton(QStringLiteral("Sobreposição..."), this);
    m_sobreposicao->setObjectName(QStringLiteral("pcsobreposicao"));
    m_fechar = new QPushButton(QStringLiteral("FECHAR"), this);
    m_fechar->setObjectName(QStringLiteral("pcfechar"));
    connect(m_abrir, &QPushButton::clicked, this, [this] { activate(m_table->currentIndex()); });
    connect(m_evolucao, &QPushButton::clicked, this, [this] { showEvolution(currentSourceRow()); });
    connect(m_csv, &QPushButton::clicked, this, &PatientsWindow::exportAllCsv);
    connect(m_sobreposicao, &QPushButton::clicked, this, [this] {
        if (const int row = currentSourceRow(); row >= 0)
            emit superimpositionRequested(m_model->rowAt(row).name);
    });
    connect(m_fechar, &QPushButton::clicked, this, &QWidget::close);
    // Esc empties the search first, then leaves.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (m_search->text().isEmpty())
            close();
        else
            m_search->clear();
    });

    connect(m_search, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_filter->setSearch(text);
        updateCount();
        if (!m_table->currentIndex().isValid() && m_filter->rowCount() > 0)
            m_table->setCurrentIndex(m_filter->index(0, PatientTableModel::Name));
    });
    // Enter in the search field goes on to the list.
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        if (m_filter->rowCount() == 0)
            return;
        if (!m_table->currentIndex().isValid())
            m_table->setCurrentIndex(m_filter->index(0, PatientTableModel::Name));
        m_table->setFocus(Qt::OtherFocusReason);
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this, &PatientsWindow::updateButtons);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &PatientsWindow::updateCount);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &PatientsWindow::updateCount);

    auto* top = new QHBoxLayout;
    top->addWidget(searchLabel);
    top->addWidget(m_search, 1);
    top->addSpacing(12);
    top->addWidget(m_count);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_hint, 1);
    bottom->addWidget(m_abrir);
    bottom->addWidget(m_evolucao);
    bottom->addWidget(m_csv);
    bottom->addWidget(m_sobreposicao);
    bottom->addWidget(m_fechar);
    auto* box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(m_table, 1);
    box->addLayout(bottom);
    resize(PreferredSize(QGuiApplication::primaryScreen()));
    updateButtons();
}

void PatientsWindow::setDialogs(platform::Dialogs* dialogs)
{
    m_dialogs = dialogs;
    if (m_evolution)
        m_evolution->setDialogs(dialogs);
}

void PatientsWindow::setRescanInterval(int ms) { m_periodic->setInterval(ms); }

void PatientsWindow::exportAllCsv()
{
    if (!m_dialogs)
        return;
    // The boxes leave the tray item as this window keeps it while it shows.
    ExportCephCsv(*m_dialogs, m_scanner.folder(), QString(), windowTitle(), !isVisible());
}

QString PatientsWindow::filePath(const QString& fileName) const { return QDir(m_scanner.folder()).filePath(fileName); }

void PatientsWindow::Open()
{
    platform::CentreOnScreen(*this);
    platform::ShowSecondaryWindow(
        *this, [this](bool enabled) { emit mainWindowEnabledRequested(enabled); }, m_dialogs);
    m_search->setFocus(Qt::OtherFocusReason);
    m_search->selectAll();
}

void PatientsWindow::leave()
{
    if (m_evolution)
        m_evolution->hide();
    platform::HideSecondaryWindow(
        *this, [this](bool enabled) { emit mainWindowEnabledRequested(enabled); }, m_dialogs);
}

void PatientsWindow::closeEvent(QCloseEvent* event)
{
    leave();
    event->accept();
}

void PatientsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    rescan();
    m_periodic->start();
}

void PatientsWindow::hideEvent(QHideEvent* event)
{
    m_periodic->stop();
    m_soon->stop();
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    QWidget::hideEvent(event);
}

void PatientsWindow::rescan()
{
    const QList<PatientRow> rows = m_scanner.scan();
    // A folder made or brought back after the window opened is watched from now on.
    const QString folder = QDir(m_scanner.folder()).absolutePath();
    if (m_scanner.folderFound() && isVisible() && !m_watcher->directories().contains(folder))
        m_watcher->addPath(folder);
    m_model->setRows(rows);
    if (!m_table->currentIndex().isValid() && m_filter->rowCount() > 0)
        m_table->setCurrentIndex(m_filter->index(0, PatientTableModel::Name));
    updateCount();
    updateButtons();
    emit rescanned();
}

void PatientsWindow::updateCount()
{
    const int total = m_model->rowCount();
    const int shown = m_filter->rowCount();
    QString text;
    if (!m_scanner.folderFound())
        text = QStringLiteral("A pasta \"%1\" não foi encontrada").arg(QDir::toNativeSeparators(QDir::cleanPath(m_scanner.folder())));
    else if (shown == total)
        text = total == 1 ? QStringLiteral("1 paciente") : QStringLiteral("%1 pacientes").arg(total);
    else
        text = QStringLiteral("%1 de %2 pacientes").arg(shown).arg(total);
    m_count->setText(text);
}

int PatientsWindow::currentSourceRow() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? m_filter->mapToSource(current).row() : -1;
}

void PatientsWindow::updateButtons()
{
    const int row = currentSourceRow();
    m_evolucao->setEnabled(row >= 0 && m_model->rowAt(row).hasTweed());
    m_sobreposicao->setEnabled(row >= 0);
    const QModelIndex source = m_filter->mapToSource(m_table->currentIndex());
    m_abrir->setEnabled(row >= 0 && (!m_model->fileAt(source).isEmpty() || m_model->rowAt(row).fileCount() == 1));
}

void PatientsWindow::activate(const QModelIndex& viewIndex)
{
    if (!viewIndex.isValid())
        return;
    const QModelIndex source = m_filter->mapToSource(viewIndex);
    const PatientRow& row = m_model->rowAt(source.row());
    if (const auto kind = PatientTableModel::fileKindOf(source.column())) {
        const QString file = row.file(kind->first, kind->second);
        if (!file.isEmpty())
            openFile(kind->first, file);
        return;
    }
    if (row.hasTweed()) {
        showEvolution(source.row());
        return;
    }
    // A patient with one file has nothing to choose.
    if (row.fileCount() == 1) {
        for (PatientFileKind kind : {PatientFileKind::Bolton, PatientFileKind::History, PatientFileKind::Plan})
            if (!row.file(kind).isEmpty())
                openFile(kind, row.file(kind));
    }
}

void PatientsWindow::openFile(PatientFileKind kind, const QString& fileName)
{
    const QString path = filePath(fileName);
    leave();
    switch (kind) {
    case PatientFileKind::Tweed:
        emit tweedFileRequested(path);
        break;
    case PatientFileKind::Bolton:
        emit boltonFileRequested(path);
        break;
    case PatientFileKind::History:
        emit historyFileRequested(path);
        break;
    case PatientFileKind::Plan:
        emit planFileRequested(path);
        break;
    case PatientFileKind::Tracing:
        break;  // tracings open in the tracing window, from the Tweed page's patient
    }
}

void PatientsWindow::showEvolution(int sourceRow)
{
    if (sourceRow < 0 || sourceRow >= m_model->rowCount() || !m_model->rowAt(sourceRow).hasTweed())
        return;
    if (!m_evolution) {
        m_evolution = new EvolutionView(this);
        m_evolution->setDialogs(m_dialogs);
        connect(m_evolution, &EvolutionView::printRequested, this, &PatientsWindow::evolutionPrintRequested);
    }
    const PatientRow& row = m_model->rowAt(sourceRow);
    m_evolution->showPatient(m_scanner.folder(), row.name, row.tweed);
    m_evolution->show();
    m_evolution->raise();
    m_evolution->activateWindow();
}

}  // namespace qv
