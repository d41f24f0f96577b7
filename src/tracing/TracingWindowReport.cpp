// The tracing window's printed report and its spreadsheet export.

#include "tracing/TracingWindow.h"

#include "platform/Dialogs.h"
#include "records/PatientName.h"
#include "tracing/CephCsvExport.h"
#include "tracing/CephReport.h"
#include "tracing/TracingCanvas.h"
#include "tracing/TracingExport.h"

#include <QBuffer>

namespace qv {

namespace {

const QString kCaption = QStringLiteral("Traçado Cefalométrico");
using platform::NoticeKind;

// The printed picture needs no more pixels than a page shows at print resolution.
constexpr int kReportPictureSide = 1800;

QByteArray pictureForReport(const QImage& traced)
{
    QImage image = traced;
    if (image.width() > kReportPictureSide || image.height() > kReportPictureSide)
        image = image.scaled(kReportPictureSide, kReportPictureSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

}  // namespace

void TracingWindow::tImprimirClick()
{
    if (m_model.landmarks().count() == 0) {
        notice(int(NoticeKind::Warning), QStringLiteral("Marque os pontos do traçado antes de imprimir!"));
        return;
    }
    CephReportInput in;
    in.patient = m_tweed.patient;
    in.stage = m_tweed.stage;
    in.calibration = m_model.calibration().known()
                         ? QStringLiteral("%1: %2 × %3 mm por pixel.")
                               .arg(m_model.calibrationSource())
                               .arg(m_model.calibration().sx, 0, 'f', 4)
                               .arg(m_model.calibration().sy, 0, 'f', 4)
                         : QStringLiteral("Sem calibração: distâncias não medidas.");
    if (!m_canvas->picture().isNull())
        in.picturePng = pictureForReport(
            RenderTracedImage(m_canvas->picture(), m_model.landmarks(), m_model.calibration(), m_model.proposedPoints()));
    in.points = m_model.landmarks();
    in.catalogue = m_model.sharedCatalogue();
    in.values = cephValues();
    const ClinicNorms norms = ClinicCephNorms(m_model.catalogue());
    in.norms = norms.norms;
    in.normsSource = norms.source;
    in.analyses = CephAnalysesFromTitles(m_model.catalogue(), m_model.analyses());  // as chosen in this window
    in.proposed = m_model.proposedPoints();
    in.accepted = m_model.acceptedPoints();
    in.accuracy = proposalAccuracy();
    const CephReportPlan plan = BuildCephReport(in);
    emit printRequested(plan.params, plan.lastPage);
    m_dialogs.setHideItemEnabled(!isVisible());
}

void TracingWindow::tCsvClick()
{
    const QString patient = m_tweed.patient;
    if (patient.isEmpty()) {
        notice(int(NoticeKind::Warning), QStringLiteral("Informe o nome do paciente na Análise de Tweed antes de exportar!"));
        return;
    }
    if (!IsSafePatientName(patient)) {
        notice(int(NoticeKind::Error), UnsafePatientNameText());
        return;
    }
    // The stage on screen as it is shown, saved or not; the other stages from their files.
    std::optional<CephCsvRow> shown;
    if (m_model.landmarks().count() > 0)
        shown = CephCsvRow{patient, m_tweed.stage.isEmpty() ? QStringLiteral("INICIAL") : m_tweed.stage,
                           MeasureCephalometrics(*CurrentAnalyses(), m_model.landmarks(), m_model.calibration()),  // as the columns are
                           m_model.proposedPoints()};
    ExportCephCsv(m_dialogs, AnalysesFolder(), patient, kCaption, !isVisible(), shown);
}

}  // namespace qv
