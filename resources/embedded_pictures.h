// The table the build generates from the painted picture files: one entry per built-in picture.
#pragma once

#include <cstddef>
#include <string_view>

namespace xp::detail {

struct EmbeddedPicture {
    std::string_view name;
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedPicture embeddedPictures[];
extern const std::size_t embeddedPictureCount;

}  // namespace xp::detail
