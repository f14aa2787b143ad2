// Names from the disk as the galleries show them.
#include <gtest/gtest.h>

#include "settings/gallery_album.h"

namespace xp::test {
namespace {

TEST(GalleryNames, ValidUtf8StaysAndEveryStrayByteShowsAsOneReplacementCharacter) {
    const std::string r = "\xEF\xBF\xBD";
    const struct {
        std::string disk, shown;
    } cases[] = {
        {"婚纱样片", "婚纱样片"},
        {"IMG_0001.JPG", "IMG_0001.JPG"},
        {"a\xFF"
         "b",
         "a" + r + "b"},                                   // a byte that never occurs in UTF-8
        {"\xBB\xE9\xD1\xF9", r + r + r + r},               // GBK bytes that form no UTF-8 sequence
        {"x\xE5\xA9", "x" + r + r},                        // a character cut short at the end
        {"\xC0\xAF", r + r},                               // an overlong "/"
        {"\xED\xA0\x80", r + r + r},                       // a surrogate
        {"\xF4\x90\x80\x80", r + r + r + r},               // past U+10FFFF
        {"\xF0\x9F\x93\xB7相册", "\xF0\x9F\x93\xB7相册"},  // a 4-byte character
    };
    for (const auto& c : cases) EXPECT_EQ(shownName(c.disk), c.shown) << c.disk;
}

}  // namespace
}  // namespace xp::test
