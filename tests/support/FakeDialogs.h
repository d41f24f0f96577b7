#pragma once
// Scripted boxes for tests: records every box and answers questions from queues.
// Every recorded box must be taken by the test; any left over fails it (see WorkFolderTest).

#include "platform/Dialogs.h"
#include "platform/Display.h"
#include "platform/Shell.h"

#include <deque>
#include <functional>
#include <vector>

namespace qv::test {

struct Box {
    enum Type { Notice, Question, OpenFile, SaveFile } type = Notice;
    platform::NoticeKind kind = platform::NoticeKind::Information;
    QString text;
    QString caption;
    bool hideItemEnabled = false;  // state of "&Ocultar" while the box was up
};

class FakeDialogs : public platform::Dialogs {
public:
    std::deque<platform::Answer> answers;  // for Confirm
    std::deque<QString> files;             // for OpenFile; an empty text cancels
    std::function<void(const Box&)> onBox; // runs while the box is "up"
    platform::OpenFileRequest lastOpenRequest; // what the last open-file dialog was set up with
    std::deque<QString> saveFiles;         // for SaveFile; an empty text cancels
    platform::SaveFileRequest lastSaveRequest;

    const std::vector<Box>& pending() const { return m_boxes; }
    // Removes and returns the oldest box; fails the test when there is none.
    Box take();
    // Takes one box and checks it is a notice of this kind, text and caption.
    void expectNotice(platform::NoticeKind kind, const QString& text, const QString& caption);
    void clear() { m_boxes.clear(); }
    // A text listing the boxes nobody took, for failure messages.
    QString describePending() const;

protected:
    void showMessage(platform::NoticeKind kind, const QString& text, const QString& caption) override;
    platform::Answer askYesNo(const QString& text, const QString& caption) override;
    QString chooseFile(const platform::OpenFileRequest& request) override;
    QString chooseSaveFile(const platform::SaveFileRequest& request) override;

private:
    void record(Box box);
    std::vector<Box> m_boxes;
};

class FakeDisplay : public platform::Display {
public:
    platform::DisplayMode mode{1920, 1080, 32};
    int measured = 0;
    std::vector<platform::DisplayMode> switches;
    platform::DisplayMode Measure() override
    {
        ++measured;
        return mode;
    }
    void Switch(const platform::DisplayMode& m) override { switches.push_back(m); }
};

class FakeShell : public platform::Shell {
public:
    std::vector<QUrl> opened;
    void Open(const QUrl& address) override { opened.push_back(address); }
};

}  // namespace qv::test
