#include "tracing/CephNormsStore.h"

#include "platform/Dialogs.h"
#include "records/FileIo.h"

#include <QDir>
#include <QFileInfo>

namespace qv {

namespace {

QString normsPath() { return QDir::current().filePath(QString::fromLatin1(kNormsFileName)); }

// Every norm of every analysis takes a few kilobytes; a file far larger is not one to read whole.
constexpr qint64 kLargestNormsFile = 1 << 20;

}  // namespace

QString NormsCaption() { return QStringLiteral("Normas"); }

CephNormsStore::CephNormsStore(platform::Dialogs& dialogs, QObject* parent) : QObject(parent), m_dialogs(dialogs) {}

const CephNorms& CephNormsStore::norms()
{
    if (!m_loaded)
        load();
    m_norms = m_norms.alignedTo(*CurrentAnalyses());  // a clinic's analysis added since has its definition's norms
    return m_norms;
}

void CephNormsStore::load()
{
    m_loaded = true;
    const auto catalogue = CurrentAnalyses();
    m_norms = CephNorms::defaults(*catalogue);
    const QString path = normsPath();
    if (!QFileInfo::exists(path))
        return;
    const auto refuse = [this](QString why) {
        if (why.endsWith(u'.'))
            why.chop(1);
        m_dialogs.ShowNotice(platform::NoticeKind::Warning,
                             QStringLiteral("O arquivo de normas %1 não foi usado: %2.\rAs normas padrão do programa valem até que "
                                            "ele seja corrigido ou salvo de novo em Arquivo, Normas...")
                                 .arg(QString::fromLatin1(kNormsFileName), why),
                             NormsCaption());
    };
    if (QFileInfo(path).size() > kLargestNormsFile) {
        refuse(QStringLiteral("o arquivo é grande demais para um arquivo de normas"));
        return;
    }
    QByteArray bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const IoError& e) {
        refuse(e.message());
        return;
    }
    const DecodedNorms decoded = DecodeNorms(bytes, *catalogue);
    if (!decoded.ok()) {
        refuse(decoded.error);
        return;
    }
    m_norms = decoded.norms;
    emit changed(m_norms);
}

bool CephNormsStore::save(const CephNorms& norms)
{
    try {
        ReplaceFileBytes(normsPath(), EncodeNorms(norms));
    } catch (const IoError& e) {
        m_dialogs.ShowNotice(platform::NoticeKind::Error,
                             QStringLiteral("As normas não foram salvas: %1\rAs normas anteriores continuam valendo.").arg(e.message()),
                             NormsCaption());
        return false;
    }
    m_loaded = true;
    m_norms = norms;
    emit changed(m_norms);
    return true;
}

}  // namespace qv
