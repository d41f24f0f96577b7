#pragma once
// Makes every write of this process beyond a file size fail, as a full disk would, for as long
// as the object lives.

#include <csignal>

// Windows has no limit of a process's file size to stand for a full disk: the tests that need one
// skip there, saying so (the writes' failures at flush and close are tested on both systems).
#ifdef _WIN32
#define QV_NEEDS_FILE_SIZE_LIMIT() GTEST_SKIP() << "Windows: no file size limit to stand for a full disk"
#else
#define QV_NEEDS_FILE_SIZE_LIMIT() (void)0
#include <sys/resource.h>
#endif

namespace qv::test {

#ifdef _WIN32
class FileSizeLimit {
public:
    explicit FileSizeLimit(long long) {}
};
#else
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};
#endif

}  // namespace qv::test
