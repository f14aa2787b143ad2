// The image list a list view shows its icons from: equal-size tiles addressed by 0-based index.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "ui/image.h"

namespace xp::ui {

class ImageList {
public:
    ImageList(int tileWidth, int tileHeight) : tileWidth_(tileWidth), tileHeight_(tileHeight) {}

    int tileWidth() const { return tileWidth_; }
    int tileHeight() const { return tileHeight_; }
    int size() const { return static_cast<int>(tiles_.size()); }
    const Image& at(int index) const { return tiles_.at(index); }

    // Adds a tile and returns its index, or -1 when the tile does not have the list's size.
    int add(Image tile) {
        if (tile.width != tileWidth_ || tile.height != tileHeight_ ||
            tile.pixels.size() != static_cast<size_t>(tileWidth_) * tileHeight_ * 3)
            return -1;
        tiles_.push_back(std::move(tile));
        int index = size() - 1;
        if (onAdded) onAdded(index);
        return index;
    }

    // Called after each add, so that a backend can show a new tile at once.
    std::function<void(int index)> onAdded;

private:
    int tileWidth_;
    int tileHeight_;
    std::vector<Image> tiles_;
};

}  // namespace xp::ui
