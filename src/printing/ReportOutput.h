#pragma once
// Where a report run goes: the windows a clinician uses (setup, preview, printer, PDF), or,
// for tests and tools, straight into a PDF file or an in-memory document without a window.

#include "printing/ReportDocument.h"

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPrintPreviewDialog;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qv::platform {
class Dialogs;
}

namespace qv::report {

// Fixed texts of the engine's windows and jobs.
QString EngineTitle();          // "Análise Cefalométrica"
QString GeneratingStatus();     // "Gerando página %p"
QString PrintingStatus();       // "Imprimindo página %p"
QString JobTitle();             // "Imprimindo..."
QString NoPrinterText();
QString StoppedPrinterText(const QString& printer);
// A status line with %p replaced by the page number.
QString StatusLine(const QString& pattern, int page);

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

// The setup window: copies, destination (preview, printer, PDF file), printer and page setup.
class ReportSetupDialog : public QDialog {
    Q_OBJECT
public:
    enum Destination { Preview, Printer, PdfFile };

    ReportSetupDialog(QPrinter& printer, int lastPage, QWidget* parent = nullptr);

    Destination destination() const;
    void setDestination(Destination d);
    int copies() const;
    QString pdfPath() const;
    void setPdfPath(const QString& path);
    bool printersAvailable() const { return m_havePrinters; }
    QPrinter& printer() const { return m_printer; }

    void accept() override;

private:
    void printerSetup();
    void pageSetup();
    void browsePdf();
    void updateState();

    QPrinter& m_printer;
    int m_lastPage;
    bool m_havePrinters = false;
    QSpinBox* m_copies = nullptr;
    QRadioButton* m_preview = nullptr;
    QRadioButton* m_toPrinter = nullptr;
    QRadioButton* m_toPdf = nullptr;
    QLabel* m_printerName = nullptr;
    QPushButton* m_printerSetup = nullptr;
    QLineEdit* m_pdfPath = nullptr;
    QPushButton* m_browse = nullptr;
};

// Makes the preview window of a run: titled, at 100 % zoom, drawing the run's pages.
QPrintPreviewDialog* MakePreviewDialog(QPrinter& printer, const ReportDocument& document,
                                       platform::Dialogs& dialogs, QWidget* parent);

// Tells the print queue the job's page range, pages 1 to `pages` of the document it receives.
void SetQueuePageRange(QPrinter& printer, int pages);

// Paints the run on the printer (the print range it holds), with the progress window.
// Returns the pages painted, or -1 when the printer could not start.
int PrintWithProgress(QPrinter& printer, const ReportDocument& document, const QString& statusPattern,
                      QWidget* parent);

// What the program uses: the windows above.
class QtReportOutput : public ReportOutput {
public:
    void Deliver(const ReportDocument& document, platform::Dialogs& dialogs) override;

protected:
    // Seams for tests: run the modal windows.
    virtual int runSetup(ReportSetupDialog& setup);
    virtual void runPreview(QPrintPreviewDialog& preview);
};

}  // namespace qv::report
