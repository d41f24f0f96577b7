#pragma once
// A multi-line field whose text goes to a Windows-1252 file: typing, input methods, pasting and
// dropping let in only what the file can store, so what is saved is what was shown.

#include <QPlainTextEdit>
#include <QStringList>

namespace qv {

class StorableTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit StorableTextEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

// The lines of a field as it shows them: a paragraph the field wraps gives one line per
// displayed line, and an empty last line (after a final line break) is not counted.
QStringList DisplayedLines(const QPlainTextEdit* field);

}  // namespace qv
