#include "platform/FolderReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

namespace qv::platform {

struct FolderReader::State {
    QString folder;
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data {};
    bool pending = false;  // `data` holds an entry not handed out yet
    QString name;
};

FolderReader::FolderReader(const QString& folder) : m(std::make_unique<State>())
{
    m->folder = folder;
    const QString pattern = QDir::toNativeSeparators(QDir(folder).absoluteFilePath(QStringLiteral("*")));
    m->find = ::FindFirstFileExW(reinterpret_cast<const wchar_t*>(pattern.utf16()), FindExInfoBasic, &m->data,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    m->pending = m->find != INVALID_HANDLE_VALUE;
}

FolderReader::~FolderReader()
{
    if (m->find != INVALID_HANDLE_VALUE)
        ::FindClose(m->find);
}

bool FolderReader::found() const { return m->find != INVALID_HANDLE_VALUE; }

bool FolderReader::next(QString& name)
{
    if (m->find == INVALID_HANDLE_VALUE)
        return false;
    for (;;) {
        if (!m->pending && !::FindNextFileW(m->find, &m->data))
            return false;
        m->pending = false;
        if (m->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        m->name = QString::fromWCharArray(m->data.cFileName);
        name = m->name;
        return true;
    }
}

FileStat FolderReader::stat() const
{
    FileStat out;
    if (m->data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A link: what it points to, as the POSIX reader does.
        const QFileInfo target(QDir(m->folder).filePath(m->name));
        if (!target.exists())
            return out;
        out.ok = true;
        out.directory = target.isDir();
        out.size = target.size();
        out.modifiedMs = target.lastModified().toMSecsSinceEpoch();
        return out;
    }
    out.ok = true;
    out.size = (qint64(m->data.nFileSizeHigh) << 32) | m->data.nFileSizeLow;
    // FILETIME counts 100 ns from 1601-01-01.
    const qint64 ticks = (qint64(m->data.ftLastWriteTime.dwHighDateTime) << 32) | m->data.ftLastWriteTime.dwLowDateTime;
    out.modifiedMs = ticks / 10000 - 11644473600000LL;
    return out;
}

std::optional<QByteArray> FolderReader::read(qint64) const
{
    QFile file(QDir(m->folder).filePath(m->name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

}  // namespace qv::platform
