#include "records/LibArchive.h"

#include <utility>

namespace qv {

QString ArchiveReason(const char* libarchiveText)
{
    if (!libarchiveText || !*libarchiveText)
        return QStringLiteral("erro desconhecido no arquivo compactado");
    const QString original = QString::fromLocal8Bit(libarchiveText).trimmed();
    // What a cut, damaged or foreign archive makes libarchive say; matched from the start, as
    // some carry details after the words ("Truncated input file (needed 386 bytes, ...)").
    static const std::pair<const char*, const char*> known[] = {
        {"truncated gzip input", "o arquivo compactado termina antes do fim"},
        {"Truncated tar archive", "o arquivo tar termina antes do fim"},
        {"Truncated input file", "o arquivo termina antes do fim"},
        {"Damaged tar archive", "o arquivo tar está danificado"},
        {"gzip decompression failed", "os dados compactados estão danificados"},
        {"Invalid compressed data", "os dados compactados estão danificados"},
        {"Unrecognized archive format", "não é um arquivo .tar.gz"},
        {"Ignoring malformed pax extended attribute", "um cabeçalho do arquivo tar está malformado"},
        {"Failed to open", "o arquivo não pôde ser aberto"},
    };
    for (const auto& [english, portuguese] : known)
        if (original.startsWith(QLatin1String(english), Qt::CaseInsensitive))
            return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(portuguese), original);
    return QStringLiteral("erro no arquivo compactado (%1)").arg(original);
}

}  // namespace qv
