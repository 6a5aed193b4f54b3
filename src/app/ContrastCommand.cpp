#include "ContrastCommand.h"

#include "Contrast.h"
#include "CssColour.h"

#include <cmath>
#include <optional>
#include <string>

using namespace colour;

namespace {

int Refuse(std::FILE *errors, const char *message, std::string_view text = {})
{
    std::fprintf(errors, "tintwell: ");
    std::fprintf(errors, message, int(text.size()), text.data());
    std::fprintf(errors, "\n");
    return 2;
}

// As a browser draws it: each channel's value mixed by the alpha.
Colour Blend(Colour over, double alpha, Colour under)
{
    const auto mix = [alpha](int top, int bottom) { return int(std::lround(top * alpha + bottom * (1 - alpha))); };
    return MakeColour(mix(GetRValue(over), GetRValue(under)), mix(GetGValue(over), GetGValue(under)),
                      mix(GetBValue(over), GetBValue(under)));
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

int RunContrast(std::string_view foreground, std::string_view background, bool suggest, std::FILE *output,
                std::FILE *errors)
{
    const std::optional<AnyColour> front = ReadAnyColour(foreground);
    if (!front) return Refuse(errors, "'%.*s' is not a colour", foreground);
    const std::optional<AnyColour> back = ReadAnyColour(background);
    if (!back) return Refuse(errors, "'%.*s' is not a colour", background);
    if (back->alphaDropped)
        return Refuse(errors, "the background '%.*s' is not opaque: the contrast with it depends on what lies under it",
                      background);

    Colour text = front->colour;
    std::string said;
    if (front->alphaDropped) {
        text = Blend(front->colour, front->alpha, back->colour);
        said = "The foreground's alpha " + Number(front->alpha) +
               " drawn over the background: " + ColourToHTMLText(text) + "\n";
    }
    const double ratio = ContrastRatio(text, back->colour);
    said += FormatRatio(ratio) + "\n";
    for (const ContrastCriterion &criterion : ContrastCriteria)
        said += std::string(criterion.name) + ": " + (ratio >= criterion.threshold ? "pass" : "fail") + " (" +
                Number(criterion.threshold) + ":1)\n";
    if (suggest) {
        const std::optional<Colour> nearest = NearestPassingColour(text, back->colour);
        said += nearest ? "Nearest passing: " + ColourToHTMLText(*nearest) + " (" +
                              FormatRatio(ContrastRatio(*nearest, back->colour)) + ")\n"
                        : std::string("Nearest passing: none\n");
    }
    const bool written = std::fputs(said.c_str(), output) >= 0 && std::fflush(output) == 0;
    return written ? 0 : Refuse(errors, "the output could not be written");
}
