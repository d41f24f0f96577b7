#pragma once
// Form4, "Análise Total do Espaço": required and present space entered tooth by tooth (or
// imported from the Bolton page) and added up into the Tweed page's six space fields.

#include "records/BoltonSheet.h"
#include "analysis/SpaceSums.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace qv {

namespace platform {
class Dialogs;
}

// What IMPORTAR copies and checks, as the two analysis pages stand when the window opens (the
// main window stays disabled while it shows, so they cannot change).
struct SpaceImportSource {
    BoltonLowerRow boltonRow{};  // the Bolton page's lower row as typed
    QString boltonPatient;       // bpaciente
    QString tweedPatient;        // twPaciente
    bool boltonCalculated = false;  // the Bolton page's CALCULAR is disabled
};

class SpaceEntryWindow : public QWidget {
    Q_OBJECT
public:
    explicit SpaceEntryWindow(QWidget* parent = nullptr);
    explicit SpaceEntryWindow(platform::Dialogs& dialogs, QWidget* parent = nullptr);

    void setDialogs(platform::Dialogs& dialogs) { m_dialogs = &dialogs; }
    void setImportSource(const SpaceImportSource& source) { m_source = source; }

    // The Tweed page's `total`: Form2 and the tray item "&Ocultar" are disabled while this shows.
    void Open();
    void Button1Click();  // CANCELAR: leave, writing nothing
    void Button2Click();  // SALVAR: the six sums into the Tweed page, then leave
    void Button3Click();  // LIMPAR: empty every entry; the Tweed page runs it too
    void Button4Click();  // IMPORTAR: the Bolton page's lower row into the required space

    SpaceEntries entries() const;

signals:
    // Form2 is disabled while the window shows, and enabled again when it is left.
    void mainWindowEnabledRequested(bool enabled);
    // SALVAR: the six sums for anaer, anaep, anmer, anmep, anper and anpep.
    void spaceSummed(const qv::SpaceSums& sums);

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose

private:
    void build();
    QLineEdit* entry(const QString& name, const QString& accessibleName, const QColor& colour);
    void warn(const QString& text, const QString& caption);
    void leave();

    platform::Dialogs* m_dialogs = nullptr;
    SpaceImportSource m_source;
    std::array<QLineEdit*, 16> m_s{};
    QLineEdit* m_i01 = nullptr;
    QLineEdit* m_i03 = nullptr;
    QLineEdit* m_i06 = nullptr;
    QLineEdit* m_i12 = nullptr;
    QLineEdit* m_i15 = nullptr;
    QPushButton* m_importar = nullptr;
};

}  // namespace qv
