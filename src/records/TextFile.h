#pragma once
// The history and plan files are Windows-1252 text with CR LF line ends.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qv {

// Decodes the bytes and splits them into lines. CR LF, a lone LF and a lone CR all end a
// line; a final line end adds no empty line, so empty bytes give no line at all.
QStringList SplitTextLines(const QByteArray& bytes);

// Each line encoded and followed by CR LF.
QByteArray JoinTextLines(const QStringList& lines);

// A history or plan file: the patient's name on the first line, then the text.
struct PatientText {
    QString patient;    // the first line
    QStringList lines;  // every following line
};
PatientText ParsePatientText(const QByteArray& bytes);

// What a multi-line field keeps of a typed or pasted text: line ends become "\n", and
// characters Windows-1252 cannot store (and control characters other than tab) are dropped,
// so a field never shows what its file could not hold.
QString StorableText(const QString& text);

}  // namespace qv
