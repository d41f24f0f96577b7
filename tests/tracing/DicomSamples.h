#pragma once
// Small DICOM radiographs written with DCMTK, for the tests and the benchmarks.

#include <QFile>
#include <QString>

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>

#include <optional>
#include <utility>
#include <vector>

namespace qv::test {

struct DicomSample {
    int width = 4;
    int height = 3;
    int bitsAllocated = 16;
    int bitsStored = 16;
    bool signedPixels = false;
    const char* photometric = "MONOCHROME2";
    std::vector<int> values;       // row by row; zeros when short
    const char* pixelSpacing = nullptr;   // "row\\column"
    const char* imagerSpacing = nullptr;
    const char* windowCentre = nullptr;
    const char* windowWidth = nullptr;
    const char* rescaleSlope = nullptr;
    const char* rescaleIntercept = nullptr;
};

inline bool WriteDicom(const QString& path, const DicomSample& s)
{
    DcmFileFormat file;
    DcmDataset* ds = file.getDataset();
    char uid[100];
    ds->putAndInsertString(DCM_SOPClassUID, UID_DigitalXRayImageStorageForPresentation);
    ds->putAndInsertString(DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT));
    ds->putAndInsertString(DCM_Modality, "DX");
    ds->putAndInsertUint16(DCM_Rows, Uint16(s.height));
    ds->putAndInsertUint16(DCM_Columns, Uint16(s.width));
    ds->putAndInsertUint16(DCM_SamplesPerPixel, 1);
    ds->putAndInsertString(DCM_PhotometricInterpretation, s.photometric);
    ds->putAndInsertUint16(DCM_BitsAllocated, Uint16(s.bitsAllocated));
    ds->putAndInsertUint16(DCM_BitsStored, Uint16(s.bitsStored));
    ds->putAndInsertUint16(DCM_HighBit, Uint16(s.bitsStored - 1));
    ds->putAndInsertUint16(DCM_PixelRepresentation, s.signedPixels ? 1 : 0);
    const std::pair<DcmTagKey, const char*> texts[] = {
        {DCM_PixelSpacing, s.pixelSpacing},   {DCM_ImagerPixelSpacing, s.imagerSpacing},
        {DCM_WindowCenter, s.windowCentre},   {DCM_WindowWidth, s.windowWidth},
        {DCM_RescaleSlope, s.rescaleSlope},   {DCM_RescaleIntercept, s.rescaleIntercept},
    };
    for (const auto& [tag, text] : texts)
        if (text)
            ds->putAndInsertString(tag, text);
    const size_t count = size_t(s.width) * size_t(s.height);
    if (s.bitsAllocated == 8) {
        std::vector<Uint8> data(count);
        for (size_t i = 0; i < count && i < s.values.size(); ++i)
            data[i] = Uint8(s.values[i]);
        ds->putAndInsertUint8Array(DCM_PixelData, data.data(), unsigned(count));
    } else {
        std::vector<Uint16> data(count);
        for (size_t i = 0; i < count && i < s.values.size(); ++i)
            data[i] = Uint16(s.values[i]);  // two's complement when signed
        ds->putAndInsertUint16Array(DCM_PixelData, data.data(), unsigned(count));
    }
    return file.saveFile(OFFilename(path.toUtf8().constData(), OFTrue), EXS_LittleEndianExplicit).good();
}

}  // namespace qv::test
