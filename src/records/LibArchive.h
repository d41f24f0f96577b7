#pragma once
// libarchive, opened with the first backup or restore instead of being linked, so that starting
// the program does not load it. Its own headers give every function's type.

#include <archive.h>
#include <archive_entry.h>

#include <QString>

namespace qv {

#define QV_LIBARCHIVE_FUNCTIONS(X)                                                                             \
    X(archive_error_string) X(archive_read_new) X(archive_read_free) X(archive_read_support_filter_gzip)       \
    X(archive_read_support_format_tar) X(archive_read_open_filename) X(archive_read_next_header)               \
    X(archive_read_data) X(archive_write_new) X(archive_write_free) X(archive_write_add_filter_gzip)            \
    X(archive_write_set_format_pax_restricted) X(archive_write_set_format_option) X(archive_write_open_fd)      \
    X(archive_write_header) X(archive_write_data) X(archive_write_close) X(archive_entry_new)                   \
    X(archive_entry_free) X(archive_entry_pathname) X(archive_entry_filetype) X(archive_entry_size)            \
    X(archive_entry_size_is_set) X(archive_entry_set_pathname) X(archive_entry_set_filetype)                   \
    X(archive_entry_set_perm) X(archive_entry_set_size) X(archive_entry_set_mtime)

struct LibArchive {
#define QV_LIBARCHIVE_MEMBER(name) decltype(&::name) name = nullptr;
    QV_LIBARCHIVE_FUNCTIONS(QV_LIBARCHIVE_MEMBER)
#undef QV_LIBARCHIVE_MEMBER
};

// The library with every function above, opened once and kept; nullptr when it cannot be
// opened or lacks a function, with the reason in `error`.
const LibArchive* OpenLibArchive(QString* error = nullptr);

// libarchive's reason for a failure (English, or null), told in Portuguese with the original
// kept in parentheses for whoever has to look deeper: "o arquivo compactado termina antes do
// fim (truncated gzip input)".
QString ArchiveReason(const char* libarchiveText);

}  // namespace qv
