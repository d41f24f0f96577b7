#pragma once
// The suggested-diagnosis panel "ds" of the Tweed page: headings, suggestion texts, "ou" labels
// and extraction crosses, all display-only. Its contents come and go as a PanelState.

#include "analysis/PanelState.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QFrame;
class QLabel;

namespace qv {

class DiagnosisPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit DiagnosisPanel(QWidget* parent = nullptr);

    // Hides every heading, "ou" label and line; empties every text and quadrant.
    void ClearPanel();
    // Shows exactly what the state holds (a carriage return starts a new line).
    void showState(const PanelState& state);
    // What the panel shows now, texts with their carriage returns.
    PanelState state() const;

    // The page's hidden flag kept in this group.
    QCheckBox* abrirFlag() const { return m_abrir; }

    struct Cross {
        QFrame* horizontal = nullptr;
        QFrame* vertical = nullptr;
        std::array<QLabel*, 4> quadrants{};
    };

private:
    QLabel* m_antInfo;
    QLabel* m_medInfo;
    QLabel* m_posInfo;
    QLabel* m_descInfo;
    QLabel* m_dsant;
    QLabel* m_dsmed;
    QLabel* m_dsmed2;
    QLabel* m_dspos;
    std::array<QLabel*, 5> m_dsdesc{};
    QLabel* m_ou;
    std::array<QLabel*, 4> m_ouDesc{};
    Cross m_ant, m_med, m_med2, m_pos;
    std::array<Cross, 4> m_desc{};
    QCheckBox* m_abrir;
};

}  // namespace qv
