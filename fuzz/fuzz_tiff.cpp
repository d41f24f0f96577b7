// TIFF radiographs: any bytes decode to an image of the size the file states or to a reason,
// never a read past the end, and the pixels of an image are all there.

#include "FuzzCheck.h"
#include "records/TiffReader.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A small pixel limit keeps each run fast; the limit's own check is part of what is fuzzed.
    const DecodedTiff d = DecodeTiff(fuzz::Bytes(data, size), 1 << 20);
    fuzz::Check(d.image.has_value() != !d.error.isEmpty(), "an image or a reason");
    if (d.image) {
        fuzz::Check(d.image->width > 0 && d.image->height > 0, "a size");
        fuzz::Check(d.image->grey.size() == std::size_t(d.image->width) * std::size_t(d.image->height), "every pixel");
        fuzz::Check(d.image->bits == 8 || d.image->bits == 16, "8 or 16 bits");
    }
    return 0;
}
