#pragma once
// A fresh temporary working folder holding the three data files and Análises/,
// made current for the test and left (and removed) after it.

#include "support/FakeDialogs.h"
#include "support/SystemTraits.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::test {

class WorkFolder {
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const;  // absolute path of a file in the folder
    QByteArray read(const QString& name) const;
    void write(const QString& name, const QByteArray& bytes) const;
    bool exists(const QString& name) const;
    void remove(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Base fixture: a fresh working folder and fake dialogs that must have every box taken.
class WorkFolderTest : public ::testing::Test {
protected:
    void TearDown() override;
    WorkFolder work;
    FakeDialogs dialogs;
};

QByteArray StatsBytes(quint8 flag, qint32 tweed, qint32 bolton, qint32 guide);

// The fonts the windows and reports are laid out in, where the system has none of them
// (Windows: the program installed there has them beside it), and the program's look. Call once
// the application exists, as the program does.
void UseProgramFontsAndLook();

// Settings a test writes reach neither the user's own nor those of a test CTest runs beside it:
// each test process keeps them in a folder of its own. Call at the start of main.
void KeepSettingsApart();

}  // namespace qv::test

namespace qv::test {

// File modes do not stop root. For tests of unreadable or unwritable files this runs the
// scope as an ordinary user when the tests run as root (CI does), opening the working
// folder to that user first. ok() is false when no such switch is possible.
class Unprivileged {
public:
    explicit Unprivileged(const WorkFolder& work);
    ~Unprivileged();
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
    bool ok() const { return m_ok; }

private:
    bool m_switched = false;
    bool m_ok = false;
};

// Sets a file's or folder's permission bits for everybody (owner, group, others).
void SetModeForAll(const QString& path, bool read, bool write, bool execute = false);

}  // namespace qv::test
