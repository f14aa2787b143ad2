// `xuanpian-admin init` and `demo` as a studio runs them: a working installation whose content hangs
// together, clear refusals, and nothing existing touched.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <set>

#include "appdata/installation.h"
#include "appdata/selection_files.h"
#include "appdata/settings_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_helpers.h"
#include "platform/file_system.h"
#include "tests/support/temp_dir.h"

namespace xp {
namespace {

using test::TempDir;

struct AdminRun {
    int exitCode;
    std::string out;
    std::string err;
};

AdminRun admin(const TempDir& dir, const std::string& arguments) {
    std::string out = dir / "stdout", err = dir / "stderr";
    std::string command = std::string("'") + XP_ADMIN_BINARY + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempDir::slurp(out), TempDir::slurp(err)};
}

// Every row of one column of a table.
std::vector<std::string> column(const std::string& table, const char* field) {
    RecordStore store;
    std::vector<std::string> values;
    if (!openAppTable(store, table)) return {"<cannot open " + table + ">"};
    store.firstRecord();
    for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords()) values.push_back(readText(store, field));
    return values;
}

// Names, sizes and modification times of everything below a folder.
std::map<std::string, std::string> listing(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        files[e.path().string()] = std::to_string(e.is_regular_file() ? e.file_size() : 0) + "@" +
                                   std::to_string(e.last_write_time().time_since_epoch().count());
    return files;
}

void checkReferenceData(const AppPaths& paths) {
    EXPECT_EQ(column(paths.userTable, user_fields::kUserName), (std::vector<std::string>{"admin", "小王", "小李"}));
    std::vector<std::string> categories = column(paths.categoryTable, category_fields::kName);
    std::vector<std::string> productCategories = column(paths.productTable, product_fields::kCategory);
    std::vector<std::string> products = column(paths.productTable, product_fields::kName);
    EXPECT_GE(products.size(), 6u);
    for (const std::string& c : productCategories)
        EXPECT_NE(std::find(categories.begin(), categories.end(), c), categories.end()) << c;

    // Every order names a selector who can be chosen and products that exist.
    std::vector<std::string> users = column(paths.userTable, user_fields::kUserName);
    for (const std::string& s : column(paths.orderTable, order_fields::kSelector))
        EXPECT_NE(std::find(users.begin() + 1, users.end(), s), users.end()) << s;
    for (const std::string& package : column(paths.orderTable, order_fields::kPackageProducts)) {
        ASSERT_FALSE(package.empty());
        for (const std::string& p : splitProductList(package))
            EXPECT_NE(std::find(products.begin(), products.end(), p), products.end()) << p;
    }
    EXPECT_FALSE(readStoreDetails(paths).name.empty());
    EXPECT_FALSE(readRequirementPresets(paths).empty());
    std::string tips = readWarmTips(paths);
    EXPECT_FALSE(tips.empty());
    EXPECT_NE(tips.substr(tips.size() - 2), "\r\n");  // stored without terminator
}

void checkPhotos(const AppPaths& paths) {
    std::vector<std::string> folders = column(paths.orderTable, order_fields::kSelectionFolder);
    ASSERT_EQ(folders.size(), 3u);
    std::set<std::string> names;
    int portrait = 0, landscape = 0, withExif = 0;
    tjhandle tj = tjInitDecompress();
    for (const std::string& folder : folders) {
        ASSERT_TRUE(folderExists(folder)) << folder;
        std::vector<std::string> photos = listFiles(folder, "*.jpg");
        EXPECT_GE(photos.size(), 8u);
        EXPECT_LE(photos.size(), 20u);
        for (const std::string& name : photos) {
            names.insert(name);
            std::string jpeg = readFile(joinPath(folder, name)).value_or("");
            int w = 0, h = 0, sub = 0, space = 0;
            ASSERT_EQ(tjDecompressHeader3(tj, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), &w, &h,
                                          &sub, &space),
                      0)
                << name;
            EXPECT_GE(w * h, 2'000'000) << name;
            (h > w ? portrait : landscape)++;
            if (jpeg.compare(6, 6, std::string("Exif\0\0", 6)) == 0) ++withExif;
        }
    }
    tjDestroy(tj);
    EXPECT_GT(portrait, 0);
    EXPECT_GT(landscape, 0);
    EXPECT_GT(withExif, 0);
    EXPECT_TRUE(names.count("a.b.jpg"));
    EXPECT_TRUE(names.count("IMG_01.JPG"));

    for (const std::string& gallery : {paths.sampleFolder, paths.designBoardFolder}) {
        std::vector<std::string> albums = listFolders(gallery);
        ASSERT_FALSE(albums.empty()) << gallery;
        for (const std::string& album : albums) EXPECT_FALSE(listFiles(joinPath(gallery, album), "*.jpg").empty());
    }
}

void checkWorkedOrder(const AppPaths& paths) {
    RecordStore store;
    ASSERT_TRUE(openAppTable(store, paths.orderTable));
    std::string sel;
    store.firstRecord();
    for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords()) {
        sel = readText(store, order_fields::kSelectionFolder);
        if (isSelectionSaved(sel)) break;
        sel.clear();
    }
    ASSERT_FALSE(sel.empty()) << "no order with a saved selection";
    std::string requirements = readText(store, order_fields::kRequirements);
    int extra = textToInt(readText(store, order_fields::kExtraCount));
    int included = textToInt(readText(store, order_fields::kIncludedCount));
    store.closeAllTables();

    ASSERT_TRUE(openAppTable(store, photoTablePath(sel)));
    int rows = store.recordCount(), selected = 0;
    std::string retouchList;
    store.firstRecord();
    for (int i = 0; i < rows; ++i, store.skipRecords()) {
        EXPECT_EQ(readInt(store, photo_fields::kRecordNumber), i + 1);
        std::string path = readText(store, photo_fields::kFilePath);
        EXPECT_EQ(readText(store, photo_fields::kFileLength), std::to_string(fileSize(path))) << path;
        if (!readText(store, photo_fields::kProducts).empty()) ++selected;
        std::string retouch = readText(store, photo_fields::kRetouch);
        if (!retouch.empty()) retouchList += readText(store, photo_fields::kFileName) + "（" + retouch + "）\r\n";
    }
    EXPECT_EQ(readShotCount(sel), std::to_string(rows));
    EXPECT_EQ(extra, selected - included);
    EXPECT_FALSE(retouchList.empty());
    EXPECT_EQ(requirements.rfind(retouchList + std::string(44, '-') + "\r\n", 0), 0u) << requirements;
}

// One demo run serves every check: making it is the slow part.
TEST(AdminDemo, InstallationIsCompleteConsistentAndNeverMadeTwice) {
    TempDir dir;
    AppPaths paths = AppPaths::compute(dir / "studio");
    AdminRun run = admin(dir, "demo '" + paths.programFolder + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    {
        SCOPED_TRACE("reference data");
        checkReferenceData(paths);
    }
    {
        SCOPED_TRACE("photos");
        checkPhotos(paths);
    }
    {
        SCOPED_TRACE("worked order");
        checkWorkedOrder(paths);
    }
    auto before = listing(paths.programFolder);
    AdminRun again = admin(dir, "demo '" + paths.programFolder + "'");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("already holds an installation"), std::string::npos) << again.err;
    EXPECT_EQ(listing(paths.programFolder), before);
}

TEST(AdminInit, InstallsWithTheProgramAndRejectsBadArguments) {
    TempDir dir;
    std::string program = dir.put("bin/xuanpian", "program");
    AdminRun ok = admin(dir, "init '" + (dir / "studio") + "' --with-program '" + program + "'");
    ASSERT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_NE(ok.out.find("created the installation"), std::string::npos);
    EXPECT_EQ(TempDir::slurp(dir / "studio/xuanpian"), "program");
    EXPECT_EQ(column(AppPaths::compute(dir / "studio").userTable, user_fields::kPassword),
              std::vector<std::string>{"tovex"});

    struct Case {
        std::string arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"init", 2, "the installation folder is missing"},
        {"init '" + (dir / "x") + "' --bogus", 2, "unknown option --bogus"},
        {"init '" + (dir / "x") + "' --with-program", 2, "--with-program needs"},
        {"init '" + (dir / "x") + "' '" + (dir / "y") + "'", 2, "only one installation folder"},
        {"init '" + (dir / "bin/xuanpian") + "'", 1, "exists and is not a folder"},
        {"demo '" + (dir / "no/such/parent") + "'", 1, "does not exist"},
    };
    for (const Case& c : cases) {
        AdminRun r = admin(dir, c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << ": " << r.err;
    }
    EXPECT_FALSE(pathExists(dir / "x"));
}

}  // namespace
}  // namespace xp
