#pragma once
// The pictures compiled into the program; call before the first use (the library is static).

namespace qv {
void InitArt();
}
