#include "tracing/SuperimpositionWindow.h"

#include "entry/RealEntry.h"
#include "platform/Dialogs.h"
#include "platform/SecondaryWindow.h"
#include "records/PatientName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

using L = Landmark;
const QString kCaption = QStringLiteral("Sobreposição");
constexpr Registration kRegistrations[] = {Registration::CranialBase, Registration::BaNAtCF, Registration::Maxilla,
                                           Registration::Mandible, Registration::BestFit};
// Points of the cranial base and Frankfort that every tracing has: a sound first best fit.
constexpr L kDefaultFit[] = {L::S, L::N, L::Po, L::Or};

QPushButton* makeButton(const char* name, const QString& text)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    return b;
}

// The reference direction named as the table's x axis reads it.
QString axisText(Registration r)
{
    switch (r) {
    case Registration::BaNAtCF:
        return QStringLiteral("Ba→N");
    case Registration::Maxilla:
        return QStringLiteral("ENP→ENA");
    case Registration::Mandible:
        return QStringLiteral("Tg→Me");
    case Registration::CranialBase:
    case Registration::BestFit:
        break;
    }
    return QStringLiteral("S→N");
}

// One decimal and the unit; what rounds to nothing reads 0.0, never -0.0.
QString mmText(double v) { return F1(std::abs(v) < 0.05 ? 0.0 : v) + QStringLiteral(" mm"); }

}  // namespace

SuperimpositionWindow::SuperimpositionWindow(platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs)
{
    build();
    recompute();
}

QSize SuperimpositionWindow::PreferredSize(QSize available)
{
    // The frame and title of the window take about 24 x 48 pixels of a 1024 x 768 screen.
    return QSize(1000, 700).boundedTo(available - QSize(24, 48));
}

void SuperimpositionWindow::build()
{
    setObjectName(QStringLiteral("FormSobreposicao"));
    setWindowTitle(kCaption);

    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("sbAviso"));
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
    m_view = new SuperimpositionView;

    m_png = makeButton("sbExportarPng", QStringLiteral("EXPORTAR PNG"));
    m_pdf = makeButton("sbExportarPdf", QStringLiteral("EXPORTAR PDF"));
    m_print = makeButton("sbImprimir", QStringLiteral("IMPRIMIR"));
    auto* close = makeButton("sbFechar", QStringLiteral("FECHAR"));
    connect(m_png, &QPushButton::clicked, this, &SuperimpositionWindow::sbExportarPngClick);
    connect(m_pdf, &QPushButton::clicked, this, &SuperimpositionWindow::sbExportarPdfClick);
    connect(m_print, &QPushButton::clicked, this, &SuperimpositionWindow::sbImprimirClick);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_png);
    buttons->addWidget(m_pdf);
    buttons->addWidget(m_print);
    buttons->addWidget(close);

    auto* right = new QVBoxLayout;
    right->addWidget(m_message);
    right->addWidget(m_view, 1);
    right->addLayout(buttons);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(buildChoices());
    outer->addLayout(right, 1);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(PreferredSize(screen->availableGeometry().size()));
    else
        resize(PreferredSize(QSize(1024, 768)));
}

QWidget* SuperimpositionWindow::buildChoices()
{
    auto* column = new QWidget;
    column->setFixedWidth(380);
    auto* box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);

    auto* stages = new QGroupBox(QStringLiteral("Fases (de 2 a 4)"));
    auto* stageRow = new QGridLayout(stages);
    for (int i = 0; i < 4; ++i) {
        auto* c = new QCheckBox(StageTitle(QString::fromLatin1(kStageNames[i])));
        c->setObjectName(QStringLiteral("sbFase%1").arg(i + 1));
        stageRow->addWidget(c, i / 2, i % 2);
        connect(c, &QCheckBox::toggled, this, [this] {
            if (!m_filling) {
                fillBases();
                recompute();
            }
        });
        m_stageChecks[size_t(i)] = c;
    }
    box->addWidget(stages);

    m_base = new QComboBox;
    m_base->setObjectName(QStringLiteral("sbBase"));
    m_registration = new QComboBox;
    m_registration->setObjectName(QStringLiteral("sbRegistro"));
    for (Registration r : kRegistrations)
        m_registration->addItem(RegistrationName(r), int(r));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fase &base:"), m_base);
    form->addRow(QStringLiteral("&Registro:"), m_registration);
    box->addLayout(form);
    connect(m_base, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            recompute();
    });
    connect(m_registration, &QComboBox::currentIndexChanged, this, [this] {
        m_fitBox->setEnabled(registration() == Registration::BestFit);
        recompute();
    });

    box->addWidget(buildFitPoints());
    m_images = new QCheckBox(QStringLiteral("Mostrar as radiografias (esmaecidas)"));
    m_images->setObjectName(QStringLiteral("sbImagens"));
    connect(m_images, &QCheckBox::toggled, this, &SuperimpositionWindow::recompute);
    box->addWidget(m_images);

    m_axis = new QLabel;
    m_axis->setObjectName(QStringLiteral("sbEixos"));
    m_axis->setWordWrap(true);
    box->addWidget(m_axis);
    m_table = new QTableWidget(0, 5);
    m_table->setObjectName(QStringLiteral("sbTabela"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Fase"), QStringLiteral("Ponto"), QStringLiteral("x"),
                                        QStringLiteral("y"), QStringLiteral("Total")});
    m_table->setAccessibleName(QStringLiteral("Deslocamentos em relação à fase base"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    box->addWidget(m_table, 1);
    return column;
}

QWidget* SuperimpositionWindow::buildFitPoints()
{
    m_fitBox = new QGroupBox(QStringLiteral("Pontos do melhor ajuste"));
    m_fitBox->setObjectName(QStringLiteral("sbPontos"));
    auto* grid = new QGridLayout(m_fitBox);
    grid->setVerticalSpacing(0);
    for (int i = 0; i < kLandmarkCount; ++i) {
        const L l = LandmarkAt(i);
        auto* c = new QCheckBox(LandmarkCode(l));
        c->setObjectName(QStringLiteral("sbPonto") + LandmarkCode(l).remove(QLatin1Char('\'')) +
                         (l == L::PogSoft ? QStringLiteral("Mole") : QString()));
        c->setToolTip(QString::fromUtf8(Info(l).name));
        c->setAccessibleDescription(QString::fromUtf8(Info(l).name));
        c->setChecked(std::find(std::begin(kDefaultFit), std::end(kDefaultFit), l) != std::end(kDefaultFit));
        connect(c, &QCheckBox::toggled, this, &SuperimpositionWindow::recompute);
        grid->addWidget(c, i / 6, i % 6);
        m_fitChecks[size_t(i)] = c;
    }
    m_fitBox->setEnabled(false);
    return m_fitBox;
}

Registration SuperimpositionWindow::registration() const
{
    return Registration(m_registration->currentData().toInt());
}

void SuperimpositionWindow::Open(const QString& patient)
{
    if (patient.trimmed().isEmpty()) {
        m_dialogs.ShowNotice(platform::NoticeKind::Warning,
                             QStringLiteral("Informe o nome do paciente antes de sobrepor os traçados!"), kCaption);
        return;
    }
    if (!IsSafePatientName(patient)) {
        m_dialogs.ShowNotice(platform::NoticeKind::Error, UnsafePatientNameText(), kCaption);
        return;
    }
    loadPatient(patient);
    platform::CentreOnScreen(*this);
    show();
    raise();
    activateWindow();
}

void SuperimpositionWindow::loadPatient(const QString& patient)
{
    m_patient = patient;
    m_files = FindStages(patient);
    setWindowTitle(kCaption + QStringLiteral(" — ") + patient);
    m_filling = true;
    for (size_t i = 0; i < m_files.size(); ++i) {
        QCheckBox* c = m_stageChecks[i];
        const StageFile& f = m_files[i];
        c->setEnabled(f.usable());
        c->setChecked(f.usable());
        c->setToolTip(!f.found ? QStringLiteral("Sem traçado salvo desta fase.") : f.error);
    }
    m_filling = false;
    fillBases();
    recompute();
}

void SuperimpositionWindow::fillBases()
{
    const QString before = m_base->currentData().toString();
    m_chosen.clear();
    for (size_t i = 0; i < m_files.size(); ++i)
        if (m_stageChecks[i]->isChecked() && m_files[i].usable())
            m_chosen.push_back(int(i));
    m_filling = true;
    m_base->clear();
    for (int i : m_chosen)
        m_base->addItem(StageTitle(m_files[size_t(i)].stage), m_files[size_t(i)].stage);
    const int keep = m_base->findData(before);
    m_base->setCurrentIndex(keep >= 0 ? keep : 0);
    m_filling = false;
}

void SuperimpositionWindow::recompute()
{
    std::vector<StageTracing> tracings;
    for (int i : m_chosen)
        tracings.push_back(m_files[size_t(i)].tracing);
    std::vector<Landmark> fit;
    for (int i = 0; i < kLandmarkCount; ++i)
        if (m_fitChecks[size_t(i)]->isChecked())
            fit.push_back(LandmarkAt(i));

    QStringList problems;
    for (const StageFile& f : m_files)
        if (f.found && !f.error.isEmpty())
            problems << f.error;
    const int usable = int(std::count_if(m_files.begin(), m_files.end(), [](const StageFile& f) { return f.usable(); }));
    if (m_patient.isEmpty()) {
        m_result = {QStringLiteral("Nenhum paciente escolhido."), {}, {}};
    } else if (usable < 2) {
        m_result = {QStringLiteral("%1 tem %2 traçado(s) salvo(s) em Análises: a sobreposição precisa de ao menos dois.")
                        .arg(m_patient).arg(usable),
                    {},
                    {}};
    } else {
        m_result = Superimpose(tracings, std::max(0, m_base->currentIndex()), registration(), fit);
    }
    if (!m_result.ok())
        problems.prepend(m_result.error);

    std::vector<SuperimposedStage> drawn;
    if (m_result.ok()) {
        if (m_images->isChecked()) {
            loadPictures();
            for (int i : m_chosen)
                if (!m_files[size_t(i)].pictureError.isEmpty())
                    problems << m_files[size_t(i)].pictureError;
        }
        for (size_t k = 0; k < m_chosen.size(); ++k) {
            const StageFile& f = m_files[size_t(m_chosen[k])];
            SuperimposedStage s = MoveStage(f.tracing, m_result.stages[k].motion);
            if (m_images->isChecked() && !f.picture.isNull()) {
                s.picture = f.picture;
                s.pictureToMm = QTransform::fromScale(1 / f.pictureScale, 1 / f.pictureScale) * s.pictureToMm;
            }
            drawn.push_back(std::move(s));
        }
    }
    m_message->setText(problems.join(QLatin1Char('\n')));
    m_message->setVisible(!problems.isEmpty());
    m_view->setStages(std::move(drawn));
    m_axis->setText(QStringLiteral("Deslocamento de cada ponto em relação à fase base, em mm: x ao longo de %1 "
                                   "(positivo para anterior), y perpendicular (positivo para inferior).")
                        .arg(axisText(registration())));
    fillTable();
    m_png->setEnabled(m_result.ok());
    m_pdf->setEnabled(m_result.ok());
    m_print->setEnabled(m_result.ok());
}

void SuperimpositionWindow::fillTable()
{
    m_table->setRowCount(0);
    if (!m_result.ok())
        return;
    const int base = m_base->currentIndex();
    int rows = 0;
    for (size_t k = 0; k < m_result.stages.size(); ++k)
        if (int(k) != base)
            rows += int(m_result.stages[k].displacements.size());
    m_table->setRowCount(rows);
    int row = 0;
    const auto cell = [this, &row](int column, const QString& text, bool number) {
        auto* item = new QTableWidgetItem(text);
        if (number)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, column, item);
    };
    for (size_t k = 0; k < m_result.stages.size(); ++k) {
        if (int(k) == base)
            continue;
        const QString stage = StageTitle(m_files[size_t(m_chosen[k])].stage);
        for (const Displacement& d : m_result.stages[k].displacements) {
            cell(0, stage, false);
            cell(1, LandmarkCode(d.landmark), false);
            cell(2, mmText(d.x), true);
            cell(3, mmText(d.y), true);
            cell(4, mmText(d.total), true);
            ++row;
        }
    }
}

}  // namespace qv
