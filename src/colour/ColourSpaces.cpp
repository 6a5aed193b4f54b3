#include "ColourSpaces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace colour::spaces {

namespace {

using Matrix = std::array<Vec3, 3>;

Vec3 operator*(const Matrix &m, const Vec3 &v)
{
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

// An RGB space: its primaries as matrices to and from XYZ of its own white, and its transfer function.
struct RgbSpaceDefinition
{
    Matrix toXYZ;
    Matrix fromXYZ;
    bool d50; // ProPhoto's white is D50
    double (*toLinear)(double);
    double (*fromLinear)(double);
};

// Odd functions: a negative component mirrors the positive one.
double Signed(double value, double (*positive)(double))
{
    return value < 0 ? -positive(-value) : positive(value);
}

double SRGBToLinear(double v)
{
    return Signed(v, [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); });
}
double LinearToSRGB(double v)
{
    return Signed(v, [](double c) { return c > 0.0031308 ? 1.055 * std::pow(c, 1 / 2.4) - 0.055 : 12.92 * c; });
}
double Same(double v)
{
    return v;
}
double A98ToLinear(double v)
{
    return Signed(v, [](double c) { return std::pow(c, 563.0 / 256); });
}
double LinearToA98(double v)
{
    return Signed(v, [](double c) { return std::pow(c, 256.0 / 563); });
}
double ProPhotoToLinear(double v)
{
    return Signed(v, [](double c) { return c < 16.0 / 512 ? c / 16 : std::pow(c, 1.8); });
}
double LinearToProPhoto(double v)
{
    return Signed(v, [](double c) { return c >= 1.0 / 512 ? std::pow(c, 1 / 1.8) : 16 * c; });
}
double Rec2020ToLinear(double v)
{
    return Signed(v, [](double c) { return std::pow(c, 2.4); });
}
double LinearToRec2020(double v)
{
    return Signed(v, [](double c) { return std::pow(c, 1 / 2.4); });
}

constexpr Matrix SRGBToXYZ{{{0.41239079926595934, 0.357584339383878, 0.1804807884018343},
                            {0.21263900587151027, 0.715168678767756, 0.07219231536073371},
                            {0.01933081871559182, 0.11919477979462598, 0.9505321522496607}}};
constexpr Matrix XYZToSRGB{{{3.2409699419045226, -1.537383177570094, -0.4986107602930034},
                            {-0.9692436362808796, 1.8759675015077202, 0.04155505740717559},
                            {0.05563007969699366, -0.20397695888897652, 1.0569715142428786}}};

const RgbSpaceDefinition &Definition(RgbSpace space)
{
    static const RgbSpaceDefinition srgb{SRGBToXYZ, XYZToSRGB, false, SRGBToLinear, LinearToSRGB};
    static const RgbSpaceDefinition srgbLinear{SRGBToXYZ, XYZToSRGB, false, Same, Same};
    static const RgbSpaceDefinition displayP3{{{{0.4865709486482162, 0.26566769316909306, 0.1982172852343625},
                                                {0.2289745640697488, 0.6917385218365064, 0.079286914093745},
                                                {0.0, 0.04511338185890264, 1.043944368900976}}},
                                              {{{2.493496911941425, -0.9313836179191239, -0.40271078445071684},
                                                {-0.8294889695615747, 1.7626640603183463, 0.023624685841943577},
                                                {0.03584583024378447, -0.07617238926804182, 0.9568845240076872}}},
                                              false,
                                              SRGBToLinear,
                                              LinearToSRGB};
    static const RgbSpaceDefinition a98{{{{0.5766690429101305, 0.1855582379065463, 0.1882286462349947},
                                          {0.29734497525053605, 0.6273635662554661, 0.07529145849399788},
                                          {0.02703136138641234, 0.07068885253582723, 0.9913375368376388}}},
                                        {{{2.0415879038107465, -0.5650069742788596, -0.34473135077832956},
                                          {-0.9692436362808795, 1.8759675015077202, 0.04155505740717557},
                                          {0.013444280632031142, -0.11836239223101838, 1.0151749943912054}}},
                                        false,
                                        A98ToLinear,
                                        LinearToA98};
    static const RgbSpaceDefinition proPhoto{{{{0.79776664490064230, 0.13518129740053308, 0.03134773412839220},
                                               {0.28807482881940130, 0.71183523424187300, 0.00008993693872564},
                                               {0.0, 0.0, 0.82510460251046020}}},
                                             {{{1.34578688164715830, -0.25557208737979464, -0.05110186497554526},
                                               {-0.54463070512490190, 1.50824774284514680, 0.02052744743642139},
                                               {0.0, 0.0, 1.21196754563894520}}},
                                             true,
                                             ProPhotoToLinear,
                                             LinearToProPhoto};
    static const RgbSpaceDefinition rec2020{{{{0.6369580483012914, 0.14461690358620832, 0.1688809751641721},
                                              {0.2627002120112671, 0.6779980715188708, 0.05930171646986196},
                                              {0.0, 0.028072693049087428, 1.060985057710791}}},
                                            {{{1.716651187971268, -0.355670783776392, -0.253366281373660},
                                              {-0.666684351832489, 1.616481236634939, 0.0157685458139111},
                                              {0.017639857445311, -0.042770613257809, 0.942103121235474}}},
                                            false,
                                            Rec2020ToLinear,
                                            LinearToRec2020};
    switch (space) {
    case RgbSpace::SRGB:
        return srgb;
    case RgbSpace::SRGBLinear:
        return srgbLinear;
    case RgbSpace::DisplayP3:
        return displayP3;
    case RgbSpace::A98RGB:
        return a98;
    case RgbSpace::ProPhotoRGB:
        return proPhoto;
    case RgbSpace::Rec2020:
        return rec2020;
    }
    return srgb;
}

// The whites as CSS gives them, from their four-digit chromaticities.
constexpr Vec3 D50White{0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};

constexpr double LabEpsilon = 216.0 / 24389;
constexpr double LabKappa = 24389.0 / 27;

constexpr Matrix XYZToLMS{{{0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
                           {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
                           {0.0481771893596242, 0.2642395317527308, 0.6335478284694309}}};
constexpr Matrix LMSToXYZ{{{1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
                           {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
                           {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816}}};
constexpr Matrix LMSToOklab{{{0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
                             {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
                             {0.0259040424655478, 0.7827717124575296, -0.8086757549230774}}};
constexpr Matrix OklabToLMS{{{1.0, 0.3963377773761749, 0.2158037573099136},
                             {1.0, -0.1055613458156586, -0.0638541728258133},
                             {1.0, -0.0894841775298119, -1.2914855480194092}}};

double NormalHue(double degrees)
{
    const double hue = std::fmod(degrees, 360);
    return hue < 0 ? hue + 360 : hue;
}

Vec3 Clip(const Vec3 &rgb)
{
    return {std::clamp(rgb[0], 0.0, 1.0), std::clamp(rgb[1], 0.0, 1.0), std::clamp(rgb[2], 0.0, 1.0)};
}

Vec3 SRGBToOklab(const Vec3 &rgb)
{
    return XYZToOklab(RgbToXYZ(RgbSpace::SRGB, rgb));
}

double DeltaEOK(const Vec3 &oklab1, const Vec3 &oklab2)
{
    return std::hypot(oklab1[0] - oklab2[0], oklab1[1] - oklab2[1], oklab1[2] - oklab2[2]);
}

} // namespace

Vec3 RgbToXYZ(RgbSpace space, const Vec3 &rgb)
{
    const RgbSpaceDefinition &definition = Definition(space);
    const Vec3 xyz =
        definition.toXYZ * Vec3{definition.toLinear(rgb[0]), definition.toLinear(rgb[1]), definition.toLinear(rgb[2])};
    return definition.d50 ? XYZD50ToD65(xyz) : xyz;
}

Vec3 XYZToRgb(RgbSpace space, const Vec3 &xyz)
{
    const RgbSpaceDefinition &definition = Definition(space);
    const Vec3 linear = definition.fromXYZ * (definition.d50 ? XYZD65ToD50(xyz) : xyz);
    return {definition.fromLinear(linear[0]), definition.fromLinear(linear[1]), definition.fromLinear(linear[2])};
}

Vec3 XYZD50ToD65(const Vec3 &xyz)
{
    static constexpr Matrix Bradford{{{0.955473421488075, -0.02309845494876471, 0.06325924320057072},
                                      {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
                                      {0.012314014864481998, -0.020507649298898964, 1.330365926242124}}};
    return Bradford * xyz;
}

Vec3 XYZD65ToD50(const Vec3 &xyz)
{
    static constexpr Matrix Bradford{{{1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
                                      {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
                                      {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371}}};
    return Bradford * xyz;
}

Vec3 LabToXYZ(const Vec3 &lab)
{
    const double f1 = (lab[0] + 16) / 116, f0 = lab[1] / 500 + f1, f2 = f1 - lab[2] / 200;
    const auto cube = [](double f) { return f > 24.0 / 116 ? f * f * f : (116 * f - 16) / LabKappa; };
    const double y = lab[0] > 8 ? f1 * f1 * f1 : lab[0] / LabKappa;
    return XYZD50ToD65({cube(f0) * D50White[0], y * D50White[1], cube(f2) * D50White[2]});
}

Vec3 XYZToLab(const Vec3 &xyz)
{
    const Vec3 d50 = XYZD65ToD50(xyz);
    Vec3 f;
    for (size_t i = 0; i < 3; ++i) {
        const double v = d50[i] / D50White[i];
        f[i] = v > LabEpsilon ? std::cbrt(v) : (LabKappa * v + 16) / 116;
    }
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

Vec3 OklabToXYZ(const Vec3 &oklab)
{
    const Vec3 lms = OklabToLMS * oklab;
    return LMSToXYZ * Vec3{lms[0] * lms[0] * lms[0], lms[1] * lms[1] * lms[1], lms[2] * lms[2] * lms[2]};
}

Vec3 XYZToOklab(const Vec3 &xyz)
{
    const Vec3 lms = XYZToLMS * xyz;
    return LMSToOklab * Vec3{std::cbrt(lms[0]), std::cbrt(lms[1]), std::cbrt(lms[2])};
}

Vec3 ToPolar(const Vec3 &lab)
{
    const double hue = std::atan2(lab[2], lab[1]) * 180 / std::numbers::pi;
    return {lab[0], std::hypot(lab[1], lab[2]), NormalHue(hue)};
}

Vec3 FromPolar(const Vec3 &lch)
{
    const double radians = lch[2] * std::numbers::pi / 180;
    return {lch[0], lch[1] * std::cos(radians), lch[1] * std::sin(radians)};
}

Vec3 HslToSRGB(const Vec3 &hsl)
{
    const double hue = NormalHue(hsl[0]), s = hsl[1], l = hsl[2];
    const double a = s * std::min(l, 1 - l);
    const auto f = [&](double n) {
        const double k = std::fmod(n + hue / 30, 12);
        return l - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

Vec3 SRGBToHsl(const Vec3 &rgb)
{
    const double max = std::max({rgb[0], rgb[1], rgb[2]}), min = std::min({rgb[0], rgb[1], rgb[2]});
    const double l = (max + min) / 2, d = max - min;
    double hue = 0, s = 0;
    if (d != 0) {
        s = l == 0 || l == 1 ? 0 : (max - l) / std::min(l, 1 - l);
        if (max == rgb[0])
            hue = (rgb[1] - rgb[2]) / d + (rgb[1] < rgb[2] ? 6 : 0);
        else if (max == rgb[1])
            hue = (rgb[2] - rgb[0]) / d + 2;
        else
            hue = (rgb[0] - rgb[1]) / d + 4;
        hue *= 60;
    }
    if (s < 0) { // a colour outside sRGB: the opposite hue
        hue += 180;
        s = -s;
    }
    return {NormalHue(hue), s, l};
}

Vec3 HwbToSRGB(const Vec3 &hwb)
{
    const double white = hwb[1], black = hwb[2];
    if (white + black >= 1) {
        const double grey = white / (white + black);
        return {grey, grey, grey};
    }
    const Vec3 pure = HslToSRGB({hwb[0], 1, 0.5});
    Vec3 rgb;
    for (size_t i = 0; i < 3; ++i)
        rgb[i] = pure[i] * (1 - white - black) + white;
    return rgb;
}

Vec3 SRGBToHwb(const Vec3 &rgb)
{
    return {SRGBToHsl(rgb)[0], std::min({rgb[0], rgb[1], rgb[2]}), 1 - std::max({rgb[0], rgb[1], rgb[2]})};
}

bool InsideSRGB(const Vec3 &rgb, double tolerance)
{
    return std::all_of(rgb.begin(), rgb.end(), [&](double c) { return c >= -tolerance && c <= 1 + tolerance; });
}

Vec3 MapIntoSRGB(const Vec3 &rgb)
{
    constexpr double JustNoticeable = 0.02, Epsilon = 0.0001;
    if (InsideSRGB(rgb)) return rgb;
    // Lightness 1 or 0 is white or black whatever the chroma; the margin is what the way here through sRGB
    // leaves of an OKLab lightness of exactly 1 or 0.
    constexpr double LightnessMargin = 1e-9;
    const Vec3 originLab = SRGBToOklab(rgb);
    const Vec3 origin = ToPolar(originLab);
    if (origin[0] >= 1 - LightnessMargin) return {1, 1, 1};
    if (origin[0] <= LightnessMargin) return {0, 0, 0};

    // The search runs in linear light: sRGB's transfer is monotonic and keeps 0 and 1, so a colour is inside
    // and clips alike on either side of it, and only the answer needs encoding.
    const auto toLinear = [](const Vec3 &lch) { return XYZToRgb(RgbSpace::SRGBLinear, OklabToXYZ(FromPolar(lch))); };
    const auto linearToOklab = [](const Vec3 &linear) { return XYZToOklab(RgbToXYZ(RgbSpace::SRGBLinear, linear)); };
    const auto encode = [](const Vec3 &linear) {
        return Vec3{LinearToSRGB(linear[0]), LinearToSRGB(linear[1]), LinearToSRGB(linear[2])};
    };
    // The OKLCH colour `current`, clipped into sRGB, and how far the clipping moved it.
    Vec3 current = origin;
    Vec3 clipped = Clip(rgb);
    if (DeltaEOK(SRGBToOklab(clipped), originLab) < JustNoticeable) return clipped;
    clipped = Clip(toLinear(origin));
    double low = 0, high = origin[1];
    bool lowInside = true;
    while (high - low > Epsilon) {
        const double chroma = (low + high) / 2;
        current[1] = chroma;
        const Vec3 candidate = toLinear(current);
        if (lowInside && InsideSRGB(candidate)) {
            low = chroma;
            continue;
        }
        clipped = Clip(candidate);
        const double moved = DeltaEOK(linearToOklab(clipped), FromPolar(current));
        if (moved >= JustNoticeable) {
            high = chroma;
        } else if (JustNoticeable - moved < Epsilon) {
            break;
        } else {
            lowInside = false;
            low = chroma;
        }
    }
    return encode(clipped);
}

} // namespace colour::spaces
