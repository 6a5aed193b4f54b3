#include "DisplayProfile.h"

#include <lcms2.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace colour {

struct DisplayProfile::Transform
{
    cmsHTRANSFORM handle = nullptr;
    ~Transform()
    {
        if (handle) cmsDeleteTransform(handle);
    }
};

namespace {
struct ProfileCloser
{
    void operator()(void *profile) const { cmsCloseProfile(profile); }
};
using ProfilePtr = std::unique_ptr<void, ProfileCloser>;

std::string DescriptionOf(cmsHPROFILE profile)
{
    char text[256] = {};
    cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", text, sizeof text);
    std::string description(text);
    return description.empty() ? std::string("(a profile without a name)") : description;
}

// The size an ICC profile's header declares: its first four bytes, big-endian.
size_t DeclaredSize(std::string_view bytes)
{
    size_t size = 0;
    for (size_t i = 0; i < 4 && i < bytes.size(); ++i)
        size = size << 8 | static_cast<unsigned char>(bytes[i]);
    return size;
}

// A channel that rounds into 0 to 255 counts as inside.
constexpr double ClipTolerance = 0.5 / 255;

// Whether the transform gives what a display's profile would: white near sRGB's white, black near its black,
// and every colour of a coarse grid finite and within reach of sRGB (LittleCMS extends sRGB's curve below 0
// steeply: a wide gamut's green comes to about -3). A profile with absurd curves, say a negative gamma, gives
// values past 1e20.
bool ConvertsLikeADisplay(cmsHTRANSFORM transform)
{
    const auto convert = [transform](double r, double g, double b) {
        const double in[3] = {r, g, b};
        std::array<double, 3> out = {};
        cmsDoTransform(transform, in, out.data(), 1);
        return out;
    };
    const auto within = [](const std::array<double, 3> &value, double low, double high) {
        return std::ranges::all_of(value, [=](double channel) { return channel >= low && channel <= high; });
    };
    if (!within(convert(1, 1, 1), 0.75, 1.25) || !within(convert(0, 0, 0), -0.25, 0.5)) return false;
    constexpr int Steps = 4;
    for (int r = 0; r <= Steps; ++r)
        for (int g = 0; g <= Steps; ++g)
            for (int b = 0; b <= Steps; ++b)
                if (!within(convert(double(r) / Steps, double(g) / Steps, double(b) / Steps), -16, 16)) return false;
    return true;
}
} // namespace

std::variant<DisplayProfile, std::string> DisplayProfile::Read(std::string_view bytes)
{
    std::variant<DisplayProfile, std::string> answer = std::string("not a color profile that LittleCMS can read");
    const ProfilePtr device(cmsOpenProfileFromMem(bytes.data(), cmsUInt32Number(bytes.size())));
    if (device && DeclaredSize(bytes) > bytes.size()) {
        answer = std::string("a profile cut short");
    } else if (device && (cmsGetColorSpace(device.get()) != cmsSigRgbData ||
                          cmsGetDeviceClass(device.get()) != cmsSigDisplayClass)) {
        answer = std::string("not the profile of an RGB display");
    } else if (device) {
        const ProfilePtr srgb(cmsCreate_sRGBProfile());
        auto transform = std::make_shared<Transform>();
        transform->handle = cmsCreateTransform(device.get(), TYPE_RGB_DBL, srgb.get(), TYPE_RGB_DBL,
                                               INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOOPTIMIZE | cmsFLAGS_NOCACHE);
        if (!transform->handle) {
            answer = std::string("a profile that LittleCMS cannot convert from");
        } else if (!ConvertsLikeADisplay(transform->handle)) {
            answer = std::string("a profile whose colors lie far from any display's");
        } else {
            DisplayProfile profile;
            profile.m_transform = std::move(transform);
            profile.m_description = DescriptionOf(device.get());
            answer = std::move(profile);
        }
    }
    return answer;
}

SRGBValue DisplayProfile::ToSRGB(Colour device) const
{
    const double in[3] = {GetRValue(device) / 255.0, GetGValue(device) / 255.0, GetBValue(device) / 255.0};
    double out[3] = {};
    cmsDoTransform(m_transform->handle, in, out, 1);
    SRGBValue value;
    int channel[3];
    for (int i = 0; i < 3; ++i) {
        value.clipped = value.clipped || out[i] < -ClipTolerance || out[i] > 1 + ClipTolerance || std::isnan(out[i]);
        channel[i] = std::isnan(out[i]) ? 0 : int(std::lround(std::clamp(out[i], 0.0, 1.0) * 255));
    }
    value.colour = MakeColour(channel[0], channel[1], channel[2]);
    return value;
}

} // namespace colour
