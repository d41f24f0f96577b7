#include "platform/FolderReader.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv::platform {

struct FolderReader::State {
    DIR* dir = nullptr;
    QByteArray entry;
};

FolderReader::FolderReader(const QString& folder) : m(std::make_unique<State>())
{
    m->dir = ::opendir(QFile::encodeName(folder).constData());
}

FolderReader::~FolderReader()
{
    if (m->dir)
        ::closedir(m->dir);
}

bool FolderReader::found() const { return m->dir != nullptr; }

bool FolderReader::next(QString& name)
{
    while (dirent* e = ::readdir(m->dir)) {
        if (e->d_type == DT_DIR)
            continue;
        m->entry = e->d_name;
        name = QFile::decodeName(m->entry);
        return true;
    }
    return false;
}

FileStat FolderReader::stat() const
{
    FileStat out;
    struct stat st;
    if (::fstatat(::dirfd(m->dir), m->entry.constData(), &st, 0) != 0)
        return out;  // a link to nothing: listed, but unreadable
    out.ok = true;
    out.directory = S_ISDIR(st.st_mode);
    out.size = st.st_size;
    out.modifiedMs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    return out;
}

std::optional<QByteArray> FolderReader::read(qint64 size) const
{
    const int fd = ::openat(::dirfd(m->dir), m->entry.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray bytes;
    bytes.resize(qMax<qint64>(size, 0) + 1);
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    return bytes;
}

}  // namespace qv::platform
