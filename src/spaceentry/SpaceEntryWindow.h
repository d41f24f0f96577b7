#pragma once
// Form4, "Análise Total do Espaço": required and present space entered tooth by tooth (or
// imported from the Bolton page) and added up into the Tweed page's six space fields.

#include "records/BoltonSheet.h"
#include "analysis/SpaceSums.h"

#include <QWidget>

#include <array>
#include <functional>

class QLineEdit;
class QPushButton;

namespace qv {

namespace platform {
class Dialogs;
}

// What the window needs from the main window and the two analysis pages, set where the
// windows are built; each link may be left empty.
struct SpaceEntryLinks {
    std::function<void(bool)> setMainWindowEnabled;      // Form2 enabled
    std::function<BoltonLowerRow()> boltonLowerRow;      // the Bolton page's lower row as typed
    std::function<QString()> boltonPatient;              // bpaciente
    std::function<QString()> tweedPatient;               // twPaciente
    std::function<bool()> boltonCalculated;              // the Bolton page's CALCULAR is disabled
    std::function<void(const SpaceSums&)> fillTweedSpace;  // anaer, anaep, anmer, anmep, anper, anpep
};

class SpaceEntryWindow : public QWidget {
    Q_OBJECT
public:
    explicit SpaceEntryWindow(QWidget* parent = nullptr);
    explicit SpaceEntryWindow(platform::Dialogs& dialogs, QWidget* parent = nullptr);

    void setDialogs(platform::Dialogs& dialogs) { m_dialogs = &dialogs; }
    void setLinks(SpaceEntryLinks links) { m_links = std::move(links); }

    // The Tweed page's `total`: Form2 and the tray item "&Ocultar" are disabled while this shows.
    void Open();
    void Button1Click();  // CANCELAR: leave, writing nothing
    void Button2Click();  // SALVAR: the six sums into the Tweed page, then leave
    void Button3Click();  // LIMPAR: empty every entry; the Tweed page runs it too
    void Button4Click();  // IMPORTAR: the Bolton page's lower row into the required space

    SpaceEntries entries() const;

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose

private:
    void build();
    QLineEdit* entry(const QString& name, const QString& accessibleName, const QColor& colour);
    void warn(const QString& text, const QString& caption);
    void leave();

    platform::Dialogs* m_dialogs = nullptr;
    SpaceEntryLinks m_links;
    std::array<QLineEdit*, 16> m_s{};
    QLineEdit* m_i01 = nullptr;
    QLineEdit* m_i03 = nullptr;
    QLineEdit* m_i06 = nullptr;
    QLineEdit* m_i12 = nullptr;
    QLineEdit* m_i15 = nullptr;
    QPushButton* m_importar = nullptr;
};

}  // namespace qv
