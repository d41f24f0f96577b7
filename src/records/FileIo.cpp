#include "records/FileIo.h"

#include "records/IoError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qv {

QByteArray ReadFileBytes(const QString& path, qsizetype minimum)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError::cannotOpen(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError::cannotOpen(path);
    if (minimum >= 0 && bytes.size() < minimum)
        throw IoError::tooShort(path);
    return bytes;
}

QByteArray ReadFileHead(const QString& path, qsizetype size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError::cannotOpen(path);
    const QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError)
        throw IoError::cannotOpen(path);
    if (bytes.size() < size)
        throw IoError::tooShort(path);
    return bytes;
}

void ReplaceFileBytes(const QString& path, const QByteArray& bytes)
{
    // Renaming over a file would succeed where writing it is not allowed: keep the file's own say.
    if (QFileInfo::exists(path)) {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Append))
            throw IoError::cannotWrite(path);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError::cannotWrite(path);
    // commit() in this Qt does not see a failure of the final buffered flush and would rename a
    // cut-off file over the old one; an explicit flush catches it, and the uncommitted file is dropped.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        throw IoError::cannotWrite(path);
}

void WriteNewFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw IoError::cannotWrite(path);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.close();
        file.remove();
        throw IoError::cannotWrite(path);
    }
}

}  // namespace qv
