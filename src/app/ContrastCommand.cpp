#include "ContrastCommand.h"

#include "Contrast.h"
#include "CssColour.h"
#include "QuotedText.h"

#include <cmath>
#include <optional>
#include <string>

using namespace colour;

namespace {

int Refuse(std::FILE *errors, const std::string &message)
{
    std::fprintf(errors, "tintwell: %s\n", message.c_str());
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
    if (!front) return Refuse(errors, Quoted(foreground) + " is not a color");
    const std::optional<AnyColour> back = ReadAnyColour(background);
    if (!back) return Refuse(errors, Quoted(background) + " is not a color");
    if (back->alphaDropped)
        return Refuse(errors, "the background " + Quoted(background) +
                                  " is not opaque: the contrast with it depends on what lies under it");

    Colour text = front->colour;
    std::string said;
    if (front->mapped)
        said += "The foreground lies outside sRGB, mapped into it as CSS maps it: " + ColourToHTMLText(front->colour) +
                "\n";
    if (back->mapped)
        said +=
            "The background lies outside sRGB, mapped into it as CSS maps it: " + ColourToHTMLText(back->colour) + "\n";
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
