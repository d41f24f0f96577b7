#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

namespace qv::test {

using platform::Answer;
using platform::NoticeKind;

namespace {

const char* kindName(NoticeKind k)
{
    switch (k) {
    case NoticeKind::Warning:
        return "warning";
    case NoticeKind::Error:
        return "error";
    case NoticeKind::Information:
        return "information";
    }
    return "?";
}

}  // namespace

void FakeDialogs::record(Box box)
{
    m_boxes.push_back(box);
    if (onBox)
        onBox(m_boxes.back());
}

Box FakeDialogs::take()
{
    if (m_boxes.empty()) {
        ADD_FAILURE() << "expected a box, but none was shown";
        return {};
    }
    Box b = m_boxes.front();
    m_boxes.erase(m_boxes.begin());
    return b;
}

void FakeDialogs::expectNotice(NoticeKind kind, const QString& text, const QString& caption)
{
    const Box b = take();
    EXPECT_EQ(b.type, Box::Notice);
    EXPECT_EQ(kindName(b.kind), std::string(kindName(kind)));
    EXPECT_EQ(b.text.toStdString(), text.toStdString());
    EXPECT_EQ(b.caption.toStdString(), caption.toStdString());
}

QString FakeDialogs::describePending() const
{
    QString out;
    for (const Box& b : m_boxes)
        out += QStringLiteral("[%1 %2 \"%3\": %4] ")
                   .arg(b.type == Box::Notice ? QStringLiteral("notice") : b.type == Box::Question ? QStringLiteral("question") : b.type == Box::SaveFile ? QStringLiteral("save") : QStringLiteral("open"),
                        QString::fromLatin1(kindName(b.kind)), b.caption, b.text);
    return out;
}

void FakeDialogs::showMessage(NoticeKind kind, const QString& text, const QString& caption)
{
    record({Box::Notice, kind, text, caption, hideItemEnabled()});
}

Answer FakeDialogs::askYesNo(const QString& text, const QString& caption)
{
    record({Box::Question, NoticeKind::Information, text, caption, hideItemEnabled()});
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return Answer::Closed;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

QString FakeDialogs::chooseSaveFile(const platform::SaveFileRequest& request)
{
    lastSaveRequest = request;
    record({Box::SaveFile, NoticeKind::Information, request.suggestedName, request.title, hideItemEnabled()});
    if (saveFiles.empty()) {
        ADD_FAILURE() << "unexpected save-file dialog: " << request.title.toStdString();
        return QString();
    }
    const QString f = saveFiles.front();
    saveFiles.pop_front();
    return f;
}

QString FakeDialogs::chooseFile(const platform::OpenFileRequest& request)
{
    lastOpenRequest = request;
    record({Box::OpenFile, NoticeKind::Information, request.filter, QStringLiteral("Abrir..."), hideItemEnabled()});
    if (files.empty()) {
        ADD_FAILURE() << "unexpected open-file dialog: " << request.filter.toStdString();
        return QString();
    }
    const QString f = files.front();
    files.pop_front();
    return f;
}

}  // namespace qv::test
