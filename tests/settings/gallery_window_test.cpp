// The gallery window as the user walks it in the headless backend: opening either gallery from the main
// window, the album chooser, filling an album, collapsing again, the double click, and the other left
// buttons that close the window.
#include <gtest/gtest.h>

#include <filesystem>

#include "resources/builtin_pictures.h"
#include "tests/settings/gallery_fixture.h"

namespace xp::test {
namespace {

std::vector<std::uint8_t> builtin(std::string_view name) {
    std::string_view bytes = builtinPicture(name);
    return {bytes.begin(), bytes.end()};
}

// A 1366 × 768 screen: the main window is 1366 × 728 and its content area starts at 184, 83.
constexpr int kWidth = 1366 - 184;
constexpr int kMainHeight = 728;

TEST_F(GalleryTest, EitherGalleryOpensCollapsedWithItsAlbumsTitleAndExitButton) {
    album(app->paths.sampleFolder, "婚纱", {"a.jpg"});
    album(app->paths.sampleFolder, "Baby", {"a.jpg"});
    album(app->paths.sampleFolder, "aLbum", {});
    testing::writeFile(app->paths.sampleFolder + "/not_an_album.jpg", testing::jpeg(testing::solid(8, 8, {})));
    album(app->paths.designBoardFolder, "相册版式", {"a.jpg"});

    struct Case {
        ui::PictureButton MainWindow::*button;
        std::vector<std::string> items;
        std::string_view title;
        bool samplesExit;
    };
    const Case cases[] = {
        {&MainWindow::按钮_样照欣赏, {"点我选择", "aLbum", "Baby", "婚纱"}, pictures::galleryTitleSamples, true},
        {&MainWindow::按钮_设计看版, {"点我选择", "相册版式"}, pictures::galleryTitleDesigns, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.items.back());
        GalleryWindow& g = open(w().*c.button);
        EXPECT_FALSE((w().*c.button).isEnabled());
        EXPECT_EQ(g.parentWindow(), &w());
        EXPECT_EQ(g.bounds(), (ui::Rect{184, 83, kWidth, 50}));
        EXPECT_EQ(g.外形框1.width(), kWidth);
        EXPECT_EQ(g.图片框1.left(), (kWidth - 300) / 2);
        EXPECT_EQ(g.图片框1.picture(), builtin(c.title));
        EXPECT_EQ(g.组合框1.items(), c.items);
        EXPECT_EQ(g.组合框1.selected(), 0);
        EXPECT_EQ(g.退出_样照欣赏.isVisible(), c.samplesExit);
        EXPECT_EQ(g.退出_设计看版.isVisible(), !c.samplesExit);
        EXPECT_EQ(g.exitButton().left(), kWidth - 80 - 30);
        EXPECT_FALSE(g.超级列表框1.isVisible());
    }
}

TEST_F(GalleryTest, AMissingRootFolderGivesOnlyTheChooseEntry) {
    std::filesystem::remove_all(app->paths.sampleFolder);
    GalleryWindow& g = openSamples();
    EXPECT_EQ(g.组合框1.items(), std::vector<std::string>{"点我选择"});
}

TEST_F(GalleryTest, AnAlbumFillsWithTilesAndPathsWhileTheChooserWaitsThenChooseEmptiesAndCollapses) {
    const std::string folder = samples("婚纱", {"B.jpg", "a.JPG", "c.jpg"});
    testing::writeFile(folder + "/notes.txt", {'x'});
    std::filesystem::create_directories(folder + "/sub.jpg");
    GalleryWindow& g = openSamples();

    // During the wait before the fill: the loading panel shows, chooser and exit wait, the window is its
    // header only.
    bool looked = false;
    s.after(10, [&] {
        looked = true;
        EXPECT_TRUE(w().外形框_加载.isVisible());
        EXPECT_FALSE(g.组合框1.isEnabled());
        EXPECT_FALSE(g.退出_样照欣赏.isEnabled());
        EXPECT_FALSE(g.退出_样照欣赏.click());
        EXPECT_EQ(g.height(), 50);
        EXPECT_FALSE(g.超级列表框1.isVisible());
    });
    choose(g, "婚纱");
    EXPECT_TRUE(looked);

    EXPECT_EQ(captions(g), (std::vector<std::string>{"a.JPG", "B.jpg", "c.jpg"}));
    EXPECT_EQ(g.列表框1.items(), (std::vector<std::string>{folder + "/a.JPG", folder + "/B.jpg", folder + "/c.jpg"}));
    const auto tiles = g.超级列表框1.imageList();
    ASSERT_NE(tiles, nullptr);
    ASSERT_EQ(tiles->size(), 3);
    // Each item shows its own picture's tile: a.JPG was drawn green, B.jpg red, c.jpg blue.
    const testing::Rgb colours[] = {testing::kGreen, testing::kRed, testing::kBlue};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(testing::near(tileCentre(*tiles, g.超级列表框1.image(i)), colours[i], 40)) << i;
    EXPECT_EQ(w().标签4.caption(), "正在加载图片请稍候（3）");
    EXPECT_FALSE(w().外形框_加载.isVisible());
    EXPECT_TRUE(g.组合框1.isEnabled());
    EXPECT_TRUE(g.退出_样照欣赏.isEnabled());
    EXPECT_TRUE(g.超级列表框1.isVisible());
    EXPECT_EQ(g.height(), kMainHeight - 55);
    // The list ends at the main window's bottom edge, its tiles all within reach.
    EXPECT_EQ(g.超级列表框1.bounds(), (ui::Rect{0, 48, kWidth, kMainHeight - 83 - 48}));

    choose(g, "点我选择");
    EXPECT_EQ(g.超级列表框1.itemCount(), 0);
    EXPECT_EQ(g.列表框1.itemCount(), 0);
    EXPECT_FALSE(g.超级列表框1.isVisible());
    EXPECT_EQ(g.height(), 50);
}

TEST_F(GalleryTest, AnAlbumWithoutJpegsShowsAnEmptyList) {
    const std::string folder = samples("空", {});
    testing::writeFile(folder + "/readme.txt", {'x'});
    GalleryWindow& g = openSamples();
    choose(g, "空");
    EXPECT_TRUE(g.超级列表框1.isVisible());
    EXPECT_EQ(g.超级列表框1.itemCount(), 0);
    EXPECT_EQ(g.height(), kMainHeight - 55);
}

TEST_F(GalleryTest, ANameThatIsNotUtf8IsListedWithReplacementCharactersAndStillOpens) {
    const std::string folder = samples("bad\xFF", {"\xBB\xE9.jpg", "ok.jpg"});
    GalleryWindow& g = openSamples();
    choose(g, "bad\xEF\xBF\xBD");
    EXPECT_EQ(captions(g), (std::vector<std::string>{"ok.jpg", "\xEF\xBF\xBD\xEF\xBF\xBD.jpg"}));
    EXPECT_EQ(g.列表框1.item(1), folder + "/\xBB\xE9.jpg");
    // The tile and the full-screen picture come from the file as it is named on disk.
    EXPECT_TRUE(testing::near(tileCentre(*g.超级列表框1.imageList(), g.超级列表框1.image(1)), testing::kRed, 40));
    bool shown = false;
    inViewer(g, 1, [&](GalleryViewer& v) { shown = v.图片框2.hasPicture(); });
    EXPECT_TRUE(shown);
}

TEST_F(GalleryTest, ADoubleClickOpensTheViewerOnThePictureAndOnTheEmptyAreaDoesNothing) {
    samples("婚纱", {"a.jpg", "b.jpg"});
    GalleryWindow& g = openSamples();
    choose(g, "婚纱");

    ASSERT_TRUE(g.超级列表框1.doubleClick(-1));
    EXPECT_TRUE(s.modals().empty());

    int index = -1;
    inViewer(g, 1, [&](GalleryViewer& v) {
        index = app->photoIndex;
        EXPECT_EQ(v.picturePath(), g.列表框1.item(1));
    });
    EXPECT_EQ(index, 1);
    EXPECT_EQ(s.modals().size(), 1u);
}

TEST_F(GalleryTest, TheOtherGalleryButtonReplacesTheWindowAndTheExitButtonsGiveTheirButtonBack) {
    GalleryWindow& first = openSamples();
    GalleryWindow& second = open(w().按钮_设计看版);
    EXPECT_FALSE(first.isOpen());
    EXPECT_TRUE(second.isOpen());
    EXPECT_EQ(second.mode(), kGalleryDesignBoards);
    EXPECT_TRUE(w().按钮_样照欣赏.isEnabled());
    EXPECT_FALSE(w().按钮_设计看版.isEnabled());

    ASSERT_TRUE(second.退出_设计看版.click());
    EXPECT_FALSE(second.isOpen());
    EXPECT_FALSE(w().galleryWindowOpen());
    EXPECT_TRUE(w().按钮_设计看版.isEnabled());

    GalleryWindow& third = openSamples();
    ASSERT_TRUE(third.退出_样照欣赏.click());
    EXPECT_TRUE(w().按钮_样照欣赏.isEnabled());
}

TEST_F(GalleryTest, TheOtherLeftButtonsCloseTheGalleryWindow) {
    const struct {
        ui::PictureButton MainWindow::*button;
        const char* message;
    } cases[] = {
        {&MainWindow::按钮_导入选片数据, nullptr},
        {&MainWindow::按钮_数据管理, nullptr},
        {&MainWindow::按钮_顾客资料, "请先打开数据管理并选择客户订单编号后在选择此项！"},
    };
    for (const auto& c : cases) {
        GalleryWindow& g = openSamples();
        if (c.message) expectInfo(c.message);
        ASSERT_TRUE((w().*c.button).click());
        EXPECT_FALSE(g.isOpen());
        EXPECT_FALSE(w().galleryWindowOpen());
        EXPECT_TRUE(w().按钮_样照欣赏.isEnabled());
        w().外形框_数据管理.hide();
    }
}

TEST_F(GalleryTest, ALeftButtonUsedWhileAnAlbumLoadsClosesTheWindowAndTakesTheLoadingPanelAway) {
    samples("婚纱", {"a.jpg", "b.jpg"});
    GalleryWindow& g = openSamples();
    s.after(10, [&] { EXPECT_TRUE(w().按钮_数据管理.click()); });
    choose(g, "婚纱");
    EXPECT_FALSE(g.isOpen());
    EXPECT_FALSE(w().外形框_加载.isVisible());
    EXPECT_TRUE(w().外形框_数据管理.isVisible());
    EXPECT_EQ(g.超级列表框1.itemCount(), 0);
}

}  // namespace
}  // namespace xp::test
