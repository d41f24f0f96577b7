#include "records/HistoryFile.h"

#include "records/FileIo.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "records/TextFile.h"

#include <QFile>
#include <QFileInfo>

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
    WithFileLock(path, [&] {
        // The whole history goes to a temporary file renamed over the old one: a visit is in the
        // file whole or not at all, and a failure leaves the file exactly as the lock found it.
        if (!IsRegularFile(path))
            throw IoError::cannotWrite(path);
        QByteArray bytes = ReadFileBytes(path);
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes += "\r\n";
        bytes += block;
        ReplaceFileBytes(path, bytes);
    });
}

HistorySave SaveHistoryVisit(const QString& path, const QString& patient, const QByteArray& block)
{
    return WithFileLock(path, [&] {
        if (QFileInfo::exists(path)) {
            AppendHistoryFile(path, block);
            return HistorySave::Appended;
        }
        CreateHistoryFile(path, patient, block);
        return HistorySave::Created;
    });
}

}  // namespace qv
