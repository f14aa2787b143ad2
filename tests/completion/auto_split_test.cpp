// Auto-split as the selector runs it from the main window: the checks, the product folders and copies,
// the two GBK reports byte for byte, repeated runs, names that cannot be folders and failed copies.
#include <gtest/gtest.h>

#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"
#include "completion/auto_split.h"
#include "platform/file_system.h"
#include "tests/completion/completion_fixture.h"

namespace xp::test {
namespace {

namespace of = order_fields;
using ui::MessageButtons;
using ui::MessageIcon;
using ui::MessageResult;

const std::string kFooter = "\r\n\r\n\r\n\r\n此报表由Zelvano影楼选片系统生成！官网：https://www.example.com/";

class AutoSplitTest : public CompletionTest {
protected:
    std::string out() { return folder_ + "/以选"; }
    // Runs auto-split from the main window, answering the closing question.
    void split(const std::string& question = "分片完成！是否打开顾客选片文件夹", int answer = MessageResult::No) {
        s.expectMessage(question)
            .title("提示信息")
            .icon(MessageIcon::Question)
            .buttons(MessageButtons::YesNo)
            .answer(answer);
        EXPECT_TRUE(w().超级按钮_自动分片.click());
        EXPECT_TRUE(w().超级按钮_自动分片.isEnabled());
        EXPECT_FALSE(w().外形框_分片.isVisible());
        EXPECT_EQ(w().进度条1.position(), 0);
    }
    std::string bytes(const std::string& path) { return readFile(path).value_or("<missing>"); }
    std::string source(const std::string& file) { return bytes(folder_ + "/" + file); }
};

TEST_F(AutoSplitTest, CopiesEachPhotoIntoItsProductsAndWritesBothReportsInGbk) {
    openOrder({"A.jpg", "B.jpg", "IMG_01.JPG"}, "相册。放大。", "2", {{of::kRequirements, "A（瘦脸）\r\n整体提亮"}});
    pick(1, "入册。相册。");
    pick(2, "入册。");
    ASSERT_TRUE(writeSaveMarker(folder_));
    split("分片完成！是否打开顾客选片文件夹", MessageResult::Yes);

    EXPECT_EQ(listFolders(out()), (std::vector<std::string>{"入册", "相册"})) << "no folder for 放大";
    EXPECT_EQ(listFiles(out() + "/入册"), (std::vector<std::string>{"A.jpg", "B.jpg"}));
    EXPECT_EQ(listFiles(out() + "/相册"), std::vector<std::string>{"A.jpg"});
    EXPECT_EQ(bytes(out() + "/入册/A.jpg"), source("A.jpg"));
    EXPECT_EQ(bytes(out() + "/相册/A.jpg"), source("A.jpg"));
    EXPECT_EQ(bytes(out() + "/入册/B.jpg"), source("B.jpg"));

    EXPECT_EQ(bytes(out() + "/选片报表.txt"),
              toGbk("入册： 2 张__文件名：A，B，\r\n\r\n相册： 1 张__文件名：A，\r\n\r\n放大： 0 张__文件名：\r\n\r\n" +
                    kFooter));
    EXPECT_EQ(bytes(out() + "/制作要求.txt"), toGbk("A（瘦脸）\r\n整体提亮" + kFooter));
    EXPECT_EQ(orderField(of::kState), "OK");
    EXPECT_EQ(w().组合框2.items(), (std::vector<std::string>{"入册", "相册", "放大"}));
    ASSERT_EQ(s.launches().size(), 1u);
    EXPECT_EQ(s.launches()[0].target, folder_) << "the selection folder itself, not 以选";
    EXPECT_EQ(app->store.tableName(), kPhotoTableName);
}

TEST_F(AutoSplitTest, AnUpperCaseExtensionIsCopiedAsLowerCaseJpg) {
    openOrder({"IMG_01.JPG"}, "", "1");
    pick(1, "入册。");
    ASSERT_TRUE(writeSaveMarker(folder_));
    split();
    EXPECT_EQ(listFiles(out() + "/入册"), std::vector<std::string>{"IMG_01.jpg"});
    EXPECT_EQ(bytes(out() + "/入册/IMG_01.jpg"), source("IMG_01.JPG"));
}

TEST_F(AutoSplitTest, ASecondRunOverwritesCopiesAndReportsAndKeepsCopiesOfDeselectedPhotos) {
    openOrder({"A.jpg", "B.jpg", "C.jpg"}, "放大。", "1");
    pick(1, "入册。");
    pick(2, "入册。");
    ASSERT_TRUE(writeSaveMarker(folder_));
    split();
    ASSERT_TRUE(writeFile(out() + "/入册/A.jpg", "stale"));

    pick(2, "");
    pick(3, "放大。");
    split();
    EXPECT_EQ(bytes(out() + "/入册/A.jpg"), source("A.jpg"));
    EXPECT_EQ(listFiles(out() + "/入册"), (std::vector<std::string>{"A.jpg", "B.jpg"})) << "B's copy stays";
    EXPECT_EQ(listFiles(out() + "/放大"), std::vector<std::string>{"C.jpg"});
    EXPECT_EQ(bytes(out() + "/选片报表.txt"),
              toGbk("入册： 1 张__文件名：A，\r\n\r\n放大： 1 张__文件名：C，\r\n\r\n" + kFooter));
}

TEST_F(AutoSplitTest, RefusesWithoutAnOpenOrderOrASavedSelection) {
    w();
    expectInfo("请先打开客户选片数据后在自动分片");
    w().超级按钮_自动分片.click();

    openOrder({"A.jpg"}, "", "1");
    pick(1, "入册。");
    for (const char* marker : {"", "10", "100\r\n"}) {
        SCOPED_TRACE(marker);
        if (*marker) {
            ASSERT_TRUE(writeFile(saveMarkerFile(folder_), marker));
        }
        expectInfo("您还没有保存选片数据！请先保存然后在选择自动分片！");
        w().超级按钮_自动分片.click();
    }
    EXPECT_FALSE(folderExists(out()));
    EXPECT_EQ(orderField(of::kState), kStateNotSelected);
}

TEST_F(AutoSplitTest, EmptyRequirementsGiveAReportOfTheFooterAlone) {
    openOrder({"A.jpg"}, "", "1");
    pick(1, "入册。");
    ASSERT_TRUE(writeSaveMarker(folder_));
    split();
    EXPECT_EQ(bytes(out() + "/制作要求.txt"), toGbk(kFooter));
}

TEST_F(AutoSplitTest, ProductNamesThatCannotBeFoldersAreListedButNeverUsedAsPaths) {
    openOrder({"A.jpg", "B.jpg", "C.jpg"}, "../外面。a/b。..。", "1");
    pick(1, "../外面。入册。");
    pick(2, "a/b。");
    pick(3, "..。");
    ASSERT_TRUE(writeSaveMarker(folder_));
    split(
        "分片完成，但有 3 "
        "张照片没有复制成功：A（../外面）、B（a/b）、C（..）。\r\n请检查照片文件和磁盘空间。是否打开顾客选片文件夹");

    EXPECT_EQ(listFolders(out()), std::vector<std::string>{"入册"});
    EXPECT_EQ(listFolders(folder_), (std::vector<std::string>{"data", "以选"})) << "nothing written beside 以选";
    EXPECT_FALSE(pathExists(temp / "外面"));
    EXPECT_EQ(bytes(out() + "/选片报表.txt"),
              toGbk("入册： 1 张__文件名：A，\r\n\r\n../外面： 1 张__文件名：A，\r\n\r\na/b： 1 张__文件名：B，\r\n\r\n"
                    "..： 1 张__文件名：C，\r\n\r\n" +
                    kFooter));
}

TEST_F(AutoSplitTest, AFailedCopyIsCountedListedAndNamedInTheClosingQuestion) {
    openOrder({"A.jpg", "B.jpg"}, "", "0");
    pick(1, "入册。");
    pick(2, "入册。");
    ASSERT_TRUE(removeFile(folder_ + "/B.jpg"));
    ASSERT_TRUE(writeSaveMarker(folder_));
    split("分片完成，但有 1 张照片没有复制成功：B（入册）。\r\n请检查照片文件和磁盘空间。是否打开顾客选片文件夹");
    EXPECT_EQ(listFiles(out() + "/入册"), std::vector<std::string>{"A.jpg"});
    EXPECT_EQ(bytes(out() + "/选片报表.txt"), toGbk("入册： 2 张__文件名：A，B，\r\n\r\n" + kFooter));
}

TEST_F(AutoSplitTest, ThePanelShowsEachProductAndTheBarCountsEveryCopy) {
    const std::vector<PhotoRow> rows = {{"A", "入册。相册。", "", "/nonexistent/A.jpg"}, {"B", "相册。", "", ""}};
    TempDir dir;
    std::vector<std::string> seen;
    int steps = 0;
    SplitProgress progress{[&](const std::string& p) { seen.push_back(p); }, [&] { ++steps; }};
    const SplitOutcome outcome = splitPhotos(dir.path(), {"入册", "相册", "放大"}, rows, "", progress);
    EXPECT_EQ(seen, (std::vector<std::string>{"入册", "相册", "放大"}));
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(outcome.copied, 0);
    EXPECT_EQ(outcome.notCopied.size(), 3u);
    EXPECT_TRUE(outcome.reportsWritten) << "the reports say what was chosen even when nothing was copied";
}

}  // namespace
}  // namespace xp::test
