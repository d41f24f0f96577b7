#pragma once
// Helpers shared by the history and plan page tests.

#include "records/FileLimit.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>

namespace qv::test {

// Types text character by character, as a keyboard would (non-ASCII included); "\n" is Enter.
inline void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(w, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A paragraph of words that the field shows on about `lines` lines (at least lines - 0.5 widths).
inline QString paragraphFor(const QPlainTextEdit* field, double widths)
{
    const QFontMetrics fm(field->font());
    const int width = field->viewport()->width();
    QString text;
    for (int i = 0; fm.horizontalAdvance(text) < widths * width; ++i)
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("PALAVRA%1").arg(i % 10);
    return text;
}


}  // namespace qv::test
