// Profile strings: exact bytes on disk, keys and sections without letter case, other lines kept.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace xp {
namespace {

using test::TempDir;

TEST(Profile, WritingCreatesFileAndSectionWithCrLf) {
    TempDir dir;
    std::string ini = dir / "logo.ini";
    ASSERT_TRUE(writeProfileString(ini, "LOGO", "LOGO1", "/a/b.jpg"));
    ASSERT_TRUE(writeProfileString(ini, "LOGO", "LOGO2", ""));
    ASSERT_TRUE(writeProfileString(ini, "logo", "logo1", "/c.jpg"));         // same key, other case
    ASSERT_TRUE(writeProfileString(ini, "XTSZ", "DM", "\xD5\xD5\xCF\xE0"));  // GBK bytes kept as they are
    EXPECT_EQ(TempDir::slurp(ini), "[LOGO]\r\nLOGO1=/c.jpg\r\nLOGO2=\r\n[XTSZ]\r\nDM=\xD5\xD5\xCF\xE0\r\n");
    EXPECT_EQ(readProfileString(ini, "Logo", "Logo1"), "/c.jpg");
    EXPECT_EQ(readProfileString(ini, "XTSZ", "DM"), "\xD5\xD5\xCF\xE0");
}

TEST(Profile, MissingThingsReadEmpty) {
    TempDir dir;
    std::string ini = dir.put("x.ini", "[A]\r\nk=v\r\n");
    EXPECT_EQ(readProfileString(dir / "missing.ini", "A", "k"), "");
    EXPECT_EQ(readProfileString(ini, "B", "k"), "");
    EXPECT_EQ(readProfileString(ini, "A", "other"), "");
    EXPECT_EQ(readProfileString(ini, "A", "K"), "v");
}

TEST(Profile, ReadsFilesWrittenElsewhere) {
    TempDir dir;
    std::string ini = dir.put("x.ini",
                              "; comment\n[yz]\nlj = \"D:\\photos\\ sample \" \n"
                              "other=1\n[Empty]\n[ XTSZ ]\nDM= shop \nDM=second\n");
    EXPECT_EQ(readProfileString(ini, "yz", "lj"), "D:\\photos\\ sample ");
    EXPECT_EQ(readProfileString(ini, "XTSZ", "DM"), "shop");  // first of two wins, blanks trimmed
    EXPECT_EQ(readProfileString(ini, "yz", "; comment"), "");
}

TEST(Profile, RewriteKeepsEverythingElse) {
    TempDir dir;
    std::string ini = dir.put("x.ini", "; keep me\r\n[A]\r\nk=1\r\n\r\n[B]\r\nz=2\r\n");
    ASSERT_TRUE(writeProfileString(ini, "A", "new", "x"));
    ASSERT_TRUE(writeProfileString(ini, "B", "z", "3"));
    EXPECT_EQ(TempDir::slurp(ini), "; keep me\r\n[A]\r\nk=1\r\nnew=x\r\n\r\n[B]\r\nz=3\r\n");
}

TEST(Profile, LineBreaksInAValueCannotAddKeys) {
    TempDir dir;
    std::string ini = dir / "x.ini";
    ASSERT_TRUE(writeProfileString(ini, "XTSZ", "DM", "shop\r\nDH=forged"));
    EXPECT_EQ(readProfileString(ini, "XTSZ", "DH"), "");
    EXPECT_EQ(readProfileString(ini, "XTSZ", "DM"), "shop  DH=forged");
}

TEST(Profile, GbkSectionNamesFoldOnlyAsciiLetters) {
    // "\x81\x41" and "\x81\x61" are two different double-byte characters: their trail bytes must not fold.
    IniDocument doc = IniDocument::parse("[\x81\x41]\r\nk=1\r\n");
    EXPECT_EQ(doc.value("\x81\x41", "K").value_or(""), "1");
    EXPECT_FALSE(doc.value("\x81\x61", "k").has_value());
    EXPECT_TRUE(doc.remove("\x81\x41", "k"));
    EXPECT_EQ(doc.serialize(), "[\x81\x41]\r\n");
}

}  // namespace
}  // namespace xp
