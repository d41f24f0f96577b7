// The window's landmark proposals: proposing on the radiograph shown, confirming, learning from
// the saved tracings in the background, and how accurate the proposals have been.

#include "tracing/TracingWindow.h"

#include "platform/Dialogs.h"
#include "tracing/ProposalAccuracyWindow.h"
#include "tracing/TracingCanvas.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

using platform::NoticeKind;

}  // namespace

QWidget* TracingWindow::buildProposalButtons()
{
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* propose = new QToolButton;
    propose->setObjectName(QStringLiteral("tPropor"));
    propose->setText(QStringLiteral("Propor pontos"));
    propose->setToolTip(QStringLiteral("Propõe os pontos das análises escolhidas, aprendidos com os traçados salvos do "
                                       "consultório. Cada ponto proposto fica vazado até você confirmá-lo."));
    propose->setPopupMode(QToolButton::MenuButtonPopup);
    propose->setMinimumHeight(28);
    propose->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* menu = new QMenu(propose);
    QAction* learn = menu->addAction(QStringLiteral("Aprender com os traçados salvos..."));
    QAction* accuracy = menu->addAction(QStringLiteral("Precisão das propostas..."));
    learn->setObjectName(QStringLiteral("tAprender"));
    accuracy->setObjectName(QStringLiteral("tPrecisao"));
    connect(learn, &QAction::triggered, this, &TracingWindow::tAprenderClick);
    connect(accuracy, &QAction::triggered, this, &TracingWindow::tPrecisaoClick);
    propose->setMenu(menu);
    connect(propose, &QToolButton::clicked, this, &TracingWindow::tProporClick);
    m_confirmAll = new QPushButton(QStringLiteral("Confirmar todos"));
    m_confirmAll->setObjectName(QStringLiteral("tConfirmarTodos"));
    m_confirmAll->setToolTip(QStringLiteral("Confirma onde estão todos os pontos ainda apenas propostos."));
    m_confirmAll->setMinimumHeight(28);
    m_confirmAll->setEnabled(false);
    connect(m_confirmAll, &QPushButton::clicked, this, &TracingWindow::tConfirmarTodosClick);
    column->addWidget(propose);
    column->addWidget(m_confirmAll);
    return box;
}

QWidget* TracingWindow::buildProposalRow()
{
    m_proposalRow = new QWidget;
    auto* row = new QHBoxLayout(m_proposalRow);
    row->setContentsMargins(0, 0, 0, 0);
    m_proposalText = new QLabel;
    m_proposalText->setObjectName(QStringLiteral("tPropostasInfo"));
    m_proposalText->setWordWrap(true);
    m_learningBar = new QProgressBar;
    m_learningBar->setObjectName(QStringLiteral("tAprendendo"));
    m_learningBar->setFixedWidth(140);
    m_learningBar->setAccessibleName(QStringLiteral("Aprendendo com os traçados salvos"));
    m_cancelLearning = new QPushButton(QStringLiteral("Cancelar"));
    m_cancelLearning->setObjectName(QStringLiteral("tCancelarAprendizado"));
    connect(m_cancelLearning, &QPushButton::clicked, &m_learning, &LandmarkLearning::cancel);
    row->addWidget(m_proposalText, 1);
    row->addWidget(m_learningBar);
    row->addWidget(m_cancelLearning);
    connect(&m_learning, &LandmarkLearning::progress, this, &TracingWindow::learningProgress);
    connect(&m_learning, &LandmarkLearning::finished, this, &TracingWindow::learningFinished);
    connect(&m_learning, &LandmarkLearning::modelChanged, this, [this] {
        const auto& model = m_learning.model();
        m_proposalAccuracy = model ? std::optional(model->accuracy) : std::nullopt;
    });
    connect(m_canvas, &TracingCanvas::proposedPointClicked, &m_model, &TracingModel::confirm);
    learningProgress(0, 0);
    return m_proposalRow;
}

// Below the buttons: the points waiting to be confirmed, or the learning under way.
void TracingWindow::showProposals()
{
    const int pending = int(m_model.proposedPoints().count());
    m_confirmAll->setEnabled(pending > 0);
    m_canvas->setProposed(m_model.proposedPoints());
    const bool learning = m_learning.learning();
    if (pending > 0)
        m_proposalText->setText(QStringLiteral("%1 %2.")
                                    .arg(pending)
                                    .arg(pending == 1 ? QStringLiteral("ponto proposto aguarda confirmação")
                                                      : QStringLiteral("pontos propostos aguardam confirmação")));
    else if (learning)
        m_proposalText->setText(QStringLiteral("Aprendendo com os traçados salvos..."));
    else
        m_proposalText->clear();
    m_learningBar->setVisible(learning);
    m_cancelLearning->setVisible(learning);
    m_proposalRow->setVisible(pending > 0 || learning);
}

void TracingWindow::learningProgress(int done, int total)
{
    m_learningBar->setRange(0, std::max(total, 1));
    m_learningBar->setValue(std::min(done, std::max(total, 1)));
    showProposals();
}

void TracingWindow::learningFinished(bool learned, const QString& text)
{
    const bool asked = std::exchange(m_learningAsked, false);
    showProposals();
    if (text.isEmpty())
        return;  // cancelled
    if (asked)
        notice(int(learned ? NoticeKind::Information : NoticeKind::Warning), text);
    else if (!learned)
        m_proposalText->setText(text);
}

void TracingWindow::tellModelProblem()
{
    if (const QString problem = m_learning.load(); !problem.isEmpty())
        notice(int(NoticeKind::Warning), problem);
}

void TracingWindow::tProporClick()
{
    if (m_model.imageFile().isEmpty() || m_radiograph.isNull()) {
        notice(int(NoticeKind::Warning), QStringLiteral("Abra a radiografia do paciente para que o programa proponha os pontos."));
        return;
    }
    if (!m_model.calibration().known()) {
        notice(int(NoticeKind::Warning),
               QStringLiteral("Calibre a radiografia antes de pedir as propostas: o programa procura os pontos pelo "
                              "tamanho real da imagem, em milímetros."));
        return;
    }
    tellModelProblem();
    const std::shared_ptr<const ProposalModel> model = m_learning.model();
    if (!model) {
        if (m_learning.learning()) {
            notice(int(NoticeKind::Information), QStringLiteral("O programa está aprendendo com os traçados salvos. As propostas "
                                                                "ficam prontas quando a barra de progresso terminar."));
            return;
        }
        const LandmarkLearning::Survey s = m_learning.survey();
        if (s.usable < kMinimumTracings) {
            QString text = QStringLiteral("Ainda não há pontos aprendidos. O programa aprende com os traçados salvos do "
                                          "consultório e precisa de pelo menos %1 traçados calibrados com a radiografia; "
                                          "há %2.")
                               .arg(kMinimumTracings)
                               .arg(s.usable);
            if (s.tracings > s.usable)
                text += QStringLiteral(" (%1 traçados salvos não contam: sem a radiografia ou sem calibração.)").arg(s.tracings - s.usable);
            notice(int(NoticeKind::Information), text);
        } else if (confirm(QStringLiteral("Os pontos ainda não foram aprendidos. Há %1 traçados salvos para aprender, o que "
                                          "leva alguns minutos em segundo plano. Aprender agora?")
                               .arg(s.usable))) {
            m_learningAsked = m_learning.learn();
        }
        return;
    }
    std::vector<Landmark> known, unknown;
    for (Landmark l : m_model.placingOrder())
        (model->knows(l) ? known : unknown).push_back(l);
    if (known.empty()) {
        notice(int(NoticeKind::Information), QStringLiteral("Os traçados salvos ainda não ensinaram nenhum dos pontos destas "
                                                            "análises (%1): cada ponto precisa estar em %2 traçados.")
                                                 .arg(LandmarkCodes(unknown))
                                                 .arg(kMinimumTracings));
        return;
    }
    const Radiograph& r = m_radiograph;
    LandmarkSet found = Propose(*model, PrepareRadiograph(GreyOf(r), m_model.calibration()), known);
    // A proposal never lies off the radiograph.
    for (Landmark l : known)
        if (found.has(l))
            found.set(l, QPointF(std::clamp(found.at(l).x(), 0.0, double(r.width)), std::clamp(found.at(l).y(), 0.0, double(r.height))));
    const int proposed = m_model.propose(found);
    QStringList told;
    if (proposed == 0)
        told << QStringLiteral("Todos os pontos que o programa conhece já foram marcados por você: nada foi proposto.");
    if (!unknown.empty())
        told << QStringLiteral("Não propostos, ainda não aprendidos (cada ponto precisa estar em %1 traçados): %2.")
                    .arg(kMinimumTracings)
                    .arg(LandmarkCodes(unknown));
    if (!told.isEmpty())
        notice(int(NoticeKind::Information), told.join(u'\r'));
}

void TracingWindow::tConfirmarTodosClick() { m_model.confirmAll(); }

void TracingWindow::tAprenderClick()
{
    tellModelProblem();
    if (m_learning.learning()) {
        notice(int(NoticeKind::Information), QStringLiteral("O programa já está aprendendo com os traçados salvos."));
        return;
    }
    const LandmarkLearning::Survey s = m_learning.survey();
    if (s.usable < kMinimumTracings) {
        notice(int(NoticeKind::Information),
               QStringLiteral("São precisos pelo menos %1 traçados salvos, calibrados e com a radiografia, para aprender; há %2.")
                   .arg(kMinimumTracings)
                   .arg(s.usable));
        return;
    }
    m_learningAsked = m_learning.learn();
}

void TracingWindow::tPrecisaoClick()
{
    tellModelProblem();
    const auto& model = m_learning.model();
    if (!model) {
        notice(int(NoticeKind::Information), QStringLiteral("Ainda não há pontos aprendidos: a precisão das propostas é "
                                                            "medida quando o programa aprende com os traçados salvos."));
        return;
    }
    auto* window = qobject_cast<ProposalAccuracyWindow*>(m_accuracyWindow);
    if (!window) {
        window = new ProposalAccuracyWindow(this);
        m_accuracyWindow = window;
    }
    window->show(model->accuracy, model->learnedAt);
}

}  // namespace qv
