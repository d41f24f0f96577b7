#pragma once
// The DICOM reader, a module of its own (DicomModule.cpp, the plugin "quorvel-dicom") so that
// DCMTK is loaded on the first DICOM radiograph, not at the program's start.

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
