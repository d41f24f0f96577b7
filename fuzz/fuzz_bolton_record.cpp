// The Bolton analysis file: decode -> encode -> decode keeps every field.

#include "FuzzCheck.h"
#include "records/BoltonFile.h"

using namespace qv;

namespace {

bool same(const BoltonSheet& a, const BoltonSheet& b) { return a == b; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Shorter files are refused before they are decoded.
    if (size < std::size_t(kBoltonFileSize))
        return 0;
    const BoltonSheet first = DecodeBoltonSheet(fuzz::Bytes(data, size));
    const QByteArray encoded = EncodeBoltonSheet(first);
    fuzz::Check(encoded.size() == kBoltonFileSize, "record size");
    const BoltonSheet second = DecodeBoltonSheet(encoded);
    fuzz::Check(same(first, second), "fields after encode and decode");
    fuzz::Check(EncodeBoltonSheet(second) == encoded, "bytes of a decoded record");
    return 0;
}
