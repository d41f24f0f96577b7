#pragma once
// The pictures compiled into the program; call before the first use (the library is static).

class QImage;
class QString;

namespace qv {
void InitArt();

// A picture the first window shows ("splash", "quorvel"), read from the raw pixels compiled in
// beside its PNG, so that no decoder runs before the splash is on the screen; the PNG itself
// when the raw form is missing.
QImage ArtPicture(const QString& name);
}
