#include "printing/ReportOutput.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>

namespace qv::report {

int WritePdf(const ReportDocument& document, QIODevice& out, const ProgressFn& progress, QList<LaidPage>* laidOut)
{
    QPdfWriter writer(&out);
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("Quorvel"));
    writer.setTitle(document.title());
    writer.setPageLayout(document.pageLayout());
    return document.print(writer, 1, document.lastPage(), progress, laidOut);
}

void PdfFileOutput::Deliver(const ReportDocument& document, platform::Dialogs& dialogs)
{
    m_pages = 0;
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ShowRunError(dialogs, CannotWriteText(m_path));
        return;
    }
    m_pages = WritePdf(document, file);
    file.close();
    if (m_pages < 0 || file.error() != QFileDevice::NoError) {
        m_pages = 0;
        ShowRunError(dialogs, CannotWriteText(m_path));
    }
}

void MemoryOutput::Deliver(const ReportDocument& document, platform::Dialogs& dialogs)
{
    ++runs;
    reportTitle = document.title();
    pdf.clear();
    pages.clear();
    statusLines.clear();
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    const int n = WritePdf(document, buffer, [this](int page, int) {
        statusLines.append(StatusLine(PrintingStatus(), page));
        return true;
    }, &pages);
    if (n < 0)
        ShowRunError(dialogs, QStringLiteral("Não foi possível gerar o relatório."));
}

}  // namespace qv::report
