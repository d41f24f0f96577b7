#pragma once
// What screen readers are told about the program's controls, beyond Qt's own defaults.

namespace qv::platform {

// Installs, once, the accessible interface of result labels: a label that carries an accessible
// description and no accessible name is announced by its shown text alone, also when that text
// is empty (Qt's default would then announce the enclosing group box's title instead). Call
// after the QApplication exists, so it takes precedence over Qt's interfaces for widgets.
void InstallAccessibility();

}  // namespace qv::platform
