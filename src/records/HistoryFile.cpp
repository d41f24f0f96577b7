#include "records/HistoryFile.h"

#include "records/FileIo.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "records/TextFile.h"

#include <QFile>

namespace qv {

QString HistorySeparator() { return QString(kHistorySeparatorLength, u'-'); }

QString HistoryFileName(const QString& patient) { return AnalysesFolder() + patient + QStringLiteral(".pln"); }

// Brazilian short format whatever the machine's locale: a Portuguese record never gets an
// English month, and the reports print dates the same way.
QString HistoryDateText(const QDate& date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }

QByteArray HistoryBlock(const QString& date, const QStringList& description)
{
    QStringList lines;
    lines.reserve(description.size() + 3);
    lines << date << QString();
    lines += description;
    lines << HistorySeparator();
    return JoinTextLines(lines);
}

HistoryContents ParseHistory(const QByteArray& bytes) { return ParsePatientText(bytes); }

HistoryContents ReadHistoryFile(const QString& path) { return ParseHistory(ReadFileBytes(path)); }

void CreateHistoryFile(const QString& path, const QString& patient, const QByteArray& block)
{
    WriteNewFileBytes(path, JoinTextLines({patient}) + block);
}

void AppendHistoryFile(const QString& path, const QByteArray& block)
{
    QFile file(path);
    // Unbuffered: a failed write is seen at once and nothing is left waiting to be flushed,
    // so the file can be cut back.
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        throw IoError::cannotWrite(path);
    const qint64 oldSize = file.size();
    QByteArray bytes;
    if (oldSize > 0) {
        char last = 0;
        if (!file.seek(oldSize - 1) || !file.getChar(&last))
            throw IoError::cannotWrite(path);
        if (last != '\n' && last != '\r')
            bytes = "\r\n";
    }
    bytes += block;
    if (!file.seek(oldSize) || file.write(bytes) != bytes.size()) {
        // Whatever reached the disk of this block goes; the earlier visits stay as they were.
        file.resize(oldSize);
        throw IoError::cannotWrite(path);
    }
}

}  // namespace qv
