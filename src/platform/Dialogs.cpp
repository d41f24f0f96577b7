#include "platform/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace qv::platform {

void Dialogs::setHideItem(QAction* popOcultar) { m_hideItem = popOcultar; }

void Dialogs::setHideItemEnabled(bool enabled)
{
    if (m_hideItem)
        m_hideItem->setEnabled(enabled);
}

bool Dialogs::hideItemEnabled() const { return m_hideItem && m_hideItem->isEnabled(); }

void Dialogs::ShowNotice(NoticeKind kind, const QString& text, const QString& caption, bool enableAfter)
{
    setHideItemEnabled(false);
    showMessage(kind, text, caption);
    if (enableAfter)
        setHideItemEnabled(true);
}

void Dialogs::ShowFailure(const QString& message) { ShowNotice(NoticeKind::Error, message, QStringLiteral("Quorvel")); }

Answer Dialogs::Confirm(const QString& text)
{
    setHideItemEnabled(false);
    const Answer a = askYesNo(text, QStringLiteral("Confirm"));
    setHideItemEnabled(true);
    return a;
}

QString Dialogs::OpenFile(const OpenFileRequest& request)
{
    setHideItemEnabled(false);
    return chooseFile(request);
}

QString Dialogs::SaveFile(const SaveFileRequest& request)
{
    setHideItemEnabled(false);
    const QString path = chooseSaveFile(request);
    setHideItemEnabled(true);
    return path;
}

void Dialogs::StartupMessage(NoticeKind kind, const QString& text) { showMessage(kind, text, QStringLiteral("Quorvel")); }

QString DisplayText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

namespace {

QWidget* boxParent(QWidget* preferred)
{
    if (preferred && preferred->isVisible())
        return preferred;
    QWidget* active = QApplication::activeWindow();
    return active;
}

}  // namespace

void QtDialogs::showMessage(NoticeKind kind, const QString& text, const QString& caption)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    if (kind == NoticeKind::Warning)
        icon = QMessageBox::Warning;
    else if (kind == NoticeKind::Error)
        icon = QMessageBox::Critical;
    QMessageBox box(icon, caption, DisplayText(text), QMessageBox::NoButton, boxParent(parentWindow()));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

Answer QtDialogs::askYesNo(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Question, caption, DisplayText(text), QMessageBox::NoButton, boxParent(parentWindow()));
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    // Escape and the close box must not pass for "No": they land on a button nobody sees.
    QPushButton* none = box.addButton(QMessageBox::Cancel);
    none->hide();
    box.setEscapeButton(none);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Closed;
}

QString QtDialogs::chooseFile(const OpenFileRequest& request)
{
    QFileDialog dialog(boxParent(parentWindow()), QStringLiteral("Abrir..."));
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setDirectory(QDir::current().absoluteFilePath(QStringLiteral("Análises")));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontResolveSymlinks, true);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // "Description|*.ext" pairs become Qt's "Description (*.ext)".
    const QStringList parts = request.filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::chooseSaveFile(const SaveFileRequest& request)
{
    QFileDialog dialog(boxParent(parentWindow()), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QDir::homePath());
    dialog.selectFile(request.suggestedName);
    const QStringList parts = request.filter.split(u'|');
    if (parts.size() == 2)
        dialog.setNameFilter(QStringLiteral("%1 (%2)").arg(parts[0], parts[1]));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace qv::platform
