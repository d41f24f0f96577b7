// The Tweed analysis file: any bytes decode; decode -> encode -> decode keeps every field.

#include "FuzzCheck.h"
#include "records/TweedFile.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    const TweedFileRecord first = DecodeTweed(bytes);
    (void)RestoreGuideAnswers(bytes);
    const QByteArray encoded = EncodeTweed(first);
    fuzz::Check(encoded.size() == kTweedRecordSize, "record size");
    const TweedFileRecord second = DecodeTweed(encoded);
    fuzz::Check(second == first, "fields after encode and decode");
    fuzz::Check(EncodeTweed(second) == encoded, "bytes of a decoded record");
    return 0;
}
