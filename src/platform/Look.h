#pragma once
// The program's look where the system's own would change its layout. Every window is laid out
// to fit 1024 x 768 in the style and font Quorvel has on Linux (Fusion, DejaVu Sans 9 pt). Windows'
// own style and font are larger in places (group boxes, radio buttons, 8.25 pt MS Shell Dlg with
// taller lines), and pages such as Tweed's would no longer fit: there the program keeps its own
// look, with the DejaVu fonts installed beside it. The system's dialogs (files, printing) stay
// the system's own.

namespace qv::platform {

// Call once the application exists and the program's fonts are added.
void UseProgramLook();

}  // namespace qv::platform
