#pragma once
// What every fuzz target shares: the input as Qt bytes, and a check that stops the run.

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qv::fuzz {

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A broken round trip is a finding like a crash: libFuzzer keeps the input that caused it.
inline void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "round trip broken: %s\n", what);
        std::abort();
    }
}

}  // namespace qv::fuzz
