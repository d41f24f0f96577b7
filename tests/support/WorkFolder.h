#pragma once
// A fresh temporary working folder holding the three data files and Análises/,
// made current for the test and left (and removed) after it.

#include "support/FakeDialogs.h"

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

}  // namespace qv::test
