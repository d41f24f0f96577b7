#include "notes/RecordsPageLayout.h"

#include "records/PatientName.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

QPushButton* RecordsPageButton(QWidget* page, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, page);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedSize(140, 36);
    return b;
}

QVBoxLayout* StartRecordsPage(QWidget* page, QLabel* patientLabel, QLineEdit* patient)
{
    auto* name = new QVBoxLayout;
    name->setSpacing(2);
    name->addWidget(patientLabel);
    name->addWidget(patient);
    auto* nameRow = new QHBoxLayout;
    nameRow->addLayout(name, 3);
    nameRow->addStretch(2);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(4);
    layout->addLayout(nameRow);
    layout->addSpacing(8);
    return layout;
}

void FinishRecordsPage(QVBoxLayout* layout, const QList<QPushButton*>& buttons)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(24);
    row->addStretch();
    for (QPushButton* b : buttons)
        row->addWidget(b);
    row->addStretch();
    layout->addSpacing(10);
    layout->addLayout(row);
}

bool PatientNameSavable(const QString& patient, const std::function<void(platform::NoticeKind, const QString&)>& notice)
{
    if (patient.isEmpty()) {
        notice(platform::NoticeKind::Warning, QStringLiteral("O nome do paciente deve ser preenchido!"));
        return false;
    }
    if (!IsSafePatientName(patient)) {
        notice(platform::NoticeKind::Error, UnsafePatientNameText());
        return false;
    }
    return true;
}

bool IsRecordsFile(const QString& path, const char* extension) { return path.contains(QLatin1String(extension)); }

}  // namespace qv
