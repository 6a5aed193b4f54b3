// Colour profiles of displays, made here with LittleCMS so that the tests need no profile file from elsewhere:
// wide-gamut ones of the kinds displays ship with, and ones that no display conversion can use.
#pragma once

#include <lcms2.h>

#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace made_profiles {

enum class Kind {
    WideV2,          // Display P3 primaries, gamma 2.2 curves, ICC v2
    WideV4,          // the same in ICC v4, with sRGB's parametric curve
    Sampled,         // Adobe RGB primaries, curves given as 1024 samples
    LookupTable,     // Rec. 2020 as a lookup table to Lab alone, no matrix or curves
    TableOverMatrix, // a lookup table of a wide gamut beside the matrix of sRGB: the table rules
    Large,           // a fine lookup table of Rec. 2020, over 500 KiB, as some calibration tools make
    Garbage,         // no profile at all
    Truncated,       // the first half of a good one
    Cmyk,            // a printer's
    Grey,            // a grey display's
    RgbScanner,      // RGB, but of an input device
    NegativeGamma,   // a display's, but its parametric curves have a negative gamma
};

struct ProfileCloser
{
    void operator()(void *profile) const { cmsCloseProfile(profile); }
};
using ProfilePtr = std::unique_ptr<void, ProfileCloser>;

inline void Describe(cmsHPROFILE profile, const char *description)
{
    cmsMLU *text = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(text, "en", "US", description);
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
    cmsMLUfree(text);
}

inline cmsCIExyYTRIPLE Primaries(double rx, double ry, double gx, double gy, double bx, double by)
{
    return {{rx, ry, 1}, {gx, gy, 1}, {bx, by, 1}};
}

inline ProfilePtr MatrixProfile(const cmsCIExyYTRIPLE &primaries, cmsToneCurve *curve)
{
    cmsCIExyY d65;
    cmsWhitePointFromTemp(&d65, 6504);
    cmsToneCurve *curves[3] = {curve, curve, curve};
    ProfilePtr profile(cmsCreateRGBProfile(&d65, &primaries, curves));
    cmsFreeToneCurve(curve);
    return profile;
}

inline const cmsCIExyYTRIPLE DisplayP3 = Primaries(0.680, 0.320, 0.265, 0.690, 0.150, 0.060);
inline const cmsCIExyYTRIPLE AdobeRGB = Primaries(0.640, 0.330, 0.210, 0.710, 0.150, 0.060);
inline const cmsCIExyYTRIPLE Rec2020 = Primaries(0.708, 0.292, 0.170, 0.797, 0.131, 0.046);

// A lookup table of `points` a side from device RGB to Lab, sampled from a matrix profile of `primaries`, set as the
// profile's A2B0, with Lab as the profile's connection space.
inline void WriteLookupTable(cmsHPROFILE profile, const cmsCIExyYTRIPLE &primaries, cmsUInt32Number points = 17)
{
    cmsSetPCS(profile, cmsSigLabData);
    const ProfilePtr source = MatrixProfile(primaries, cmsBuildGamma(nullptr, 2.4));
    const ProfilePtr lab(cmsCreateLab4Profile(nullptr));
    cmsHTRANSFORM toLab = cmsCreateTransform(source.get(), TYPE_RGB_16, lab.get(), TYPE_Lab_DBL,
                                             INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOOPTIMIZE);
    cmsPipeline *lut = cmsPipelineAlloc(nullptr, 3, 3);
    cmsStage *grid = cmsStageAllocCLut16bit(nullptr, points, 3, 3, nullptr);
    cmsStageSampleCLut16bit(
        grid,
        [](const cmsUInt16Number in[], cmsUInt16Number out[], void *cargo) -> cmsInt32Number {
            cmsCIELab value;
            cmsDoTransform(static_cast<cmsHTRANSFORM>(cargo), in, &value, 1);
            cmsFloat2LabEncoded(out, &value);
            return 1;
        },
        toLab, 0);
    // An A-to-B table holds curves on both sides of its grid; these change nothing.
    cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsPipelineInsertStage(lut, cmsAT_END, grid);
    cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, lut);
    cmsPipelineFree(lut);
    cmsDeleteTransform(toLab);
}

inline std::string Bytes(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    std::string bytes(size, '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    return bytes;
}

// A profile built from nothing but its class, colour space and description, with D50 as its white.
inline ProfilePtr Placeholder(cmsProfileClassSignature deviceClass, cmsColorSpaceSignature space,
                              const char *description)
{
    ProfilePtr profile(cmsCreateProfilePlaceholder(nullptr));
    cmsSetProfileVersion(profile.get(), 4.3);
    cmsSetDeviceClass(profile.get(), deviceClass);
    cmsSetColorSpace(profile.get(), space);
    cmsSetPCS(profile.get(), cmsSigLabData);
    cmsWriteTag(profile.get(), cmsSigMediaWhitePointTag, cmsD50_XYZ());
    Describe(profile.get(), description);
    return profile;
}

// The profile's bytes, as a colour manager would publish them.
inline std::string Make(Kind kind)
{
    switch (kind) {
    case Kind::WideV2: {
        const ProfilePtr profile = MatrixProfile(DisplayP3, cmsBuildGamma(nullptr, 2.2));
        cmsSetProfileVersion(profile.get(), 2.1);
        Describe(profile.get(), "Wide P3 display");
        return Bytes(profile.get());
    }
    case Kind::WideV4: {
        const double srgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
        const ProfilePtr profile = MatrixProfile(DisplayP3, cmsBuildParametricToneCurve(nullptr, 4, srgbCurve));
        cmsSetProfileVersion(profile.get(), 4.3);
        Describe(profile.get(), "Wide P3 display, version 4");
        return Bytes(profile.get());
    }
    case Kind::Sampled: {
        std::vector<cmsUInt16Number> samples(1024);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = cmsUInt16Number(std::lround(65535 * std::pow(double(i) / 1023, 563.0 / 256)));
        const ProfilePtr profile = MatrixProfile(
            AdobeRGB, cmsBuildTabulatedToneCurve16(nullptr, cmsUInt32Number(samples.size()), samples.data()));
        cmsSetProfileVersion(profile.get(), 2.1);
        Describe(profile.get(), "Adobe RGB display, sampled curves");
        return Bytes(profile.get());
    }
    case Kind::LookupTable: {
        const ProfilePtr profile = Placeholder(cmsSigDisplayClass, cmsSigRgbData, "Rec. 2020 display, table only");
        WriteLookupTable(profile.get(), Rec2020);
        return Bytes(profile.get());
    }
    case Kind::Large: {
        const ProfilePtr profile = Placeholder(cmsSigDisplayClass, cmsSigRgbData, "Rec. 2020 display, fine table");
        WriteLookupTable(profile.get(), Rec2020, 45);
        return Bytes(profile.get());
    }
    case Kind::TableOverMatrix: {
        const ProfilePtr profile(cmsCreate_sRGBProfile());
        cmsSetProfileVersion(profile.get(), 4.3);
        Describe(profile.get(), "Rec. 2020 table over an sRGB matrix");
        WriteLookupTable(profile.get(), Rec2020);
        return Bytes(profile.get());
    }
    case Kind::NegativeGamma: {
        const double curve[1] = {-2.2};
        const ProfilePtr profile = MatrixProfile(DisplayP3, cmsBuildParametricToneCurve(nullptr, 1, curve));
        Describe(profile.get(), "A display of negative gamma");
        return Bytes(profile.get());
    }
    case Kind::Garbage: {
        std::string bytes(4096, '\0');
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 2654435761u) >> 13);
        return bytes;
    }
    case Kind::Truncated: {
        const std::string whole = Make(Kind::WideV4);
        return whole.substr(0, whole.size() / 2);
    }
    case Kind::Cmyk: {
        const ProfilePtr profile = Placeholder(cmsSigOutputClass, cmsSigCmykData, "A printer");
        cmsPipeline *lut = cmsPipelineAlloc(nullptr, 4, 3);
        cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
        cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocCLut16bit(nullptr, 2, 4, 3, nullptr));
        cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
        cmsWriteTag(profile.get(), cmsSigAToB0Tag, lut);
        cmsPipelineFree(lut);
        return Bytes(profile.get());
    }
    case Kind::Grey: {
        cmsToneCurve *curve = cmsBuildGamma(nullptr, 2.2);
        const ProfilePtr profile(cmsCreateGrayProfile(cmsD50_xyY(), curve));
        cmsFreeToneCurve(curve);
        return Bytes(profile.get());
    }
    case Kind::RgbScanner: {
        const ProfilePtr profile = MatrixProfile(AdobeRGB, cmsBuildGamma(nullptr, 2.2));
        cmsSetDeviceClass(profile.get(), cmsSigInputClass);
        return Bytes(profile.get());
    }
    }
    return {};
}

} // namespace made_profiles
