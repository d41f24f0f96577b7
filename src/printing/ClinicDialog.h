#pragma once
// "Dados do Consultório": the window in which the clinic's letterhead is typed and its logo
// chosen; OK writes the settings file of the working folder.

#include "printing/ClinicInfo.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv::platform {
class Dialogs;
}

namespace qv::report {

class ClinicDialog : public QDialog {
    Q_OBJECT
public:
    ClinicDialog(platform::Dialogs& dialogs, const ClinicInfo& info, QWidget* parent = nullptr);

    ClinicInfo info() const;
    // Asks for an image through the shared open-file dialog; one that cannot be read is
    // refused with a warning and the logo stays as it was.
    void chooseLogo();
    void removeLogo();
    // Saves; a failed write is reported and the window stays open.
    void accept() override;

    static QString Caption();  // "Dados do Consultório"

private:
    void showLogo();

    platform::Dialogs& m_dialogs;
    QLineEdit* m_clinic = nullptr;
    QLineEdit* m_professional = nullptr;
    QLineEdit* m_registration = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_email = nullptr;
    QLabel* m_logoView = nullptr;
    QPushButton* m_remove = nullptr;
    QString m_logo;
};

// Opens the window over `parent` with the working folder's letterhead.
void EditClinicInfo(platform::Dialogs& dialogs, QWidget* parent);

}  // namespace qv::report
