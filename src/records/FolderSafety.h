#pragma once
// Whether the folder of the patient files keeps the promise the locks rest on: that creating a
// file exclusively (O_CREAT|O_EXCL) is atomic across every computer writing it. Local file
// systems, the kernel's SMB client ("cifs") and NFS from version 3 keep it; FUSE clients of a
// share (smbnetfs, sshfs ...) and file systems this program does not know are not trusted to.

#include "platform/Volume.h"

#include <QString>

namespace qv {

using platform::FindMount;
using platform::HasAtomicExclusiveCreate;
using platform::MountOf;

// The mount a path lies on, in a given text of /proc/self/mountinfo (Linux).
MountOf FindMountIn(const QByteArray& mountinfo, const QString& canonicalPath);

// The warning to show about `folder` ("Análises"), naming its mount; empty when it is safe.
QString UnprotectedFolderWarning(const QString& folder);

// UnprotectedFolderWarning the first time a mount is found unsafe in this run; empty after, so
// the start-up and every save may ask and the clinician is told once.
QString UnprotectedFolderWarningOnce(const QString& folder);

}  // namespace qv
