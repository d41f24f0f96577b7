#pragma once
// The names of a folder's files, each file's size and time, and its bytes. A listing of 20,000
// patient files runs every few seconds while the patients window shows, so each platform goes to
// the system directly (opendir/fstatat; FindFirstFileExW, which gives size and time with the
// name): Qt's iterator and file info cost several times more per file.

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace qv::platform {

struct FileStat {
    bool ok = false;
    bool directory = false;
    qint64 size = -1;
    qint64 modifiedMs = 0;
};

class FolderReader {
public:
    explicit FolderReader(const QString& folder);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    bool found() const;
    // The next entry that is not a folder; false at the end.
    bool next(QString& name);
    // The current entry, through links (a link to nothing is not ok).
    FileStat stat() const;
    // The current entry's bytes; `size` is a hint.
    std::optional<QByteArray> read(qint64 size) const;

private:
    struct State;
    std::unique_ptr<State> m;
};

}  // namespace qv::platform
