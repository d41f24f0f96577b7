// A FUSE file system over a folder that behaves like a FUSE client of an SMB share, for the
// tests of saving on such a share:
//  - an exclusive create is not exclusive: O_EXCL is dropped and the file truncated;
//  - link() fails with EPERM; rename() with flags (RENAME_NOREPLACE) fails with EINVAL;
//  - a file that is open cannot be deleted (EBUSY);
//  - opening for appending fails (EIO);
//  - fsync does nothing; modes are ignored (files are 0744).
// Mounting the same folder twice gives two "computers" of one share.
//
//   quorvel_share_fs <backing folder> <mount point>     (runs in the foreground; SIGTERM unmounts)

#define FUSE_USE_VERSION 31
#include <fuse3/fuse.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace op {

std::string g_root;
std::mutex g_openMutex;
std::map<std::string, int> g_open;  // path -> handles open on it

std::string real(const char* path) { return g_root + path; }

void opened(const char* path)
{
    std::lock_guard<std::mutex> guard(g_openMutex);
    ++g_open[path];
}

void closed(const char* path)
{
    std::lock_guard<std::mutex> guard(g_openMutex);
    if (--g_open[path] <= 0)
        g_open.erase(path);
}

bool isOpen(const char* path)
{
    std::lock_guard<std::mutex> guard(g_openMutex);
    return g_open.count(path) != 0;
}

int fail() { return -errno; }

void* init(fuse_conn_info*, fuse_config* cfg)
{
    cfg->hard_remove = 1;  // unlink reaches the file system even for an open file
    cfg->entry_timeout = 0;
    cfg->attr_timeout = 0;
    cfg->negative_timeout = 0;
    cfg->auto_cache = 1;
    return nullptr;
}

int getattr(const char* path, struct stat* st, fuse_file_info* fi)
{
    if (fi)
        return ::fstat(int(fi->fh), st) == 0 ? 0 : fail();
    return ::lstat(real(path).c_str(), st) == 0 ? 0 : fail();
}

int readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info*, fuse_readdir_flags)
{
    DIR* d = ::opendir(real(path).c_str());
    if (!d)
        return fail();
    while (dirent* e = ::readdir(d))
        fill(buf, e->d_name, nullptr, 0, fuse_fill_dir_flags(0));
    ::closedir(d);
    return 0;
}

int create(const char* path, mode_t, fuse_file_info* fi)
{
    // The request travels to the server and back.
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    const int fd = ::open(real(path).c_str(), (fi->flags & ~O_EXCL) | O_CREAT | O_TRUNC, 0744);
    if (fd < 0)
        return fail();
    fi->fh = uint64_t(fd);
    opened(path);
    return 0;
}

int open(const char* path, fuse_file_info* fi)
{
    if (fi->flags & O_APPEND)
        return -EIO;
    const int fd = ::open(real(path).c_str(), fi->flags & ~O_CREAT);
    if (fd < 0)
        return fail();
    fi->fh = uint64_t(fd);
    opened(path);
    return 0;
}

int read(const char*, char* buf, size_t size, off_t offset, fuse_file_info* fi)
{
    const ssize_t n = ::pread(int(fi->fh), buf, size, offset);
    return n < 0 ? fail() : int(n);
}

int write(const char*, const char* buf, size_t size, off_t offset, fuse_file_info* fi)
{
    const ssize_t n = ::pwrite(int(fi->fh), buf, size, offset);
    return n < 0 ? fail() : int(n);
}

int release(const char* path, fuse_file_info* fi)
{
    ::close(int(fi->fh));
    closed(path);
    return 0;
}

int fsync(const char*, int, fuse_file_info*) { return 0; }
int flush(const char*, fuse_file_info*) { return 0; }

int unlink(const char* path)
{
    if (isOpen(path))
        return -EBUSY;
    return ::unlink(real(path).c_str()) == 0 ? 0 : fail();
}

int rename(const char* from, const char* to, unsigned int flags)
{
    if (flags)
        return -EINVAL;
    return ::rename(real(from).c_str(), real(to).c_str()) == 0 ? 0 : fail();
}

int link(const char*, const char*) { return -EPERM; }
int chmod(const char*, mode_t, fuse_file_info*) { return 0; }
int chown(const char*, uid_t, gid_t, fuse_file_info*) { return 0; }

int truncate(const char* path, off_t size, fuse_file_info* fi)
{
    const int r = fi ? ::ftruncate(int(fi->fh), size) : ::truncate(real(path).c_str(), size);
    return r == 0 ? 0 : fail();
}

int utimens(const char* path, const timespec tv[2], fuse_file_info* fi)
{
    const int r = fi ? ::futimens(int(fi->fh), tv) : ::utimensat(AT_FDCWD, real(path).c_str(), tv, AT_SYMLINK_NOFOLLOW);
    return r == 0 ? 0 : fail();
}

int mkdir(const char* path, mode_t mode) { return ::mkdir(real(path).c_str(), mode) == 0 ? 0 : fail(); }
int rmdir(const char* path) { return ::rmdir(real(path).c_str()) == 0 ? 0 : fail(); }
int statfs(const char*, struct statvfs* st) { return ::statvfs(g_root.c_str(), st) == 0 ? 0 : fail(); }
int access(const char* path, int mask) { return ::access(real(path).c_str(), mask) == 0 ? 0 : fail(); }

}  // namespace op

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <backing folder> <mount point>\n", argv[0]);
        return 2;
    }
    char resolved[PATH_MAX];
    if (!::realpath(argv[1], resolved))
        return 2;
    op::g_root = resolved;

    fuse_operations ops{};
    ops.init = op::init;
    ops.getattr = op::getattr;
    ops.readdir = op::readdir;
    ops.create = op::create;
    ops.open = op::open;
    ops.read = op::read;
    ops.write = op::write;
    ops.release = op::release;
    ops.fsync = op::fsync;
    ops.flush = op::flush;
    ops.unlink = op::unlink;
    ops.rename = op::rename;
    ops.link = op::link;
    ops.chmod = op::chmod;
    ops.chown = op::chown;
    ops.truncate = op::truncate;
    ops.utimens = op::utimens;
    ops.mkdir = op::mkdir;
    ops.rmdir = op::rmdir;
    ops.statfs = op::statfs;
    ops.access = op::access;

    char* args[] = {argv[0], argv[2], const_cast<char*>("-f"), const_cast<char*>("-o"),
                    const_cast<char*>("fsname=sharelike,subtype=sharelike,auto_unmount,max_threads=8"), nullptr};
    return fuse_main(5, args, &ops, nullptr);
}
