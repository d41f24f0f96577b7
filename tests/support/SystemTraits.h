#pragma once
// What a test needs of the system that only Linux has. Such tests skip on Windows, saying why;
// PlatformFilesTest holds Windows' own cases (a read-only file, a file another program keeps
// open, reserved names, long paths).

#include <gtest/gtest.h>

namespace qv::test {

#ifdef _WIN32
inline constexpr bool kPosixPermissions = false;  // access lists instead of permission bits
inline constexpr bool kLinuxTools = false;
inline constexpr bool kCaseSensitiveNames = false;
#else
inline constexpr bool kPosixPermissions = true;
inline constexpr bool kLinuxTools = true;
inline constexpr bool kCaseSensitiveNames = true;
#endif

}  // namespace qv::test

// Permission bits (0600), a read-only folder, running as another user.
#define QV_NEEDS_POSIX_PERMISSIONS()                                                               \
    do {                                                                                        \
        if (!::qv::test::kPosixPermissions)                                                     \
            GTEST_SKIP() << "Windows: permission bits and other users are access lists there";  \
    } while (0)
// Symbolic links made by QFile::link (a shortcut, .lnk, on Windows).
#define QV_NEEDS_SYMLINKS()                                                                      \
    do {                                                                                        \
        if (!::qv::test::kLinuxTools)                                                           \
            GTEST_SKIP() << "Windows: QFile::link makes a shortcut there, not a symbolic link"; \
    } while (0)
// PDF files read back with poppler-utils, ELF objects with binutils: Linux programs.
#define QV_NEEDS_LINUX_TOOLS()                                                                           \
    do {                                                                                                \
        if (!::qv::test::kLinuxTools)                                                                   \
            GTEST_SKIP() << "Windows: reads its output back with Linux programs (poppler-utils, binutils)"; \
    } while (0)
