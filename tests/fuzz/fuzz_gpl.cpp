#include "fuzz_palettes.h"
#include "GimpPalette.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return FuzzPalette(data, size, ReadGimpPalette, WriteGimpPalette);
}
