// Cursor moves, field reads and writes with their conversions, appends, deletion, purge and search.
#include <cmath>

#include "tests/store/store_fixture.h"

namespace xp::test {
namespace {

class RecordsTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(store.openTable(createSmall()));
    }
    void appendIds(std::initializer_list<int> ids) {
        for (int id : ids) ASSERT_TRUE(store.appendRecord({FieldValue::integer(id), txt("n" + std::to_string(id))}));
    }
};

TEST_F(RecordsTest, EmptyTable) {
    store.firstRecord();
    EXPECT_EQ(store.recordNumber(), 1);
    EXPECT_EQ(store.recordCount(), 0);
    EXPECT_EQ(store.readField("id"), FieldValue::integer(0));
    EXPECT_EQ(lastError(), -10);
    EXPECT_EQ(store.readField("note"), txt(""));
    EXPECT_EQ(lastError(), -10);
    EXPECT_FALSE(store.writeField("id", FieldValue::integer(1)));
    EXPECT_EQ(lastError(), -60);
    EXPECT_FALSE(store.deleteRecord());
    EXPECT_EQ(lastError(), -60);
    EXPECT_FALSE(store.skipRecords(1));
    EXPECT_EQ(lastError(), -26);
    EXPECT_FALSE(store.skipRecords(-1));
    EXPECT_EQ(lastError(), -25);
    EXPECT_TRUE(store.goToRecord(5));
    EXPECT_EQ(store.recordNumber(), 1);
    EXPECT_FALSE(store.findRecord([] { return true; }));
    EXPECT_EQ(lastError(), 0);
    EXPECT_TRUE(store.purgeDeleted());
    EXPECT_EQ(store.recordNumber(), 1);
    EXPECT_EQ(readBytes(store.tablePath()).size(), 332u);
}

TEST_F(RecordsTest, CursorMovesAndLimits) {
    appendIds({1, 2, 3});
    EXPECT_EQ(store.recordNumber(), 3);  // the appended record is current
    EXPECT_TRUE(store.skipRecords(1));
    EXPECT_EQ(store.recordNumber(), 4);  // past the last
    EXPECT_FALSE(store.skipRecords(1));
    EXPECT_EQ(lastError(), -26);
    EXPECT_EQ(store.recordNumber(), 4);
    EXPECT_FALSE(store.writeField("id", FieldValue::integer(9)));
    EXPECT_EQ(lastError(), -60);
    EXPECT_EQ(readBytes(store.tablePath()).size(), 332u + 96);  // nothing was written past the end
    EXPECT_TRUE(store.skipRecords(-10));
    EXPECT_EQ(store.recordNumber(), 0);  // before the first
    EXPECT_EQ(store.readField("id"), FieldValue::integer(0));
    EXPECT_EQ(lastError(), -60);
    EXPECT_FALSE(store.skipRecords(-1));
    EXPECT_EQ(lastError(), -25);
    EXPECT_TRUE(store.skipRecords(2));
    EXPECT_EQ(store.readField("id").asInt(), 2);
    EXPECT_TRUE(store.skipRecords(0));
    EXPECT_TRUE(store.goToRecord(0));
    EXPECT_EQ(store.recordNumber(), 1);
    EXPECT_TRUE(store.goToRecord(8));
    EXPECT_EQ(store.recordNumber(), 3);
    EXPECT_TRUE(store.skipRecords(100));
    EXPECT_EQ(store.recordNumber(), 4);
    store.firstRecord();
    EXPECT_EQ(store.readField("name").asText(), "n1");
}

TEST_F(RecordsTest, EachOpenTableKeepsItsOwnCursor) {
    appendIds({1, 2});
    ASSERT_TRUE(store.createTable(path("u"), {{"k", 3}}));
    ASSERT_TRUE(store.openTable(path("u")));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(40)}));
    ASSERT_TRUE(store.selectTable("t"));
    EXPECT_EQ(store.recordNumber(), 2);
    store.firstRecord();
    ASSERT_TRUE(store.selectTable("u"));
    EXPECT_EQ(store.recordNumber(), 1);
    ASSERT_TRUE(store.selectTable("t"));
    EXPECT_EQ(store.readField("id").asInt(), 1);
}

TEST_F(RecordsTest, AppendTakesFewerOrMoreValuesThanFields) {
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(1)}));
    EXPECT_EQ(store.readField("name"), txt(""));
    EXPECT_EQ(store.readField("note"), txt(""));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(2), txt("a"), txt("b"), txt("extra"), FieldValue::integer(3)}));
    EXPECT_EQ(store.readField(3), txt("b"));
    EXPECT_EQ(store.recordSerial(), 2);
    EXPECT_FALSE(store.appendRecord({FieldValue::integer(3), FieldValue::integer(4)}));
    EXPECT_EQ(lastError(), -72);
    EXPECT_EQ(store.recordCount(), 2);                         // nothing was written
    ASSERT_TRUE(store.appendRecord({FieldValue::real(3.9)}));  // numeric kinds convert
    EXPECT_EQ(store.readField("id"), FieldValue::integer(3));
    EXPECT_TRUE(store.appendRecord({}));
    EXPECT_EQ(store.recordCount(), 4);
}

TEST_F(StoreTest, EveryFieldTypeRoundTrips) {
    const std::vector<FieldDef> defs = {{"b", 1}, {"s", 2}, {"i", 3}, {"l", 4},     {"f", 5},  {"d", 6},
                                        {"o", 7}, {"t", 8}, {"c", 9}, {"x", 10, 6}, {"y", 11}, {"m", 12}};
    ASSERT_TRUE(store.createTable(path("all"), defs));
    ASSERT_TRUE(store.openTable(path("all")));
    const std::string blob("\x00\x01\xFF\x00zz", 6);
    const std::vector<FieldValue> values = {
        FieldValue::byte(250),        FieldValue::shortInt(-1234),   FieldValue::integer(-7),
        FieldValue::int64(1LL << 40), FieldValue::single(1.5f),      FieldValue::real(-2.25),
        FieldValue::boolean(true),    FieldValue::dateTime(45000.5), FieldValue::codeRef(0xDEADBEEF),
        txt("\xC4\xE3\xBA\xC3"),      FieldValue::bytes(blob),       txt(std::string(1234, 'm'))};
    ASSERT_TRUE(store.appendRecord(values)) << lastError();
    ASSERT_TRUE(store.appendRecord({}));
    for (size_t k = 0; k < defs.size(); ++k) {
        store.firstRecord();
        EXPECT_EQ(store.readField(defs[k].name), values[k]) << defs[k].name;
        EXPECT_EQ(store.readField(static_cast<int>(k + 1)), values[k]) << defs[k].name;
        ASSERT_TRUE(store.skipRecords(1));
        const FieldValue empty = store.readField(defs[k].name);
        EXPECT_EQ(empty.kind(), values[k].kind()) << defs[k].name;
        EXPECT_TRUE(empty.isEmpty()) << defs[k].name;
    }
    // Writing them one by one gives the same record.
    for (size_t k = 0; k < defs.size(); ++k) ASSERT_TRUE(store.writeField(defs[k].name, values[k])) << defs[k].name;
    for (size_t k = 0; k < defs.size(); ++k) EXPECT_EQ(store.readField(defs[k].name), values[k]) << defs[k].name;
    // Bool reads any non-zero byte as true; the memo keeps bytes after a NUL only for byte-sets.
    ASSERT_TRUE(store.writeField("m", txt(std::string("ab\0cd", 5))));
    EXPECT_EQ(store.readField("m"), txt("ab"));
}

TEST_F(StoreTest, WriteChecksKindsAndConvertsNumbers) {
    ASSERT_TRUE(store.createTable(
        path("k"), {{"i", 3}, {"d", 6}, {"t", 10, 5}, {"b", 1}, {"s", 2}, {"f", 5}, {"o", 7}, {"dt", 8}, {"y", 11}}));
    ASSERT_TRUE(store.openTable(path("k")));
    ASSERT_TRUE(store.appendRecord({}));
    struct Case {
        const char* field;
        FieldValue value;
        bool ok;
        FieldValue stored;
    } cases[] = {
        {"d", FieldValue::integer(3), true, FieldValue::real(3.0)},
        {"i", txt("12"), false, {}},
        {"t", FieldValue::boolean(true), false, {}},
        {"t", FieldValue::integer(1), false, {}},
        {"i", FieldValue::real(-2.9), true, FieldValue::integer(-2)},
        {"i", FieldValue::int64(0x100000005LL), true, FieldValue::integer(5)},
        {"b", FieldValue::integer(-1), true, FieldValue::byte(255)},
        {"s", FieldValue::integer(70000), true, FieldValue::shortInt(4464)},
        {"i", FieldValue::byte(200), true, FieldValue::integer(200)},
        {"i", FieldValue::shortInt(-3), true, FieldValue::integer(-3)},
        {"f", FieldValue::real(0.1), true, FieldValue::single(0.1f)},
        {"i", FieldValue::real(1e20), true, FieldValue::integer(1661992960)},  // low 32 bits of 1e20
        {"i", FieldValue::real(NAN), true, FieldValue::integer(0)},
        {"o", FieldValue::integer(1), false, {}},
        {"dt", FieldValue::real(2.0), false, {}},
        {"d", FieldValue::dateTime(2.0), false, {}},
        {"i", FieldValue::codeRef(5), false, {}},
        {"y", txt("x"), false, {}},
        {"t", FieldValue::bytes("x"), false, {}},
    };
    for (const Case& c : cases) {
        const FieldValue before = store.readField(c.field);
        EXPECT_EQ(store.writeField(c.field, c.value), c.ok) << c.field << " " << c.value.toText();
        EXPECT_EQ(lastError(), c.ok ? 0 : -72);
        EXPECT_EQ(store.readField(c.field), c.ok ? c.stored : before) << c.field;
    }
}

TEST_F(StoreTest, DateTimeReadsAreClamped) {
    ASSERT_TRUE(store.createTable(path("d"), {{"t", 8}}));
    ASSERT_TRUE(store.openTable(path("d")));
    for (double v : {3e6, -7e5, 100.25}) ASSERT_TRUE(store.appendRecord({FieldValue::dateTime(v)}));
    store.firstRecord();
    EXPECT_EQ(store.readField("t").asDateTime(), 2958465.0);
    store.skipRecords();
    EXPECT_EQ(store.readField("t").asDateTime(), -657434.0);
    store.skipRecords();
    EXPECT_EQ(store.readField("t").asDateTime(), 100.25);
}

TEST_F(RecordsTest, DeletedRecordsStayVisibleUntilPurged) {
    appendIds({1, 2, 3, 4});
    ASSERT_TRUE(store.goToRecord(2));
    ASSERT_TRUE(store.deleteRecord());
    ASSERT_TRUE(store.deleteRecord());  // already deleted: still true
    EXPECT_EQ(store.recordSerial(), -2);
    EXPECT_EQ(store.recordCount(), 4);
    EXPECT_EQ(store.readField("id").asInt(), 2);
    EXPECT_EQ(store.recordNumber(), 2);
    store.firstRecord();
    EXPECT_TRUE(store.findRecord([&] { return store.readField("id").asInt() == 2; }));
    EXPECT_EQ(store.recordNumber(), 2);
    ASSERT_TRUE(store.goToRecord(4));
    ASSERT_TRUE(store.purgeDeleted());
    EXPECT_EQ(store.recordNumber(), 1);
    EXPECT_EQ(store.recordCount(), 3);
    std::vector<int> ids;
    for (store.firstRecord(); store.recordNumber() <= store.recordCount(); store.skipRecords()) {
        ids.push_back(store.readField("id").asInt());
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 3, 4}));
}

TEST_F(RecordsTest, FindStartsAtTheCursorAndSeesTheRecordUnderTest) {
    appendIds({5, 6, 5, 7});
    store.firstRecord();
    std::vector<int> tested;
    auto isFive = [&] {
        tested.push_back(store.recordNumber());
        return store.readField("id").asInt() == 5;
    };
    ASSERT_TRUE(store.findRecord(isFive));
    EXPECT_EQ(store.recordNumber(), 1);
    ASSERT_TRUE(store.skipRecords());
    ASSERT_TRUE(store.findRecord(isFive));
    EXPECT_EQ(store.recordNumber(), 3);
    EXPECT_EQ(tested, (std::vector<int>{1, 2, 3}));
    ASSERT_TRUE(store.skipRecords());
    EXPECT_FALSE(store.findRecord(isFive));
    EXPECT_EQ(lastError(), 0);
    EXPECT_EQ(store.recordNumber(), 4);  // unchanged when nothing is found
    ASSERT_TRUE(store.skipRecords());
    EXPECT_FALSE(store.findRecord(isFive));  // from past the last record nothing is tested
    EXPECT_EQ(tested.size(), 4u);
    ASSERT_TRUE(store.skipRecords(-10));
    ASSERT_TRUE(store.findRecord([&] { return store.readField("id").asInt() == 7; }));  // before the first: from 0
    EXPECT_EQ(store.recordNumber(), 4);
    // Outside a condition, reads use the cursor again.
    EXPECT_EQ(store.readField("name").asText(), "n7");
}

TEST_F(RecordsTest, ConditionsMayUseOtherTablesAndNest) {
    appendIds({1, 2, 3});
    ASSERT_TRUE(store.createTable(path("other"), {{"want", 3}}));
    ASSERT_TRUE(store.openTable(path("other")));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(3)}));
    ASSERT_TRUE(store.selectTable("t"));
    store.firstRecord();
    // The condition reads the other table by name, and runs a nested search on this one.
    int nestedHits = 0;
    ASSERT_TRUE(store.findRecord([&] {
        const int want = store.readField("want", "other").asInt();
        const int here = store.readField("id").asInt();
        const int mark = store.recordNumber();
        if (store.findRecord([&] { return store.readField("id").asInt() == 3; })) ++nestedHits;
        EXPECT_EQ(store.readField("id").asInt(), here);  // the outer record under test is back
        EXPECT_EQ(store.recordNumber(), mark);
        return here == want;
    }));
    EXPECT_EQ(store.recordNumber(), 3);
    EXPECT_EQ(nestedHits, 3);
}

TEST_F(RecordsTest, DeleteWithConditionMarksMatchingLiveRecordsAndKeepsTheCursor) {
    appendIds({1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(store.goToRecord(2));
    ASSERT_TRUE(store.deleteRecord());
    ASSERT_TRUE(store.goToRecord(5));
    int evaluated = 0;
    ASSERT_TRUE(store.deleteRecord([&] {
        ++evaluated;
        return store.readField("id").asInt() % 2 == 0;
    }));
    EXPECT_EQ(evaluated, 6);  // deleted records are tested too
    EXPECT_EQ(store.recordNumber(), 5);
    std::vector<int> serials;
    for (store.firstRecord(); store.recordNumber() <= store.recordCount(); store.skipRecords()) {
        serials.push_back(store.recordSerial());
    }
    EXPECT_EQ(serials, (std::vector<int>{1, -2, 3, -4, 5, -6}));
    ASSERT_TRUE(store.purgeDeleted());
    EXPECT_EQ(store.recordCount(), 3);
}

TEST_F(StoreTest, PurgeOverManyBatchesFreesMemoChains) {
    // Records of 4000 bytes: 40 per batch, so 130 records span four batches.
    ASSERT_TRUE(store.createTable(
        path("p"),
        {{"id", 3}, {"pad", 10, 988}, {"pad2", 10, 1000}, {"pad3", 10, 1000}, {"pad4", 10, 1000}, {"m", 12}}));
    ASSERT_TRUE(store.openTable(path("p")));
    for (int k = 1; k <= 130; ++k) {
        ASSERT_TRUE(store.appendRecord({FieldValue::integer(k), txt("p" + std::to_string(k)), txt(""), txt(""), txt(""),
                                        txt(std::string(static_cast<size_t>(k % 3) * 400, 'a' + k % 26))}));
    }
    ASSERT_TRUE(store.deleteRecord(
        [&] { return store.readField("id").asInt() % 7 == 3 || store.readField("id").asInt() > 125; }));
    ASSERT_TRUE(store.purgeDeleted());
    std::vector<int> expected;
    for (int k = 1; k <= 125; ++k) {
        if (k % 7 != 3) expected.push_back(k);
    }
    ASSERT_EQ(store.recordCount(), static_cast<int>(expected.size()));
    store.firstRecord();
    for (int k : expected) {
        EXPECT_EQ(store.readField("id").asInt(), k);
        EXPECT_EQ(store.recordSerial(), k);
        EXPECT_EQ(store.readField("pad").asText(), "p" + std::to_string(k));
        EXPECT_EQ(store.readField("m").asText(), std::string(static_cast<size_t>(k % 3) * 400, 'a' + k % 26));
        store.skipRecords();
    }
    store.closeAllTables();
    EXPECT_FALSE(std::filesystem::exists(path("p.EDB.purge")));
}

}  // namespace
}  // namespace xp::test
