// What the imaging code needs from a photo's EXIF block: the orientation tag and the embedded thumbnail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xp {

struct ExifInfo {
    int orientation = 1;                  // 1..8; 1 when the tag is missing or out of range
    std::vector<std::uint8_t> thumbnail;  // the embedded JPEG thumbnail, empty if there is none
};

// `payload` is the content of an APP1 segment starting with "Exif\0\0". Unreadable data gives the
// defaults: a broken EXIF block must never stop a photo from being shown.
ExifInfo readExif(const std::uint8_t* payload, std::size_t size);

}  // namespace xp
