// Any text through the validators and parsers: no crash, no sanitizer report; what a validator accepts its
// parser reads, and the canonical text of the result is accepted again and reads back the same colour.
#include "uFunctions.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

using namespace colour;

namespace {
void Require(bool condition)
{
    if (!condition) std::abort();
}

void CheckNotation(std::string_view text, bool (*isText)(std::string_view) noexcept,
                   Colour (*toColour)(std::string_view), std::string (*format)(Colour))
{
    if (!isText(text)) return;
    const Colour colour = toColour(text);
    Require((colour & 0xFF000000) == 0);
    const std::string canonical = format(colour);
    Require(isText(canonical));
    Require(toColour(canonical) == colour);
    Require(format(toColour(canonical)) == canonical);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    CheckNotation(text, IsRGBText, RGBTextToColour, ColourToRGBText);
    CheckNotation(text, IsHEXText, HEXTextToColour, ColourToHEXText);
    CheckNotation(text, IsHTMLText, HTMLTextToColour, ColourToHTMLText);

    // The lenient parsers read anything; the RGB parser either reads or refuses with a conversion error.
    HEXTextToColour(text);
    HTMLTextToColour(text);
    try {
        RGBTextToColour(text);
    } catch (const std::invalid_argument &) {
    }
    return 0;
}
