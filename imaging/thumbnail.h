// Thumbnail tiles: the 120 × 120 pictures of the photo list and the galleries, and the library start/stop.
#pragma once

#include <cstdint>
#include <string>

#include "ui/image.h"

namespace xp {

constexpr int kTileSize = 120;

// Nothing has to be started for the JPEG codec; this checks that it can be used and counts starts, so
// that callers may start it as often as they like. Nothing depends on the count.
bool startImaging();
void stopImaging();
bool imagingStarted();

struct FitSize {
    int width = 0;
    int height = 0;
};

// The size of an imgWidth × imgHeight picture scaled to fit a boxWidth × boxHeight box, keeping its
// proportions; sizes truncate toward zero. A picture as tall as the box in proportion (ties included)
// fills the box's height. Non-positive sizes give 0 × 0.
FitSize fitInside(int boxWidth, int boxHeight, int imgWidth, int imgHeight);

// The tile of a photo file: an opaque white boxWidth × boxHeight picture with the photo, upright as its
// EXIF orientation says, scaled to fitInside and centred at (trunc((box - w) / 2), trunc((box - h) / 2)).
// A file that cannot be decoded gives the plain white tile.
ui::Image makeThumbnail(const std::string& path, int boxWidth = kTileSize, int boxHeight = kTileSize);

// Where a tile's picture came from: the photo's embedded thumbnail (cheap to make again), a decode of
// the photo itself (costly), or nowhere, when the file could not be read or decoded (plain white).
enum class TileOrigin { EmbeddedThumbnail, Decoded, Failed };

struct MadeTile {
    ui::Image tile;
    TileOrigin origin = TileOrigin::Failed;
    std::int64_t photoPixels = 0;  // width × height of the photo as stored; 0 when unknown
};

// makeThumbnail, saying where the picture came from.
MadeTile makeTile(const std::string& path, int boxWidth = kTileSize, int boxHeight = kTileSize);

}  // namespace xp
