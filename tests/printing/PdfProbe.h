#pragma once
// Reads rendered PDF files back with poppler-utils: the page count and the text of a page.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

namespace qv::test {

inline QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int PdfPages(const QString& path)
{
    const QString info = RunTool(QStringLiteral("pdfinfo"), {path});
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text of one page (1-based), in reading order.
inline QString PdfText(const QString& path, int page)
{
    return RunTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
                    QStringLiteral("-layout"), path, QStringLiteral("-")});
}

// With QUORVEL_KEEP_REPORTS set to a folder, rendered reports are copied there to be looked at.
inline void KeepReport(const QString& path, const QString& name)
{
    const QString dir = qEnvironmentVariable("QUORVEL_KEEP_REPORTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    QFile::remove(QDir(dir).filePath(name));
    QFile::copy(path, QDir(dir).filePath(name));
}

}  // namespace qv::test
