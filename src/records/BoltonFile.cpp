#include "records/BoltonFile.h"

#include "records/Cp1252.h"
#include "records/FileIo.h"
#include "records/IoError.h"

#include <algorithm>
#include <cstring>

namespace qv {

// Setting the codec up costs far more than converting a few bytes, so the whole record goes
// through it at once; Windows-1252 gives one byte per character, which lets the result be cut
// into fields. Texts that do not convert one to one go field by field. The field table is in
// file order, so the joined texts follow the record.
QByteArray EncodeBoltonSheet(const BoltonSheet& sheet)
{
    QByteArray out(kBoltonFileSize, '\0');
    QString joined;
    joined.reserve(kBoltonFileSize);
    for (const BoltonField& f : BoltonFields())
        joined += f.of(sheet);
    const QByteArray all = ToCp1252(joined);
    if (all.size() != joined.size()) {
        for (const BoltonField& f : BoltonFields())
            PutShortString(out, f.fileOffset, f.fileCapacity, f.of(sheet));
        return out;
    }
    qsizetype from = 0;
    for (const BoltonField& f : BoltonFields()) {
        const QString& text = f.of(sheet);
        const int n = int(std::min<qsizetype>(text.size(), f.fileCapacity));
        out[f.fileOffset] = char(n);
        std::memcpy(out.data() + f.fileOffset + 1, all.constData() + from, size_t(n));
        from += text.size();
    }
    return out;
}

BoltonSheet DecodeBoltonSheet(const QByteArray& bytes)
{
    BoltonSheet sheet;
    const QString all = FromCp1252(bytes.left(kBoltonFileSize));
    const bool oneToOne = all.size() == kBoltonFileSize;
    for (const BoltonField& f : BoltonFields()) {
        if (oneToOne)
            f.of(sheet) = all.mid(f.fileOffset + 1, std::min(int(quint8(bytes[f.fileOffset])), f.fileCapacity));
        else
            f.of(sheet) = GetShortString(bytes, f.fileOffset, f.fileCapacity);
    }
    return sheet;
}

QString BoltonFilePath(const QString& paciente)
{
    return QStringLiteral("Análises/") + paciente + QStringLiteral(".bol");
}

BoltonSheet ReadBoltonFile(const QString& path)
{
    return DecodeBoltonSheet(ReadFileBytes(path, kBoltonFileSize));
}

void WriteBoltonFile(const QString& path, const BoltonSheet& sheet)
{
    WriteNewFileBytes(path, EncodeBoltonSheet(sheet));
}

BoltonSave SaveNewBoltonFile(const QString& path, const BoltonSheet& record)
{
    return WithFileLock(path, [&] {
        try {
            WriteBoltonFile(path, record);
        } catch (const FileExistsError&) {
            return BoltonSave::AlreadyExists;
        }
        return BoltonSave::Written;
    });
}

}  // namespace qv
