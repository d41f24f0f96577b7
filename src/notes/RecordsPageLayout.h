#pragma once
// The frame both records pages share: the patient field on top, their text fields in the
// middle, a row of buttons at the bottom.

#include "platform/Dialogs.h"

#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace qv {

QPushButton* RecordsPageButton(QWidget* page, const char* name, const QString& caption);

// The page's layout with the patient row in place; the caller adds its fields, then ends it
// with FinishRecordsPage.
QVBoxLayout* StartRecordsPage(QWidget* page, QLabel* patientLabel, QLineEdit* patient);
void FinishRecordsPage(QVBoxLayout* layout, const QList<QPushButton*>& buttons);

// Before a save on either page: a patient's name that is empty, or that no file may be named
// after, is told through `notice` and the save does not go on.
bool PatientNameSavable(const QString& patient, const std::function<void(platform::NoticeKind, const QString&)>& notice);

// A file chosen for a page (an empty path: cancelled) read only when it has the page's extension.
bool IsRecordsFile(const QString& path, const char* extension);

}  // namespace qv
