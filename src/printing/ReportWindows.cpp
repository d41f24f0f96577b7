// The print windows: setup, preview, printer and progress.

#include "printing/ReportWindows.h"

#include "records/FileIo.h"
#include "records/IoError.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace qv::report {

ReportSetupDialog::ReportSetupDialog(QPrinter& printer, int lastPage, QWidget* parent)
    : QDialog(parent), m_printer(printer), m_lastPage(lastPage)
{
    setObjectName(QStringLiteral("ReportSetup"));
    setWindowTitle(EngineTitle());
    m_havePrinters = !QPrinterInfo::availablePrinterNames().isEmpty();

    auto* layout = new QVBoxLayout(this);

    auto* output = new QGroupBox(QStringLiteral("Destino"), this);
    auto* outLayout = new QVBoxLayout(output);
    m_preview = new QRadioButton(QStringLiteral("&Visualizar na tela"), output);
    m_preview->setObjectName(QStringLiteral("destPreview"));
    m_toPrinter = new QRadioButton(QStringLiteral("&Impressora"), output);
    m_toPrinter->setObjectName(QStringLiteral("destPrinter"));
    m_toPdf = new QRadioButton(QStringLiteral("Arquivo &PDF"), output);
    m_toPdf->setObjectName(QStringLiteral("destPdf"));
    outLayout->addWidget(m_preview);

    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(m_toPrinter);
    m_printerName = new QLabel(output);
    m_printerName->setObjectName(QStringLiteral("printerName"));
    m_printerName->setWordWrap(true);
    printerRow->addWidget(m_printerName, 1);
    m_printerSetup = new QPushButton(QStringLiteral("&Configurar impressora..."), output);
    m_printerSetup->setObjectName(QStringLiteral("printerSetup"));
    printerRow->addWidget(m_printerSetup);
    outLayout->addLayout(printerRow);

    auto* pdfRow = new QHBoxLayout;
    pdfRow->addWidget(m_toPdf);
    m_pdfPath = new QLineEdit(output);
    m_pdfPath->setObjectName(QStringLiteral("pdfPath"));
    m_pdfPath->setMinimumWidth(240);
    pdfRow->addWidget(m_pdfPath, 1);
    m_browse = new QPushButton(QStringLiteral("..."), output);
    m_browse->setObjectName(QStringLiteral("pdfBrowse"));
    m_browse->setAccessibleName(QStringLiteral("Escolher o arquivo PDF"));
    pdfRow->addWidget(m_browse);
    outLayout->addLayout(pdfRow);
    layout->addWidget(output);

    auto* options = new QFormLayout;
    m_copies = new QSpinBox(this);
    m_copies->setObjectName(QStringLiteral("copias"));
    m_copies->setRange(1, 99);
    m_copies->setValue(std::max(1, printer.copyCount()));
    options->addRow(QStringLiteral("&Número de cópias:"), m_copies);
    auto* range = new QLabel(lastPage > 1 ? QStringLiteral("Páginas 1 a %1").arg(lastPage) : QStringLiteral("Página 1"), this);
    range->setObjectName(QStringLiteral("printRange"));
    options->addRow(QStringLiteral("Intervalo:"), range);
    auto* pageSetupButton = new QPushButton(QStringLiteral("Configurar &página..."), this);
    pageSetupButton->setObjectName(QStringLiteral("pageSetup"));
    options->addRow(QString(), pageSetupButton);
    layout->addLayout(options);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);

    if (m_havePrinters) {
        const QString name = printer.printerName().isEmpty() ? QPrinterInfo::defaultPrinterName() : printer.printerName();
        m_printerName->setText(name);
    } else {
        m_printerName->setText(NoPrinterText());
        m_toPrinter->setEnabled(false);
        m_printerSetup->setEnabled(false);
    }
    m_pdfPath->setText(QDir::current().absoluteFilePath(QStringLiteral("Análises/relatório.pdf")));
    m_preview->setChecked(true);

    connect(m_printerSetup, &QPushButton::clicked, this, &ReportSetupDialog::printerSetup);
    connect(pageSetupButton, &QPushButton::clicked, this, &ReportSetupDialog::pageSetup);
    connect(m_browse, &QPushButton::clicked, this, &ReportSetupDialog::browsePdf);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReportSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ReportSetupDialog::reject);
    for (QRadioButton* r : {m_preview, m_toPrinter, m_toPdf})
        connect(r, &QRadioButton::toggled, this, &ReportSetupDialog::updateState);
    updateState();
}

ReportSetupDialog::Destination ReportSetupDialog::destination() const
{
    if (m_toPrinter->isChecked())
        return Printer;
    if (m_toPdf->isChecked())
        return PdfFile;
    return Preview;
}

void ReportSetupDialog::setDestination(Destination d)
{
    (d == Printer ? m_toPrinter : d == PdfFile ? m_toPdf : m_preview)->setChecked(true);
}

int ReportSetupDialog::copies() const { return m_copies->value(); }

QString ReportSetupDialog::pdfPath() const { return m_pdfPath->text().trimmed(); }

void ReportSetupDialog::setPdfPath(const QString& path) { m_pdfPath->setText(path); }

void ReportSetupDialog::updateState()
{
    m_pdfPath->setEnabled(m_toPdf->isChecked());
    m_browse->setEnabled(m_toPdf->isChecked());
    m_copies->setEnabled(!m_toPdf->isChecked());
}

void ReportSetupDialog::accept()
{
    if (destination() == PdfFile && pdfPath().isEmpty()) {
        m_pdfPath->setFocus();
        return;
    }
    QDialog::accept();
}

void ReportSetupDialog::printerSetup()
{
    m_printer.setOutputFormat(QPrinter::NativeFormat);
    m_printer.setCopyCount(m_copies->value());
    QPrintDialog dialog(&m_printer, this);
    dialog.setWindowTitle(EngineTitle());
    dialog.setMinMax(1, m_lastPage);
    if (dialog.exec() == QDialog::Accepted) {
        m_printerName->setText(m_printer.printerName());
        m_copies->setValue(std::max(1, m_printer.copyCount()));
        m_toPrinter->setChecked(true);
    }
}

void ReportSetupDialog::pageSetup()
{
    QPageSetupDialog dialog(&m_printer, this);
    dialog.setWindowTitle(EngineTitle());
    dialog.exec();
}

void ReportSetupDialog::browsePdf()
{
    const QString path = QFileDialog::getSaveFileName(this, EngineTitle(), pdfPath(), QStringLiteral("Arquivo PDF (*.pdf)"));
    if (!path.isEmpty())
        m_pdfPath->setText(path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".pdf"));
}

// ---------------------------------------------------------------------------------------------

void SetQueuePageRange(QPrinter& printer, int pages)
{
    // The print queue's own option list (Qt's CUPS engine passes it with the job).
    const auto key = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    QStringList options = printer.printEngine()->property(key).toStringList();
    const qsizetype at = options.indexOf(QStringLiteral("page-ranges"));
    if (at >= 0 && at % 2 == 0 && at + 1 < options.size())
        options.remove(at, 2);
    options << QStringLiteral("page-ranges") << QStringLiteral("1-%1").arg(std::max(1, pages));
    printer.printEngine()->setProperty(key, options);
}

int PrintWithProgress(QPrinter& printer, const PrintableDocument& document, const QString& statusPattern, QWidget* parent)
{
    QProgressDialog progress(parent);
    progress.setWindowTitle(EngineTitle());
    progress.setCancelButtonText(QStringLiteral("Cancelar"));
    progress.setMinimumDuration(400);
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    int from = 1;
    int to = document.lastPage();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage();
        to = std::min(to, printer.toPage() > 0 ? printer.toPage() : to);
    }
    if (printer.outputFormat() == QPrinter::NativeFormat)
        SetQueuePageRange(printer, to - from + 1);
    const int n = document.print(printer, from, to, [&](int page, int pages) {
        progress.setMaximum(pages);
        progress.setLabelText(StatusLine(statusPattern, page));
        progress.setValue(page - 1);
        return !progress.wasCanceled();
    });
    progress.close();
    return n;
}

QPrintPreviewDialog* MakePreviewDialog(QPrinter& printer, const PrintableDocument& document, platform::Dialogs& dialogs,
                                       QWidget* parent)
{
    auto* preview = new QPrintPreviewDialog(&printer, parent);
    preview->setWindowTitle(EngineTitle());
    if (auto* widget = preview->findChild<QPrintPreviewWidget*>()) {
        widget->setZoomMode(QPrintPreviewWidget::CustomZoom);
        widget->setZoomFactor(1.0);
    }
    // The fit buttons start checked; at 100 % neither applies.
    for (QAction* a : preview->findChildren<QAction*>())
        if (a->objectName() == QLatin1String("fitWidthAction") || a->objectName() == QLatin1String("fitPageAction"))
            a->setChecked(false);
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview, [&document, &dialogs, preview](QPrinter* p) {
        // The preview draws on a picture engine; anything else is the real printer.
        const bool previewing = p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Picture;
        const int n = PrintWithProgress(*p, document, previewing ? GeneratingStatus() : PrintingStatus(), preview);
        if (n < 0)
            ShowRunError(dialogs, QStringLiteral("Não foi possível iniciar a impressão."));
    });
    return preview;
}

int QtReportOutput::runSetup(ReportSetupDialog& setup) { return setup.exec(); }

void QtReportOutput::runPreview(QPrintPreviewDialog& preview) { preview.exec(); }

void QtReportOutput::Deliver(const ReportDocument& document, platform::Dialogs& dialogs) { deliver(document, dialogs); }

void QtReportOutput::deliver(const PrintableDocument& document, platform::Dialogs& dialogs)
{
    QWidget* parent = dialogs.parentWindow();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(document.pageLayout());
    printer.setDocName(JobTitle());
    printer.setCreator(QStringLiteral("Quorvel"));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(1, document.lastPage());

    ReportSetupDialog setup(printer, document.lastPage(), parent);
    setup.setPdfPath(QDir::current().absoluteFilePath(QStringLiteral("Análises/") + document.fileName()));
    if (runSetup(setup) != QDialog::Accepted)
        return;
    printer.setCopyCount(setup.copies());

    switch (setup.destination()) {
    case ReportSetupDialog::Preview: {
        std::unique_ptr<QPrintPreviewDialog> preview(MakePreviewDialog(printer, document, dialogs, parent));
        runPreview(*preview);
        break;
    }
    case ReportSetupDialog::Printer: {
        printer.setOutputFormat(QPrinter::NativeFormat);
        // A stopped queue would keep the job without printing it: say so instead of printing.
        const QPrinterInfo queue = QPrinterInfo::printerInfo(printer.printerName());
        if (queue.isNull() || queue.state() == QPrinter::Error || queue.state() == QPrinter::Aborted) {
            ShowRunError(dialogs, StoppedPrinterText(printer.printerName()));
            break;
        }
        if (PrintWithProgress(printer, document, PrintingStatus(), parent) < 0 || printer.printerState() == QPrinter::Error)
            ShowRunError(dialogs, QStringLiteral("Não foi possível iniciar a impressão."));
        break;
    }
    case ReportSetupDialog::PdfFile: {
        // A report is a health record: another patient's PDF of the same name is replaced only
        // when the clinician says so, and the file is put in place whole, for its owner only.
        const QString path = setup.pdfPath();
        if (QFileInfo::exists(path)) {
            const platform::Answer replace = dialogs.Confirm(
                QStringLiteral("O arquivo \"%1\" já existe. Deseja substituí-lo?").arg(QDir::toNativeSeparators(path)));
            dialogs.setHideItemEnabled(false);  // the print action holds it until the run is over
            if (replace != platform::Answer::Yes)
                break;
        }
        const QTemporaryDir scratch;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(scratch.filePath(QStringLiteral("relatorio.pdf")));
        printer.setCopyCount(1);
        if (!scratch.isValid() || PrintWithProgress(printer, document, PrintingStatus(), parent) < 0) {
            ShowRunError(dialogs, CannotWriteText(path));
            break;
        }
        try {
            SavePrivateFile(path, ReadFileBytes(printer.outputFileName()));
        } catch (const IoError&) {
            ShowRunError(dialogs, CannotWriteText(path));
        }
        break;
    }
    }
}

}  // namespace qv::report
