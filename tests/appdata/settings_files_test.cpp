// Settings files, selection-folder files and registry values keep their exact stored bytes in GBK.
#include "appdata/settings_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "appdata/registry_values.h"
#include "appdata/selection_files.h"
#include "appdata/text_files.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"

namespace xp {
namespace {

using test::TempDir;

class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(dir / "data"); }
    TempDir dir;
    AppPaths paths = AppPaths::compute(dir.path());
};

TEST_F(SettingsFiles, LogoIni) {
    EXPECT_FALSE(logoSettingsExist(paths));
    EXPECT_EQ(readLogoSettings(paths), LogoSettings{});
    LogoSettings logos{"/logo/登录.jpg", "", "/logo/bg.jpg"};
    ASSERT_TRUE(writeLogoSettings(paths, logos));
    EXPECT_TRUE(logoSettingsExist(paths));
    EXPECT_EQ(TempDir::slurp(paths.logoSettings),
              "[LOGO]\r\nLOGO1=/logo/\xB5\xC7\xC2\xBC.jpg\r\nLOGO2=\r\nLOGO3=/logo/bg.jpg\r\n");
    EXPECT_EQ(readLogoSettings(paths), logos);
}

TEST_F(SettingsFiles, StoreDetails) {
    StoreDetails details{"照相馆", "010-1234", "北京路1号", "", "选片单"};
    ASSERT_TRUE(writeStoreDetails(paths, details));
    EXPECT_EQ(TempDir::slurp(paths.storeSettings),
              "[XTSZ]\r\nDM=\xD5\xD5\xCF\xE0\xB9\xDD\r\nDH=010-1234\r\nDZ=\xB1\xB1\xBE\xA9\xC2\xB7"
              "1\xBA\xC5\r\n"
              "WZ=\r\nXPBB=\xD1\xA1\xC6\xAC\xB5\xA5\r\n");
    EXPECT_EQ(readStoreDetails(paths), details);
    details.webSite = "www.example.com";
    ASSERT_TRUE(writeStoreDetails(paths, details));
    EXPECT_EQ(readStoreDetails(paths), details);
}

TEST_F(SettingsFiles, WarmTipsAreStoredWholeWithoutTerminator) {
    EXPECT_EQ(readWarmTips(paths), "");
    ASSERT_TRUE(writeWarmTips(paths, "请保管好单据\r\n谢谢"));
    EXPECT_EQ(TempDir::slurp(paths.warmTips), "\xC7\xEB\xB1\xA3\xB9\xDC\xBA\xC3\xB5\xA5\xBE\xDD\r\n\xD0\xBB\xD0\xBB");
    EXPECT_EQ(readWarmTips(paths), "请保管好单据\r\n谢谢");
}

TEST_F(SettingsFiles, SampleFolderSetting) {
    ASSERT_TRUE(writeSampleFolderSetting(paths, "/样照"));
    EXPECT_EQ(TempDir::slurp(paths.sampleSetting), "[yz]\r\nlj=/\xD1\xF9\xD5\xD5\r\n");
    EXPECT_EQ(readSampleFolderSetting(paths), "/样照");
}

TEST_F(SettingsFiles, RequirementPresetsOnePerCrLfLine) {
    EXPECT_TRUE(readRequirementPresets(paths).empty());
    EXPECT_EQ(TempDir::slurp(paths.requirementPresets), "");  // created empty when missing

    std::vector<std::string> presets{"精修", "", "调色，美白"};
    ASSERT_TRUE(writeRequirementPresets(paths, presets));
    EXPECT_EQ(TempDir::slurp(paths.requirementPresets),
              "\xBE\xAB\xD0\xDE\r\n\r\n\xB5\xF7\xC9\xAB\xA3\xAC\xC3\xC0\xB0\xD7\r\n");
    EXPECT_EQ(readRequirementPresets(paths), presets);

    // A file edited elsewhere: LF endings and no final line break.
    dir.put("data/xpyq.ini", "a\nb\r\nc");
    EXPECT_EQ(readRequirementPresets(paths), (std::vector<std::string>{"a", "b", "c"}));
    // An entry holding a line break stays one entry.
    ASSERT_TRUE(writeRequirementPresets(paths, {"x\r\ny"}));
    EXPECT_EQ(readRequirementPresets(paths), std::vector<std::string>{"x  y"});
}

TEST(SelectionFiles, ShotCountAndSaveMarker) {
    TempDir dir;
    std::string sel = dir / "订单1";
    std::filesystem::create_directories(sel + "/data");
    EXPECT_EQ(readShotCount(sel), "");
    EXPECT_FALSE(isSelectionSaved(sel));

    ASSERT_TRUE(writeShotCount(sel, 12));
    EXPECT_EQ(TempDir::slurp(sel + "/data/pszs"), "12");
    EXPECT_EQ(readShotCount(sel), "12");

    ASSERT_TRUE(writeSaveMarker(sel));
    EXPECT_EQ(TempDir::slurp(sel + "/data/save"), "100");
    EXPECT_TRUE(isSelectionSaved(sel));
    dir.put("订单1/data/save", "100\r\n");
    EXPECT_FALSE(isSelectionSaved(sel));

    EXPECT_EQ(photoTableFile(sel), sel + "/data/xpdata.edb");
    EXPECT_EQ(selectionReportFile(sel), sel + "/以选/选片报表.txt");
    EXPECT_EQ(requirementsReportFile(sel), sel + "/以选/制作要求.txt");
    EXPECT_EQ(selectionTempFolder(sel), sel + "/temp");
}

TEST(TextFiles, ReportsAreGbkWithoutByteOrderMark) {
    TempDir dir;
    ASSERT_TRUE(writeTextFile(dir / "r.txt", "入册： 2 张__文件名：a，b，\r\n\r\n"));
    std::string bytes = TempDir::slurp(dir / "r.txt");
    EXPECT_EQ(bytes.substr(0, 4), "\xC8\xEB\xB2\xE1");
    EXPECT_EQ(readTextFile(dir / "r.txt").value_or(""), "入册： 2 张__文件名：a，b，\r\n\r\n");
    EXPECT_FALSE(readTextFile(dir / "missing").has_value());
}

class RegistryValues : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }
    TempDir home;
};

TEST_F(RegistryValues, LastLoginInGbkAndRememberMe) {
    ASSERT_TRUE(saveLastLogin("小王", "pw"));
    EXPECT_EQ(registryString(kRegistryKey, "yhm").value_or(""), "\xD0\xA1\xCD\xF5");
    EXPECT_EQ(lastLoginUserName().value_or(""), "小王");
    EXPECT_EQ(lastLoginPassword().value_or(""), "pw");
    EXPECT_FALSE(rememberMeSet());
    ASSERT_TRUE(saveRememberMe(true));
    EXPECT_EQ(registryNumber(kRegistryKey, "jzyhm").value_or(0), 1u);
    ASSERT_TRUE(saveRememberMe(false));
    EXPECT_FALSE(registryNumber(kRegistryKey, "jzyhm").has_value());
    EXPECT_EQ(TempDir::modeOf(registryFilePath()), 0600u);
}

}  // namespace
}  // namespace xp
