// A table opened around a handler is given back on the way out, whatever else is open.
#include "appdata/table_scope.h"

#include <gtest/gtest.h>

#include "appdata/app_paths.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "tests/support/temp_dir.h"

namespace xp {
namespace {

using test::TempDir;

class TableScopeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<FieldDef> fields{{toGbk("名称"), static_cast<int>(FieldType::Text), 8}};
        for (const std::string& t : {users, photos}) {
            ASSERT_TRUE(store.createTable(t, fields));
            ASSERT_TRUE(store.openTable(t));
            ASSERT_TRUE(store.setTablePassword(kTablePassword));
            store.closeAllTables();
        }
    }
    TempDir dir;
    std::string users = dir / "yhm";
    std::string photos = dir / kPhotoTableName;
    RecordStore store;
};

TEST_F(TableScopeTest, ThePhotoTableIsCurrentAgainAfterTheHandler) {
    ASSERT_TRUE(openAppTable(store, photos));
    {
        TableScope scope(store, users);
        ASSERT_TRUE(scope.opened());
        EXPECT_EQ(scope.name(), "yhm");
        EXPECT_EQ(store.tableName(), "yhm");
    }
    EXPECT_EQ(store.tableName(), kPhotoTableName);
    EXPECT_FALSE(store.selectTable("yhm"));
}

TEST_F(TableScopeTest, WithNoOrderOpenEveryTableIsClosed) {
    {
        TableScope scope(store, users);
        ASSERT_TRUE(scope);
    }
    EXPECT_FALSE(store.selectTable("yhm"));
    EXPECT_EQ(store.tableName(), "");
}

TEST_F(TableScopeTest, CloseAllClosesThePhotoTableToo) {
    ASSERT_TRUE(openAppTable(store, photos));
    { TableScope scope(store, users, TableScope::OnExit::CloseAll); }
    EXPECT_FALSE(store.selectTable(kPhotoTableName));
}

TEST_F(TableScopeTest, ATableThatDidNotOpenLeavesTheStoreAsItWas) {
    ASSERT_TRUE(openAppTable(store, photos));
    {
        TableScope scope(store, dir / "missing", TableScope::OnExit::CloseAll);
        EXPECT_FALSE(scope.opened());
    }
    EXPECT_EQ(store.tableName(), kPhotoTableName);
}

}  // namespace
}  // namespace xp
