#pragma once
// Every text on disk is Windows-1252; this is the one place that converts.

#include <QByteArray>
#include <QString>

namespace qv {

QByteArray ToCp1252(const QString& text);
QString FromCp1252(const QByteArray& bytes);

// True when Windows-1252 has a byte for the character.
bool IsCp1252(QChar c);

// Fixed record fields: a length byte followed by `capacity` bytes, zero-filled.
// Texts longer than the capacity are cut; a length byte larger than the capacity reads as the capacity.
void PutShortString(QByteArray& record, int offset, int capacity, const QString& text);
QString GetShortString(const QByteArray& record, int offset, int capacity);

}  // namespace qv
