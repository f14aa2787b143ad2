// The registry substitute: typed values, a private file, values that survive any bytes.
#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "tests/support/temp_dir.h"

namespace xp {
namespace {

using test::TempDir;

constexpr const char* kKey = "Software\\Microsoft\\Windows\\zelvkj";

class Registry : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }
    TempDir home;
};

TEST_F(Registry, LivesInOurConfigFolder) {
    EXPECT_EQ(registryFilePath(), home / "xuanpian/registry.ini");
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1);  // not absolute: ignored
    ::setenv("HOME", home.path().c_str(), 1);
    EXPECT_EQ(registryFilePath(), home / ".config/xuanpian/registry.ini");
}

TEST_F(Registry, StringsNumbersAndDeletion) {
    ASSERT_TRUE(setRegistryString(kKey, "yhm", "admin"));
    ASSERT_TRUE(setRegistryString(kKey, "mm", "tovex"));
    ASSERT_TRUE(setRegistryNumber(kKey, "jzyhm", 1));
    EXPECT_EQ(registryString(kKey, "yhm").value_or(""), "admin");
    EXPECT_EQ(registryString("software\\microsoft\\windows\\ZELVKJ", "MM").value_or(""), "tovex");
    EXPECT_EQ(registryNumber(kKey, "jzyhm").value_or(0), 1u);
    EXPECT_FALSE(registryString(kKey, "jzyhm").has_value());  // a number is not a string
    EXPECT_FALSE(registryNumber(kKey, "yhm").has_value());

    ASSERT_TRUE(deleteRegistryValue(kKey, "jzyhm"));
    EXPECT_FALSE(registryNumber(kKey, "jzyhm").has_value());
    EXPECT_TRUE(deleteRegistryValue(kKey, "jzyhm"));  // already gone
    EXPECT_EQ(registryString(kKey, "yhm").value_or(""), "admin");
    EXPECT_EQ(TempDir::slurp(registryFilePath()),
              "[Software\\Microsoft\\Windows\\zelvkj]\r\nyhm=\"admin\"\r\nmm=\"tovex\"\r\n");
}

TEST_F(Registry, FileIsPrivateToTheUser) {
    ASSERT_TRUE(setRegistryString(kKey, "mm", "secret"));
    EXPECT_EQ(TempDir::modeOf(registryFilePath()), 0600u);
    EXPECT_EQ(TempDir::modeOf(home / "xuanpian"), 0700u);

    ::chmod(registryFilePath().c_str(), 0644);  // widened by someone else: the next write tightens it
    ASSERT_TRUE(setRegistryNumber(kKey, "jzyhm", 1));
    EXPECT_EQ(TempDir::modeOf(registryFilePath()), 0600u);
}

TEST_F(Registry, AnyBytesRoundTrip) {
    const std::string values[] = {"", " padded ", "a\"b\\c", "line\r\nbreak", "\xB6\xA9\xB5\xA5", "dword:00000001"};
    for (const std::string& v : values) {
        ASSERT_TRUE(setRegistryString(kKey, "mm", v));
        EXPECT_EQ(registryString(kKey, "mm").value_or("<missing>"), v);
    }
    ASSERT_TRUE(setRegistryNumber(kKey, "n", 0xFFFFFFFFu));
    EXPECT_EQ(registryNumber(kKey, "n").value_or(0), 0xFFFFFFFFu);
}

TEST_F(Registry, MissingFileReadsNothing) {
    EXPECT_FALSE(registryString(kKey, "yhm").has_value());
    EXPECT_TRUE(deleteRegistryValue(kKey, "jzyhm"));
    EXPECT_FALSE(std::filesystem::exists(registryFilePath()));
}

}  // namespace
}  // namespace xp
