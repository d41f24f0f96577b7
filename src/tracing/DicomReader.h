#pragma once
// The DICOM reader, an optional format backend: the plugin "quorvel-dicom" (DicomModule.cpp),
// built when DCMTK is found and opened with the first DICOM radiograph.

#include "tracing/Radiograph.h"

#include <QtPlugin>

namespace qv {

class DicomReader {
public:
    virtual ~DicomReader() = default;
    // The first frame's stored values, the display window and the pixel spacing of the file.
    virtual LoadedRadiograph load(const QString& path) const = 0;
};

}  // namespace qv

#define QV_DICOM_READER_IID "br.com.quorvel.DicomReader/1"
Q_DECLARE_INTERFACE(qv::DicomReader, QV_DICOM_READER_IID)
