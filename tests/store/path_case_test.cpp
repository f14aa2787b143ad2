// Case-insensitive resolution of file names.
#include <filesystem>

#include "store/path_case.h"
#include "tests/store/store_fixture.h"

namespace xp::test {
namespace {

TEST(PathCase, ResolvesEachMissingComponent) {
    TempFolder f;
    const std::string root = f.path();
    std::filesystem::create_directories(root + "/Data/Sub");
    writeBytes(root + "/Data/Sub/xpdata.EDB", {1});
    writeBytes(root + "/Data/IMG_01.jpg", {1});
    writeBytes(root + "/Data/中A.jpg", {1});  // UTF-8 bytes before an ASCII letter
    struct Case {
        std::string given, want;
    } cases[] = {
        {root + "/Data/Sub/xpdata.EDB", root + "/Data/Sub/xpdata.EDB"},
        {root + "/data/sub/XPDATA.edb", root + "/Data/Sub/xpdata.EDB"},
        {root + "/DATA/IMG_01.JPG", root + "/Data/IMG_01.jpg"},
        {root + "/data/中a.JPG", root + "/Data/中A.jpg"},
        {root + "/data/new.EDB", root + "/Data/new.EDB"},          // a file to be created lands in the folder
        {root + "/nothing/here.EDB", root + "/nothing/here.EDB"},  // unchanged when nothing matches
    };
    for (const Case& c : cases) EXPECT_EQ(resolvePathCase(c.given), c.want) << c.given;
    EXPECT_EQ(resolvePathCase(""), "");
}

TEST(PathCase, PicksTheFirstInByteOrderWhenSeveralMatch) {
    TempFolder f;
    writeBytes(f.path() + "/a.edb", {1});
    writeBytes(f.path() + "/A.edb", {2});
    EXPECT_EQ(resolvePathCase(f.path() + "/a.EDB"), f.path() + "/A.edb");
    EXPECT_EQ(resolvePathCase(f.path() + "/a.edb"), f.path() + "/a.edb");
}

}  // namespace
}  // namespace xp::test
