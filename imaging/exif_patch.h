// Rewriting a photo's EXIF block for a picture that is now stored upright.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace xp {

struct UprightExif {
    int width = 0;  // of the picture as now stored
    int height = 0;
    // The new embedded thumbnail (a JPEG, upright), or nullptr to drop the old one.
    const std::vector<std::uint8_t>* thumbnail = nullptr;
    int thumbnailWidth = 0;
    int thumbnailHeight = 0;
};

// Returns the EXIF payload ("Exif\0\0" + TIFF data) with the orientation set to 1 (in the main and the
// thumbnail directory), the pixel dimensions updated and the thumbnail replaced or unlinked. The block is
// patched where it lies, not rebuilt, so maker notes and tags this code does not know keep their bytes
// and their offsets. Nothing when the block cannot be understood.
std::optional<std::vector<std::uint8_t>> patchExifUpright(const std::uint8_t* payload, std::size_t size,
                                                          const UprightExif& upright);

}  // namespace xp
