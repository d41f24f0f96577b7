#pragma once
// The clinic's letterhead: who prints the reports. Kept in the working folder in a settings
// file a person can read ("Consultório.ini"); every report's header shows what is set.

#include "printing/ReportTemplate.h"

#include <QImage>
#include <QString>

namespace qv::report {

struct ClinicInfo {
    QString clinic;        // consultorio
    QString professional;  // profissional
    QString registration;  // registro, e.g. "CRO-SP 12345"
    QString address;       // endereco
    QString phone;         // telefone
    QString email;         // email
    QString logo;          // logotipo: path of the image file

    bool isEmpty() const;
    bool operator==(const ClinicInfo&) const = default;

    // The file, relative to the working folder.
    static QString FileName();  // "Consultório.ini"

    // Reads the file; a missing file is an empty letterhead.
    static ClinicInfo Load(const QString& path = FileName());
    // Writes the file whole through a temporary file, so it never holds half a letterhead;
    // throws IoError.
    void save(const QString& path = FileName()) const;

    // The letterhead as report parameters (names of BuiltInParams); logotipo is set only when
    // the image can be read, and names the image the run adds to the document; timbrado is
    // "sim" when anything of the letterhead is set.
    ParamMap params(bool logoReadable) const;
    // The logo image, or a null image when there is none or it cannot be read.
    QImage logoImage() const;
};

// Why an image file cannot be a logo, or an empty text when it can.
QString LogoProblem(const QString& path);

}  // namespace qv::report
