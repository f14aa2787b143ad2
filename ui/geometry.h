// Positions, sizes and colours as the window designs give them: whole pixels, RGB colours.
#pragma once

#include <cstdint>

namespace xp::ui {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// Left, top, width, height, in the coordinates of the containing control (screen for a top-level window).
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Color&) const = default;

    // From a Windows-style RGB value 0x00BBGGRR, the form colours are written in by the window designs.
    static constexpr Color fromBgr(std::uint32_t v) {
        return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
                static_cast<std::uint8_t>((v >> 16) & 0xFF)};
    }
};

namespace colors {
inline constexpr Color Black{0, 0, 0};
inline constexpr Color White{255, 255, 255};
inline constexpr Color Red{255, 0, 0};
inline constexpr Color Silver{192, 192, 192};
inline constexpr Color Grey{128, 128, 128};
}  // namespace colors

}  // namespace xp::ui
