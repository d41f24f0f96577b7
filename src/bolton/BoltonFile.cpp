#include "bolton/BoltonFile.h"

#include "entry/RealEntry.h"
#include "records/Cp1252.h"
#include "records/FileIo.h"

namespace qv {

namespace {

constexpr int kFieldSize = 1 + BoltonFileRecord::kFieldCapacity;
constexpr int kFirstTooth = 1 + BoltonFileRecord::kNameCapacity;

// The 28 numeric fields after the name, in stored order.
template <typename Record, typename F>
void forEachField(Record& r, F f)
{
    int offset = kFirstTooth;
    for (auto& t : r.s) {
        f(offset, t);
        offset += kFieldSize;
    }
    for (auto& t : r.i) {
        f(offset, t);
        offset += kFieldSize;
    }
    for (auto* t : {&r.termole, &r.termold, &r.segmole, &r.segmold}) {
        f(offset, *t);
        offset += kFieldSize;
    }
}

static_assert(kFirstTooth + 28 * kFieldSize == BoltonFileRecord::kSize);

}  // namespace

QByteArray BoltonFileRecord::encode() const
{
    QByteArray out(kSize, '\0');
    PutShortString(out, 0, kNameCapacity, paciente);
    forEachField(*this, [&](int offset, const QString& text) { PutShortString(out, offset, kFieldCapacity, text); });
    return out;
}

BoltonFileRecord BoltonFileRecord::decode(const QByteArray& bytes)
{
    BoltonFileRecord r;
    r.paciente = GetShortString(bytes, 0, kNameCapacity);
    forEachField(r, [&](int offset, QString& text) { text = GetShortString(bytes, offset, kFieldCapacity); });
    return r;
}

QString BoltonFilePath(const QString& paciente)
{
    return QStringLiteral("Análises/") + paciente + QStringLiteral(".bol");
}

bool IsStorablePatientName(const QString& paciente)
{
    for (QChar c : paciente) {
        const KeyVerdict v = FilterNameKey(c);
        if (v.kind != KeyVerdict::Accept || c == QChar(kBackspace))
            return false;
    }
    return true;
}

BoltonFileRecord ReadBoltonFile(const QString& path)
{
    return BoltonFileRecord::decode(ReadFileBytes(path, BoltonFileRecord::kSize));
}

void WriteBoltonFile(const QString& path, const BoltonFileRecord& record)
{
    WriteNewFileBytes(path, record.encode());
}

}  // namespace qv
