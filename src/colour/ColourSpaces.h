// The colour spaces of CSS Color 4 and the conversions between them, by its matrices and transfer functions.
// Every conversion goes through CIE XYZ with the D65 white; Lab and the ProPhoto space, which are D50-based,
// get there by the Bradford adaptation. Values are unbounded: a colour outside a space's gamut keeps its
// coordinates outside 0 to 1.
#pragma once

#include <array>

namespace colour::spaces {

using Vec3 = std::array<double, 3>;

// The RGB spaces of CSS's color() function; their components run from 0 to 1 inside their gamut.
enum class RgbSpace { SRGB, SRGBLinear, DisplayP3, A98RGB, ProPhotoRGB, Rec2020 };

Vec3 RgbToXYZ(RgbSpace space, const Vec3 &rgb);
Vec3 XYZToRgb(RgbSpace space, const Vec3 &xyz);

Vec3 XYZD50ToD65(const Vec3 &xyz);
Vec3 XYZD65ToD50(const Vec3 &xyz);

// CIE Lab (D50), lightness 0 to 100.
Vec3 LabToXYZ(const Vec3 &lab);
Vec3 XYZToLab(const Vec3 &xyz);

// OKLab, lightness 0 to 1.
Vec3 OklabToXYZ(const Vec3 &oklab);
Vec3 XYZToOklab(const Vec3 &xyz);

// Lightness, chroma and hue in degrees from lightness and the two opposing axes, and back.
Vec3 ToPolar(const Vec3 &lab);
Vec3 FromPolar(const Vec3 &lch);

// sRGB's cylinders: hue in degrees, the others from 0 to 1.
Vec3 HslToSRGB(const Vec3 &hsl);
Vec3 SRGBToHsl(const Vec3 &rgb);
Vec3 HwbToSRGB(const Vec3 &hwb);
Vec3 SRGBToHwb(const Vec3 &rgb);

// The sRGB colour of the nearest colour inside sRGB's gamut, by CSS Color 4's gamut mapping: chroma reduced
// in OKLCH until clipping the rest is below notice.
Vec3 MapIntoSRGB(const Vec3 &rgb);
bool InsideSRGB(const Vec3 &rgb, double tolerance = 0);

} // namespace colour::spaces
