#include "support/WorkFolder.h"

#include "platform/Look.h"
#include "records/StatsFile.h"

#include <QDir>
#include <QFile>

namespace qv::test {

WorkFolder::WorkFolder() : m_previous(QDir::currentPath())
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    const QDir data(QStringLiteral(QUORVEL_DATA_DIR));
    for (const QString& name : {QStringLiteral("Stats.cef"), QStringLiteral("Bolton.cef"), QStringLiteral("Análises.rav")})
        if (!QFile::copy(data.filePath(name), file(name)))
            throw std::runtime_error("cannot copy the data files from " QUORVEL_DATA_DIR);
    for (const QString& name : {QStringLiteral("Stats.cef"), QStringLiteral("Bolton.cef"), QStringLiteral("Análises.rav")})
        QFile::setPermissions(file(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QDir(m_dir.path()).mkdir(QStringLiteral("Análises"));
    QDir::setCurrent(m_dir.path());
}

WorkFolder::~WorkFolder()
{
    QDir::setCurrent(m_previous);
    // Undo read-only permissions a test may have set, so the folder can be removed.
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir analyses(file(QStringLiteral("Análises")));
    if (analyses.exists())
        QFile::setPermissions(analyses.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString WorkFolder::file(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

QByteArray WorkFolder::read(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void WorkFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << name.toStdString();
}

bool WorkFolder::exists(const QString& name) const { return QFile::exists(file(name)); }

void WorkFolder::remove(const QString& name) const { QFile::remove(file(name)); }

void WorkFolderTest::TearDown()
{
    EXPECT_TRUE(dialogs.pending().empty()) << "boxes nobody expected: " << dialogs.describePending().toStdString();
}

QByteArray StatsBytes(quint8 flag, qint32 tweed, qint32 bolton, qint32 guide)
{
    StatsRecord r;
    r.instanceFlag = flag;
    r.tweedCount = tweed;
    r.boltonCount = bolton;
    r.guideCount = guide;
    return r.encode();
}

}  // namespace qv::test

#include <QDirIterator>
#include <QFontDatabase>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#ifdef _WIN32

namespace qv::test {

// Windows keeps a read-only attribute on files only; the tests that need more skip.
void SetModeForAll(const QString& path, bool read, bool write, bool)
{
    QFile::Permissions p;
    if (read)
        p |= QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
    if (write)
        p |= QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    QFile::setPermissions(path, p);
}

Unprivileged::Unprivileged(const WorkFolder&) {}

Unprivileged::~Unprivileged() = default;

#else

#include <sys/stat.h>
#include <unistd.h>

namespace qv::test {

namespace {
constexpr uid_t kNobody = 65534;
}

void SetModeForAll(const QString& path, bool read, bool write, bool execute)
{
    mode_t mode = 0;
    if (read)
        mode |= S_IRUSR | S_IRGRP | S_IROTH;
    if (write)
        mode |= S_IWUSR | S_IWGRP | S_IWOTH;
    if (execute)
        mode |= S_IXUSR | S_IXGRP | S_IXOTH;
    ::chmod(QFile::encodeName(path).constData(), mode);
}

Unprivileged::Unprivileged(const WorkFolder& work)
{
    if (::geteuid() != 0) {
        m_ok = true;
        return;
    }
    // Let the ordinary user reach the folder, and read and write what the test did not restrict.
    QString dir = work.path();
    while (!dir.isEmpty() && dir != QLatin1String("/")) {
        struct stat st;
        if (::stat(QFile::encodeName(dir).constData(), &st) == 0)
            ::chmod(QFile::encodeName(dir).constData(), st.st_mode | S_IXOTH);
        dir = QFileInfo(dir).path();
    }
    SetModeForAll(work.path(), true, true, true);
    QDirIterator it(work.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        struct stat st;
        if (::stat(QFile::encodeName(p).constData(), &st) != 0)
            continue;
        // Copy the owner's bits to everybody so the modes the test set still hold.
        const mode_t owner = st.st_mode & S_IRWXU;
        ::chmod(QFile::encodeName(p).constData(), owner | (owner >> 3) | (owner >> 6));
    }
    m_switched = ::setresuid(kNobody, kNobody, 0) == 0;
    m_ok = m_switched;
}

Unprivileged::~Unprivileged()
{
    if (m_switched)
        (void)::setresuid(0, 0, 0);
}

#endif

void UseProgramFontsAndLook()
{
    if (const QString fonts = QStringLiteral(QUORVEL_FONT_DIR); !fonts.isEmpty())
        for (const QFileInfo& font : QDir(fonts).entryInfoList({QStringLiteral("DejaVu*.ttf")}, QDir::Files))
            QFontDatabase::addApplicationFont(font.filePath());
    platform::UseProgramLook();
}

void KeepSettingsApart()
{
    QStandardPaths::setTestModeEnabled(true);
    static const QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}

}  // namespace qv::test
