#include "records/FolderSafety.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

namespace qv {

namespace {

// mountinfo writes space, tab, newline and backslash as \ooo.
QString unescape(const QByteArray& field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int c = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(c);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QString::fromUtf8(out);
}

}  // namespace

MountOf FindMountIn(const QByteArray& mountinfo, const QString& canonicalPath)
{
    MountOf best;
    // id parent major:minor root mount-point options [optional...] - type source super-options
    for (const QByteArray& line : mountinfo.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        const qsizetype dash = f.indexOf("-");
        if (f.size() < 5 || dash < 6 || dash + 3 > f.size())
            continue;
        const QString point = unescape(f[4]);
        const bool contains = canonicalPath == point || point == QLatin1String("/")
                              || canonicalPath.startsWith(point + u'/');
        // The last of equal mount points is the one on top.
        if (contains && point.size() >= best.mountPoint.size()) {
            best.mountPoint = point;
            best.type = unescape(f[dash + 1]);
            best.source = unescape(f[dash + 2]);
            best.options = dash + 3 < f.size() ? unescape(f[dash + 3]) : QString();
        }
    }
    return best;
}

QString UnprotectedFolderWarning(const QString& folder)
{
    if (HasAtomicExclusiveCreate(folder))
        return QString();
    const MountOf m = FindMount(QFileInfo(folder).canonicalFilePath());
    const QString shown = QFileInfo(folder).fileName().isEmpty() ? folder : QFileInfo(folder).fileName();
    return QStringLiteral("A pasta \"%1\" está em \"%2\" (%3, tipo %4), um sistema de arquivos que não garante a "
                          "criação exclusiva de arquivos. Nessa pasta, salvamentos feitos de vários computadores não "
                          "estão protegidos: dois computadores salvando o mesmo paciente ao mesmo tempo podem perder "
                          "um dos registros. Salve de um computador por vez, ou monte o compartilhamento pelo cliente "
                          "\"cifs\" do sistema ou por NFS.")
        .arg(shown, m.mountPoint, m.source, m.type);
}

QString UnprotectedFolderWarningOnce(const QString& folder)
{
    static QMutex mutex;
    static QSet<QString> warned;
    const QString text = UnprotectedFolderWarning(folder);
    if (text.isEmpty())
        return text;
    const QString mount = FindMount(QFileInfo(folder).canonicalFilePath()).mountPoint;
    QMutexLocker guard(&mutex);
    if (warned.contains(mount))
        return QString();
    warned.insert(mount);
    return text;
}

}  // namespace qv
