#pragma once
// libarchive, which writes and reads the backups, linked like any other library.

#include <archive.h>
#include <archive_entry.h>

#include <QString>

namespace qv {

// libarchive's reason for a failure (English, or null), told in Portuguese with the original
// kept in parentheses for whoever has to look deeper: "o arquivo compactado termina antes do
// fim (truncated gzip input)".
QString ArchiveReason(const char* libarchiveText);

}  // namespace qv
