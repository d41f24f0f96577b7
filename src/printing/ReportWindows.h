#pragma once
// The print windows a clinician uses: setup (copies, destination, printer, page setup), preview,
// printer and progress. They reach the run only through PrintableDocument.

#include "printing/ReportOutput.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPrintPreviewDialog;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qv::report {

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
QPrintPreviewDialog* MakePreviewDialog(QPrinter& printer, const PrintableDocument& document,
                                       platform::Dialogs& dialogs, QWidget* parent);

// Tells the print queue the job's page range, pages 1 to `pages` of the document it receives.
void SetQueuePageRange(QPrinter& printer, int pages);

// Paints the run on the printer (the print range it holds), with the progress window.
// Returns the pages painted, or -1 when the printer could not start.
int PrintWithProgress(QPrinter& printer, const PrintableDocument& document, const QString& statusPattern,
                      QWidget* parent);

// The windows above as an output: the setup, then the preview, the printer or a PDF file.
class QtReportOutput : public ReportOutput {
public:
    void Deliver(const ReportDocument& document, platform::Dialogs& dialogs) override;
    void deliver(const PrintableDocument& document, platform::Dialogs& dialogs);

protected:
    // Seams for tests: run the modal windows.
    virtual int runSetup(ReportSetupDialog& setup);
    virtual void runPreview(QPrintPreviewDialog& preview);
};

}  // namespace qv::report
