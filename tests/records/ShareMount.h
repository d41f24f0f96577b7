#pragma once
// One mount of the FUSE share client of ShareLikeFs.cpp over a folder, for as long as the object
// lives; every mount of one folder is one computer of the clinic.

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/vfs.h>
#include <unistd.h>
#endif

namespace qv::test {

#ifdef _WIN32
// The share client is a FUSE file system: Linux only.
inline bool IsFuseMount(const QString&) { return false; }
inline QString ShareClientMissing(const QString&) { return QStringLiteral("Windows: the share client is a Linux FUSE file system"); }
#else
inline bool IsFuseMount(const QString& path)
{
    struct statfs fs {};
    return ::statfs(QFile::encodeName(path).constData(), &fs) == 0 && static_cast<unsigned long>(fs.f_type) == 0x65735546ul;
}

// Why the share client cannot run here; empty when it can. Tests skip with this message.
inline QString ShareClientMissing(const QString& program)
{
    if (program.isEmpty())
        return QStringLiteral("built without libfuse3 (libfuse3-dev): the share client cannot be emulated");
    const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fuse < 0)
        return QStringLiteral("no usable /dev/fuse (%1): the share client cannot be emulated").arg(QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fuse);
    return QString();
}
#endif

class ShareMount {
public:
    ShareMount(const QString& program, const QString& server, const QString& point) : m_point(point)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, {server, point});
        if (!m_process.waitForStarted(10000))
            return;
        QDeadlineTimer deadline(10000);
        while (!IsFuseMount(point) && !deadline.hasExpired() && m_process.state() == QProcess::Running)
            QThread::msleep(20);
    }
    ~ShareMount()
    {
        m_process.terminate();  // the file system unmounts itself on SIGTERM
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
        EXPECT_FALSE(IsFuseMount(m_point)) << "still mounted: " << qPrintable(m_point);
    }
    ShareMount(const ShareMount&) = delete;
    ShareMount& operator=(const ShareMount&) = delete;

    bool mounted() const { return IsFuseMount(m_point); }

private:
    QString m_point;
    QProcess m_process;
};

}  // namespace qv::test
