#pragma once
// Every modal box of the program goes through here, so tests can script them.

#include <QPointer>
#include <QString>

class QAction;
class QWidget;

namespace qv::platform {

enum class NoticeKind { Warning, Error, Information };
enum class Answer { Yes, No, Closed };

struct OpenFileRequest {
    QString defaultSuffix;  // without the dot, e.g. "twe"
    QString filter;         // "Description|*.ext"
};

struct SaveFileRequest {
    QString title;          // e.g. "Cópia de Segurança"
    QString suggestedName;  // file name offered, e.g. "Quorvel-2026-12-09.tar.gz"
    QString filter;         // "Description|*.ext"
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The tray item "&Ocultar" is disabled while a box is up and enabled after it.
    void setHideItem(QAction* popOcultar);
    QAction* hideItem() const { return m_hideItem; }
    void setHideItemEnabled(bool enabled);

    // Modal box with one OK button, bracketed by the tray item. With enableAfter false the
    // item stays disabled after the box (a window that acts as a dialog follows it).
    void ShowNotice(NoticeKind kind, const QString& text, const QString& caption, bool enableAfter = true);
    // Reports a failed file operation: error box captioned "Quorvel".
    void ShowFailure(const QString& message);
    // Yes/No question captioned "Confirm", bracketed like ShowNotice.
    Answer Confirm(const QString& text);
    // The shared open-file dialog: disables the tray item; the caller's action enables it at its end.
    // Returns the chosen file's path, or an empty text when cancelled.
    QString OpenFile(const OpenFileRequest& request);
    // A save-file dialog (asks before overwriting a file), bracketed like ShowNotice. Returns the
    // chosen path, or an empty text when cancelled.
    QString SaveFile(const SaveFileRequest& request);
    // Boxes of the start-up and shutdown: captioned "Quorvel", no tray bracket.
    void StartupMessage(NoticeKind kind, const QString& text);

    // Where boxes are shown over (the active window when null).
    void setParentWindow(QWidget* parent) { m_parent = parent; }
    QWidget* parentWindow() const { return m_parent; }

protected:
    virtual void showMessage(NoticeKind kind, const QString& text, const QString& caption) = 0;
    virtual Answer askYesNo(const QString& text, const QString& caption) = 0;
    virtual QString chooseFile(const OpenFileRequest& request) = 0;
    // Without a save-file dialog of its own a Dialogs answers as if cancelled.
    virtual QString chooseSaveFile(const SaveFileRequest&) { return QString(); }
    bool hideItemEnabled() const;

private:
    QPointer<QAction> m_hideItem;
    QPointer<QWidget> m_parent;
};

// Turns the stored "\r" line breaks into breaks Qt shows.
QString DisplayText(const QString& text);

// The dialogs a clinician sees.
class QtDialogs : public Dialogs {
protected:
    void showMessage(NoticeKind kind, const QString& text, const QString& caption) override;
    Answer askYesNo(const QString& text, const QString& caption) override;
    QString chooseFile(const OpenFileRequest& request) override;
    QString chooseSaveFile(const SaveFileRequest& request) override;
};

}  // namespace qv::platform
