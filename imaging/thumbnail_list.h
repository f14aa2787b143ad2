// A thumbnail list: the 120 × 120 tiles a list view shows, by 0-based index.
#pragma once

#include <memory>
#include <string>

#include "ui/image.h"
#include "ui/image_list.h"

namespace xp {

// Owned by the shell as application-wide state; used on the user-interface thread only.
class ThumbnailList {
public:
    // Drops the current list and starts an empty one, which the caller attaches to its list view. The
    // old tiles go as soon as no list view holds the old list any more.
    std::shared_ptr<ui::ImageList> reset();
    // The tile of a photo file, appended; its index, or -1 when there is no list or it refused the tile.
    int add(const std::string& path);
    // A tile made elsewhere (by the pipeline), appended; its index or -1.
    int add(ui::Image tile);
    std::shared_ptr<ui::ImageList> list() const { return list_; }

private:
    std::shared_ptr<ui::ImageList> list_;
};

}  // namespace xp
