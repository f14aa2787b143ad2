// Lookup of the built-in pictures in the table the build embedded.
#include "resources/builtin_pictures.h"

#include <vector>

#include "resources/embedded_pictures.h"

namespace xp {

namespace {

std::span<const detail::EmbeddedPicture> table() { return {detail::embeddedPictures, detail::embeddedPictureCount}; }

}  // namespace

std::string_view builtinPicture(std::string_view name) {
    for (const auto& picture : table())
        if (picture.name == name) return {reinterpret_cast<const char*>(picture.data), picture.size};
    return {};
}

std::span<const std::string_view> builtinPictureNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> out;
        for (const auto& picture : table()) out.push_back(picture.name);
        return out;
    }();
    return names;
}

}  // namespace xp
