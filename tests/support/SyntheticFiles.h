#pragma once
// A working folder's tracings of synthetic cephalograms, for the tests of windows and the
// benchmarks that need a folder full of them: the radiograph as a 16-bit grey PNG and its
// tracing beside it, as the tracing window saves them.

#include "analysis/TracingFile.h"
#include "support/SyntheticCephalogram.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace qv::test {

struct SyntheticTracing {
    QString tracingFile;  // <folder>/Análises/<patient>-<stage>.tra
    QString imageFile;    // the same with .png
    TracingDocument document;
};

// Writes the cephalogram of this seed and its tracing into `folder`, the working folder (created
// with its Análises/ when missing). The tracing stores the image's path as StoredImagePath
// gives it: relative to Análises/ when `folder` is the current working folder. Nothing when a
// file could not be written.
std::optional<SyntheticTracing> WriteSyntheticTracing(const QString& folder, const QString& patient, const QString& stage,
                                                      std::uint32_t seed, const SyntheticOptions& options = {});

}  // namespace qv::test
