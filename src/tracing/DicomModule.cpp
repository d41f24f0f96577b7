// DICOM radiographs through DCMTK: the first frame's stored values, the display window and
// the pixel spacing of the file. Built as the plugin "quorvel-dicom".

#include "tracing/DicomReader.h"

#include <QFile>

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcrledrg.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmimgle/dipixel.h>
#include <dcmtk/dcmjpeg/djdecode.h>
#include <dcmtk/dcmjpls/djdecode.h>
#include <dcmtk/oflog/oflog.h>

#if defined(_WIN32) && !defined(WIDE_CHAR_FILE_IO_FUNCTIONS)
#error "DCMTK must be built with DCMTK_WIDE_CHAR_FILE_IO_FUNCTIONS for Unicode file names (scripts/windows/dcmtk.sh does)"
#endif

#include <algorithm>
#include <cmath>
#include <mutex>

namespace qv {

namespace {

void registerDecoders()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Failures reach the clinician as our own messages; the toolkit stays quiet on stderr.
        OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
        DcmRLEDecoderRegistration::registerCodecs();
        DJDecoderRegistration::registerCodecs();
        DJLSDecoderRegistration::registerCodecs();
    });
}

// Two positive spacings, row spacing (along y) first as DICOM lists them.
bool readSpacing(DcmDataset& ds, const DcmTagKey& tag, Calibration& out)
{
    Float64 row = 0, column = 0;
    if (ds.findAndGetFloat64(tag, row, 0).bad() || ds.findAndGetFloat64(tag, column, 1).bad())
        return false;
    if (!(row > 0) || !(column > 0) || !std::isfinite(row) || !std::isfinite(column))
        return false;
    out = {column, row};
    return true;
}

// Stored values shifted so the smallest is 0, and scaled down when they span more than 16 bits.
template <typename T>
void copyValues(const T* data, size_t count, Radiograph& r, double& lowest, double& step)
{
    const auto [lo, hi] = std::minmax_element(data, data + count);
    lowest = double(*lo);
    const double span = double(*hi) - lowest;
    step = span > 65535 ? span / 65535 : 1;
    r.pixels.resize(count);
    if (step == 1) {
        const T base = *lo;
        for (size_t i = 0; i < count; ++i)
            r.pixels[i] = quint16(data[i] - base);
    } else {
        for (size_t i = 0; i < count; ++i)
            r.pixels[i] = quint16(std::lround((double(data[i]) - lowest) / step));
    }
    r.maxValue = quint16(std::lround(span / step));
}

LoadedRadiograph fail(const QString& why) { return {std::nullopt, why}; }

LoadedRadiograph ReadDicom(const QString& path)
{
    registerDecoders();
    DcmFileFormat file;
    // The name as UTF-8: DCMTK opens it as such on Linux and through its wide-character calls on
    // Windows, so "Análises" and any patient's name reach the disk as they are.
    const OFCondition loaded = file.loadFile(OFFilename(path.toUtf8().constData(), OFTrue));
    if (loaded.bad())
        return fail(QStringLiteral("não é um arquivo DICOM legível (%1).").arg(QString::fromLocal8Bit(loaded.text())));
    DcmDataset& ds = *file.getDataset();

    Radiograph r;
    if (readSpacing(ds, DCM_PixelSpacing, r.calibration))
        r.spacingSource = QStringLiteral("PixelSpacing");
    else if (readSpacing(ds, DCM_ImagerPixelSpacing, r.calibration))
        r.spacingSource = QStringLiteral("ImagerPixelSpacing");
    OFString photometric;
    ds.findAndGetOFString(DCM_PhotometricInterpretation, photometric);
    r.inverted = photometric == "MONOCHROME1";

    // Stored values without the modality rescale: the window is converted below instead.
    DicomImage image(&file, ds.getOriginalXfer(), CIF_IgnoreModalityTransformation, 0, 1);
    if (image.getStatus() != EIS_Normal)
        return fail(QStringLiteral("a imagem DICOM não pôde ser lida (%1).")
                        .arg(QString::fromLatin1(DicomImage::getString(image.getStatus()))));
    if (!image.isMonochrome())
        return fail(QStringLiteral("a imagem DICOM não é monocromática."));
    const DiPixel* inter = image.getInterData();
    if (!inter || !inter->getData())
        return fail(QStringLiteral("a imagem DICOM não tem dados de pixel."));
    r.width = int(image.getWidth());
    r.height = int(image.getHeight());
    const size_t count = size_t(r.width) * size_t(r.height);
    if (inter->getCount() < count)
        return fail(QStringLiteral("os dados de pixel da imagem DICOM estão incompletos."));

    double lowest = 0, step = 1;
    const void* data = inter->getData();
    switch (inter->getRepresentation()) {
    case EPR_Uint8: copyValues(static_cast<const Uint8*>(data), count, r, lowest, step); break;
    case EPR_Sint8: copyValues(static_cast<const Sint8*>(data), count, r, lowest, step); break;
    case EPR_Uint16: copyValues(static_cast<const Uint16*>(data), count, r, lowest, step); break;
    case EPR_Sint16: copyValues(static_cast<const Sint16*>(data), count, r, lowest, step); break;
    case EPR_Uint32: copyValues(static_cast<const Uint32*>(data), count, r, lowest, step); break;
    case EPR_Sint32: copyValues(static_cast<const Sint32*>(data), count, r, lowest, step); break;
    }

    // The file's window is in rescaled values: take it back to stored values, then to ours.
    Float64 centre = 0, width = 0, slope = 1, intercept = 0;
    ds.findAndGetFloat64(DCM_RescaleSlope, slope);
    ds.findAndGetFloat64(DCM_RescaleIntercept, intercept);
    if (slope == 0 || !std::isfinite(slope))
        slope = 1;
    if (ds.findAndGetFloat64(DCM_WindowCenter, centre).good() && ds.findAndGetFloat64(DCM_WindowWidth, width).good()
        && width > 0) {
        r.windowCentre = ((centre - intercept) / slope - lowest) / step;
        r.windowWidth = width / std::abs(slope) / step;
        if (slope < 0)
            r.inverted = !r.inverted;
    } else {
        r.windowCentre = r.maxValue / 2.0;
        r.windowWidth = std::max<double>(1, r.maxValue);
    }
    return {std::move(r), {}};
}

}  // namespace

class DicomModule : public QObject, public DicomReader {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QV_DICOM_READER_IID)
    Q_INTERFACES(qv::DicomReader)
public:
    LoadedRadiograph load(const QString& path) const override { return ReadDicom(path); }
};

}  // namespace qv

#include "DicomModule.moc"
