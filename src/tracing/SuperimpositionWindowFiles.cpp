// The window's files: the stage tracings and their radiographs read, and the exports written
// under the patient's name.

#include "tracing/SuperimpositionWindow.h"

#include "platform/Dialogs.h"
#include "printing/ReportWindows.h"
#include "records/FileIo.h"
#include "records/IoError.h"
#include "tracing/SuperimpositionViewPrint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const QString kCaption = QStringLiteral("Sobreposição");
// Pictures are kept this size at most: four radiographs at full size would take hundreds of MB.
constexpr int kPictureSide = 1000;

void readStage(StageFile& f)
{
    QByteArray bytes;
    try {
        bytes = ReadFileBytes(f.path);
    } catch (const IoError& e) {
        f.error = QStringLiteral("%1: %2").arg(f.stage, e.message());
        return;
    }
    const DecodedTracing decoded = DecodeTracing(bytes);
    if (!decoded.document) {
        f.error = QStringLiteral("%1: o arquivo \"%2\" não é um traçado válido: %3").arg(f.stage, f.path, decoded.error);
        return;
    }
    const TracingDocument& doc = *decoded.document;
    // A point this far off is a damaged file: its millimetres would be absurd.
    if (const auto l = LandmarkOutside(doc.landmarks, BlankCanvasArea())) {
        f.error = QStringLiteral("%1: o arquivo \"%2\" não é um traçado válido: o ponto \"%3\" está fora da radiografia.")
                      .arg(f.stage, f.path, LandmarkCode(*l));
        return;
    }
    f.tracing = {f.stage, doc.landmarks, doc.calibration};
    f.imageFile = doc.image.isEmpty() ? QString() : ResolveImagePath(doc.image, f.path);
    // As the tracing window does: a tracing saved without a spacing takes its DICOM's.
    if (!doc.calibration.known() && !f.imageFile.isEmpty()) {
        LoadedRadiograph loaded = LoadRadiograph(f.imageFile);
        if (loaded.image) {
            if (loaded.image->calibration.known())
                f.tracing.calibration = loaded.image->calibration;
            f.radiograph = std::move(loaded.image);
        }
    }
}

}  // namespace

std::array<StageFile, 4> FindStages(const QString& patient)
{
    std::array<StageFile, 4> files;
    for (size_t i = 0; i < files.size(); ++i) {
        StageFile& f = files[i];
        f.stage = QString::fromLatin1(kStageNames[i]);
        f.path = TracingFileName(patient, f.stage);
        f.found = QFileInfo(f.path).isFile();
        if (f.found)
            readStage(f);
    }
    return files;
}

void SuperimpositionWindow::loadPictures()
{
    for (int i : m_chosen) {
        StageFile& f = m_files[size_t(i)];
        if (f.pictureTried)
            continue;
        f.pictureTried = true;
        if (!f.radiograph && !f.imageFile.isEmpty()) {
            LoadedRadiograph loaded = LoadRadiograph(f.imageFile);
            if (loaded.image)
                f.radiograph = std::move(loaded.image);
            else
                f.pictureError = QStringLiteral("%1: a radiografia \"%2\" não pôde ser aberta: %3")
                                     .arg(f.stage, QDir::toNativeSeparators(f.imageFile), loaded.error);
        }
        if (f.imageFile.isEmpty())
            f.pictureError = QStringLiteral("%1: o traçado não tem radiografia.").arg(f.stage);
        if (!f.radiograph)
            continue;  // drawn without its picture
        const Radiograph& r = *f.radiograph;
        QImage full = RenderRadiograph(r, DefaultLevels(r));
        const int side = std::max(r.width, r.height);
        if (side > kPictureSide) {
            f.pictureScale = double(kPictureSide) / side;
            f.picture = full.scaled(int(std::lround(r.width * f.pictureScale)), int(std::lround(r.height * f.pictureScale)),
                                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            f.pictureScale = double(f.picture.width()) / r.width;
        } else {
            f.pictureScale = 1;
            f.picture = std::move(full);
        }
        f.radiograph.reset();  // only the picture is drawn from now on
    }
}

QString SuperimpositionWindow::exportTitle() const
{
    const int base = m_base->currentIndex();
    const QString baseStage = base >= 0 ? m_base->itemText(base) : QString();
    return QStringLiteral("Sobreposição — %1 — %2, base %3")
        .arg(m_patient, m_registration->currentText(), baseStage);
}

SuperimpositionSheet SuperimpositionWindow::sheet() const
{
    SuperimpositionSheet out;
    out.title = exportTitle();
    out.note = m_axis->text();
    for (int c = 0; c < m_table->columnCount(); ++c)
        out.header << m_table->horizontalHeaderItem(c)->text();
    for (int r = 0; r < m_table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m_table->columnCount(); ++c)
            cells << m_table->item(r, c)->text();
        out.rows.push_back(cells);
    }
    return out;
}

QString SuperimpositionWindow::exportPath(const QString& suffix, const QString& description)
{
    if (!m_result.ok()) {
        m_dialogs.ShowNotice(platform::NoticeKind::Warning, m_result.error, kCaption);
        return {};
    }
    return m_dialogs.SaveFile({QStringLiteral("Exportar sobreposição"),
                               m_patient + QStringLiteral("-sobreposicao.") + suffix,
                               QStringLiteral("%1|*.%2").arg(description, suffix)});
}

void SuperimpositionWindow::exported(const QString& path)
{
    // The picture shows the patient: readable by its owner only, also over an older export.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_dialogs.ShowNotice(platform::NoticeKind::Information,
                         QStringLiteral("Sobreposição exportada em \"%1\".").arg(QDir::toNativeSeparators(path)), kCaption);
}

void SuperimpositionWindow::sbExportarPngClick()
{
    const QString path = exportPath(QStringLiteral("png"), QStringLiteral("Imagem PNG"));
    if (path.isEmpty())
        return;
    try {
        ExportSuperimpositionPng(path, m_view->stages(), exportTitle());
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        return;
    }
    exported(path);
}

void SuperimpositionWindow::sbExportarPdfClick()
{
    const QString path = exportPath(QStringLiteral("pdf"), QStringLiteral("Documento PDF"));
    if (path.isEmpty())
        return;
    try {
        ExportSuperimpositionPdf(path, m_view->stages(), sheet());
    } catch (const IoError& e) {
        m_dialogs.ShowFailure(e.message());
        return;
    }
    exported(path);
}

void SuperimpositionWindow::sbImprimirClick()
{
    if (!m_result.ok()) {
        m_dialogs.ShowNotice(platform::NoticeKind::Warning, m_result.error, kCaption);
        return;
    }
    const SuperimpositionDocument document(m_view->stages(), sheet());
    report::QtReportOutput().deliver(document, m_dialogs);
}

}  // namespace qv
