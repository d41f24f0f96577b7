#pragma once
// The frame both records pages share: the patient field on top, their text fields in the
// middle, a row of buttons at the bottom.

#include <QList>
#include <QString>

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

}  // namespace qv
