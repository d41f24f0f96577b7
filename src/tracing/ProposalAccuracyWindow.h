#pragma once
// "Precisão das propostas": per landmark, how far the proposals fell from the clinician's own
// points on the clinic's tracings the model did not learn from.

#include "analysis/ProposalAccuracy.h"

#include <QDateTime>
#include <QDialog>

class QTableWidget;

namespace qv {

class ProposalAccuracyWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProposalAccuracyWindow(QWidget* parent = nullptr);
    void show(const ProposalAccuracy& accuracy, const QDateTime& learnedAt);

private:
    QTableWidget* m_table = nullptr;
    class QLabel* m_summary = nullptr;
};

// "1,8 mm", "83 %": the accuracy's figures as the window and the report word them.
QString AccuracyMm(double mm);
QString AccuracyShare(double share);

}  // namespace qv
