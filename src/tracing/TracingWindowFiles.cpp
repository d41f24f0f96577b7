// The window's files: the radiograph, the tracing file and the exports, each named after the
// patient and stage of the Tweed page.

#include "tracing/TracingWindow.h"

#include "platform/Dialogs.h"
#include "records/FileIo.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "tracing/TracingCanvas.h"
#include "tracing/TracingExport.h"

#include <QDir>
#include <QFileInfo>
#include <QTableWidget>

namespace qv {

namespace {
using platform::NoticeKind;
}  // namespace

bool TracingWindow::openImage(const QString& path)
{
    LoadedRadiograph loaded = LoadRadiograph(path);
    if (!loaded.image) {
        notice(int(NoticeKind::Error), QStringLiteral("Não foi possível abrir a radiografia \"%1\": %2").arg(path, loaded.error));
        return false;
    }
    m_undo.clear();
    m_points = {};
    m_picked.reset();
    m_rulerMode = false;
    const Calibration own = loaded.image->calibration;
    const QString source = QStringLiteral("Calibração do DICOM (%1)").arg(loaded.image->spacingSource);
    useRadiograph(std::move(*loaded.image), path);
    setCalibration(own, own.known() ? source : QString());
    return true;
}

void TracingWindow::tImagemClick()
{
    const QString path = m_dialogs.OpenFile(
        {QStringLiteral("dcm"), QStringLiteral("Radiografia|*.dcm *.png *.jpg *.jpeg *.tif *.tiff *.bmp|Todos os arquivos|*")});
    if (!path.isEmpty()
        && (m_points.count() == 0
            || confirm(QStringLiteral("Os pontos marcados nesta radiografia serão apagados. Deseja continuar?"))))
        openImage(path);
    m_dialogs.setHideItemEnabled(!isVisible());
}

QString TracingWindow::patientFile(const QString& suffix)
{
    const QString patient = m_links.patient ? m_links.patient() : QString();
    if (patient.isEmpty()) {
        notice(int(NoticeKind::Warning), QStringLiteral("Informe o nome do paciente na Análise de Tweed antes de salvar!"));
        return {};
    }
    if (!IsSafePatientName(patient)) {
        notice(int(NoticeKind::Error), UnsafePatientNameText());
        return {};
    }
    const QString stage = m_links.stage ? m_links.stage() : QStringLiteral("INICIAL");
    QString path = TracingFileName(patient, stage);
    path.chop(3);
    return path + suffix;
}

void TracingWindow::tSalvarClick()
{
    if (m_radiograph.isNull() && m_points.count() == 0) {
        notice(int(NoticeKind::Warning), QStringLiteral("Não há traçado para salvar!"));
        return;
    }
    const QString path = patientFile(QStringLiteral("tra"));
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path) && !confirm(QStringLiteral("O traçado \"%1\" já existe. Deseja substituí-lo?").arg(path)))
        return;
    try {
        ReplaceFileBytes(path, EncodeTracing(document()));
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        m_dialogs.setHideItemEnabled(!isVisible());
        return;
    }
    notice(int(NoticeKind::Information), QStringLiteral("Traçado salvo em \"%1\".").arg(path));
}

void TracingWindow::tAbrirClick()
{
    const QString path = m_dialogs.OpenFile({QStringLiteral("tra"), QStringLiteral("Traçado Cefalométrico|*.tra")});
    if (!path.isEmpty())
        openTracing(path);
    m_dialogs.setHideItemEnabled(!isVisible());
}

void TracingWindow::openTracing(const QString& path)
{
    QByteArray bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        return;
    }
    const DecodedTracing decoded = DecodeTracing(bytes);
    if (!decoded.document) {
        notice(int(NoticeKind::Error), QStringLiteral("O arquivo \"%1\" não é um traçado válido: %2").arg(path, decoded.error));
        return;
    }
    const TracingDocument& doc = *decoded.document;
    // A relative image path is read from the working folder, else from beside the tracing.
    QString image = doc.image;
    if (QFileInfo(image).isRelative() && !QFileInfo::exists(image))
        image = QFileInfo(path).dir().filePath(doc.image);
    LoadedRadiograph loaded = doc.image.isEmpty() ? LoadedRadiograph{} : LoadRadiograph(image);
    m_undo.clear();
    m_picked.reset();
    m_rulerMode = false;
    m_points = doc.landmarks;
    if (loaded.image) {
        const Calibration own = loaded.image->calibration;
        useRadiograph(std::move(*loaded.image), doc.image);
        if (!doc.calibration.known() && own.known())
            setCalibration(own, QStringLiteral("Calibração do DICOM"));
    } else {
        useRadiograph(BlankRadiograph(doc.landmarks), doc.image);
    }
    if (doc.calibration.known() || !loaded.image)
        setCalibration(doc.calibration, doc.calibration.known() ? QStringLiteral("Calibração do traçado") : QString());
    refresh();
    if (!loaded.image)
        notice(int(NoticeKind::Warning),
               QStringLiteral("A radiografia \"%1\" não pôde ser aberta: os pontos foram abertos sobre um fundo vazio.")
                   .arg(doc.image));
}

void TracingWindow::tExportarPngClick()
{
    if (m_radiograph.isNull()) {
        notice(int(NoticeKind::Warning), QStringLiteral("Abra uma radiografia antes de exportar!"));
        return;
    }
    const QString path = patientFile(QStringLiteral("png"));
    if (path.isEmpty())
        return;
    try {
        ExportTracingPng(path, m_canvas->picture(), m_points, m_calibration);
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        m_dialogs.setHideItemEnabled(!isVisible());
        return;
    }
    notice(int(NoticeKind::Information), QStringLiteral("Traçado exportado em \"%1\".").arg(path));
}

void TracingWindow::tExportarPdfClick()
{
    if (m_radiograph.isNull()) {
        notice(int(NoticeKind::Warning), QStringLiteral("Abra uma radiografia antes de exportar!"));
        return;
    }
    const QString path = patientFile(QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    PdfSheet sheet;
    sheet.title = QStringLiteral("Traçado Cefalométrico — %1 — %2")
                      .arg(m_links.patient ? m_links.patient() : QString(), m_links.stage ? m_links.stage() : QString());
    for (int row = 0; row < kMeasureCount; ++row)
        sheet.rows.emplace_back(m_panels.table->item(row, 0)->text(), m_panels.table->item(row, 1)->text());
    sheet.calibration = m_calibration.known()
                            ? QStringLiteral("%1: %2 × %3 mm por pixel.").arg(m_calibrationSource).arg(m_calibration.sx, 0, 'f', 4).arg(m_calibration.sy, 0, 'f', 4)
                            : QStringLiteral("Sem calibração: distâncias não medidas.");
    try {
        ExportTracingPdf(path, m_canvas->picture(), m_points, m_calibration, sheet);
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        m_dialogs.setHideItemEnabled(!isVisible());
        return;
    }
    notice(int(NoticeKind::Information), QStringLiteral("Traçado exportado em \"%1\".").arg(path));
}

}  // namespace qv
