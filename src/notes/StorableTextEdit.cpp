#include "notes/StorableTextEdit.h"

#include "records/TextFile.h"

#include <QAbstractTextDocumentLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>

namespace qv {

StorableTextEdit::StorableTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

void StorableTextEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    // Control characters pass: they are shortcuts and editing keys, not text.
    if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && StorableText(text) != text) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void StorableTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = StorableText(event->commitString());
    if (commit == event->commitString()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&filtered);
}

void StorableTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source || isReadOnly())
        return;
    const QString text = StorableText(source->text());
    if (!text.isEmpty())
        textCursor().insertText(text);
}

QStringList DisplayedLines(const QPlainTextEdit* field)
{
    QStringList lines;
    const QTextDocument* doc = field->document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (!block.next().isValid() && text.isEmpty())
            break;  // the empty last line after a final line break
        QTextLayout* tl = block.layout();
        if (tl->lineCount() == 0)
            layout->blockBoundingRect(block);  // lays the block out at the field's width
        if (tl->lineCount() == 0) {
            lines.append(text);
            continue;
        }
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            lines.append(text.mid(line.textStart(), line.textLength()));
        }
    }
    return lines;
}

}  // namespace qv
