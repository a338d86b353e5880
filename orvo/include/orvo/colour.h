#pragma once

#include <cstdint>

namespace Orvo {

class ColorRef;

// A colour of the toolkit: 0xAARRGGBB, the order of GDI+ and of the 32-bit pixels the toolkit
// paints. Built only explicitly, so that a platform colour never passes for one.
class Argb {
public:
    constexpr Argb() = default;
    constexpr explicit Argb(uint32_t value) : m_value(value) {}
    static constexpr Argb FromChannels(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) {
        return Argb((uint32_t{alpha} << 24) | (uint32_t{red} << 16) | (uint32_t{green} << 8) |
                    blue);
    }

    constexpr uint32_t Value() const { return m_value; }
    constexpr uint8_t Alpha() const { return static_cast<uint8_t>(m_value >> 24); }
    constexpr uint8_t Red() const { return static_cast<uint8_t>(m_value >> 16); }
    constexpr uint8_t Green() const { return static_cast<uint8_t>(m_value >> 8); }
    constexpr uint8_t Blue() const { return static_cast<uint8_t>(m_value); }
    constexpr Argb WithAlpha(uint8_t alpha) const {
        return Argb((m_value & 0x00FFFFFFu) | (uint32_t{alpha} << 24));
    }
    // The same red, green and blue for the platform's drawing; the alpha is dropped.
    constexpr ColorRef ToColorRef() const;

    friend constexpr bool operator==(Argb a, Argb b) { return a.m_value == b.m_value; }
    friend constexpr bool operator!=(Argb a, Argb b) { return a.m_value != b.m_value; }

private:
    uint32_t m_value = 0;
};

// A colour of the platform's drawing (GDI COLORREF) and of the settings store: 0x00BBGGRR,
// red in the low byte.
class ColorRef {
public:
    constexpr ColorRef() = default;
    constexpr explicit ColorRef(uint32_t value) : m_value(value & 0x00FFFFFFu) {}
    static constexpr ColorRef FromRgb(uint8_t red, uint8_t green, uint8_t blue) {
        return ColorRef(uint32_t{red} | (uint32_t{green} << 8) | (uint32_t{blue} << 16));
    }

    // The value the platform's calls take (a COLORREF).
    constexpr uint32_t Value() const { return m_value; }
    constexpr uint8_t Red() const { return static_cast<uint8_t>(m_value); }
    constexpr uint8_t Green() const { return static_cast<uint8_t>(m_value >> 8); }
    constexpr uint8_t Blue() const { return static_cast<uint8_t>(m_value >> 16); }
    constexpr Argb ToArgb(uint8_t alpha) const {
        return Argb::FromChannels(alpha, Red(), Green(), Blue());
    }

    friend constexpr bool operator==(ColorRef a, ColorRef b) { return a.m_value == b.m_value; }
    friend constexpr bool operator!=(ColorRef a, ColorRef b) { return a.m_value != b.m_value; }

private:
    uint32_t m_value = 0;
};

constexpr ColorRef Argb::ToColorRef() const {
    return ColorRef::FromRgb(Red(), Green(), Blue());
}

// The accent of selections, highlights, the window border and the progress bar (255, 75, 0).
inline constexpr Argb kAccentColor = Argb(0xFFFF4B00);

}  // namespace Orvo
