#pragma once
// The twelve Tweed measurements a tracing gives, as the keys the field table names them by; the
// geometry that measures them is in analysis/TracingGeometry.h.

namespace qv {

enum class Measure { FMA, FMIA, IMPA, PlOcl, SNA, SNB, AoBo, AngZ, LS, QT, AFA, AFP };
inline constexpr int kMeasureCount = 12;

}  // namespace qv
