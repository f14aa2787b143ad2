// The thumbnail list and its application-wide instance.
#include "imaging/thumbnail_list.h"

#include <utility>

#include "imaging/thumbnail.h"

namespace xp {

std::shared_ptr<ui::ImageList> ThumbnailList::reset() {
    list_.reset();
    list_ = std::make_shared<ui::ImageList>(kTileSize, kTileSize);
    return list_;
}

int ThumbnailList::add(const std::string& path) {
    if (!list_) return -1;
    return list_->add(makeThumbnail(path, kTileSize, kTileSize));
}

int ThumbnailList::add(ui::Image tile) {
    if (!list_) return -1;
    return list_->add(std::move(tile));
}

}  // namespace xp
