// Which mount a folder lies on, read from the system's table of mounts.

#include "records/FolderSafety.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;

namespace {

const QByteArray kMounts =
    "21 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n"
    "30 21 0:26 / /mnt rw shared:5 - tmpfs tmpfs rw\n"
    "31 30 0:40 / /mnt/quorvel rw,nosuid,nodev - fuse.smbnetfs smbnetfs rw,user_id=1000,group_id=1000\n"
    "32 30 0:41 / /mnt/quorvel2 rw - cifs //servidor/quorvel rw,vers=3.1.1,cache=strict\n"
    "33 30 0:42 / /mnt/com\\040espa\\303\\247o rw - nfs4 servidor:/srv rw,vers=4.2,hard\n"
    "34 21 0:43 / /srv rw master:7 unbindable - nfs servidor:/velho rw,vers=2,soft\n"
    "35 30 0:44 / /mnt/quorvel rw - cifs //outro/quorvel rw\n"  // mounted over the first
    "garbage line\n";

TEST(MountTable, TheDeepestMountHoldingThePathIsFound)
{
    struct Case {
        const char* path;
        const char* point;
        const char* type;
        const char* source;
    };
    const Case cases[] = {
        {"/home/ana/Quorvel/Análises", "/", "ext4", "/dev/sda1"},
        {"/mnt", "/mnt", "tmpfs", "tmpfs"},
        {"/mnt/quorvel2/Análises", "/mnt/quorvel2", "cifs", "//servidor/quorvel"},
        {"/mnt/quorvel/Análises", "/mnt/quorvel", "cifs", "//outro/quorvel"},  // the one on top
        {"/mnt/quorvelX/Análises", "/mnt", "tmpfs", "tmpfs"},                  // not inside /mnt/quorvel
        {"/mnt/com espaço/Análises", "/mnt/com espaço", "nfs4", "servidor:/srv"},
        {"/srv/Análises", "/srv", "nfs", "servidor:/velho"},                     // optional fields skipped
    };
    for (const Case& c : cases) {
        const MountOf m = FindMountIn(kMounts, QString::fromUtf8(c.path));
        EXPECT_EQ(m.mountPoint, QString::fromUtf8(c.point)) << c.path;
        EXPECT_EQ(m.type, QString::fromUtf8(c.type)) << c.path;
        EXPECT_EQ(m.source, QString::fromUtf8(c.source)) << c.path;
    }
    EXPECT_EQ(FindMountIn(kMounts, QStringLiteral("/srv/x")).options, QStringLiteral("rw,vers=2,soft"));
    EXPECT_EQ(FindMountIn(QByteArray(), QStringLiteral("/x")).mountPoint, QString());
}

TEST(MountTable, AMissingFolderIsNoConcernAndAnExistingOneHasItsMount)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Análises")));
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("Análises"));
    EXPECT_TRUE(HasAtomicExclusiveCreate(QDir(dir.path()).filePath(QStringLiteral("missing"))));
    EXPECT_TRUE(UnprotectedFolderWarning(QDir(dir.path()).filePath(QStringLiteral("missing"))).isEmpty());
    const MountOf m = FindMount(QDir(folder).canonicalPath());
    EXPECT_TRUE(QDir(folder).canonicalPath().startsWith(m.mountPoint)) << qPrintable(m.mountPoint);
    EXPECT_FALSE(m.type.isEmpty());
}

}  // namespace
