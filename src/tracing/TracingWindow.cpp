#include "tracing/TracingWindow.h"

#include "tracing/CephReport.h"

#include "platform/Dialogs.h"
#include "platform/SecondaryWindow.h"
#include "tracing/TracingCanvas.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace qv {

namespace {

const QString kCaption = QStringLiteral("Traçado Cefalométrico");
// The radiograph's column is never narrower than this in a window that fits the screen.
constexpr int kNarrowestView = 500;
using platform::NoticeKind;
const QString kAnalysesKey = QStringLiteral("tracado/analises");
// The analysis whose twelve go to the Tweed page: it has a table of its own.
const QString kTweedTitle = TracingModel::tweedTitle();

// The choice is kept per computer, by the analyses' titles; unknown titles are skipped.
QSettings settings() { return QSettings(QStringLiteral("Quorvel"), QStringLiteral("Quorvel")); }

// A list of analyses to tick: a click ticks or unticks one and leaves the list open for the next.
class TickList : public QMenu {
public:
    using QMenu::QMenu;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QAction* a = actionAt(e->position().toPoint());
        if (a && a->isCheckable() && a->isEnabled()) {
            a->trigger();
            return;
        }
        QMenu::mouseReleaseEvent(e);
    }
};

QPushButton* makeButton(const char* name, const QString& text, bool bold = true)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    if (bold) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }
    b->setMinimumHeight(28);
    return b;
}

}  // namespace

TracingWindow::TracingWindow(platform::Dialogs& dialogs, QWidget* parent) : QWidget(parent), m_dialogs(dialogs)
{
    build();
    connect(&m_model, &TracingModel::changed, this, &TracingWindow::refresh);
    connect(&m_model, &TracingModel::catalogueChanged, this, &TracingWindow::listAnalyses);
    connect(&m_model, &TracingModel::analysesChanged, this, &TracingWindow::showAnalyses);
    m_model.useCatalogue(CurrentAnalyses());
    setAnalyses(settings().value(kAnalysesKey, kTweedTitle).toStringList());
}

TracingWindow::~TracingWindow() = default;

void TracingWindow::build()
{
    setObjectName(QStringLiteral("FormTracado"));
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Window);

    // Three short rows of controls over the radiograph rather than one long one: the window fits
    // a 1024 x 768 screen beside the column of points and measurements.
    m_canvas = new TracingCanvas;
    auto* left = new QVBoxLayout;
    left->addWidget(buildButtons());
    left->addWidget(buildViewBar());
    left->addWidget(buildLevelsBar());
    // The stages of the Tweed page's patient superimposed, in a window of its own: beside the
    // awaited point, where a 1024 x 768 screen still has room.
    auto* awaitedRow = new QHBoxLayout;
    awaitedRow->addWidget(m_panels.buildAwaited(kNarrowestView), 1);
    auto* superimpose = makeButton("tSobreposicao", QStringLiteral("Sobreposição..."), false);
    connect(superimpose, &QPushButton::clicked, this,
            [this] { emit superimpositionRequested(m_tweed.patient); });
    auto* sideButtons = new QVBoxLayout;
    sideButtons->addWidget(superimpose);
    sideButtons->addWidget(buildProposalButtons());
    sideButtons->addStretch(1);
    awaitedRow->addLayout(sideButtons);
    left->addLayout(awaitedRow);
    left->addWidget(m_canvas, 1);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addLayout(left, 1);
    outer->addWidget(m_panels.build([this](Landmark l) { pickLandmark(l); },
                                    [this](const QString& text) { notice(int(NoticeKind::Warning), text); }));

    connect(m_canvas, &TracingCanvas::placeRequested, this, [this](QPointF at) {
        if (const auto l = awaited())
            placeLandmark(*l, at);
    });
    connect(m_canvas, &TracingCanvas::landmarkDragged, &m_model, &TracingModel::drag);
    connect(m_canvas, &TracingCanvas::landmarkMoved, &m_model, &TracingModel::move);
    connect(m_canvas, &TracingCanvas::rulerClicked, this, [this](QPointF at) {
        m_rulerMarks.push_back(at);
        if (m_rulerMarks.size() == 2) {
            m_rulerMode = false;
            m_panels.rulerMm->setFocus();
        }
        m_canvas->setRulerMarks(m_rulerMarks);
        refresh();
    });
    left->insertWidget(left->indexOf(m_canvas), buildProposalRow());
    connect(m_panels.ruler, &QPushButton::clicked, this, &TracingWindow::tReguaClick);
    connect(m_panels.calibrate, &QPushButton::clicked, this, &TracingWindow::tCalibrarClick);

    m_levelsTimer.setSingleShot(true);
    m_levelsTimer.setInterval(30);
    connect(&m_levelsTimer, &QTimer::timeout, this, &TracingWindow::renderPicture);

    TracingHistory* history = &m_model.history();
    connect(history, &TracingHistory::canUndoChanged, m_undoButton, &QPushButton::setEnabled);
    connect(history, &TracingHistory::canRedoChanged, m_redoButton, &QPushButton::setEnabled);
    m_undoButton->setEnabled(false);
    m_redoButton->setEnabled(false);
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, history, &TracingHistory::undo);
    connect(new QShortcut(QKeySequence::Redo, this), &QShortcut::activated, history, &TracingHistory::redo);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this), &QShortcut::activated, history, &TracingHistory::redo);
}

QWidget* TracingWindow::buildButtons()
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const std::pair<QPushButton*, void (TracingWindow::*)()> buttons[] = {
        {makeButton("tImagem", QStringLiteral("RADIOGRAFIA...")), &TracingWindow::tImagemClick},
        {makeButton("tAbrir", QStringLiteral("ABRIR")), &TracingWindow::tAbrirClick},
        {makeButton("tSalvar", QStringLiteral("SALVAR")), &TracingWindow::tSalvarClick},
        {makeButton("tExportarPng", QStringLiteral("EXPORTAR PNG")), &TracingWindow::tExportarPngClick},
        {makeButton("tExportarPdf", QStringLiteral("EXPORTAR PDF")), &TracingWindow::tExportarPdfClick},
    };
    for (const auto& [b, handler] : buttons) {
        connect(b, &QPushButton::clicked, this, handler);
        row->addWidget(b);
    }
    row->addStretch(1);
    return bar;
}

QWidget* TracingWindow::buildViewBar()
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_undoButton = makeButton("tDesfazer", QStringLiteral("Desfazer"), false);
    m_redoButton = makeButton("tRefazer", QStringLiteral("Refazer"), false);
    connect(m_undoButton, &QPushButton::clicked, &m_model.history(), &TracingHistory::undo);
    connect(m_redoButton, &QPushButton::clicked, &m_model.history(), &TracingHistory::redo);
    auto* out = makeButton("tZoomMenos", QStringLiteral("−"), false);
    auto* in = makeButton("tZoomMais", QStringLiteral("+"), false);
    auto* fit = makeButton("tAjustar", QStringLiteral("Ajustar"), false);
    out->setToolTip(QStringLiteral("Diminuir (tecla -)"));
    in->setToolTip(QStringLiteral("Aumentar (tecla +; ou a roda do mouse)"));
    fit->setToolTip(QStringLiteral("Mostrar a radiografia inteira (tecla 0)"));
    for (QPushButton* b : {out, in})
        b->setFixedWidth(34);
    connect(out, &QPushButton::clicked, m_canvas, &TracingCanvas::zoomOut);
    connect(in, &QPushButton::clicked, m_canvas, &TracingCanvas::zoomIn);
    connect(fit, &QPushButton::clicked, m_canvas, &TracingCanvas::fit);
    for (QPushButton* b : {m_undoButton, m_redoButton, out, in, fit})
        row->addWidget(b);
    row->addStretch(1);

    auto* apply = makeButton("tAplicar", QStringLiteral("APLICAR"));
    auto* close = makeButton("tFechar", QStringLiteral("FECHAR"));
    apply->setToolTip(QStringLiteral("Escreve as medidas nos campos da Análise de Tweed."));
    connect(apply, &QPushButton::clicked, this, &TracingWindow::tAplicarClick);
    connect(close, &QPushButton::clicked, this, &TracingWindow::tFecharClick);
    row->addWidget(apply);
    row->addWidget(close);
    return bar;
}

QWidget* TracingWindow::buildLevelsBar()
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto slider = [&](const char* name, const QString& caption) {
        auto* label = new QLabel(caption);
        auto* s = new QSlider(Qt::Horizontal);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(-100, 100);
        s->setFixedWidth(80);
        label->setBuddy(s);
        connect(s, &QSlider::valueChanged, &m_levelsTimer, qOverload<>(&QTimer::start));
        row->addWidget(label);
        row->addWidget(s);
        row->addSpacing(6);
        return s;
    };
    m_brightness = slider("brilho", QStringLiteral("Brilho"));
    m_contrast = slider("contraste", QStringLiteral("Contraste"));
    m_invert = new QCheckBox(QStringLiteral("Inverter"));
    m_invert->setObjectName(QStringLiteral("inverter"));
    connect(m_invert, &QCheckBox::toggled, this, &TracingWindow::renderPicture);
    row->addWidget(m_invert);
    row->addStretch(1);
    row->addWidget(buildAnalysesButton());
    // A click prints this stage's cephalometric report; its menu also exports the patient's measures.
    auto* print = new QToolButton;
    print->setObjectName(QStringLiteral("tImprimir"));
    print->setText(QStringLiteral("IMPRIMIR"));
    print->setToolTip(QStringLiteral("Imprime a Análise Cefalométrica desta fase: o traçado e as tabelas das análises."));
    QFont bold = print->font();
    bold.setBold(true);
    print->setFont(bold);
    print->setMinimumHeight(28);
    print->setPopupMode(QToolButton::MenuButtonPopup);
    auto* menu = new QMenu(print);
    menu->setToolTipsVisible(true);
    QAction* report = menu->addAction(QStringLiteral("Imprimir a Análise Cefalométrica..."));
    QAction* csv = menu->addAction(QStringLiteral("CSV..."));
    csv->setToolTip(QStringLiteral("Exporta as medidas de todas as fases deste paciente para uma planilha."));
    report->setObjectName(QStringLiteral("tRelatorio"));
    csv->setObjectName(QStringLiteral("tCsv"));
    connect(report, &QAction::triggered, this, &TracingWindow::tImprimirClick);
    connect(csv, &QAction::triggered, this, &TracingWindow::tCsvClick);
    print->setMenu(menu);
    connect(print, &QToolButton::clicked, this, &TracingWindow::tImprimirClick);
    row->addWidget(print);

    return bar;
}

QWidget* TracingWindow::buildAnalysesButton()
{
    auto* button = new QToolButton;
    button->setObjectName(QStringLiteral("tAnalises"));
    button->setText(QStringLiteral("Análises"));
    button->setToolTip(QStringLiteral("As análises a traçar: só os pontos que elas usam são pedidos."));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setMinimumHeight(28);
    m_analysesMenu = new TickList(button);
    m_analysesMenu->setObjectName(QStringLiteral("analises"));
    button->setMenu(m_analysesMenu);
    return button;
}

void TracingWindow::listAnalyses()
{
    const AnalysisCatalogue& catalogue = m_model.catalogue();
    // The program's analyses, then the clinic's own under a heading of their own.
    m_analysesMenu->clear();
    bool clinic = false;
    m_analysesMenu->addSection(QStringLiteral("Análises do programa"));
    for (size_t i = 0; i < catalogue.analyses.size(); ++i) {
        const AnalysisDefinition& a = catalogue.analyses[i];
        if (!a.shipped && !clinic) {
            clinic = true;
            m_analysesMenu->addSection(QStringLiteral("Análises do consultório"));
        }
        QAction* action = m_analysesMenu->addAction(a.title);
        action->setObjectName(QStringLiteral("analise%1").arg(i));
        action->setCheckable(true);
        action->setToolTip(a.shipped ? a.title : a.title + QStringLiteral(" (") + a.file + u')');
        const QString title = a.title;
        connect(action, &QAction::triggered, this, [this, title](bool on) { chooseAnalysis(title, on); });
    }
}

void TracingWindow::chooseAnalysis(const QString& title, bool on)
{
    QStringList chosen = m_model.analyses();
    chosen.removeAll(title);
    if (on)
        chosen << title;
    setAnalyses(chosen);
    settings().setValue(kAnalysesKey, m_model.analyses());
}

void TracingWindow::showAnalyses()
{
    const auto actions = m_analysesMenu->actions();
    for (QAction* action : actions) {
        const QSignalBlocker block(action);
        if (action->isCheckable())
            action->setChecked(m_model.analyses().contains(action->text()));
    }
    // Tweed-Merrifield has the Tweed page's table; the others share one.
    std::vector<int> others;
    for (const QString& t : m_model.analyses())
        if (t != kTweedTitle)
            others.push_back(m_model.catalogue().indexOf(t));
    m_panels.showAnalyses(m_model.analyses().contains(kTweedTitle), m_model.sharedCatalogue(), others, m_model.placingOrder());
}

void TracingWindow::notice(int kind, const QString& text)
{
    // The tray item stays off while this window acts as a dialog.
    m_dialogs.ShowNotice(NoticeKind(kind), text, kCaption, /*enableAfter=*/!isVisible());
}

bool TracingWindow::confirm(const QString& text)
{
    const bool yes = m_dialogs.Confirm(text) == platform::Answer::Yes;
    if (isVisible())
        m_dialogs.setHideItemEnabled(false);
    return yes;
}

void TracingWindow::Open()
{
    // Nine tenths of the screen the first time; afterwards where the clinician left it.
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && !m_sized) {
        m_sized = true;
        const QRect area = screen->availableGeometry();
        resize(area.size() * 0.9);
        move(area.center() - rect().center());
    }
    // A clinic's analysis written or mended since is offered now; a file refused is named once.
    const auto now = CurrentAnalyses();
    m_model.useCatalogue(now);
    if (m_toldRefusals != now.get()) {
        m_toldRefusals = now.get();
        if (!now->refused.isEmpty())
            notice(int(NoticeKind::Warning),
                   QStringLiteral("Estas definições de análise não foram usadas:\r%1\rAs demais análises estão disponíveis.")
                       .arg(now->refused.join(u'\r')));
    }
    emit opening();
    tellModelProblem();
    platform::ShowSecondaryWindow(
        *this, [this](bool enabled) { emit mainWindowEnabledRequested(enabled); }, &m_dialogs);
}

void TracingWindow::leave()
{
    platform::HideSecondaryWindow(
        *this, [this](bool enabled) { emit mainWindowEnabledRequested(enabled); }, &m_dialogs);
}

void TracingWindow::closeEvent(QCloseEvent* event)
{
    leave();
    event->accept();
}

void TracingWindow::tFecharClick() { leave(); }

void TracingWindow::setLandmark(Landmark l, std::optional<QPointF> pos) { m_model.setLandmark(l, pos); }

void TracingWindow::placeLandmark(Landmark l, QPointF imagePos) { m_model.place(l, imagePos); }

void TracingWindow::pickLandmark(Landmark l)
{
    m_rulerMode = false;
    m_model.pick(l);
}

void TracingWindow::refresh()
{
    const auto next = m_rulerMode ? std::nullopt : awaited();
    const Measurements m = measurements();
    m_panels.showAwaited(next, m_rulerMode, m_model.proposedPoints().any());
    const LandmarkSet& points = m_model.landmarks();
    m_panels.showLandmarks(points, next, m_model.proposedPoints());
    m_panels.showMeasurements(m, MakeTracingValues(m), points, m_model.proposedPoints());
    m_panels.showCephalometrics(cephValues(), m_model.norms(), points, m_model.proposedPoints());
    m_panels.showCalibration(m_model.calibration(), m_model.calibrationSource());
    m_canvas->setRulerMode(m_rulerMode);
    m_canvas->setAwaited(next);
    m_canvas->setCalibration(m_model.calibration());
    m_canvas->setLandmarks(points);
    showProposals();
}

void TracingWindow::renderPicture()
{
    m_levelsTimer.stop();
    const DisplayLevels levels =
        AdjustedLevels(m_radiograph, m_brightness->value(), m_contrast->value(), m_invert->isChecked());
    m_canvas->setPicture(RenderRadiograph(m_radiograph, levels));
}

void TracingWindow::useRadiograph(Radiograph r)
{
    m_radiograph = std::move(r);
    for (QSlider* s : {m_brightness, m_contrast}) {
        const QSignalBlocker block(s);
        s->setValue(0);
    }
    {
        const QSignalBlocker block(m_invert);
        m_invert->setChecked(false);
    }
    m_rulerMarks.clear();
    m_canvas->setRulerMarks({});
    renderPicture();
}

void TracingWindow::tReguaClick()
{
    if (m_radiograph.isNull()) {
        notice(int(NoticeKind::Warning), QStringLiteral("Abra uma radiografia antes de calibrar!"));
        return;
    }
    m_rulerMode = true;
    m_rulerMarks.clear();
    m_canvas->setRulerMarks({});
    refresh();
}

void TracingWindow::tCalibrarClick()
{
    const double mm = ParseReal(m_panels.rulerMm->text());
    const double perPixel = ParseReal(m_panels.mmPerPixel->text());
    const auto absurd = [this](double spacing) {
        notice(int(NoticeKind::Warning),
               QStringLiteral("%1 mm por pixel está fora do que uma radiografia pode ter (de %2 a %3): confira o valor!")
                   .arg(spacing)
                   .arg(kSmallestSpacing)
                   .arg(kLargestSpacing));
    };
    if (m_rulerMarks.size() == 2 && mm > 0) {
        const QPointF d = m_rulerMarks[1] - m_rulerMarks[0];
        const double pixels = std::hypot(d.x(), d.y());
        if (pixels < 1) {
            notice(int(NoticeKind::Warning), QStringLiteral("As duas marcas da régua estão no mesmo lugar!"));
            return;
        }
        if (!IsSaneSpacing(mm / pixels))
            return absurd(mm / pixels);
        setCalibration({mm / pixels, mm / pixels},
                       QStringLiteral("Calibração pela régua (%1 mm em %2 pixels)").arg(ParseReal(m_panels.rulerMm->text())).arg(pixels, 0, 'f', 1));
    } else if (perPixel > 0) {
        if (!IsSaneSpacing(perPixel))
            return absurd(perPixel);
        setCalibration({perPixel, perPixel}, QStringLiteral("Calibração informada"));
    } else {
        notice(int(NoticeKind::Warning),
               QStringLiteral("Marque duas marcas da régua e informe a distância entre elas em milímetros, "
                              "ou informe os milímetros por pixel!"));
    }
}

void TracingWindow::tAplicarClick()
{
    if (!m_tweed.acceptsInput) {
        notice(int(NoticeKind::Warning),
               QStringLiteral("A Análise de Tweed já foi calculada e não aceita novas medidas!\r"
                              "Clique em VOLTAR na Análise de Tweed para poder aplicar o traçado."));
        return;
    }
    // The Tweed-Merrifield twelve come from its twenty points: a proposal not yet confirmed is asked about.
    QStringList proposed;
    for (int i = 0; i < kTweedLandmarkCount; ++i)
        if (m_model.proposedPoints().test(size_t(i)))
            proposed << LandmarkCode(LandmarkAt(i));
    if (!proposed.isEmpty()
        && !confirm(QStringLiteral("Os pontos %1 foram propostos pelo programa e ainda não foram confirmados.\r"
                                   "Aplicar na Análise de Tweed as medidas que os usam mesmo assim?")
                        .arg(proposed.join(QStringLiteral(", ")))))
        return;
    TracingValues v = values();
    QStringList missing;
    for (const TracingField& f : TracingFields())
        if ((v.*(f.member)).isEmpty())
            missing << ShortCaption(f);
    if (missing.size() == kMeasureCount) {
        notice(int(NoticeKind::Warning), QStringLiteral("O traçado ainda não fornece nenhuma medida!"));
        return;
    }
    // A text longer than its field would be kept cut, and read back as another value.
    const QStringList outOfRange = DropOverlongValues(v);
    if (missing.size() + outOfRange.size() == kMeasureCount) {
        notice(int(NoticeKind::Warning), QStringLiteral("Nenhuma medida foi aplicada: fora do intervalo dos campos: %1.\r"
                                                        "Confira a posição dos pontos.")
                                             .arg(outOfRange.join(QStringLiteral(", "))));
        return;
    }
    emit measurementsApplied(v);
    QString text = missing.isEmpty() && outOfRange.isEmpty() ? QStringLiteral("As doze medidas foram aplicadas na Análise de Tweed.")
                                                              : QStringLiteral("As medidas foram aplicadas na Análise de Tweed.");
    if (!outOfRange.isEmpty())
        text += QStringLiteral("\rFora do intervalo dos campos (não aplicadas): %1. Confira a posição dos pontos.")
                    .arg(outOfRange.join(QStringLiteral(", ")));
    if (!missing.isEmpty())
        text += QStringLiteral("\rNão medidas: %1.").arg(missing.join(QStringLiteral(", ")));
    notice(int(NoticeKind::Information), text);
}

}  // namespace qv
