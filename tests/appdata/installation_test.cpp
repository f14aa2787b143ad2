// Creating an installation: a working data folder, and nothing existing ever overwritten or half made.
#include "appdata/installation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "tests/support/temp_dir.h"

namespace xp {
namespace {

using test::TempDir;

// Every file below a folder with its content, to prove that a refused run changed nothing.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        files[e.path().string()] = e.is_regular_file() ? TempDir::slurp(e.path().string()) : "<folder>";
    return files;
}

TEST(Installation, FreshInstallationLogsInAsAdmin) {
    TempDir dir;
    InstallResult result = createInstallation(dir / "studio");
    ASSERT_TRUE(result.ok) << result.message;
    AppPaths paths = AppPaths::compute(result.folder);
    EXPECT_TRUE(std::filesystem::is_directory(paths.sampleFolder));
    EXPECT_TRUE(std::filesystem::is_directory(paths.designBoardFolder));

    RecordStore store;
    EXPECT_FALSE(store.openTable(paths.userTable));  // protected: no open without the password
    ASSERT_TRUE(openAppTable(store, paths.userTable)) << errorMessage(lastError());
    ASSERT_EQ(store.recordCount(), 1);
    EXPECT_EQ(readText(store, user_fields::kUserName), "admin");
    EXPECT_EQ(readText(store, user_fields::kPassword), "tovex");
    store.closeAllTables();

    for (auto [path, table] : {std::pair{paths.orderTable, AppTable::Orders},
                               {paths.productTable, AppTable::Products},
                               {paths.categoryTable, AppTable::Categories}}) {
        ASSERT_TRUE(openAppTable(store, path)) << path;
        EXPECT_EQ(store.recordCount(), 0);
        EXPECT_EQ(schemaProblem(store, table), "");
        store.closeAllTables();
    }
    // Only the installation is left: no staging folder.
    EXPECT_EQ(TempDir::entryCount(result.folder), 3);
}

TEST(Installation, ExistingInstallationIsRefusedAndUntouched) {
    TempDir dir;
    ASSERT_TRUE(createInstallation(dir / "studio").ok);
    auto before = snapshot(dir.path());
    InstallResult again = createInstallation(dir / "studio");
    EXPECT_FALSE(again.ok);
    EXPECT_NE(again.message.find("already holds an installation"), std::string::npos) << again.message;
    EXPECT_NE(again.message.find("yhm.EDB (user table): present and usable"), std::string::npos) << again.message;
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(Installation, HalfMadeAndForeignDataFoldersAreDescribed) {
    TempDir dir;
    ASSERT_TRUE(createInstallation(dir / "studio").ok);
    std::filesystem::remove(dir / "studio/data/cpdata.EDB");
    // A category table of another layout, and an order table that is not protected.
    std::filesystem::remove(dir / "studio/data/cplbsjk.EDB");
    RecordStore store;
    ASSERT_TRUE(store.createTable(dir / "studio/data/cplbsjk", {{"name", static_cast<int>(FieldType::Text), 10}}));
    ASSERT_TRUE(store.openTable(dir / "studio/data/cplbsjk"));
    ASSERT_TRUE(store.setTablePassword(kTablePassword));
    store.closeAllTables();
    std::filesystem::remove(dir / "studio/data/xpsjk.EDB");
    std::filesystem::remove(dir / "studio/data/xpsjk.EDT");
    ASSERT_TRUE(store.createTable(dir / "studio/data/xpsjk", tableFields(AppTable::Orders)));

    auto before = snapshot(dir.path());
    InstallResult result = createInstallation(dir / "studio");
    EXPECT_FALSE(result.ok);
    for (const char* expected :
         {"cpdata.EDB (product table): missing", "cplbsjk.EDB (category table): wrong layout",
          "xpsjk.EDB (order table): does not open with the table password", "yhm.EDB (user table): present and usable"})
        EXPECT_NE(result.message.find(expected), std::string::npos) << result.message;
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(Installation, BadFoldersAreReported) {
    TempDir dir;
    dir.put("file", "x");
    struct Case {
        std::string dir;
        const char* message;
    };
    const Case cases[] = {
        {"", "no installation folder given"},
        {dir / "file", "exists and is not a folder"},
        {dir / "missing/studio", "does not exist"},
    };
    for (const Case& c : cases) {
        InstallResult r = createInstallation(c.dir);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    std::filesystem::create_directories(dir / "locked");
    ::chmod((dir / "locked").c_str(), 0555);
    if (::geteuid() != 0) {  // root writes anywhere
        InstallResult r = createInstallation(dir / "locked");
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find("cannot write in"), std::string::npos) << r.message;
    }
    ::chmod((dir / "locked").c_str(), 0755);
}

TEST(Installation, CopiesTheProgramIn) {
    TempDir dir;
    std::string program = dir.put("build/xuanpian", "#!/bin/sh\n");
    InstallResult r = createInstallation(dir / "studio", InstallOptions{program, {}});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(TempDir::slurp(r.folder + "/xuanpian"), "#!/bin/sh\n");
    EXPECT_EQ(TempDir::modeOf(r.folder + "/xuanpian"), 0755u);
    EXPECT_NE(r.message.find(r.folder + "/xuanpian"), std::string::npos);

    InstallResult missing = createInstallation(dir / "other", InstallOptions{dir / "nothing", {}});
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(std::filesystem::exists(dir / "other"));
}

TEST(Installation, FailingContentLeavesNothingBehind) {
    TempDir dir;
    std::filesystem::create_directories(dir / "studio/样照欣赏/mine");
    dir.put("studio/样照欣赏/mine/1.jpg", "photo");
    auto before = snapshot(dir.path());

    InstallOptions failing;
    failing.fill = [](const AppPaths& staged, const AppPaths&) {
        std::filesystem::create_directories(staged.sampleFolder + "/demo");
        return std::string("generator broke");
    };
    InstallResult r = createInstallation(dir / "studio", failing);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("generator broke"), std::string::npos);
    EXPECT_EQ(snapshot(dir.path()), before);

    // Content lands in the installation; an existing gallery keeps its albums and gains the new ones.
    InstallOptions filling;
    filling.fill = [](const AppPaths& staged, const AppPaths& final) {
        std::filesystem::create_directories(staged.sampleFolder + "/demo");
        std::ofstream(staged.sampleFolder + "/demo/a.jpg") << final.programFolder;
        return std::string();
    };
    r = createInstallation(dir / "studio", filling);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(TempDir::slurp(r.folder + "/样照欣赏/mine/1.jpg"), "photo");
    EXPECT_EQ(TempDir::slurp(r.folder + "/样照欣赏/demo/a.jpg"), r.folder);
}

}  // namespace
}  // namespace xp
