#pragma once
// A private CUPS scheduler for tests: its own configuration, spool and socket in a temporary
// folder, so the machine's printing system is never touched. Its one queue keeps what each
// job hands to the printer (the document and the job's attributes) in a folder of its own.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

namespace qv::test {

class CupsQueue {
public:
    static constexpr const char* kPrinter = "QuorvelPDF";

    CupsQueue()
    {
        m_dir.setAutoRemove(true);
        const QDir d(m_dir.path());
        for (const char* sub : {"etc", "spool", "tmp", "cache", "state", "log", "out", "bin", "bin/backend"})
            d.mkpath(QString::fromLatin1(sub));
        // The filters run as an unprivileged user: they need to reach the folders.
        for (const char* sub : {"", "tmp", "out"})
            QFile::setPermissions(d.filePath(QString::fromLatin1(sub)), QFileDevice::Permissions(0x7777));
        QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7755));
        // The system's filters and helpers, and a backend that keeps each job in out/.
        for (const char* sub : {"filter", "daemon", "cgi-bin", "monitor", "notifier"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + QString::fromLatin1(sub), d.filePath(QStringLiteral("bin/") + QString::fromLatin1(sub)));
        write(QStringLiteral("bin/backend/keep"),
              "#!/bin/sh\n"
              "# keep: a virtual PDF printer; each job's document and attributes go to the URI's folder.\n"
              "if [ $# -eq 0 ]; then echo 'file keep \"Quorvel\" \"PDF printer\"'; exit 0; fi\n"
              "dir=\"${DEVICE_URI#keep:}\"\n"
              "if [ $# -ge 6 ]; then cat \"$6\" > \"$dir/job-$1.part\"; else cat > \"$dir/job-$1.part\"; fi\n"
              "printf 'title=%s\\ncopies=%s\\noptions=%s\\n' \"$3\" \"$4\" \"$5\" > \"$dir/job-$1.txt\"\n"
              "mv \"$dir/job-$1.part\" \"$dir/job-$1.pdf\"\n");
        QFile::setPermissions(d.filePath(QStringLiteral("bin/backend/keep")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        write(QStringLiteral("cupsd.conf"), QStringLiteral("Listen %1\nLogLevel debug\nBrowsing Off\nWebInterface No\n"
                                                           "DefaultAuthType None\nJobRetryLimit 0\n"
                                                           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n")
                                                .arg(socket())
                                                .toUtf8());
        write(QStringLiteral("cups-files.conf"),
              QStringLiteral("ServerRoot %1/etc\nServerBin %1/bin\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\n"
                             "StateDir %1/state\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                             "PageLog %1/log/page_log\n")
                  .arg(m_dir.path())
                  .toUtf8());
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"), {QStringLiteral("-f"), QStringLiteral("-c"), d.filePath(QStringLiteral("cupsd.conf")),
                                                          QStringLiteral("-s"), d.filePath(QStringLiteral("cups-files.conf"))});
        if (!m_cupsd.waitForStarted(5000)) {
            m_why = QStringLiteral("cupsd could not be started: ") + m_cupsd.errorString();
            return;
        }
        for (int i = 0; i < 100 && !QFile::exists(socket()); ++i) {
            if (m_cupsd.waitForFinished(100)) {
                m_why = QStringLiteral("cupsd stopped at once: ") + QString::fromUtf8(m_cupsd.readAll()) + log();
                return;
            }
        }
        if (!QFile::exists(socket())) {
            m_why = QStringLiteral("cupsd did not open its socket: ") + log();
            return;
        }
        const QString added = admin(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-p"), QString::fromLatin1(kPrinter), QStringLiteral("-E"),
                                                                   QStringLiteral("-v"), QStringLiteral("keep:") + outDir()});
        if (!added.isEmpty())
            m_why = QStringLiteral("lpadmin failed: ") + added;
    }

    ~CupsQueue()
    {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(5000))
                m_cupsd.kill();
            m_cupsd.waitForFinished(2000);
        }
    }

    bool running() const { return m_why.isEmpty(); }
    QString whyNot() const { return m_why; }
    QString socket() const { return m_dir.filePath(QStringLiteral("cups.sock")); }
    QString outDir() const { return m_dir.filePath(QStringLiteral("out")); }
    QString log() const
    {
        QFile f(m_dir.filePath(QStringLiteral("log/error_log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll().right(4000)) : QString();
    }

    // Runs a CUPS command against this scheduler; its error output, empty when it succeeded.
    QString admin(const QString& program, const QStringList& args) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), socket());
        p.setProcessEnvironment(env);
        p.start(program, args);
        if (!p.waitForFinished(20000))
            return program + QStringLiteral(" did not finish");
        const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
        if (p.exitCode() != 0)
            return err.isEmpty() ? program + QStringLiteral(" failed") : err;
        return {};
    }

    // Waits for the job the queue's backend completes after the ones already there; its number,
    // or 0 when none arrives in time.
    int waitForJob(int after, int timeoutMs = 30000) const
    {
        for (int waited = 0; waited < timeoutMs; waited += 100) {
            if (newestJob() > after)
                return newestJob();
            QThread::msleep(100);
        }
        return 0;
    }

    // The number of the last job the backend completed, 0 before the first.
    int newestJob() const
    {
        int newest = 0;
        for (const QString& j : QDir(outDir()).entryList({QStringLiteral("job-*.pdf")}))
            newest = std::max(newest, j.mid(4, j.size() - 8).toInt());
        return newest;
    }

    // The attributes the backend was given for a job: title, copies and options.
    QString attributes(int job) const
    {
        QFile f(QDir(outDir()).filePath(QStringLiteral("job-%1.txt").arg(job)));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QString document(int job) const { return QDir(outDir()).filePath(QStringLiteral("job-%1.pdf").arg(job)); }

private:
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(m_dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }

    QTemporaryDir m_dir{QStringLiteral("/tmp/quorvel-cups-XXXXXX")};
    QProcess m_cupsd;
    QString m_why;
};

}  // namespace qv::test
