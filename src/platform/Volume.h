#pragma once
// What a folder lies on, and whether creating a file there exclusively is atomic across every
// computer writing it: what the locks beside patient files rest on. Each platform answers in
// its own way (posix/Volume.cpp: the kernel's file system type and /proc/self/mountinfo;
// windows/Volume.cpp: the volume and its file system as Windows reports them).

#include <QString>

namespace qv::platform {

struct MountOf {
    QString mountPoint;
    QString type;    // "ext4", "fuse.smbnetfs", "NTFS" ...
    QString source;  // "/dev/sda1", "//servidor/quorvel", "\\servidor\quorvel" ...
    QString options; // the file system's own options ("vers=4.2,hard,..."); none on Windows
};

// The mount or volume a path lies on.
MountOf FindMount(const QString& canonicalPath);

// True when exclusive creates in `folder` (after following links) are known to be atomic.
// A folder that does not exist is nobody's concern here.
bool HasAtomicExclusiveCreate(const QString& folder);

}  // namespace qv::platform
