// Table-level behaviour: creating with its checks, opening with its errors and names, the table list,
// passwords, error texts and the fatal errors.
#include "store/file_system.h"
#include "store/table_recovery.h"
#include "tests/store/child_process.h"
#include "tests/store/store_fixture.h"

namespace xp::test {
namespace {

using TablesTest = StoreTest;

TEST_F(TablesTest, CreateChecksEveryDefinitionBeforeTouchingFiles) {
    struct Case {
        std::vector<FieldDef> defs;
        int error;
    } cases[] = {
        {{{"abcdefghijklmnop", 3}}, 0},
        {{{"abcdefghijklmnopq", 3}}, -18},
        {{{"t", 10, 1024}}, 0},
        {{{"t", 10, 1025}}, -19},
        {{{"t", 10, 0}}, -19},
        {{{"Name", 3}, {"NAME", 6}}, -20},
        {{{"a", 3}, {"", 3}, {"bad name", 3}}, 0},  // the empty name ends the list
        {{{"", 3}}, -16},
        {{}, -16},
        {{{"a", 13}}, -17},
        {{{"a", 0}}, -17},
        {{{"1a", 3}}, -18},
        {{{"_a1", 3}}, 0},
        {{{"a-b", 3}}, -18},
        {{{"\xD0\xD5\xC3\xFB", 10, 8}}, 0},  // 姓名
        {{{"\xA3\xB1"
           "a",
           3}},
         -18},                            // a full-width digit cannot come first
        {{{"a\xA3\xB1\xA3\xC1", 3}}, 0},  // full-width digit and letter later
        {{{"a\xA1\xA3", 3}}, -18},        // full-width punctuation
        {{{"ok", 3}, {"x", 99}, {"y", 10, 2000}}, -17},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string p = path("c" + std::to_string(n++));
        EXPECT_EQ(store.createTable(p, c.defs), c.error == 0) << p;
        EXPECT_EQ(lastError(), c.error) << p;
        EXPECT_EQ(std::filesystem::exists(p + ".EDB"), c.error == 0) << p;
    }
    EXPECT_TRUE(store.openTable(path("c6")));
    EXPECT_EQ(store.tableFields().size(), 1u);
    EXPECT_FALSE(store.createTable("", {{"a", 3}}));
    EXPECT_EQ(lastError(), -3);
    EXPECT_FALSE(store.createTable(path("missing/dir/t"), {{"a", 3}}));
    EXPECT_EQ(lastError(), -3);
}

TEST_F(TablesTest, CreateReplacesAnExistingTable) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(1)}));
    store.closeAllTables();
    ASSERT_TRUE(store.createTable(p, {{"other", 7}}));
    ASSERT_TRUE(store.openTable(p));
    EXPECT_EQ(store.recordCount(), 0);
    EXPECT_EQ(store.tableFields()[0].name, "other");
    EXPECT_FALSE(std::filesystem::exists(path("t.EDT"))) << "the old table's memo file outlived it";
}

// A table open anywhere is not replaced: creating it fails with the sharing conflict and every byte stays.
TEST_F(TablesTest, CreateRefusesATableOpenHereOrInAnotherProcess) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    for (int k = 1; k <= 3; ++k) ASSERT_TRUE(store.appendRecord({FieldValue::integer(k), txt("n"), txt("memo")}));
    const auto table = readBytes(p), memo = readBytes(path("t.EDT"));

    RecordStore other;
    EXPECT_FALSE(other.createTable(p, {{"x", 3}}));
    EXPECT_EQ(lastError(), -12) << "open in this process";
    EXPECT_FALSE(store.createTable(p, {{"x", 3}}));
    EXPECT_EQ(lastError(), -12) << "open in the same store";
    store.closeAllTables();

    ChildProcess holder([&](ChildProcess& self) {
        RecordStore s;
        if (!s.openTable(p)) return 1;
        self.send('o');
        self.receive();
        return 0;
    });
    ASSERT_EQ(holder.receive(), 'o');
    EXPECT_FALSE(store.createTable(p, {{"x", 3}}));
    EXPECT_EQ(lastError(), -12) << "open in another process";
    holder.send('q');
    EXPECT_EQ(holder.wait(), 0);

    EXPECT_EQ(readBytes(p), table);
    EXPECT_EQ(readBytes(path("t.EDT")), memo);
    ASSERT_TRUE(store.openTable(p));
    EXPECT_EQ(store.recordCount(), 3);
}

// A purge journal or password copy of an earlier table of the same name is not recovered into a new one.
TEST_F(TablesTest, CreateLeavesNothingOfAnEarlierTable) {
    for (const char* leftover : {"journal", "password copy"}) {
        const std::string p = createSmall();
        ASSERT_TRUE(store.openTable(p));
        for (int k = 1; k <= 5; ++k) ASSERT_TRUE(store.appendRecord({FieldValue::integer(k), txt("old")}));
        store.closeAllTables();
        if (std::string(leftover) == "journal") {
            // What a purge killed at its file cut leaves: the journal of the bytes it was overwriting.
            int e = 0;
            auto file = FileSystem::posix()->open(p, OpenMode::ReadWrite, e);
            ASSERT_NE(file, nullptr);
            const int64_t first = 332, length = file->size();
            PurgeJournal journal;
            ASSERT_EQ(journal.begin(*FileSystem::posix(), p, *file, first, length), 0);
            std::vector<uint8_t> records(static_cast<size_t>(length - first));
            ASSERT_EQ(file->readAt(records.data(), records.size(), first), static_cast<int64_t>(records.size()));
            ASSERT_EQ(journal.append(records.data(), records.size()), 0);
            ASSERT_EQ(file->truncate(first), 0);
        } else {
            std::filesystem::copy_file(p, p + ".pwbak");
            std::filesystem::copy_file(path("t.EDT"), path("t.EDT.pwbak"));
        }
        ASSERT_TRUE(store.createTable(p, {{"id", 3}, {"name", 10, 20}, {"note", 12}})) << leftover;
        ASSERT_TRUE(store.openTable(p)) << leftover;
        EXPECT_EQ(store.recordCount(), 0) << leftover << ": old records came back";
        store.closeAllTables();
        for (const char* name : {"t.EDB.purge", "t.EDB.pwbak", "t.EDT.pwbak"})
            EXPECT_FALSE(std::filesystem::exists(path(name))) << leftover << ": " << name;
    }
}

TEST_F(TablesTest, DefaultExtensionsAndCaseInsensitiveNames) {
    ASSERT_TRUE(store.createTable(path("a"), {{"x", 12}}));
    EXPECT_TRUE(std::filesystem::exists(path("a.EDB")));
    EXPECT_TRUE(std::filesystem::exists(path("a.EDT")));
    ASSERT_TRUE(store.createTable(path("b."), {{"x", 3}}));
    EXPECT_TRUE(std::filesystem::exists(path("b.EDB")));
    ASSERT_TRUE(store.createTable(path("c.dat"), {{"x", 12}}));
    EXPECT_TRUE(std::filesystem::exists(path("c.dat")));
    EXPECT_TRUE(std::filesystem::exists(path("c.EDT")));

    // A file written by hand in another case opens by either name.
    std::filesystem::rename(path("a.EDB"), path("A.edb"));
    std::filesystem::rename(path("a.EDT"), path("a.edt"));
    ASSERT_TRUE(store.openTable(path("a"))) << lastError();
    EXPECT_EQ(store.tableName(), "A");
    ASSERT_TRUE(store.appendRecord({txt("memo text")}));
    EXPECT_EQ(store.readField("x").asText(), "memo text");
    EXPECT_TRUE(store.openTable(path("b.")));
    EXPECT_TRUE(store.openTable(path("c.dat")));
    EXPECT_FALSE(store.openTable(path("nothing")));
    EXPECT_EQ(lastError(), -3);
}

TEST_F(TablesTest, OpenRefusesAnAlreadyOpenTableAndBadAliases) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.createTable(path("other"), {{"a", 3}}));
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.openTable(path("other")));
    EXPECT_FALSE(store.openTable(path("T.edb")));
    EXPECT_EQ(lastError(), -38);
    EXPECT_EQ(store.tableName(), "other");  // the current table did not change
    EXPECT_EQ(store.tableCount(), 2);
    store.closeAllTables();
    OpenOptions bad;
    bad.alias = "9x";
    EXPECT_FALSE(store.openTable(p, bad));
    EXPECT_EQ(lastError(), -24);
    EXPECT_EQ(store.tableCount(), 0);
}

TEST_F(TablesTest, TableListLookupAndCurrentTable) {
    std::filesystem::create_directory(path("d1"));
    std::filesystem::create_directory(path("d2"));
    for (const char* name : {"x", "d1/same", "d2/same", "y"}) {
        ASSERT_TRUE(store.createTable(path(name), {{"id", 3}}));
    }
    OpenOptions aliasX;
    aliasX.alias = "x";
    ASSERT_TRUE(store.openTable(path("y"), aliasX));  // A: table y under the alias "x"
    ASSERT_TRUE(store.openTable(path("x")));          // B: the file x.EDB
    ASSERT_TRUE(store.openTable(path("d1/same")));
    ASSERT_TRUE(store.openTable(path("d2/same")));
    ASSERT_TRUE(store.selectTable("X"));
    EXPECT_EQ(store.tableName(), "y");  // aliases are searched before table names
    ASSERT_TRUE(store.selectTable("same"));
    EXPECT_EQ(store.tablePath(), path("d2/same.EDB"));  // the one opened last
    ASSERT_TRUE(store.selectTable(path("d1/SAME.EDB")));
    EXPECT_EQ(store.tablePath(), path("d1/same.EDB"));
    EXPECT_FALSE(store.selectTable("nope"));
    EXPECT_EQ(lastError(), -66);
    EXPECT_EQ(store.tablePath(), path("d1/same.EDB"));
    EXPECT_FALSE(store.selectTable(""));

    // Closing a table before the current one keeps the same table current.
    store.closeTable("x");  // the alias: table A
    EXPECT_EQ(store.tableCount(), 3);
    EXPECT_EQ(store.tablePath(), path("d1/same.EDB"));
    store.closeTable("unknown");
    EXPECT_EQ(store.tableCount(), 3);
    store.closeTable();
    EXPECT_FALSE(store.hasCurrentTable());
    EXPECT_EQ(store.recordCount(), 0);
    EXPECT_EQ(lastError(), -67);
    EXPECT_THROW(store.readField("id"), FatalStoreError);
    EXPECT_FALSE(store.writeField("id", FieldValue::integer(1)));
    EXPECT_EQ(lastError(), -66);
    store.closeTable();  // nothing to close
    EXPECT_EQ(store.tableCount(), 2);
    store.closeAllTables();
    EXPECT_EQ(store.tableCount(), 0);
}

TEST_F(TablesTest, NamedTableArgumentOfReadAndWrite) {
    ASSERT_TRUE(store.createTable(path("one"), {{"v", 3}}));
    ASSERT_TRUE(store.createTable(path("two"), {{"v", 3}}));
    ASSERT_TRUE(store.openTable(path("one")));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(1)}));
    ASSERT_TRUE(store.openTable(path("two")));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(2)}));
    EXPECT_EQ(store.readField("v", "one").asInt(), 1);
    ASSERT_TRUE(store.writeField("v", "ONE", FieldValue::integer(11)));
    EXPECT_EQ(store.readField("v", "one").asInt(), 11);
    EXPECT_EQ(store.readField("v").asInt(), 2);
    ASSERT_TRUE(store.writeField("v", "one"));  // an omitted value writes the empty value
    EXPECT_EQ(store.readField("v", "one").asInt(), 0);
    EXPECT_FALSE(store.writeField("v", "three", FieldValue::integer(3)));
    EXPECT_EQ(lastError(), -66);
    EXPECT_THROW(store.readField("v", "three"), FatalStoreError);
}

TEST_F(TablesTest, PasswordChangesAndPrompt) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(7), txt("n"), txt(std::string(900, 'm'))}));
    EXPECT_FALSE(store.setTablePassword("?"));
    EXPECT_EQ(lastError(), -80);
    ASSERT_TRUE(store.setTablePassword("one"));
    EXPECT_EQ(store.readField("note").asText(), std::string(900, 'm'));  // still open and readable
    ASSERT_TRUE(store.setTablePassword("two"));
    store.closeAllTables();
    EXPECT_FALSE(store.openTable(p, "one"));
    ASSERT_TRUE(store.openTable(p, "two"));
    ASSERT_TRUE(store.setTablePassword(""));
    store.closeAllTables();
    const auto b = readBytes(p);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "WEDB");
    for (size_t k = 28; k < 64; ++k) EXPECT_EQ(b[k], 0);
    EXPECT_EQ(i32At(b, 332 + 4), 7);  // plain again
    EXPECT_FALSE(std::filesystem::exists(p + ".pwbak"));
    EXPECT_FALSE(store.openTable(p, "two"));
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.setTablePassword("pw"));
    store.closeAllTables();

    // "?" asks up to three times; a cancel stops at once.
    std::vector<std::string> answers = {"bad", "worse", "pw"};
    int asked = 0;
    store.setPasswordPrompt([&](int attempt) -> std::optional<std::string> {
        ++asked;
        EXPECT_EQ(attempt, asked);
        return answers[static_cast<size_t>(attempt - 1)];
    });
    ASSERT_TRUE(store.openTable(p, "?"));
    EXPECT_EQ(asked, 3);
    store.closeAllTables();
    answers = {"a", "b", "c"};
    asked = 0;
    EXPECT_FALSE(store.openTable(p, "?"));
    EXPECT_EQ(lastError(), -78);
    EXPECT_EQ(asked, 3);
    store.setPasswordPrompt([](int) { return std::nullopt; });
    EXPECT_FALSE(store.openTable(p, "?"));
    EXPECT_EQ(lastError(), -78);
    EXPECT_FALSE(store.setTablePassword("x"));
    EXPECT_EQ(lastError(), -67);
}

TEST_F(TablesTest, OpenRejectsFilesThatAreNotTables) {
    const std::string p = createSmall();
    const auto good = readBytes(p);
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        int error;
    } cases[] = {
        {"short header", [](auto& b) { b.resize(50); }, -22},
        {"empty file", [](auto& b) { b.clear(); }, -22},
        {"other magic", [](auto& b) { b[0] = 'X'; }, -22},
        {"record length 0", [](auto& b) { putI32At(b, 24, 0); }, -22},
        {"negative count", [](auto& b) { putI32At(b, 16, -1); }, -22},
        {"next serial 0", [](auto& b) { putI32At(b, 20, 0); }, -22},
        {"newer version", [](auto& b) { putI32At(b, 4, 0x00020000); }, -23},
        {"no fields", [](auto& b) { putI32At(b, 112, 0); }, -22},
        {"huge field count", [](auto& b) { putI32At(b, 112, 0x7FFFFFFF); }, -22},
        {"descriptors cut", [](auto& b) { b.resize(200); }, -22},
        {"name without NUL", [](auto& b) { std::fill(b.begin() + 116, b.begin() + 133, 'a'); }, -22},
        {"bad type", [](auto& b) { putI32At(b, 116 + 20, 13); }, -22},
        {"negative offset", [](auto& b) { putI32At(b, 116 + 24, -4); }, -22},
        {"text length 0", [](auto& b) { putI32At(b, 116 + 72 + 28, 0); }, -22},
        {"field past the record", [](auto& b) { putI32At(b, 116 + 72 + 28, 900); }, -22},
        // The header and the descriptors must describe the same record.
        {"record length 0x7FFFFFFF", [](auto& b) { putI32At(b, 24, 0x7FFFFFFF); }, -22},
        {"record length one short", [](auto& b) { putI32At(b, 24, 31); }, -22},
        {"one field fewer", [](auto& b) { putI32At(b, 112, 2); }, -22},
        {"gap between fields", [](auto& b) { putI32At(b, 116 + 72 * 2 + 24, 29); }, -22},
        {"text length above 1024", [](auto& b) { putI32At(b, 116 + 72 + 28, 0x7FFFFFFF); }, -22},
        {"count beyond a sane file", [](auto& b) { putI32At(b, 16, 0x7FFFFFF0); }, -22},
    };
    for (const Case& c : cases) {
        auto bytes = good;
        c.damage(bytes);
        writeBytes(p, bytes);
        EXPECT_FALSE(store.openTable(p)) << c.what;
        EXPECT_EQ(lastError(), c.error) << c.what;
        EXPECT_EQ(readBytes(p), bytes) << c.what << ": a refused file must not be changed";
        EXPECT_EQ(store.tableCount(), 0);
    }
}

TEST_F(TablesTest, OpenRepairsCountAndLengthUnlessReadOnly) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(store.appendRecord({FieldValue::integer(k)}));
    store.closeAllTables();
    auto b = readBytes(p);
    b.resize(b.size() - 10);  // the third record is cut
    writeBytes(p, b);

    OpenOptions ro;
    ro.readOnly = true;
    EXPECT_FALSE(store.openTable(p, ro));
    EXPECT_EQ(lastError(), -48);
    EXPECT_TRUE(cutCopiesOf(p).empty()) << "a read-only open changes nothing";
    const auto damaged = readBytes(p);
    ASSERT_TRUE(store.openTable(p));
    EXPECT_EQ(store.recordCount(), 2);
    store.closeAllTables();
    b = readBytes(p);
    EXPECT_EQ(b.size(), 332u + 64);
    EXPECT_EQ(i32At(b, 16), 2);
    // What was cut is kept beside the table, as the file was before the repair.
    auto copies = cutCopiesOf(p);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readBytes(copies[0]), damaged);

    // Bytes after the last record disappear too, and so do whole records beyond the count, each time into
    // a copy of its own.
    for (int32_t count : {2, 0}) {
        b = readBytes(p);
        b.resize(332 + 64);
        putI32At(b, 16, count);
        b.resize(b.size() + 7, 0xEE);
        writeBytes(p, b);
        ASSERT_TRUE(store.openTable(p));
        store.closeAllTables();
        EXPECT_EQ(readBytes(p).size(), 332u + 32 * static_cast<size_t>(count));
        copies = cutCopiesOf(p);
        EXPECT_EQ(readBytes(copies.back()), b);
    }
    EXPECT_EQ(cutCopiesOf(p).size(), 3u);

    // A memo file shorter than its block count.
    auto m = readBytes(path("t.EDT"));
    putI32At(m, 16, 9);
    writeBytes(path("t.EDT"), m);
    EXPECT_FALSE(store.openTable(p, ro));
    EXPECT_EQ(lastError(), -37);
    ASSERT_TRUE(store.openTable(p));
    store.closeAllTables();
    EXPECT_EQ(i32At(readBytes(path("t.EDT")), 16), 1);
}

TEST_F(TablesTest, MemoFileProblemsOnOpen) {
    const std::string p = createSmall();
    const auto good = readBytes(path("t.EDT"));
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        int error;
    } cases[] = {
        {"missing", nullptr, -35},
        {"bad magic", [](auto& b) { b[1] = 'X'; }, -35},
        {"block count 0", [](auto& b) { putI32At(b, 16, 0); }, -35},
        {"free count too big", [](auto& b) { putI32At(b, 20, 1); }, -35},
        {"free head negative", [](auto& b) { putI32At(b, 24, -1); }, -35},
        {"other version", [](auto& b) { putI32At(b, 4, 0x00010001); }, -36},
    };
    for (const Case& c : cases) {
        if (c.damage) {
            auto b = good;
            c.damage(b);
            writeBytes(path("t.EDT"), b);
        } else {
            std::filesystem::remove(path("t.EDT"));
        }
        EXPECT_FALSE(store.openTable(p)) << c.what;
        EXPECT_EQ(lastError(), c.error) << c.what;
        EXPECT_EQ(store.tableCount(), 0);
    }
}

// A read-only table refuses what it would have to write, with the code of the first rule that fails: a
// missing record before the mode, and a change that writes nothing succeeds.
TEST_F(TablesTest, ReadOnlyTablesRefuseChanges) {
    const std::string clean = createSmall("clean.EDB"), marked = createSmall("marked.EDB");
    for (const std::string& p : {clean, marked}) {
        ASSERT_TRUE(store.openTable(p));
        ASSERT_TRUE(store.appendRecord({FieldValue::integer(5)}));
        ASSERT_TRUE(store.appendRecord({FieldValue::integer(6)}));
        if (p == marked) {
            ASSERT_TRUE(store.deleteRecord());
        }
        store.closeAllTables();
    }
    auto none = [&] { return store.readField("id").asInt() == 99; };
    auto five = [&] { return store.readField("id").asInt() == 5; };
    auto pastLast = [&] { return store.goToRecord(2) && store.skipRecords(1); };
    struct Case {
        const char* what;
        const std::string& table;
        std::function<bool()> op;
        bool result;
        int error;
    } cases[] = {
        {"write a field", clean, [&] { return store.writeField("id", FieldValue::integer(6)); }, false, -6},
        {"append", clean, [&] { return store.appendRecord({}); }, false, -6},
        {"delete a live record", clean, [&] { return store.deleteRecord(); }, false, -6},
        {"delete a deleted record", marked, [&] { return store.goToRecord(2) && store.deleteRecord(); }, true, 0},
        {"delete where something matches", clean, [&] { return store.deleteRecord(five); }, false, -6},
        {"delete where nothing matches", clean, [&] { return store.deleteRecord(none); }, true, 0},
        {"purge with nothing to purge", clean, [&] { return store.purgeDeleted(); }, true, 0},
        {"purge a deleted record", marked, [&] { return store.purgeDeleted(); }, false, -6},
        {"set a password", clean, [&] { return store.setTablePassword("pw"); }, false, -79},
        {"write past the last record", clean,
         [&] { return pastLast() && store.writeField("id", FieldValue::integer(1)); }, false, -60},
        {"delete past the last record", clean, [&] { return pastLast() && store.deleteRecord(); }, false, -60},
    };
    OpenOptions ro;
    ro.readOnly = true;
    for (const Case& c : cases) {
        const auto before = readBytes(c.table);
        ASSERT_TRUE(store.openTable(c.table, ro)) << c.what;
        EXPECT_EQ(c.op(), c.result) << c.what;
        EXPECT_EQ(lastError(), c.error) << c.what;
        store.closeAllTables();
        EXPECT_EQ(readBytes(c.table), before) << c.what << ": a read-only table was changed";
    }
}

TEST_F(TablesTest, ErrorMessages) {
    EXPECT_EQ(errorMessage(0 - 78), "未提供数据库访问密码或提供了错误的密码");
    EXPECT_EQ(errorMessage(-16), "字段数目必须大于 0 ");
    EXPECT_EQ(errorMessage(-74), "数据库的共享打开方式不是“#禁止读写”");
    EXPECT_EQ(errorMessage(-77), "未知错误");
    EXPECT_EQ(errorMessage(5), "未知错误");
    EXPECT_EQ(errorMessage(-1), "未知错误");
}

TEST_F(TablesTest, FatalErrorsCarryTheirMessages) {
    const std::string p = createSmall();
    auto fatalOf = [](auto&& call) {
        try {
            call();
        } catch (const FatalStoreError& e) {
            return std::string(e.what());
        }
        return std::string("no fatal error");
    };
    EXPECT_EQ(fatalOf([&] { store.readField("id"); }), "未指定当前数据库或者指定数据库未打开");
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(1)}));
    EXPECT_EQ(fatalOf([&] { store.readField("nope"); }), "指定字段不存在");
    EXPECT_EQ(fatalOf([&] { store.readField(4); }), "指定字段不存在");
    EXPECT_EQ(fatalOf([&] { store.readField(FieldRef::neither()); }), "所提供参数的数据类型不符合要求");
    EXPECT_EQ(
        fatalOf([&] { store.writeField(FieldRef::fromValue(FieldValue::boolean(true)), FieldValue::integer(1)); }),
        "所提供参数的数据类型不符合要求");
    EXPECT_EQ(fatalOf([&] { store.findRecord(ValueCondition([] { return FieldValue::integer(1); })); }),
              "用作进行条件判断的子语句参数只能接受逻辑型数据");
    EXPECT_EQ(fatalOf([&] { store.deleteRecord(ValueCondition([] { return txt("yes"); })); }),
              "用作进行条件判断的子语句参数只能接受逻辑型数据");
    EXPECT_FALSE(store.writeField("nope", FieldValue::integer(1)));
    EXPECT_EQ(lastError(), -61);
    // The store is still usable after the fatal errors unwound: no lock or test record is left behind.
    EXPECT_EQ(store.recordNumber(), 1);
    EXPECT_TRUE(store.findRecord(ValueCondition([] { return FieldValue::boolean(true); })));
    EXPECT_EQ(store.readField(1.7).asInt(), 1);  // a non-integer field number is truncated
}

TEST(FatalDefault, EndsTheProcessWithMinusOne) {
    EXPECT_EXIT(
        {
            RecordStore s;
            s.readField("x");
        },
        ::testing::ExitedWithCode(255), "未指定当前数据库或者指定数据库未打开");
}

}  // namespace
}  // namespace xp::test
