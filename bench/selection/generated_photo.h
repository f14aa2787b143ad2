// A generated photo for the benchmarks: smooth colour fields with fine grain, which costs to decode what a
// camera photo of that size costs.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ui/image.h"

namespace xp::bench {

// Compresses like a detailed camera photo: about 10 MB for 24 megapixels at quality 92.
inline xp::ui::Image generatedPhoto(int width, int height, unsigned seed) {
    xp::ui::Image img{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
    std::vector<float> cx(width * 3), cy(height * 3);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c)
            cx[x * 3 + c] = static_cast<float>(60 * std::sin(x * (0.0011 + 0.0003 * c) + seed) +
                                               25 * std::sin(x * 0.013 * (c + 1)));
    for (int y = 0; y < height; ++y)
        for (int c = 0; c < 3; ++c)
            cy[y * 3 + c] = static_cast<float>(50 * std::cos(y * (0.0015 + 0.0002 * c) + seed * 2) +
                                               20 * std::sin(y * 0.017 * (c + 2)));
    std::uint32_t s = seed * 2654435761u + 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = img.pixels.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            s ^= s << 13;
            s ^= s >> 17;
            s ^= s << 5;
            const int grain = static_cast<int>(s % 33) - 16;
            for (int c = 0; c < 3; ++c)
                row[x * 3 + c] = static_cast<std::uint8_t>(
                    std::clamp(120 + static_cast<int>(cx[x * 3 + c] + cy[y * 3 + c]) + grain, 0, 255));
        }
    }
    return img;
}

}  // namespace xp::bench
