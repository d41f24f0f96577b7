#pragma once
// Whether the folder of the patient files keeps the promise the locks rest on: that creating a
// file exclusively (O_CREAT|O_EXCL) is atomic across every computer writing it. Local file
// systems, the kernel's SMB client ("cifs") and NFS from version 3 keep it; FUSE clients of a
// share (smbnetfs, sshfs ...) and file systems this program does not know are not trusted to.

#include <QString>

namespace qv {

// The mount a path lies on, from /proc/self/mountinfo.
struct MountOf {
    QString mountPoint;
    QString type;    // "ext4", "fuse.smbnetfs" ...
    QString source;  // "/dev/sda1", "//servidor/quorvel", "smbnetfs" ...
    QString options; // the file system's own options ("vers=4.2,hard,...")
};
MountOf FindMount(const QString& canonicalPath);
// The same, in a given text of /proc/self/mountinfo.
MountOf FindMountIn(const QByteArray& mountinfo, const QString& canonicalPath);

// True when exclusive creates in `folder` (after following links) are known to be atomic.
// A folder that does not exist is nobody's concern here.
bool HasAtomicExclusiveCreate(const QString& folder);

// The warning to show about `folder` ("Análises"), naming its mount; empty when it is safe.
QString UnprotectedFolderWarning(const QString& folder);

// UnprotectedFolderWarning the first time a mount is found unsafe in this run; empty after, so
// the start-up and every save may ask and the clinician is told once.
QString UnprotectedFolderWarningOnce(const QString& folder);

}  // namespace qv
