// The Bolton analysis file: decode -> encode -> decode keeps every field.

#include "FuzzCheck.h"
#include "bolton/BoltonFile.h"

using namespace qv;

namespace {

bool same(const BoltonFileRecord& a, const BoltonFileRecord& b)
{
    return a.paciente == b.paciente && a.s == b.s && a.i == b.i && a.termole == b.termole && a.termold == b.termold
           && a.segmole == b.segmole && a.segmold == b.segmold;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Shorter files are refused before they are decoded.
    if (size < std::size_t(BoltonFileRecord::kSize))
        return 0;
    const BoltonFileRecord first = BoltonFileRecord::decode(fuzz::Bytes(data, size));
    const QByteArray encoded = first.encode();
    fuzz::Check(encoded.size() == BoltonFileRecord::kSize, "record size");
    const BoltonFileRecord second = BoltonFileRecord::decode(encoded);
    fuzz::Check(same(first, second), "fields after encode and decode");
    fuzz::Check(second.encode() == encoded, "bytes of a decoded record");
    return 0;
}
