#pragma once
// "Normas...": the clinic's mean and standard deviation of every measure, one table per analysis,
// the analysis picked from a list beside it (a dozen analyses and more stay in reach). An empty
// pair means the measure has no norm; "Restaurar padrões" puts back the definitions' own.

#include "analysis/CephNorms.h"

#include <QDialog>

#include <vector>
#include <optional>

class QTableWidget;

namespace qv {

namespace platform {
class Dialogs;
}
class CephNormsStore;

class NormsDialog : public QDialog {
    Q_OBJECT
public:
    NormsDialog(platform::Dialogs& dialogs, const CephNorms& norms, QWidget* parent = nullptr);

    // The norms as the tables hold them, or why not (the analysis, the measure and what is wrong).
    std::optional<CephNorms> edited(QString* why = nullptr) const;
    // What OK took; the norms given while the dialog was not accepted.
    const CephNorms& norms() const { return m_norms; }
    void showNorms(const CephNorms& norms);
    // The table of the analysis of that title; null when there is none.
    QTableWidget* table(const QString& title) const;

    void accept() override;

    // "Arquivo > Normas...": the dialog over `parent` with the store's norms; OK saves them, and
    // norms that could not be saved are not lost: the dialog comes back with them.
    static void Edit(platform::Dialogs& dialogs, CephNormsStore& store, QWidget* parent);

private:
    platform::Dialogs& m_dialogs;
    CephNorms m_norms;
    std::vector<QTableWidget*> m_tables;  // per analysis of the norms
};

}  // namespace qv
