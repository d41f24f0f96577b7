#pragma once
// Where a report run goes: the windows a clinician uses (setup, preview, printer, PDF), or,
// for tests and tools, straight into a PDF file or an in-memory document without a window.
// The windows themselves are in ReportWindows.h.

#include "platform/Dialogs.h"
#include "printing/ReportDocument.h"

#include <QDir>
#include <QStringList>

namespace qv::report {

// Fixed texts of the engine's windows and jobs (here, so the print module needs none of the
// program's code for them).
inline QString EngineTitle() { return QStringLiteral("Análise Cefalométrica"); }
inline QString GeneratingStatus() { return QStringLiteral("Gerando página %p"); }
inline QString PrintingStatus() { return QStringLiteral("Imprimindo página %p"); }
inline QString JobTitle() { return QStringLiteral("Imprimindo..."); }
inline QString NoPrinterText()
{
    return QStringLiteral("Nenhuma impressora foi encontrada. Visualize o relatório na tela ou salve-o em PDF.");
}
inline QString StoppedPrinterText(const QString& printer)
{
    return QStringLiteral("A impressora \"%1\" está parada ou indisponível. O relatório não foi impresso.").arg(printer);
}
// A status line with %p replaced by the page number.
inline QString StatusLine(const QString& pattern, int page)
{
    QString s = pattern;
    s.replace(QStringLiteral("%p"), QString::number(page));
    return s;
}
inline QString CannotWriteText(const QString& path)
{
    return QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(QDir::toNativeSeparators(path));
}
// An error of the run, over the engine's title. The print action holds "&Ocultar" disabled
// until the run is over.
inline void ShowRunError(platform::Dialogs& dialogs, const QString& text)
{
    dialogs.ShowNotice(platform::NoticeKind::Error, text, EngineTitle(), false);
}

class ReportOutput {
public:
    virtual ~ReportOutput() = default;
    // Shows, prints or writes the run; returns when the user has finished with the output.
    virtual void Deliver(const ReportDocument& document, platform::Dialogs& dialogs) = 0;
};

// Writes the pages of the print range to a PDF file, without any window.
class PdfFileOutput : public ReportOutput {
public:
    explicit PdfFileOutput(QString path) : m_path(std::move(path)) {}
    void Deliver(const ReportDocument& document, platform::Dialogs& dialogs) override;
    int pagesWritten() const { return m_pages; }

private:
    QString m_path;
    int m_pages = 0;
};

// Renders into memory: the laid-out pages (their texts), the PDF bytes and the status lines.
class MemoryOutput : public ReportOutput {
public:
    void Deliver(const ReportDocument& document, platform::Dialogs& dialogs) override;

    int runs = 0;
    QString reportTitle;
    QList<LaidPage> pages;
    QByteArray pdf;
    QStringList statusLines;
};

// Writes a run to a PDF file; the pages painted, or -1 when the file cannot be written.
int WritePdf(const ReportDocument& document, QIODevice& out, const ProgressFn& progress = {},
             QList<LaidPage>* laidOut = nullptr);

}  // namespace qv::report
