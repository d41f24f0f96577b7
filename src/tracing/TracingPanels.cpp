#include "tracing/TracingPanels.h"

#include "entry/EntryFilter.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

const QColor kValue(0, 0, 255);
const QColor kMissing(120, 120, 120);
const QColor kAlert(200, 0, 0);
constexpr int kColumnWidth = 350;
constexpr int kRowHeight = 21;

const QString kRulerName = QStringLiteral("Régua");
const QString kRulerHint = QStringLiteral("Clique em duas marcas da régua e informe a distância entre elas em milímetros.");
const QString kDoneName = QStringLiteral("Todos os pontos foram marcados.");
const QString kDoneHint = QStringLiteral("Arraste um ponto para corrigi-lo, ou clique no seu botão para marcá-lo de novo.");
// Every point there, some only proposed by the program.
const QString kReviewName = QStringLiteral("Confira os pontos propostos.");
const QString kReviewHint = QStringLiteral("Clique num ponto vazado para confirmá-lo onde está, arraste-o para o lugar "
                                           "certo, ou use Confirmar todos.");

}  // namespace

QString PointButtonName(Landmark l)
{
    if (l == Landmark::Pog)
        return QStringLiteral("pontoPogOsseo");
    if (l == Landmark::NSoft)
        return QStringLiteral("pontoNMole");
    return QStringLiteral("ponto") + LandmarkCode(l).remove(u'\'');
}

QWidget* TracingPanels::build(std::function<void(Landmark)> pick, std::function<void(const QString&)> warn)
{
    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("painel"));
    column->setFixedWidth(kColumnWidth);
    m_column = new QVBoxLayout(column);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->addWidget(buildLandmarks(std::move(pick)));
    m_column->addWidget(buildMeasurements());
    m_column->addWidget(buildCalibration(std::move(warn)));
    m_column->addStretch(1);
    return column;
}

QGroupBox* TracingPanels::buildAwaited(int narrowest)
{
    auto* box = new QGroupBox(QStringLiteral("Próximo ponto"));
    box->setObjectName(QStringLiteral("proximo"));
    auto* layout = new QVBoxLayout(box);
    m_awaitedName = new QLabel;
    m_awaitedName->setObjectName(QStringLiteral("pontoNome"));
    QFont f = m_awaitedName->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    m_awaitedName->setFont(f);
    m_awaitedName->setWordWrap(true);
    m_awaitedHint = new QLabel;
    m_awaitedHint->setObjectName(QStringLiteral("pontoDica"));
    m_awaitedHint->setWordWrap(true);
    layout->addWidget(m_awaitedName);
    layout->addWidget(m_awaitedHint);
    // As tall as the longest name and hint need, whichever is awaited: the buttons below stay put.
    const int width = narrowest - 2 * 16;
    const auto tallest = [width](const QLabel* label, const QStringList& texts) {
        int h = 0;
        for (const QString& t : texts)
            h = std::max(h, label->fontMetrics().boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, t).height());
        return h;
    };
    QStringList names{kRulerName, kDoneName, kReviewName}, hints{kRulerHint, kDoneHint, kReviewHint};
    for (int i = 0; i < kLandmarkCount; ++i) {
        names << QString::fromUtf8(Info(LandmarkAt(i)).name);
        hints << QString::fromUtf8(Info(LandmarkAt(i)).hint);
    }
    m_awaitedName->setFixedHeight(tallest(m_awaitedName, names));
    m_awaitedHint->setFixedHeight(tallest(m_awaitedHint, hints));
    m_awaitedName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_awaitedHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return box;
}

QGroupBox* TracingPanels::buildLandmarks(std::function<void(Landmark)> pick)
{
    auto* box = new QGroupBox(QStringLiteral("Pontos (clique para marcar de novo)"));
    box->setObjectName(QStringLiteral("pontos"));
    // The point awaited stands out; placed points are bold with a tick.
    box->setStyleSheet(QStringLiteral("QToolButton:checked { background: #ffe066; color: black; border: 1px solid #b08800;"
                                      " border-radius: 3px; }"));
    auto* grid = m_grid = new QGridLayout(box);
    grid->setSpacing(3);
    for (int i = 0; i < kLandmarkCount; ++i) {
        const Landmark l = LandmarkAt(i);
        auto* b = new QToolButton;
        b->setObjectName(PointButtonName(l));
        b->setText(LandmarkCode(l));
        b->setToolTip(QString::fromUtf8(Info(l).name) + QStringLiteral("\n") + QString::fromUtf8(Info(l).hint));
        b->setAccessibleName(QString::fromUtf8(Info(l).name));
        b->setCheckable(true);
        b->setAutoRaise(false);
        b->setMinimumWidth(58);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        QObject::connect(b, &QToolButton::clicked, b, [pick, l] { pick(l); });
        m_points[size_t(i)] = b;
        if (i < kTweedLandmarkCount) {
            grid->addWidget(b, i / 5, i % 5);
        } else {
            b->setParent(box);
            b->hide();
        }
    }
    return box;
}

QGroupBox* TracingPanels::buildMeasurements()
{
    auto* box = m_measurements = new QGroupBox(QStringLiteral("Medidas"));
    box->setObjectName(QStringLiteral("medidasGrupo"));
    auto* layout = new QVBoxLayout(box);
    // One page per kind of table; with Tweed alone there is no tab to choose.
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("medidasAbas"));
    m_tabs->setDocumentMode(true);
    m_tabs->tabBar()->setAutoHide(true);
    m_tweedPage = new QWidget;
    auto* tweedLayout = new QVBoxLayout(m_tweedPage);
    tweedLayout->setContentsMargins(0, 0, 0, 0);
    table = new QTableWidget(kMeasureCount, 2);
    table->setObjectName(QStringLiteral("medidas"));
    table->setHorizontalHeaderLabels({QStringLiteral("Medida"), QStringLiteral("Valor")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    table->setColumnWidth(1, 130);
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    for (const TracingField& f : TracingFields()) {
        auto* caption = new QTableWidgetItem(f.caption());
        table->setItem(int(f.measure), 0, caption);
        auto* value = new QTableWidgetItem;
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(int(f.measure), 1, value);
    }
    table->setFixedHeight(kRowHeight * kMeasureCount + table->horizontalHeader()->sizeHint().height() + 4);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tweedLayout->addWidget(table);
    tweedLayout->addStretch(1);
    m_tabs->addTab(m_tweedPage, QStringLiteral("Tweed"));
    ceph.build()->setParent(box);
    ceph.table->hide();
    layout->addWidget(m_tabs);
    m_notice = new QLabel;
    m_notice->setObjectName(QStringLiteral("aviso"));
    m_notice->setWordWrap(true);
    QPalette p = m_notice->palette();
    p.setColor(QPalette::WindowText, kAlert);
    m_notice->setPalette(p);
    layout->addWidget(m_notice);
    return box;
}

QGroupBox* TracingPanels::buildCalibration(std::function<void(const QString&)> warn)
{
    auto* box = new QGroupBox(QStringLiteral("Calibração"));
    box->setObjectName(QStringLiteral("calibracao"));
    auto* grid = new QGridLayout(box);
    m_calibration = new QLabel;
    m_calibration->setObjectName(QStringLiteral("calstatus"));
    m_calibration->setWordWrap(true);
    grid->addWidget(m_calibration, 0, 0, 1, 3);

    ruler = new QPushButton(QStringLiteral("Marcar régua"));
    ruler->setObjectName(QStringLiteral("tRegua"));
    ruler->setToolTip(QStringLiteral("Clique em seguida em duas marcas da régua da radiografia."));
    grid->addWidget(ruler, 1, 0);
    auto* mmLabel = new QLabel(QStringLiteral("mm entre as marcas"));
    rulerMm = new QLineEdit;
    rulerMm->setObjectName(QStringLiteral("calmm"));
    mmLabel->setBuddy(rulerMm);
    grid->addWidget(mmLabel, 1, 1);
    grid->addWidget(rulerMm, 1, 2);
    auto* pxLabel = new QLabel(QStringLiteral("ou mm por pixel"));
    mmPerPixel = new QLineEdit;
    mmPerPixel->setObjectName(QStringLiteral("calmmpx"));
    pxLabel->setBuddy(mmPerPixel);
    grid->addWidget(pxLabel, 2, 1);
    grid->addWidget(mmPerPixel, 2, 2);
    for (QLineEdit* e : {rulerMm, mmPerPixel}) {
        e->setFixedWidth(70);
        e->setAlignment(Qt::AlignRight);
        EntryFilter::install(e, EntryRule::real(RealFamily::Positive, 8, warn));
    }
    calibrate = new QPushButton(QStringLiteral("CALIBRAR"));
    calibrate->setObjectName(QStringLiteral("tCalibrar"));
    QFont f = calibrate->font();
    f.setBold(true);
    calibrate->setFont(f);
    grid->addWidget(calibrate, 2, 0);
    return box;
}

void TracingPanels::showAwaited(std::optional<Landmark> awaited, bool rulerMode, bool proposalsPending)
{
    if (rulerMode) {
        m_awaitedName->setText(kRulerName);
        m_awaitedHint->setText(kRulerHint);
    } else if (awaited) {
        m_awaitedName->setText(QString::fromUtf8(Info(*awaited).name));
        m_awaitedHint->setText(QString::fromUtf8(Info(*awaited).hint));
    } else {
        m_awaitedName->setText(proposalsPending ? kReviewName : kDoneName);
        m_awaitedHint->setText(proposalsPending ? kReviewHint : kDoneHint);
    }
}

void TracingPanels::showLandmarks(const LandmarkSet& points, std::optional<Landmark> awaited, const LandmarkFlags& proposed)
{
    // Only what changed: this runs on every step of a drag.
    for (int i = 0; i < kLandmarkCount; ++i) {
        QToolButton* b = m_points[size_t(i)];
        const Landmark l = LandmarkAt(i);
        if (b->isChecked() != (awaited == l))
            b->setChecked(awaited == l);
        // A point only proposed is not ticked, and its code is in italics as on the radiograph.
        const bool onlyProposed = proposed.test(size_t(i));
        const QString text = points.has(l) && !onlyProposed ? LandmarkCode(l) + QStringLiteral(" ✓") : LandmarkCode(l);
        if (b->text() != text || b->font().italic() != onlyProposed) {
            QFont f = b->font();
            f.setBold(points.has(l));
            f.setItalic(onlyProposed);
            b->setFont(f);
            b->setText(text);
        }
    }
}

void TracingPanels::showMeasurements(const Measurements& m, const TracingValues& v, const LandmarkSet& points,
                                     const LandmarkFlags& proposed)
{
    QStringList parallel, uncalibrated;
    for (const TracingField& f : TracingFields()) {
        QTableWidgetItem* item = table->item(int(f.measure), 1);
        const MeasureResult& r = m[f.measure];
        const std::vector<Landmark> unconfirmed = r.ok() ? ProposedLandmarks(RequiredLandmarks(f.measure), proposed)
                                                         : std::vector<Landmark>();
        const QString text = r.ok() ? v.*(f.member) + (IsDistance(f.measure) ? QStringLiteral(" mm") : QStringLiteral("°"))
                                          + (unconfirmed.empty() ? QString() : ProposedMark())
                                    : StatusText(r, f.measure, points);
        const QString tip = unconfirmed.empty() ? text : text + u'\n' + ProposedPointsText(unconfirmed);
        if (item->text() != text || item->toolTip() != tip) {
            QFont font = item->font();
            font.setItalic(!r.ok());
            item->setFont(font);
            item->setText(text);
            item->setForeground(r.ok() ? kValue : r.status == MeasureResult::Missing ? kMissing : kAlert);
            item->setToolTip(tip);
            item->setData(Qt::AccessibleDescriptionRole, unconfirmed.empty() ? QVariant() : QVariant(ProposedPointsText(unconfirmed)));
        }
        if (r.status == MeasureResult::Undefined)
            parallel << ShortCaption(f);
        if (r.status == MeasureResult::Uncalibrated)
            uncalibrated << ShortCaption(f);
    }
    QStringList notes;
    if (!parallel.isEmpty())
        notes << QStringLiteral("Linhas paralelas ou pontos coincidentes: %1 não podem ser medidos.").arg(parallel.join(QStringLiteral(", ")));
    if (!uncalibrated.isEmpty())
        notes << QStringLiteral("Sem calibração, as distâncias (%1) ficam vazias: calibre pela régua ou informe mm por pixel.")
                     .arg(uncalibrated.join(QStringLiteral(", ")));
    m_notice->setText(notes.join(QStringLiteral("\n")));
    m_notice->setVisible(m_tweedShown && !notes.isEmpty());
}

void TracingPanels::showAnalyses(bool tweed, std::shared_ptr<const AnalysisCatalogue> catalogue, const std::vector<int>& others,
                                 const std::vector<Landmark>& order)
{
    for (QToolButton* b : m_points) {
        m_grid->removeWidget(b);
        b->hide();
    }
    // Five to a row; seven, narrower, when more than thirty points are asked for, so
    // the column keeps its room for the measures on a 1024 x 768 screen.
    const int perRow = order.size() > 30 ? 7 : 5;
    for (size_t i = 0; i < order.size(); ++i) {
        QToolButton* b = m_points[size_t(Index(order[i]))];
        b->setMinimumWidth(perRow == 5 ? 58 : 42);
        m_grid->addWidget(b, int(i) / perRow, int(i) % perRow);
        b->show();
    }

    ceph.setAnalyses(std::move(catalogue), others);
    while (m_tabs->count())
        m_tabs->removeTab(0);
    if (tweed)
        m_tabs->addTab(m_tweedPage, QStringLiteral("Tweed"));
    if (!others.empty())
        m_tabs->addTab(ceph.table, QStringLiteral("Outras análises"));
    // An analysis just ticked shows its measures.
    if (!others.empty() && !m_cephShown)
        m_tabs->setCurrentWidget(ceph.table);
    m_tweedShown = tweed;
    m_cephShown = !others.empty();
    // The table of the other analyses takes the room left in the column.
    m_column->setStretchFactor(m_measurements, m_cephShown ? 1 : 0);
    m_column->setStretch(m_column->count() - 1, m_cephShown ? 0 : 1);
    m_notice->setVisible(tweed && !m_notice->text().isEmpty());
    m_measurements->setVisible(tweed || m_cephShown);
}

void TracingPanels::showCephalometrics(const CephValues& values, const CephNorms& norms, const LandmarkSet& points,
                                       const LandmarkFlags& proposed)
{
    if (m_cephShown)
        ceph.show(values, norms, points, proposed);
}

void TracingPanels::showCalibration(const Calibration& c, const QString& source)
{
    QPalette p = m_calibration->palette();
    if (c.known()) {
        const QString spacing = c.sx == c.sy ? QStringLiteral("%1 mm por pixel").arg(c.sx, 0, 'f', 4)
                                             : QStringLiteral("%1 mm por pixel em x, %2 em y").arg(c.sx, 0, 'f', 4).arg(c.sy, 0, 'f', 4);
        m_calibration->setText(source + QStringLiteral(": ") + spacing + QLatin1Char('.'));
        p.setColor(QPalette::WindowText, QColor(0, 110, 0));
    } else {
        m_calibration->setText(QStringLiteral("Sem calibração: os ângulos são medidos, as distâncias não."));
        p.setColor(QPalette::WindowText, kAlert);
    }
    m_calibration->setPalette(p);
}

}  // namespace qv
