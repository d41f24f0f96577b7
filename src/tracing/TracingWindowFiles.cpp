// The window's files: the radiograph, the tracing file and the exports, each named after the
// patient and stage of the Tweed page.

#include "tracing/TracingWindow.h"

#include "platform/Dialogs.h"
#include "records/FileIo.h"
#include "records/FolderSafety.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "tracing/TracingCanvas.h"
#include "tracing/TracingExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableWidget>

namespace qv {

namespace {
using platform::NoticeKind;
}  // namespace

void TracingWindow::startTracing(Radiograph r, const QString& stored, const QString& file, const LandmarkSet& points,
                                 const Calibration& c, const QString& source, const LandmarkFlags& proposed,
                                 const LandmarkFlags& accepted)
{
    // Nothing of the previous tracing survives: points, history, spacing and what was typed for it.
    m_rulerMode = false;
    m_panels.rulerMm->clear();
    m_panels.mmPerPixel->clear();
    m_model.setImage(stored, file);
    useRadiograph(std::move(r));
    m_model.start(points, c, source, proposed, accepted);
}

bool TracingWindow::openImage(const QString& path)
{
    LoadedRadiograph loaded = LoadRadiograph(path);
    if (!loaded.image) {
        notice(int(NoticeKind::Error), QStringLiteral("Não foi possível abrir a radiografia \"%1\": %2").arg(path, loaded.error));
        return false;
    }
    const Calibration own = loaded.image->calibration;
    const QString source = QStringLiteral("Calibração do DICOM (%1)").arg(loaded.image->spacingSource);
    startTracing(std::move(*loaded.image), path, path, {}, own, source);
    return true;
}

void TracingWindow::tImagemClick()
{
    const QString path = m_dialogs.OpenFile(
        {QStringLiteral("dcm"), QStringLiteral("Radiografia|*.dcm *.png *.jpg *.jpeg *.tif *.tiff *.bmp|Todos os arquivos|*")});
    if (!path.isEmpty()
        && (m_model.landmarks().count() == 0
            || confirm(QStringLiteral("Os pontos marcados nesta radiografia serão apagados. Deseja continuar?"))))
        openImage(path);
    m_dialogs.setHideItemEnabled(!isVisible());
}

QString TracingWindow::patientFile(const QString& suffix)
{
    const QString patient = m_tweed.patient;
    if (patient.isEmpty()) {
        notice(int(NoticeKind::Warning), QStringLiteral("Informe o nome do paciente na Análise de Tweed antes de salvar!"));
        return {};
    }
    if (!IsSafePatientName(patient)) {
        notice(int(NoticeKind::Error), UnsafePatientNameText());
        return {};
    }
    const QString stage = m_tweed.stage.isEmpty() ? QStringLiteral("INICIAL") : m_tweed.stage;
    QString path = TracingFileName(patient, stage);
    path.chop(3);
    return path + suffix;
}

QString TracingWindow::copyRadiograph()
{
    // Named after the tracing, with the image's own extension; another file of that name stays.
    const QString patient = m_tweed.patient;
    const QString stage = m_tweed.stage.isEmpty() ? QStringLiteral("INICIAL") : m_tweed.stage;
    const QString suffix = QFileInfo(m_model.imageFile()).suffix();
    const QByteArray bytes = ReadFileBytes(m_model.imageFile());
    for (int n = 1; n < 1000; ++n) {
        QString name = AnalysesFolder() + patient + QLatin1Char('-') + stage;
        if (n > 1)
            name += QStringLiteral("-%1").arg(n);
        if (!suffix.isEmpty())
            name += QLatin1Char('.') + suffix;
        if (QFileInfo::exists(name)) {
            QFile same(name);  // copied before: use it
            if (same.size() == bytes.size() && same.open(QIODevice::ReadOnly) && same.readAll() == bytes)
                return name;
            continue;
        }
        try {
            WriteNewFileBytes(name, bytes);
            return name;
        } catch (const FileExistsError&) {
            // Created a moment ago by someone else: try the next name.
        }
    }
    throw IoError::cannotWrite(AnalysesFolder() + patient + QLatin1Char('-') + stage);
}

void TracingWindow::tSalvarClick()
{
    if (m_radiograph.isNull() && m_model.landmarks().count() == 0) {
        notice(int(NoticeKind::Warning), QStringLiteral("Não há traçado para salvar!"));
        return;
    }
    const QString path = patientFile(QStringLiteral("tra"));
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path) && !confirm(QStringLiteral("O traçado \"%1\" já existe. Deseja substituí-lo?").arg(path)))
        return;
    // The radiograph is kept relative to Análises/, so a backup of the folder carries it.
    QString image = m_model.imagePath();
    QString imageFile = m_model.imageFile();
    if (!imageFile.isEmpty()) {
        image = StoredImagePath(imageFile);
        // A radiograph removed since it was opened keeps its path: there is nothing to copy.
        if (QFileInfo(image).isAbsolute() && !m_model.copyDeclined() && QFileInfo::exists(imageFile)) {
            if (confirm(QStringLiteral("A radiografia \"%1\" está fora da pasta Análises: uma cópia de segurança não a levará.\r"
                                       "Deseja copiá-la para a pasta Análises?")
                            .arg(QDir::toNativeSeparators(image)))) {
                try {
                    imageFile = copyRadiograph();
                } catch (const IoError& e) {
                    m_dialogs.ShowFailure(e.message());
                    m_dialogs.setHideItemEnabled(!isVisible());
                    return;
                }
                image = StoredImagePath(imageFile);
            } else {
                m_model.setCopyDeclined(true);
            }
        }
    }
    // Told once per run, like the pages' saves, when Análises lies where saves from several
    // computers are not protected.
    if (const QString shared = UnprotectedFolderWarningOnce(QStringLiteral("Análises")); !shared.isEmpty())
        notice(int(NoticeKind::Warning), shared);
    try {
        TracingDocument doc = document();
        doc.image = image;
        ReplaceFileBytes(path, EncodeTracing(doc));
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        m_dialogs.setHideItemEnabled(!isVisible());
        return;
    }
    const bool declined = m_model.copyDeclined();
    m_model.setImage(image, imageFile);
    m_model.setCopyDeclined(declined);
    m_model.markSaved();
    notice(int(NoticeKind::Information), QStringLiteral("Traçado salvo em \"%1\".").arg(path));
    m_learning.tracingSaved();
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
    const QString file = ResolveImagePath(doc.image, path);
    LoadedRadiograph loaded = doc.image.isEmpty() ? LoadedRadiograph{} : LoadRadiograph(file);

    // A point far off the radiograph is a damaged file, not a tracing: it would give absurd
    // measurements, or a blank canvas too large to allocate.
    const QRectF area = loaded.image ? PlausibleArea(QSizeF(loaded.image->width, loaded.image->height)) : BlankCanvasArea();
    if (const auto l = LandmarkOutside(doc.landmarks, area)) {
        const QPointF p = doc.landmarks.at(*l);
        const QString where = QStringLiteral("(%1, %2)").arg(p.x(), 0, 'g', 6).arg(p.y(), 0, 'g', 6);
        const QString why = loaded.image ? QStringLiteral("fica longe demais da radiografia (%1 x %2 pixels)")
                                               .arg(loaded.image->width).arg(loaded.image->height)
                                         : QStringLiteral("fica além do tamanho máximo de uma radiografia (%1 pixels)")
                                               .arg(kBlankCanvasLimit);
        notice(int(NoticeKind::Error), QStringLiteral("O arquivo \"%1\" não é um traçado válido: o ponto \"%2\" %3 %4.")
                                           .arg(path, LandmarkCode(*l), where, why));
        return;
    }

    Calibration calibration = doc.calibration;
    QString source = QStringLiteral("Calibração do traçado");
    if (!calibration.known() && loaded.image && loaded.image->calibration.known()) {
        calibration = loaded.image->calibration;
        source = QStringLiteral("Calibração do DICOM");
    }
    const bool found = loaded.image.has_value();
    startTracing(found ? std::move(*loaded.image) : BlankRadiograph(doc.landmarks), doc.image, found ? file : QString(),
                 doc.landmarks, calibration, source, doc.proposed, doc.accepted);
    if (!found)
        notice(int(NoticeKind::Warning),
               QStringLiteral("A radiografia \"%1\" não pôde ser aberta: os pontos foram abertos sobre um fundo vazio.")
                   .arg(doc.image));
}

QString TracingWindow::exportPath(const QString& suffix, const QString& description)
{
    const QString proposed = patientFile(suffix);
    if (proposed.isEmpty())
        return {};
    const QString path = m_dialogs.SaveFile({QStringLiteral("Exportar traçado"), QFileInfo(proposed).fileName(),
                                             QStringLiteral("%1|*.%2").arg(description, suffix)});
    m_dialogs.setHideItemEnabled(!isVisible());
    return path;
}

void TracingWindow::exported(const QString& path)
{
    // The picture shows the patient: readable by its owner only, also over an older export.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    notice(int(NoticeKind::Information), QStringLiteral("Traçado exportado em \"%1\".").arg(QDir::toNativeSeparators(path)));
}

void TracingWindow::tExportarPngClick()
{
    if (m_radiograph.isNull()) {
        notice(int(NoticeKind::Warning), QStringLiteral("Abra uma radiografia antes de exportar!"));
        return;
    }
    const QString path = exportPath(QStringLiteral("png"), QStringLiteral("Imagem PNG"));
    if (path.isEmpty())
        return;
    try {
        ExportTracingPng(path, m_canvas->picture(), m_model.landmarks(), m_model.calibration(), m_model.proposedPoints());
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        m_dialogs.setHideItemEnabled(!isVisible());
        return;
    }
    exported(path);
}

void TracingWindow::tExportarPdfClick()
{
    if (m_radiograph.isNull()) {
        notice(int(NoticeKind::Warning), QStringLiteral("Abra uma radiografia antes de exportar!"));
        return;
    }
    const QString path = exportPath(QStringLiteral("pdf"), QStringLiteral("Documento PDF"));
    if (path.isEmpty())
        return;
    PdfSheet sheet;
    sheet.title = QStringLiteral("Traçado Cefalométrico — %1 — %2")
                      .arg(m_tweed.patient, m_tweed.stage);
    for (int row = 0; row < kMeasureCount; ++row)
        sheet.rows.emplace_back(m_panels.table->item(row, 0)->text(), m_panels.table->item(row, 1)->text());
    sheet.calibration = m_model.calibration().known()
                            ? QStringLiteral("%1: %2 × %3 mm por pixel.").arg(m_model.calibrationSource()).arg(m_model.calibration().sx, 0, 'f', 4).arg(m_model.calibration().sy, 0, 'f', 4)
                            : QStringLiteral("Sem calibração: distâncias não medidas.");
    try {
        ExportTracingPdf(path, m_canvas->picture(), m_model.landmarks(), m_model.calibration(), sheet,
                         m_model.proposedPoints());
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        m_dialogs.setHideItemEnabled(!isVisible());
        return;
    }
    exported(path);
}

}  // namespace qv
