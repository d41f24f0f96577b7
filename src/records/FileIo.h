#pragma once
// Whole-file reads and safe replacement, shared by every file of the program.

#include <QByteArray>
#include <QString>

namespace qv {

// Reads at least `minimum` bytes of the file (all of it when minimum < 0); throws IoError.
QByteArray ReadFileBytes(const QString& path, qsizetype minimum = -1);

// Reads the first `size` bytes of a file of fixed records, leaving the rest unread however
// large the file is; throws IoError, also when the file is shorter.
QByteArray ReadFileHead(const QString& path, qsizetype size);

// Replaces the file's content through a temporary file renamed over it, so the file
// always holds either the old or the new content; throws IoError.
void ReplaceFileBytes(const QString& path, const QByteArray& bytes);

// Creates the file (failing if it exists when exclusive) and writes it whole; throws IoError.
void WriteNewFileBytes(const QString& path, const QByteArray& bytes);

}  // namespace qv
