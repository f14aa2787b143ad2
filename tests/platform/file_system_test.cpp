// Files and folders: names found without letter case, listings, copy and whole-file writes that never
// leave a damaged or half-written file.
#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/name_compare.h"
#include "tests/support/temp_dir.h"

namespace xp {
namespace {

using test::TempDir;

TEST(FileSystem, FindsFilesWhoseNameDiffersInLetterCase) {
    TempDir dir;
    dir.put("Sel/data/xpdata.EDB", "table");
    dir.put("Sel/IMG_01.JPG", "jpeg");

    EXPECT_TRUE(fileExists(dir / "sel/DATA/XPDATA.edb"));
    EXPECT_TRUE(folderExists(dir / "SEL/Data"));
    EXPECT_FALSE(fileExists(dir / "sel/data"));
    EXPECT_EQ(fileSize(dir / "sel/img_01.jpg"), 4);
    EXPECT_EQ(readFile(dir / "SEL/IMG_01.jpg").value_or(""), "jpeg");

    // A write through another spelling replaces the existing file instead of adding a second one.
    ASSERT_TRUE(writeFile(dir / "sel/data/XPDATA.edb", "new"));
    EXPECT_EQ(TempDir::slurp(dir / "Sel/data/xpdata.EDB"), "new");
    EXPECT_EQ(TempDir::entryCount(dir / "Sel/data"), 1);

    // A new file in a folder named in another case lands in the existing folder.
    ASSERT_TRUE(writeFile(dir / "SEL/DATA/pszs", "3"));
    EXPECT_EQ(TempDir::slurp(dir / "Sel/data/pszs"), "3");
}

TEST(FileSystem, SizeAndExistenceOfMissingThings) {
    TempDir dir;
    EXPECT_EQ(fileSize(dir / "missing.jpg"), -1);
    EXPECT_EQ(fileSize(dir.path()), -1);  // a folder has no file size
    EXPECT_EQ(fileSize(""), -1);
    EXPECT_FALSE(pathExists(dir / "missing"));
    EXPECT_FALSE(readFile(dir / "missing").has_value());
    EXPECT_FALSE(readFile(dir.path()).has_value());
    EXPECT_EQ(readFile(dir.put("empty", "")).value_or("x"), "");
}

TEST(FileSystem, ListsMatchingFilesInCaseInsensitiveOrder) {
    TempDir dir;
    for (const char* name : {"b.jpg", "IMG_01.JPG", "a.b.jpg", "A_.jpg", "AB.jpg", "c.jpeg", "d.jpg.txt", "e.Jpg"})
        dir.put(name, "x");
    std::filesystem::create_directory(dir / "folder.jpg");  // folders are not photos
    ::symlink("nowhere.jpg", (dir / "dangling.jpg").c_str());

    std::vector<std::string> expected{"a.b.jpg", "AB.jpg", "A_.jpg", "b.jpg", "e.Jpg", "IMG_01.JPG"};
    EXPECT_EQ(listFiles(dir.path(), "*.jpg"), expected);
    EXPECT_EQ(listFiles(dir.path(), "*.JPG"), expected);
    EXPECT_EQ(listFolders(dir.path()), std::vector<std::string>{"folder.jpg"});
    EXPECT_TRUE(listFiles(dir / "missing", "*.jpg").empty());
}

TEST(FileSystem, WildcardMatching) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"a.jpg", "*.jpg", true},
        {"A.JPG", "*.jpg", true},
        {"a.b.jpg", "*.jpg", true},
        {".jpg", "*.jpg", true},
        {"a.jpeg", "*.jpg", false},
        {"a.jpg.bak", "*.jpg", false},
        {"ajpg", "*.jpg", false},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"x", "*", true},
        {"", "*", true},
        {"照片.jpg", "*.JPG", true},
        {"aXbXc", "a*b*c", true},
        {"aXbX", "a*b*c", false},
    };
    for (const Case& c : cases) EXPECT_EQ(matchesWildcard(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST(FileSystem, CreatesFolders) {
    TempDir dir;
    EXPECT_TRUE(createFolder(dir / "data"));
    EXPECT_TRUE(createFolder(dir / "DATA"));  // exists already, in another case
    EXPECT_EQ(TempDir::entryCount(dir.path()), 1);
    EXPECT_FALSE(createFolder(dir / "a/b"));  // parent missing
    EXPECT_TRUE(createFolders(dir / "a/b/c"));
    EXPECT_TRUE(folderExists(dir / "a/b/c"));
    dir.put("file", "x");
    EXPECT_FALSE(createFolder(dir / "file"));
    EXPECT_TRUE(setHidden(dir / "data"));
    EXPECT_FALSE(setHidden(dir / "missing"));
}

TEST(FileSystem, CopyReplacesTheTargetAndKeepsItsPermissions) {
    TempDir dir;
    std::string big(3 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 131) ^ (i >> 9));
    std::string from = dir.put("src/IMG_01.JPG", big);
    std::string to = dir.put("out/IMG_01.jpg", "an older, longer copy of the photo........");
    ::chmod(to.c_str(), 0640);

    ASSERT_TRUE(copyFile(from, to));
    EXPECT_EQ(TempDir::slurp(to), big);
    EXPECT_EQ(TempDir::modeOf(to), 0640u);
    EXPECT_EQ(TempDir::entryCount(dir / "out"), 1);

    ASSERT_TRUE(copyFile(from, dir / "out/new.jpg"));
    EXPECT_EQ(TempDir::slurp(dir / "out/new.jpg"), big);
}

TEST(FileSystem, FailedCopiesLeaveTheTargetAlone) {
    TempDir dir;
    std::string photo = dir.put("a.jpg", "photo");
    std::string target = dir.put("out/a.jpg", "kept");

    EXPECT_FALSE(copyFile(dir / "missing.jpg", target));
    EXPECT_FALSE(copyFile(photo, photo));          // onto itself: must not truncate the source
    EXPECT_FALSE(copyFile(photo, dir / "A.JPG"));  // the same file, named in another case
    EXPECT_FALSE(copyFile(photo, dir / "nofolder/a.jpg"));
    EXPECT_FALSE(copyFile(dir / "out", dir / "x"));  // a folder is not copied
    EXPECT_EQ(TempDir::slurp(photo), "photo");
    EXPECT_EQ(TempDir::slurp(target), "kept");
    EXPECT_EQ(TempDir::entryCount(dir / "out"), 1);
}

TEST(FileSystem, MoveReplacesTheTarget) {
    TempDir dir;
    std::string turned = dir.put("temp/a.jpg", "turned");
    std::string photo = dir.put("a.jpg", "original");
    ASSERT_TRUE(moveFile(turned, photo));
    EXPECT_EQ(TempDir::slurp(photo), "turned");
    EXPECT_FALSE(pathExists(turned));
    EXPECT_FALSE(moveFile(dir / "missing", photo));
    EXPECT_TRUE(removeFile(photo));
    EXPECT_FALSE(removeFile(photo));
}

TEST(FileSystem, WriteReplacesWholeFilesAndKeepsTheirMode) {
    TempDir dir;
    std::string file = dir.put("data/xtsz", "a much longer old content");
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(writeFile(file, "new"));
    EXPECT_EQ(TempDir::slurp(file), "new");
    EXPECT_EQ(TempDir::modeOf(file), 0640u);

    ASSERT_TRUE(writeFile(dir / "data/secret", "pw", WriteOptions{0600}));
    EXPECT_EQ(TempDir::modeOf(dir / "data/secret"), 0600u);
    ASSERT_TRUE(writeFile(file, "", WriteOptions{0600}));
    EXPECT_EQ(TempDir::modeOf(file), 0600u);
    EXPECT_EQ(TempDir::slurp(file), "");
    EXPECT_EQ(TempDir::entryCount(dir / "data"), 2);

    EXPECT_FALSE(writeFile(dir / "missing/file", "x"));
    EXPECT_FALSE(writeFile(dir / "data", "x"));  // a folder is never replaced by a file
    EXPECT_TRUE(folderExists(dir / "data"));
}

TEST(FileSystem, WriteThroughALinkReplacesItsTarget) {
    TempDir dir;
    std::string real = dir.put("real/logo.ini", "old");
    ASSERT_EQ(::symlink(real.c_str(), (dir / "logo.ini").c_str()), 0);
    ASSERT_TRUE(writeFile(dir / "logo.ini", "new"));
    EXPECT_EQ(TempDir::slurp(real), "new");
    struct stat st;
    ASSERT_EQ(::lstat((dir / "logo.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

}  // namespace
}  // namespace xp
