// Generated demo photos: photo-like pictures (sky, sun, hills, shapes, a figure, grain) encoded as JPEG,
// optionally with an embedded EXIF thumbnail as cameras write it.
#pragma once

#include <cstdint>
#include <string>

namespace xp::admin {

struct DemoPhotoPlan {
    int width = 2400;
    int height = 1600;
    std::uint32_t seed = 1;  // picks colours and composition
    int number = 1;          // shown large in a corner, so that the photos are told apart at a glance
    bool exifThumbnail = false;
};

// The JPEG file's bytes; empty when encoding failed.
std::string makeDemoPhoto(const DemoPhotoPlan& plan);

}  // namespace xp::admin
