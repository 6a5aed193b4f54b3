// Any file given to the version reader gives an answer: no crash, no read outside the image.
#include "VersionResource.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::span<const std::uint8_t> image(data, size);
    (void)VersionResourceOfImage(image);
    // The block parser alone, so that the fuzzer need not build a whole ELF file to reach it.
    (void)ParseVersionBlock(image);
    return 0;
}
