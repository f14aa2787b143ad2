// The order loader as the selector meets it: the first load of a folder (the photo table made, rows
// 1..n, the shot count), later loads that reconcile the table with the folder, the photo list with its
// captions, tiles and status line, and every message.
#include <gtest/gtest.h>

#include "appdata/text_helpers.h"
#include "platform/file_system.h"
#include "selection/order_loader.h"
#include "selection/photo_caption.h"
#include "selection/photo_list_panel.h"
#include "tests/support/order_fixture.h"

namespace xp::test {
namespace {

using testing::kBlue;
using testing::kGreen;
using testing::kRed;
using ui::MessageIcon;

const std::string kStatusGap(29, ' ');

class OrderLoaderTest : public OrderFixture {
protected:
    OrderLoaderTest() : OrderFixture(installPhotoListPanel) {}

    MainWindow& w() {
        if (!main_) main_ = &openMain();
        return *main_;
    }
    PhotoListPanel& panel() { return *PhotoListPanel::of(w()); }
    bool load(const std::string& folder) {
        w();
        app->setSelectionFolder(folder);
        return loadOrder(*app);
    }
    std::vector<std::string> captions() {
        std::vector<std::string> out;
        for (int i = 0; i < w().超级列表框1.itemCount(); ++i) out.push_back(w().超级列表框1.caption(i));
        return out;
    }
    std::vector<std::int64_t> itemData() {
        std::vector<std::int64_t> out;
        for (int i = 0; i < w().超级列表框1.itemCount(); ++i) out.push_back(w().超级列表框1.data(i));
        return out;
    }
    // The colour of the tile each entry shows.
    std::vector<testing::Rgb> entryColours() {
        std::vector<testing::Rgb> out;
        const auto& list = *w().超级列表框1.imageList();
        for (int i = 0; i < w().超级列表框1.itemCount(); ++i) out.push_back(tileCentre(list, w().超级列表框1.image(i)));
        return out;
    }
    static void expectColours(const std::vector<testing::Rgb>& got, const std::vector<testing::Rgb>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_TRUE(testing::near(got[i], want[i], 40)) << i << ": " << got[i];
    }

    MainWindow* main_ = nullptr;
};

TEST_F(OrderLoaderTest, FirstLoadMakesTheProtectedPhotoTableWithOneRowPerPhotoInFolderOrder) {
    const std::string folder = photoFolder("order", {"b.jpg", "a.b.jpg", "C.JPG", "notes.txt"});
    ASSERT_TRUE(load(folder));

    EXPECT_TRUE(folderExists(folder + "/data"));
    const std::vector<StoredPhoto> rows = storedPhotos(folder);
    ASSERT_EQ(rows.size(), 3u);
    const std::vector<std::string> names = {"a.b.jpg", "b.jpg", "C.JPG"};  // listed without letter case
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(rows[i].fileName, photoBaseName(names[i]));
        EXPECT_EQ(rows[i].products, "");
        EXPECT_EQ(rows[i].retouch, "");
        EXPECT_EQ(rows[i].path, folder + "/" + names[i]);
        EXPECT_EQ(rows[i].recordNo, i + 1);
        EXPECT_EQ(rows[i].length, std::to_string(fileSize(folder + "/" + names[i])));
    }
    RecordStore other;
    EXPECT_FALSE(other.openTable(photoTablePath(folder))) << "the photo table must carry the table password";
    EXPECT_EQ(readShotCount(folder), "3");

    EXPECT_EQ(captions(), (std::vector<std::string>{"a", "b", "C"}));
    EXPECT_EQ(itemData(), (std::vector<std::int64_t>{1, 2, 3}));
    expectColours(entryColours(), {kGreen, kRed, kBlue});
    EXPECT_EQ(w().超级列表框1.imageList(), app->thumbnails.list());
    EXPECT_EQ(w().标签4.caption(), "正在加载图片请稍候(3)");
    EXPECT_EQ(app->loadTime, "0秒");
    EXPECT_EQ(w().状态标签.caption(), "当前照片总数：3 张" + kStatusGap + "加载时间：0秒");
    EXPECT_EQ(app->store.tableName(), "xpdata");
    EXPECT_EQ(panel().tileOf(1), w().超级列表框1.image(0));
    EXPECT_TRUE(s.messages().empty());
}

TEST_F(OrderLoaderTest, LaterLoadShowsTheChoicesKeepsTheRowsAndTheShotCount) {
    const std::string folder = photoFolder("order", {"IMG1.jpg", "IMG2.jpg", "IMG3.jpg"});
    ASSERT_TRUE(load(folder));
    app->store.closeAllTables();
    choose(folder, 1, "入册。P。");
    choose(folder, 2, "P。", "去掉路人");
    choose(folder, 3, "", "left over");
    ASSERT_TRUE(writeFile(shotCountFile(folder), "7"));
    const std::vector<StoredPhoto> before = storedPhotos(folder);

    ASSERT_TRUE(load(folder));
    EXPECT_EQ(captions(), (std::vector<std::string>{"IMG1｜入册。P。", "IMG2｜P。★", "IMG3"}));
    EXPECT_EQ(itemData(), (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(storedPhotos(folder), before);
    EXPECT_EQ(readShotCount(folder), "7");
    EXPECT_EQ(w().状态标签.caption(), "当前照片总数：3 张" + kStatusGap + "加载时间：0秒");
}

TEST_F(OrderLoaderTest, PhotosSharingAFileNameShowTheFirstRowButEachItsOwnTile) {
    const std::string folder = photoFolder("order", {"a.1.jpg", "a.2.jpg"});
    ASSERT_TRUE(load(folder));
    EXPECT_EQ(itemData(), (std::vector<std::int64_t>{1, 2}));
    app->store.closeAllTables();
    choose(folder, 2, "入册。");

    ASSERT_TRUE(load(folder));
    EXPECT_EQ(captions(), (std::vector<std::string>{"a", "a"}));
    EXPECT_EQ(itemData(), (std::vector<std::int64_t>{1, 1}));
    expectColours(entryColours(), {kRed, kGreen});
    // The second row has no entry, but the views that list rows still find its photo's tile.
    const auto& tiles = *w().超级列表框1.imageList();
    EXPECT_TRUE(testing::near(tileCentre(tiles, panel().tileOf(1)), kRed, 40));
    EXPECT_TRUE(testing::near(tileCentre(tiles, panel().tileOf(2)), kGreen, 40));
    EXPECT_EQ(storedPhotos(folder).size(), 2u);
}

TEST_F(OrderLoaderTest, FolderChangesSinceTheImportKeepRowsAndAppendNewPhotos) {
    const std::string folder = photoFolder("order", {"A.jpg", "B.jpg", "C.jpg"});
    ASSERT_TRUE(load(folder));
    app->store.closeAllTables();
    ASSERT_TRUE(removeFile(folder + "/B.jpg"));
    addPhoto(folder, "D.jpg", testing::kYellow);
    addPhoto(folder, "D.x.jpg", kGreen);  // same "文件名" as D: found as D's new row

    ASSERT_TRUE(load(folder));
    EXPECT_EQ(captions(), (std::vector<std::string>{"A", "C", "D", "D"}));
    EXPECT_EQ(itemData(), (std::vector<std::int64_t>{1, 3, 4, 4}));
    const std::vector<StoredPhoto> rows = storedPhotos(folder);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].fileName, "B") << "a removed photo keeps its row";
    EXPECT_EQ(rows[3], (StoredPhoto{"D", "", "", folder + "/D.jpg", 4, std::to_string(fileSize(folder + "/D.jpg"))}));
    EXPECT_EQ(readShotCount(folder), "3");

    const auto& tiles = *w().超级列表框1.imageList();
    EXPECT_EQ(panel().tileOf(2), -1);
    EXPECT_TRUE(testing::near(tileCentre(tiles, panel().tileOf(3)), kBlue, 40));
    EXPECT_TRUE(testing::near(tileCentre(tiles, panel().tileOf(4)), testing::kYellow, 40));
    EXPECT_EQ(w().状态标签.caption(), "当前照片总数：4 张" + kStatusGap + "加载时间：0秒");
}

TEST_F(OrderLoaderTest, FoldersWithoutPhotosOrWithABrokenOneStillLoad) {
    const std::string empty = photoFolder("empty", {});
    ASSERT_TRUE(load(empty));
    EXPECT_EQ(w().超级列表框1.itemCount(), 0);
    EXPECT_EQ(w().状态标签.caption(), "当前照片总数：0 张" + kStatusGap + "加载时间：0秒");
    EXPECT_FALSE(fileExists(shotCountFile(empty)));
    EXPECT_TRUE(storedPhotos(empty).empty());

    // A data folder without a photo table (step 5) gets one; an undecodable photo a white tile.
    const std::string folder = photoFolder("broken", {"good.jpg"});
    ASSERT_TRUE(createFolder(folder + "/data"));
    ASSERT_TRUE(writeFile(folder + "/bad.jpg", "not a picture"));
    ASSERT_TRUE(load(folder));
    EXPECT_EQ(captions(), (std::vector<std::string>{"bad", "good"}));
    expectColours(entryColours(), {testing::kWhite, kRed});
    EXPECT_EQ(storedPhotos(folder).size(), 2u);
}

TEST_F(OrderLoaderTest, ProblemsAreReportedAndNothingIsLoaded) {
    const std::string missingText =
        "没有找到选片目录，请确认该顾客的选片目录在这台电脑上，且没有被重命名或删除，否则软件无法载入该顾客文件\r\n\r\n"
        "解决方法1：把以删除或重命名的顾客选片文件夹恢复到原来的状态\r\n"
        "解决方法2：在数据管理中删除此顾客的订单记录，然后重新导入该顾客选片数据";
    const std::string loaded = photoFolder("loaded", {"x.jpg"});
    ASSERT_TRUE(load(loaded));

    s.expectMessage(missingText).title("提示信息选片目录不存在").icon(MessageIcon::Information);
    EXPECT_FALSE(load(temp / "gone"));
    EXPECT_EQ(w().超级列表框1.itemCount(), 1) << "the list is left as it was";

    // A photo table that does not open with the table password.
    const std::string locked = photoFolder("locked", {"y.jpg"});
    {
        RecordStore other;
        ASSERT_TRUE(createFolder(locked + "/data"));
        ASSERT_TRUE(other.createTable(photoTableFile(locked), photoTableCreationRequest()));
    }
    s.expectMessage("数据库连接失败请重试！").title("提示信息").icon(MessageIcon::Information);
    EXPECT_FALSE(load(locked));
    EXPECT_FALSE(app->store.selectTable("xpdata"));

    // A file in the photo table's place that is no table at all.
    const std::string damaged = photoFolder("damaged", {"z.jpg"});
    ASSERT_TRUE(createFolder(damaged + "/data"));
    ASSERT_TRUE(writeFile(photoTableFile(damaged), std::string(600, 'x')));
    s.expectMessage("数据库连接失败请重试！").title("提示信息");
    EXPECT_FALSE(load(damaged));
}

TEST_F(OrderLoaderTest, ATableThatCannotBeCreatedReportsBothMessages) {
    const std::string folder = photoFolder("order", {"x.jpg"});
    // A file where the data folder should be: neither the folder nor the table can be made.
    ASSERT_TRUE(writeFile(folder + "/data", "in the way"));
    s.expectMessage("数据库创建失败！请检查选片文件夹是否有可写入权限").title("提示信息");
    s.expectMessage("数据库连接失败！请检查选片目录是否拥有写入权限").title("提示信息");
    EXPECT_FALSE(load(folder));
}

TEST_F(OrderLoaderTest, WhatTheUserDoesWhileLoadingCannotMixOrdersUp) {
    const std::string folder = photoFolder("order", {"a.jpg", "b.jpg", "c.jpg"});
    const std::string other = photoFolder("other", {"z.jpg"});
    w();
    // Events run before each photo: a second load started then is refused; closing the tables (as the
    // settings button does) stops the load instead of writing elsewhere.
    bool nested = true;
    s.after(0, [&] {
        AppState& a = *app;
        a.setSelectionFolder(other);
        nested = loadOrder(a);
        a.setSelectionFolder(folder);
    });
    ASSERT_TRUE(load(folder));
    EXPECT_FALSE(nested);
    EXPECT_EQ(w().超级列表框1.itemCount(), 3);
    EXPECT_FALSE(folderExists(other + "/data"));

    app->store.closeAllTables();
    const std::string third = photoFolder("third", {"p.jpg", "q.jpg"});
    s.after(0, [&] { app->store.closeAllTables(); });
    EXPECT_FALSE(load(third));
    EXPECT_LT(static_cast<int>(storedPhotos(third).size()), 2);
}

}  // namespace
}  // namespace xp::test
