// The galleries on disk: root folders, albums, pictures, shown names and album tiles.
#include "settings/gallery_album.h"

#include <cstdint>

#include "platform/file_system.h"
#include "shell/app_state.h"

namespace xp {

std::string galleryRoot(const AppPaths& paths, const std::string& mode) {
    return mode == kGallerySamples ? paths.sampleFolder : paths.designBoardFolder;
}

std::vector<std::string> galleryAlbums(const std::string& root) {
    if (root.empty()) return {};
    return listFolders(root);
}

std::vector<std::string> albumPictures(const std::string& folder) { return listFiles(folder, "*.jpg"); }

namespace {

// The length of the valid UTF-8 character at the start of `s`, or 0 when it does not start with one
// (a stray continuation byte, a cut sequence, an overlong form, a surrogate, a value past U+10FFFF).
size_t validCharLength(std::string_view s) {
    const auto b = [&](size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = b(0);
    if (lead < 0x80) return 1;
    size_t len = 0;
    std::uint32_t cp = 0, min = 0;
    if ((lead & 0xE0) == 0xC0) {
        len = 2, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < len) return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::string shownName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    while (!name.empty()) {
        const size_t len = validCharLength(name);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            name.remove_prefix(1);
        } else {
            out.append(name.substr(0, len));
            name.remove_prefix(len);
        }
    }
    return out;
}

AlbumTiles::AlbumTiles(const std::string& folder, std::vector<std::string> paths)
    : cache_(folder), pipeline_(std::move(paths), 0, 0, cache_.maker()) {}

}  // namespace xp
