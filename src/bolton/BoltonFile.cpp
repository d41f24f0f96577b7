#include "bolton/BoltonFile.h"

#include "entry/RealEntry.h"
#include "records/Cp1252.h"
#include "records/FileIo.h"
#include "records/IoError.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

constexpr int kFieldSize = 1 + BoltonFileRecord::kFieldCapacity;
constexpr int kFirstTooth = 1 + BoltonFileRecord::kNameCapacity;

// The 29 fields in stored order: the name, then the 28 numbers.
template <typename Record, typename F>
void forEachField(Record& r, F f)
{
    f(0, BoltonFileRecord::kNameCapacity, r.paciente);
    int offset = kFirstTooth;
    auto next = [&](auto& text) {
        f(offset, BoltonFileRecord::kFieldCapacity, text);
        offset += kFieldSize;
    };
    for (auto& t : r.s)
        next(t);
    for (auto& t : r.i)
        next(t);
    for (auto* t : {&r.termole, &r.termold, &r.segmole, &r.segmold})
        next(*t);
}

static_assert(kFirstTooth + 28 * kFieldSize == BoltonFileRecord::kSize);

}  // namespace

// Setting the codec up costs far more than converting a few bytes, so the whole record goes
// through it at once; Windows-1252 gives one byte per character, which lets the result be cut
// into fields. Texts that do not convert one to one go field by field.
QByteArray BoltonFileRecord::encode() const
{
    QByteArray out(kSize, '\0');
    QString joined;
    joined.reserve(kSize);
    forEachField(*this, [&](int, int, const QString& text) { joined += text; });
    const QByteArray all = ToCp1252(joined);
    if (all.size() != joined.size()) {
        forEachField(*this, [&](int offset, int capacity, const QString& text) { PutShortString(out, offset, capacity, text); });
        return out;
    }
    qsizetype from = 0;
    forEachField(*this, [&](int offset, int capacity, const QString& text) {
        const int n = int(std::min<qsizetype>(text.size(), capacity));
        out[offset] = char(n);
        std::memcpy(out.data() + offset + 1, all.constData() + from, size_t(n));
        from += text.size();
    });
    return out;
}

BoltonFileRecord BoltonFileRecord::decode(const QByteArray& bytes)
{
    BoltonFileRecord r;
    const QString all = FromCp1252(bytes.left(kSize));
    const bool oneToOne = all.size() == kSize;
    forEachField(r, [&](int offset, int capacity, QString& text) {
        if (oneToOne)
            text = all.mid(offset + 1, std::min(int(quint8(bytes[offset])), capacity));
        else
            text = GetShortString(bytes, offset, capacity);
    });
    return r;
}

QString BoltonFilePath(const QString& paciente)
{
    return QStringLiteral("Análises/") + paciente + QStringLiteral(".bol");
}


BoltonFileRecord ReadBoltonFile(const QString& path)
{
    return BoltonFileRecord::decode(ReadFileBytes(path, BoltonFileRecord::kSize));
}

void WriteBoltonFile(const QString& path, const BoltonFileRecord& record)
{
    WriteNewFileBytes(path, record.encode());
}

BoltonSave SaveNewBoltonFile(const QString& path, const BoltonFileRecord& record)
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
