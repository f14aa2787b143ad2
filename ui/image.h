// A decoded picture in memory: the form in which tiles and display-size photos travel to the UI layer.
#pragma once

#include <cstdint>
#include <vector>

namespace xp::ui {

// Packed 8-bit RGB, rows top to bottom, no padding: pixels.size() == width * height * 3.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
};

}  // namespace xp::ui
