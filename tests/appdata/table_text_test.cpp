// UTF-8 field access over the byte-exact store, and the table layouts.
#include "appdata/table_text.h"

#include <gtest/gtest.h>

#include "appdata/table_schema.h"
#include "appdata/text_codec.h"
#include "tests/support/temp_dir.h"

namespace xp {
namespace {

using test::TempDir;

class TableText : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<FieldDef> fields{{toGbk("订单编号"), static_cast<int>(FieldType::Text), 5},
                                     {toGbk("制作要求"), static_cast<int>(FieldType::Memo), 0},
                                     {toGbk("记录号"), static_cast<int>(FieldType::Int), 0}};
        ASSERT_TRUE(store.createTable(table, fields));
        ASSERT_TRUE(store.openTable(table));
    }
    TempDir dir;
    std::string table = dir / "t";
    RecordStore store;
};

TEST_F(TableText, WritesGbkAndReadsUtf8) {
    ASSERT_TRUE(store.appendRecord({textValue("单1"), textValue("精修（a）\r\n"), FieldValue::integer(3)}));
    EXPECT_EQ(store.readField(FieldRef(toGbk("订单编号"))).asText(),
              "\xB5\xA5"
              "1");
    EXPECT_EQ(readText(store, "订单编号"), "单1");
    EXPECT_EQ(readText(store, "制作要求"), "精修（a）\r\n");
    EXPECT_EQ(readText(store, "记录号"), "3");
    EXPECT_EQ(readInt(store, "记录号"), 3);

    ASSERT_TRUE(writeText(store, "制作要求", "调色"));
    ASSERT_TRUE(writeText(store, "订单编号", "42", "t"));
    EXPECT_EQ(readText(store, "制作要求"), "调色");
    EXPECT_EQ(readInt(store, "订单编号"), 42);
    EXPECT_FALSE(writeText(store, "记录号", "5"));  // a text never goes into a number field
    EXPECT_EQ(readInt(store, "记录号"), 3);
}

TEST_F(TableText, CharacterCutAtTheEndOfAFieldBecomesReplacement) {
    // Five bytes hold "订单" and the first byte of "号": the cut character must not break the text.
    ASSERT_TRUE(appendTextRow(store, {"订单号码"}));
    EXPECT_EQ(readText(store, "订单编号"), "订单\xEF\xBF\xBD");
}

TEST(TableSchema, LayoutsOfTheTables) {
    TempDir dir;
    RecordStore store;
    for (AppTable t : {AppTable::Orders, AppTable::Users, AppTable::Products, AppTable::Categories}) {
        std::string path = dir / ("t" + std::to_string(static_cast<int>(t)));
        ASSERT_TRUE(store.createTable(path, tableFields(t)));
        ASSERT_TRUE(store.openTable(path));
        EXPECT_EQ(schemaProblem(store, t), "");
        store.closeAllTables();
    }
    std::vector<FieldDef> orders = tableFields(AppTable::Orders);
    ASSERT_EQ(orders.size(), 15u);
    EXPECT_EQ(fromGbk(orders[0].name), "订单编号");
    EXPECT_EQ(orders[14].type, static_cast<int>(FieldType::Memo));  // 制作要求 holds every retouch request
    EXPECT_EQ(fromGbk(orders[9].name), "选片目录");
    EXPECT_EQ(orders[9].length, 1024);

    // A user table whose fields stand the other way round is not usable: rows are appended in field order.
    std::string swapped = dir / "swapped";
    ASSERT_TRUE(store.createTable(swapped, {{toGbk("密码"), static_cast<int>(FieldType::Text), 20},
                                            {toGbk("用户名"), static_cast<int>(FieldType::Text), 20}}));
    ASSERT_TRUE(store.openTable(swapped));
    EXPECT_EQ(schemaProblem(store, AppTable::Users), "field \"用户名\" is not field 1");
    EXPECT_EQ(schemaProblem(store, AppTable::Categories), "has no field \"产品类别\"");
}

TEST(TableSchema, PhotoTableRequestMakesSixFields) {
    TempDir dir;
    RecordStore store;
    std::vector<FieldDef> request = photoTableCreationRequest();
    ASSERT_EQ(request.size(), 20u);
    ASSERT_TRUE(store.createTable(dir / "xpdata.edb", request));
    ASSERT_TRUE(store.openTable(dir / "xpdata"));  // opened as xpdata, the store adds .EDB
    std::vector<FieldDef> fields = store.tableFields();
    ASSERT_EQ(fields.size(), 6u);
    const char* names[] = {"文件名", "产品名称", "修改要求", "文件路径", "记录号", "文件长度"};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(fromGbk(fields[i].name), names[i]);
    EXPECT_EQ(fields[4].type, static_cast<int>(FieldType::Int));
    EXPECT_EQ(fields[0].type, static_cast<int>(FieldType::Memo));
}

}  // namespace
}  // namespace xp
