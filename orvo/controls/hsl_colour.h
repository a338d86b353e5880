#pragma once

// Hue, saturation and lightness conversions of the colour pickers. Colours are COLORREF
// ordered (0x00BBGGRR, red in the low byte). No Windows API, so it is tested natively too.

#include <cstdint>

namespace Orvo {
namespace HslColour {

// A channel computed in floating point lands a hair below a whole value (254.99999 for
// 255); the truncation to bytes must not lose that step.
constexpr double kRoundingSlack = 1e-7;

constexpr uint8_t ToByte(double unit) {
    const double scaled = unit * 255.0 + kRoundingSlack;
    return scaled <= 0.0 ? 0 : (scaled >= 255.0 ? 255 : static_cast<uint8_t>(scaled));
}

constexpr double HueChannel(double p, double q, double t) {
    while (t < 0.0) {
        t += 1.0;
    }
    while (t > 1.0) {
        t -= 1.0;
    }
    if (t < 1.0 / 6.0) {
        return p + (q - p) * 6.0 * t;
    }
    if (t < 0.5) {
        return q;
    }
    if (t < 2.0 / 3.0) {
        return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    }
    return p;
}

constexpr uint32_t Pack(uint8_t red, uint8_t green, uint8_t blue) {
    return uint32_t{red} | (uint32_t{green} << 8) | (uint32_t{blue} << 16);
}

// The colour of hue, saturation and lightness, each 0..1.
constexpr uint32_t HslToColorRef(double hue, double saturation, double lightness) {
    if (saturation <= 0.0) {
        const uint8_t grey = ToByte(lightness);
        return Pack(grey, grey, grey);
    }
    const double q = lightness < 0.5 ? lightness * (1.0 + saturation)
                                     : lightness + saturation - lightness * saturation;
    const double p = 2.0 * lightness - q;
    return Pack(ToByte(HueChannel(p, q, hue + 1.0 / 3.0)), ToByte(HueChannel(p, q, hue)),
                ToByte(HueChannel(p, q, hue - 1.0 / 3.0)));
}

// The pickers' scales: hue in degrees 0..360, saturation and lightness 0..200.
constexpr uint32_t ScaledHslToColorRef(int hue, int saturation, int lightness) {
    return HslToColorRef(hue / 360.0, saturation / 200.0, lightness / 200.0);
}

struct ScaledHsl {
    int hue = 0;         // 0..360
    int saturation = 0;  // 0..200
    int lightness = 0;   // 0..200
};

constexpr int Truncate(double value) {
    return static_cast<int>(value + kRoundingSlack);
}

// A colour as hue x 360, saturation x 200 and lightness x 200, truncated.
constexpr ScaledHsl ColorRefToScaledHsl(uint32_t colorref) {
    const double red = (colorref & 0xFF) / 255.0;
    const double green = ((colorref >> 8) & 0xFF) / 255.0;
    const double blue = ((colorref >> 16) & 0xFF) / 255.0;
    const double high = red > green ? (red > blue ? red : blue) : (green > blue ? green : blue);
    const double low = red < green ? (red < blue ? red : blue) : (green < blue ? green : blue);
    const double lightness = (high + low) / 2.0;
    ScaledHsl result;
    result.lightness = Truncate(lightness * 200.0);
    if (high == low) {
        return result;
    }
    const double delta = high - low;
    const double saturation = lightness > 0.5 ? delta / (2.0 - high - low) : delta / (high + low);
    double hue = 0.0;
    if (high == red) {
        hue = (green - blue) / delta + (green < blue ? 6.0 : 0.0);
    } else if (high == green) {
        hue = (blue - red) / delta + 2.0;
    } else {
        hue = (red - green) / delta + 4.0;
    }
    result.hue = Truncate(hue / 6.0 * 360.0);
    result.saturation = Truncate(saturation * 200.0);
    return result;
}

// Pure black reads as "no colour" in the pickers' bitmaps, so it is stored as 0x000001.
constexpr uint32_t NeverBlack(uint32_t colorref) {
    return (colorref & 0x00FFFFFFu) == 0 ? 0x000001u : colorref;
}

}  // namespace HslColour
}  // namespace Orvo
