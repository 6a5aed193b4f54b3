// The colour profile of a display, read from its ICC bytes, and what a device value that display is sent means
// in sRGB, the space of the web and of most design files. LittleCMS 2 converts, relative colorimetric without
// black-point compensation, in double precision and without its optimisations: its 8-bit shortcuts were
// measured up to 13 levels off.
#pragma once

#include "uFunctions.h"

#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace colour {

struct SRGBValue
{
    Colour colour = White;
    bool clipped = false; // a channel lay outside 0 to 255: the colour is outside sRGB, brought to its edge

    bool operator==(const SRGBValue &) const = default;
};

class DisplayProfile
{
public:
    // The profile the bytes hold, or in words why it cannot serve: not a profile LittleCMS can read, cut short,
    // not one of an RGB display, or one it cannot convert from.
    static std::variant<DisplayProfile, std::string> Read(std::string_view bytes);

    const std::string &Description() const { return m_description; }
    SRGBValue ToSRGB(Colour device) const;

private:
    struct Transform;
    std::shared_ptr<const Transform> m_transform;
    std::string m_description;
};

} // namespace colour
