#include "DisplayProfile.h"

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <optional>

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
} // namespace

std::variant<DisplayProfile, std::string> DisplayProfile::Read(std::string_view bytes)
{
    static std::string lastBytes;
    static std::optional<std::variant<DisplayProfile, std::string>> lastAnswer;
    if (lastAnswer && bytes == lastBytes) return *lastAnswer;

    std::variant<DisplayProfile, std::string> answer = std::string("not a colour profile that LittleCMS can read");
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
        } else {
            DisplayProfile profile;
            profile.m_transform = std::move(transform);
            profile.m_description = DescriptionOf(device.get());
            answer = std::move(profile);
        }
    }
    lastBytes = bytes;
    lastAnswer = answer;
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
