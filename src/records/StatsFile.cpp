#include "records/StatsFile.h"

#include "entry/RealEntry.h"
#include "records/FileIo.h"

#include <QtEndian>

namespace qv {

QByteArray StatsRecord::encode() const
{
    QByteArray out(kSize, '\0');
    out[0] = char(instanceFlag);
    for (int i = 0; i < 3; ++i)
        out[1 + i] = char(padding[size_t(i)]);
    qToLittleEndian<qint32>(tweedCount, out.data() + 4);
    qToLittleEndian<qint32>(boltonCount, out.data() + 8);
    qToLittleEndian<qint32>(guideCount, out.data() + 12);
    return out;
}

StatsRecord StatsRecord::decode(const QByteArray& bytes)
{
    StatsRecord r;
    r.instanceFlag = std::uint8_t(bytes[0]);
    for (int i = 0; i < 3; ++i)
        r.padding[size_t(i)] = std::uint8_t(bytes[1 + i]);
    r.tweedCount = qFromLittleEndian<qint32>(bytes.constData() + 4);
    r.boltonCount = qFromLittleEndian<qint32>(bytes.constData() + 8);
    r.guideCount = qFromLittleEndian<qint32>(bytes.constData() + 12);
    return r;
}

StatsRecord ReadStats(const QString& path)
{
    return StatsRecord::decode(ReadFileBytes(path, StatsRecord::kSize));
}

void WriteStats(const StatsRecord& record, const QString& path)
{
    ReplaceFileBytes(path, record.encode());
}

QString StatisticsText(const StatsRecord& r)
{
    return QStringLiteral("Estatísticas de Utilização das Análises\r\r\r     Análise de Tweed : ")
           + FormatReal(0, 0, r.tweedCount) + QStringLiteral("\r\r") + QStringLiteral("       Guia Diagnóstico : ")
           + FormatReal(0, 0, r.guideCount) + QStringLiteral("\r\r") + QStringLiteral("      Análise de Bolton : ")
           + FormatReal(0, 0, r.boltonCount);
}

}  // namespace qv
