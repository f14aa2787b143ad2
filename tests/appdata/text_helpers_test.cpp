// The shared text rules: splitting, product lists, integer values, dates, numbers and base names.
#include "appdata/text_helpers.h"

#include <gtest/gtest.h>

#include "appdata/app_paths.h"

namespace xp {
namespace {

using Pieces = std::vector<std::string>;

TEST(TextHelpers, SplitsAtADelimiter) {
    struct Case {
        const char* text;
        const char* delimiter;
        Pieces pieces;
    };
    const Case cases[] = {
        {"", "。", {}},
        {"A。", "。", {"A"}},
        {"A。B。", "。", {"A", "B"}},
        {"A。B", "。", {"A", "B"}},
        {"A。。B。", "。", {"A", "", "B"}},
        {"。", "。", {""}},
        {"。A", "。", {"", "A"}},
        {"相册。水晶。", "。", {"相册", "水晶"}},
        {"a,b", "", {"a,b"}},
        // A separator made of several characters is matched whole only.
        {"x--y-z", "--", {"x", "y-z"}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitText(c.text, c.delimiter), c.pieces) << c.text;
    EXPECT_EQ(splitProductList("A。"), Pieces{"A"});
    EXPECT_TRUE(splitProductList("").empty());
}

TEST(TextHelpers, JoinsProductLists) {
    EXPECT_EQ(joinProductList({"A", "B"}), "A。B。");
    EXPECT_EQ(joinProductList({}), "");
    EXPECT_EQ(splitProductList(joinProductList({"入册", "放大"})), (Pieces{"入册", "放大"}));
}

TEST(TextHelpers, IntegerValueOfATypedText) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"12", 12},
        {"12张", 12},
        {"  7", 7},
        {"-3", -3},
        {"+4", 4},
        {"3.9", 3},
        {"0012", 12},
        {"-", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"2147483648", 2147483647},
    };
    for (const Case& c : cases) EXPECT_EQ(textToInt(c.text), c.value) << c.text;
}

TEST(TextHelpers, DatesWithoutLeadingZeros) {
    EXPECT_EQ(dateText(2015, 10, 5), "2015-10-5");
    EXPECT_EQ(dateText(2024, 1, 31), "2024-1-31");
    std::string today = todayText();
    std::string prefix = currentMonthPrefix();
    EXPECT_EQ(today.rfind(prefix, 0), 0u) << today << " " << prefix;
    EXPECT_EQ(splitText(today, "-").size(), 3u);
    EXPECT_NE(today.find('-'), 0u);
}

TEST(TextHelpers, NumbersAsText) {
    EXPECT_EQ(numberText(-42), "-42");
    EXPECT_EQ(valueText(FieldValue::integer(7)), "7");
    EXPECT_EQ(valueText(FieldValue::real(0.1)), "0.1");
    EXPECT_EQ(valueText(FieldValue::single(1.5f)), "1.5");
    EXPECT_EQ(valueText(FieldValue::boolean(true)), "真");
    EXPECT_EQ(valueText(FieldValue::boolean(false)), "假");
    EXPECT_EQ(valueText(FieldValue::dateTime(dateTimeFromParts(2015, 10, 5, 9, 30))), "2015年10月5日9时30分");
    EXPECT_EQ(valueText(FieldValue::text("\xB6\xA9\xB5\xA5")), "订单");
}

TEST(TextHelpers, PhotoBaseNameStopsAtTheFirstDot) {
    EXPECT_EQ(photoBaseName("a.b.jpg"), "a");
    EXPECT_EQ(photoBaseName("IMG_01.JPG"), "IMG_01");
    EXPECT_EQ(photoBaseName("/sel/照片.1.jpg"), "照片");
    EXPECT_EQ(photoBaseName("noext"), "noext");
    EXPECT_EQ(photoBaseName(".hidden.jpg"), "");
}

TEST(AppPaths, EveryPathFollowsTheProgramFolder) {
    AppPaths p = AppPaths::compute("/opt/studio/", "/photos/order 1");
    EXPECT_EQ(p.programFolder, "/opt/studio");
    EXPECT_EQ(p.orderTable, "/opt/studio/data/xpsjk");
    EXPECT_EQ(p.userTable, "/opt/studio/data/yhm");
    EXPECT_EQ(p.productTable, "/opt/studio/data/cpdata");
    EXPECT_EQ(p.categoryTable, "/opt/studio/data/cplbsjk");
    EXPECT_EQ(p.sampleFolder, "/opt/studio/样照欣赏");
    EXPECT_EQ(p.designBoardFolder, "/opt/studio/设计看版");
    EXPECT_EQ(p.logoSettings, "/opt/studio/logo.ini");
    EXPECT_EQ(p.storeSettings, "/opt/studio/data/xtsz");
    EXPECT_EQ(p.warmTips, "/opt/studio/data/wxts");
    EXPECT_EQ(p.sampleSetting, "/opt/studio/yzljsz");
    EXPECT_EQ(p.requirementPresets, "/opt/studio/data/xpyq.ini");
    EXPECT_EQ(p.photoTable, "/photos/order 1/data/xpdata");

    p.setSelectionFolder("/photos/order 2/");
    EXPECT_EQ(p.photoTable, "/photos/order 2/data/xpdata");
    p.setSelectionFolder("");
    EXPECT_EQ(p.photoTable, "");  // no order open: no photo table, rather than one under "/"
    EXPECT_EQ(AppPaths::compute("/").orderTable, "/data/xpsjk");
}

}  // namespace
}  // namespace xp
