#pragma once
// Form3: the diagnosis guide questionnaire. Created once and only shown and hidden, so its
// answers survive from one opening to the next until cleared.

#include "analysis/DiagnosisGeneration.h"
#include "records/GuideAnswers.h"
#include "analysis/PanelState.h"

#include <QHash>
#include <QWidget>

#include <array>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qv {

namespace platform {
class Dialogs;
}

class GuideWindow : public QWidget {
    Q_OBJECT
public:
    explicit GuideWindow(platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // The Tweed page's "GUIA DIAGNÓSTICO": disables Form2 and the tray item, shows the notice
    // that the diagnosis is only a suggestion, captioned with the page's caption, then the guide.
    // The diagnosis is generated from these results of the analysis (A, M, P and ANB as shown),
    // which cannot change while the guide is open.
    void Open(const QString& pageCaption, const GuideInputs& readings);

    // Resets the answers (LIMPAR); the consistency rules hide and uncheck the rest.
    void ClearGuide();

    // Shows the first incomplete answer, if any, and returns whether one was found.
    bool ValidateAnswers();

    GuideAnswers answers() const;
    // Answer controls by objectName ("daapinh" .. "dessevera", "clsim", "clnao"); null for others.
    QAbstractButton* answerControl(const QString& name) const;
    bool answer(const QString& name) const;
    // Sets a control as a click would, running its rule when the state changes. Unchecking one
    // of clsim/clnao checks the other.
    void setAnswer(const QString& name, bool checked);
    // Sets the controls from stored answers in the order that lets the rules derive what is not
    // stored: only the first six answers unless clsim is set.
    void restoreAnswers(const GuideAnswers& stored);

    // Handlers.
    void FormClose();
    void gcancelarClick();
    void glimparClick();
    void gdiagClick();

signals:
    // Form2 is disabled while the guide shows, and enabled again when it is left.
    void mainWindowEnabledRequested(bool enabled);
    // DIAGNÓSTICO: the panel generated from the readings and these answers, after the count.
    void diagnosisGenerated(const qv::PanelState& panel, const qv::GuideAnswers& answers);
    // Any change of the answers, by the clinician, a clear or a restore.
    void answersChanged(const qv::GuideAnswers& answers);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void connectRules();
    QCheckBox* box(const QString& name, const QString& caption);
    QRadioButton* radio(const QString& name, const QString& caption);
    void leaveGuide();
    void centreOnScreen();
    void describeDeepBite(bool deep);
    // Runs the rules of a control set to `on`, then shows what they changed.
    void setControl(GuideControl control, bool on);
    // Shows m_form on the controls: all of it, or what differs from `before`.
    void showForm(const GuideForm* before = nullptr);

    platform::Dialogs& m_dialogs;
    GuideInputs m_readings;
    QHash<QString, QAbstractButton*> m_controls;
    std::array<QAbstractButton*, kGuideAnswerCount> m_buttons{};  // in the order of GuideControl
    GuideForm m_form = InitialGuideForm();

    QCheckBox *daapinh, *menor, *maior;
    QCheckBox *dmapinh, *dmrel, *dmpro;
    QCheckBox *dpadq, *dpinadeq;
    QRadioButton *clsim, *clnao;
    QCheckBox *horcl2, *direita, *esquerda, *sem, *horcl3;
    QCheckBox *aberta, *profunda, *suave, *media, *severa;
    QCheckBox *desarm, *dessuave, *dessevera;
    QLabel *label1, *label2;
    QPushButton *gcancelar, *glimpar, *gdiag;
};

}  // namespace qv
