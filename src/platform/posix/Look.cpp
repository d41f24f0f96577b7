#include "platform/Look.h"

namespace qv::platform {

// On Linux the desktop's Fusion style and DejaVu Sans are the look the windows are laid out in.
void UseProgramLook() {}

}  // namespace qv::platform
