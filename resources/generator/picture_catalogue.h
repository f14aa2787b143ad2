// The list of every built-in picture: its name (from builtin_pictures.h), how it is stored, and the
// painter that draws it.
#pragma once

#include <QImage>
#include <functional>
#include <string_view>
#include <vector>

namespace xp::gen {

enum class Storage {
    OpaquePng,  // flat UI pieces drawn on a known ground colour
    AlphaPng,   // icons that sit on whatever panel holds them
    Jpeg,       // large, photographic pictures
};

struct PictureEntry {
    std::string_view name;
    Storage storage;
    std::function<QImage()> paint;
};

std::vector<PictureEntry> pictureCatalogue();

}  // namespace xp::gen
