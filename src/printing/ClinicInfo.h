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
    QString logo;          // logotipo: name of the image in the working folder (older files: any path)

    bool isEmpty() const;
    bool operator==(const ClinicInfo&) const = default;

    // The file, relative to the working folder.
    static QString FileName();  // "Consultório.ini"

    // Reads the file; a missing file is an empty letterhead.
    static ClinicInfo Load(const QString& path = FileName());
    // Writes the file whole through a temporary file, synced before it is put in place, so it
    // never holds half a letterhead; throws IoError and leaves the old file on any failure.
    void save(const QString& path = FileName()) const;

    // The logo's file: `logo` from the working folder; when that is gone (a path of another
    // computer, restored here from a backup), the file of that name in the working folder.
    // Empty when there is no logo or neither exists.
    QString logoFile() const;
    // Puts a chosen logo where backups take it: an image directly in the working folder stays
    // where it is; one from elsewhere is copied there as "Logotipo.<extension>", replacing an
    // older copy. Gives the name to store in `logo`; throws IoError.
    static QString KeepLogo(const QString& chosenPath);

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
