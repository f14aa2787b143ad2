// The galleries on disk: the root folder of each gallery mode, its albums, an album's pictures, names
// from the disk made fit to show, and the tiles of an album made ahead and handed over in list order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appdata/app_paths.h"
#include "imaging/thumbnail_pipeline.h"
#include "imaging/tile_cache.h"
#include "ui/image.h"

namespace xp {

// The folder a gallery mode browses: the sample folder for "样照欣赏", the design-board folder for
// "设计看版".
std::string galleryRoot(const AppPaths& paths, const std::string& mode);

// The albums of a root folder: its sub-folders' names as they are on disk, in enumeration order. A
// missing root has none.
std::vector<std::string> galleryAlbums(const std::string& root);

// The pictures of an album: the names of its "*.jpg" files as they are on disk, in enumeration order.
std::vector<std::string> albumPictures(const std::string& folder);

// A name from the disk as the user sees it. Names are UTF-8; a byte that is not part of a valid UTF-8
// character is shown as U+FFFD, so a folder or file with such a name is still listed and still opens
// through its name as it is on disk.
std::string shownName(std::string_view name);

// The tiles of an album's pictures, made ahead on worker threads and taken strictly in list order. This
// is the one place that decides how a gallery tile is made: through the album folder's tile cache.
class AlbumTiles {
public:
    AlbumTiles(const std::string& folder, std::vector<std::string> paths);

    // The tile of the next picture in order (waiting for it); nothing after the last one.
    std::optional<ui::Image> next() { return pipeline_.next(); }

private:
    // The album folder's tile cache: an album shown again takes its tiles from it. Declared before the
    // pipeline, which uses it until it stops.
    TileCache cache_;
    ThumbnailPipeline pipeline_;
};

}  // namespace xp
