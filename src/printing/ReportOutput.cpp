#include "printing/ReportOutput.h"

#include "platform/Dialogs.h"

#include <QBuffer>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPaintEngine>
#include <QPdfWriter>
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
#include <QVBoxLayout>

namespace qv::report {

QString EngineTitle() { return QStringLiteral("Análise Cefalométrica"); }
QString GeneratingStatus() { return QStringLiteral("Gerando página %p"); }
QString PrintingStatus() { return QStringLiteral("Imprimindo página %p"); }
QString JobTitle() { return QStringLiteral("Imprimindo..."); }
QString NoPrinterText()
{
    return QStringLiteral("Nenhuma impressora foi encontrada. Visualize o relatório na tela ou salve-o em PDF.");
}

QString StoppedPrinterText(const QString& printer)
{
    return QStringLiteral("A impressora \"%1\" está parada ou indisponível. O relatório não foi impresso.").arg(printer);
}

QString StatusLine(const QString& pattern, int page)
{
    QString s = pattern;
    s.replace(QStringLiteral("%p"), QString::number(page));
    return s;
}

namespace {

void error(platform::Dialogs& dialogs, const QString& text)
{
    // The print action holds "&Ocultar" disabled until the run is over.
    dialogs.ShowNotice(platform::NoticeKind::Error, text, EngineTitle(), false);
}

QString cannotWrite(const QString& path)
{
    return QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(QDir::toNativeSeparators(path));
}

}  // namespace

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
        error(dialogs, cannotWrite(m_path));
        return;
    }
    m_pages = WritePdf(document, file);
    file.close();
    if (m_pages < 0 || file.error() != QFileDevice::NoError) {
        m_pages = 0;
        error(dialogs, cannotWrite(m_path));
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
        error(dialogs, QStringLiteral("Não foi possível gerar o relatório."));
}

// ---------------------------------------------------------------------------------------------

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

int PrintWithProgress(QPrinter& printer, const ReportDocument& document, const QString& statusPattern, QWidget* parent)
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

QPrintPreviewDialog* MakePreviewDialog(QPrinter& printer, const ReportDocument& document, platform::Dialogs& dialogs,
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
            error(dialogs, QStringLiteral("Não foi possível iniciar a impressão."));
    });
    return preview;
}

int QtReportOutput::runSetup(ReportSetupDialog& setup) { return setup.exec(); }

void QtReportOutput::runPreview(QPrintPreviewDialog& preview) { preview.exec(); }

void QtReportOutput::Deliver(const ReportDocument& document, platform::Dialogs& dialogs)
{
    QWidget* parent = dialogs.parentWindow();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(document.pageLayout());
    printer.setDocName(JobTitle());
    printer.setCreator(QStringLiteral("Quorvel"));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(1, document.lastPage());

    ReportSetupDialog setup(printer, document.lastPage(), parent);
    setup.setPdfPath(QDir::current().absoluteFilePath(QStringLiteral("Análises/") + document.title() + QStringLiteral(".pdf")));
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
            error(dialogs, StoppedPrinterText(printer.printerName()));
            break;
        }
        if (PrintWithProgress(printer, document, PrintingStatus(), parent) < 0 || printer.printerState() == QPrinter::Error)
            error(dialogs, QStringLiteral("Não foi possível iniciar a impressão."));
        break;
    }
    case ReportSetupDialog::PdfFile: {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(setup.pdfPath());
        printer.setCopyCount(1);
        if (PrintWithProgress(printer, document, PrintingStatus(), parent) < 0)
            error(dialogs, cannotWrite(setup.pdfPath()));
        break;
    }
    }
}

}  // namespace qv::report
