// The bytes the store writes: header, descriptors, records, memo blocks and the cipher, checked against
// the layout directly (and the cipher against a literal, byte-by-byte reading of its definition).
#include <cstring>

#include "store/file_cipher.h"
#include "store/md5.h"
#include "tests/store/store_fixture.h"

namespace xp::test {
namespace {

// The cipher exactly as defined, one byte at a time, with nothing cached or shared.
struct RefRc4 {
    uint8_t s[256];
    int i = 0, j = 0;
    explicit RefRc4(const std::vector<uint8_t>& key) {
        for (int k = 0; k < 256; ++k) s[k] = static_cast<uint8_t>(k);
        int jj = 0;
        for (int k = 0; k < 256; ++k) {
            jj = (jj + s[k] + key[static_cast<size_t>(k) % key.size()]) % 256;
            std::swap(s[k], s[jj]);
        }
    }
    uint8_t next() {
        i = (i + 1) % 256;
        j = (j + s[i]) % 256;
        std::swap(s[i], s[j]);
        return s[(s[i] + s[j]) % 256];
    }
};

uint8_t referenceKeystream(const std::string& password, int64_t p) {
    const std::vector<uint8_t> pw(password.begin(), password.end());
    RefRc4 s0(pw);
    const int64_t b = p / 4096;
    uint8_t out[4] = {};
    for (int64_t k = 0; k < 4 * b + 4; ++k) {
        const uint8_t v = s0.next();
        if (k >= 4 * b) out[k - 4 * b] = v;
    }
    const uint32_t seed = out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<uint32_t>(out[3]) << 24);
    std::vector<uint8_t> key;
    for (int k = 0; k < 4; ++k) key.push_back(static_cast<uint8_t>(seed >> (8 * k)));
    const std::string check = passwordCheck(password);
    key.insert(key.end(), check.begin(), check.end());
    const uint32_t tail = static_cast<uint32_t>(b) ^ seed;
    for (int k = 0; k < 4; ++k) key.push_back(static_cast<uint8_t>(tail >> (8 * k)));
    RefRc4 r(key);
    for (int64_t k = 0; k < 36 + p % 4096; ++k) r.next();
    return r.next();
}

using FormatTest = StoreTest;

TEST_F(FormatTest, NewTableHasHeaderDescriptorsAndMemoBlockZero) {
    const std::string p = createSmall();
    const auto b = readBytes(p);
    ASSERT_EQ(b.size(), 332u);  // 116 + 72 * 3, no records
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "WEDB");
    EXPECT_EQ(i32At(b, 4), 0x00010000);
    EXPECT_EQ(i32At(b, 16), 0);   // record count
    EXPECT_EQ(i32At(b, 20), 1);   // next serial
    EXPECT_EQ(i32At(b, 24), 32);  // 4 + 4 + 20 + 4
    for (size_t k = 28; k < 112; ++k) EXPECT_EQ(b[k], 0) << "byte " << k;
    EXPECT_EQ(i32At(b, 112), 3);
    struct Desc {
        const char* name;
        int type, offset, length;
    } want[] = {{"id", 3, 4, 0}, {"name", 10, 8, 20}, {"note", 12, 28, 0}};
    for (size_t k = 0; k < 3; ++k) {
        const size_t d = 116 + 72 * k;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[d])), want[k].name);
        for (size_t z = std::strlen(want[k].name); z < 20; ++z) EXPECT_EQ(b[d + z], 0);
        EXPECT_EQ(i32At(b, d + 20), want[k].type);
        EXPECT_EQ(i32At(b, d + 24), want[k].offset);
        EXPECT_EQ(i32At(b, d + 28), want[k].length);
        for (size_t z = 32; z < 72; ++z) EXPECT_EQ(b[d + z], 0);
    }
    const auto m = readBytes(path("t.EDT"));
    ASSERT_EQ(m.size(), 512u);
    EXPECT_EQ(std::string(m.begin(), m.begin() + 4), "WEDT");
    EXPECT_EQ(i32At(m, 4), 0x00010000);
    EXPECT_EQ(i32At(m, 16), 1);  // block count
    EXPECT_EQ(i32At(m, 20), 0);
    EXPECT_EQ(i32At(m, 24), 0);
    for (size_t k = 28; k < 512; ++k) EXPECT_EQ(m[k], 0);
}

TEST_F(FormatTest, TableWithoutMemoFieldsHasNoMemoFile) {
    ASSERT_TRUE(store.createTable(path("plain"), {{"a", 1}, {"b", 7}}));
    EXPECT_TRUE(std::filesystem::exists(path("plain.EDB")));
    EXPECT_FALSE(std::filesystem::exists(path("plain.EDT")));
}

TEST_F(FormatTest, PurgeKeepsSerialsAndNextSerial) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    for (int k = 1; k <= 3; ++k) ASSERT_TRUE(store.appendRecord({FieldValue::integer(k * 10)}));
    ASSERT_TRUE(store.goToRecord(2));
    ASSERT_TRUE(store.deleteRecord());
    EXPECT_EQ(i32At(readBytes(p), 332 + 32), -2);  // marked, not yet removed
    ASSERT_TRUE(store.purgeDeleted());
    store.closeAllTables();
    const auto b = readBytes(p);
    ASSERT_EQ(b.size(), 332u + 2 * 32);
    EXPECT_EQ(i32At(b, 16), 2);
    EXPECT_EQ(i32At(b, 20), 4);
    EXPECT_EQ(i32At(b, 332), 1);
    EXPECT_EQ(i32At(b, 336), 10);
    EXPECT_EQ(i32At(b, 332 + 32), 3);
    EXPECT_EQ(i32At(b, 336 + 32), 30);
}

TEST_F(FormatTest, TextFieldBytes) {
    ASSERT_TRUE(store.createTable(path("x"), {{"t4", 10, 4}, {"t10", 10, 10}}));
    ASSERT_TRUE(store.openTable(path("x")));
    struct Case {
        std::string t10;
        std::vector<uint8_t> stored;
        std::string readBack;
    } cases[] = {
        {"123456789", {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0}, "123456789"},
        {"1234567890", {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'}, "1234567890"},
        {"123456789012", {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'}, "1234567890"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(store.appendRecord({txt("ab"), txt(c.t10)}));
        const int64_t at = 116 + 72 * 2 + (store.recordNumber() - 1) * 18;
        const auto b = readBytes(path("x.EDB"));
        EXPECT_EQ(std::vector<uint8_t>(b.begin() + at + 4, b.begin() + at + 8), (std::vector<uint8_t>{'a', 'b', 0, 0}));
        EXPECT_EQ(std::vector<uint8_t>(b.begin() + at + 8, b.begin() + at + 18), c.stored) << c.t10;
        EXPECT_EQ(store.readField("t10").asText(), c.readBack);
    }
}

// Block k of the memo file as (previous, next, used).
std::array<int32_t, 3> blockHead(const std::vector<uint8_t>& m, int k) {
    const size_t at = 512 * static_cast<size_t>(k);
    return {i32At(m, at), i32At(m, at + 4), i32At(m, at + 8)};
}

TEST_F(FormatTest, MemoValuesTakeBlocksOf500Bytes) {
    struct Case {
        size_t size;
        std::vector<int32_t> used;
    } cases[] = {{1000, {500, 500}}, {1001, {500, 500, 1}}, {0, {}}, {1, {1}}};
    for (const Case& c : cases) {
        TempFolder f;
        const std::string p = f.path() + "/m";
        RecordStore s;
        ASSERT_TRUE(s.createTable(p, {{"id", 3}, {"note", 12}}));
        ASSERT_TRUE(s.openTable(p));
        std::string value(c.size, 'x');
        for (size_t k = 0; k < value.size(); ++k) value[k] = static_cast<char>('a' + k % 26);
        ASSERT_TRUE(s.appendRecord({FieldValue::integer(1), txt(value)}));
        EXPECT_EQ(s.readField("note").asText(), value);
        const auto t = readBytes(p + ".EDB");
        const auto m = readBytes(p + ".EDT");
        ASSERT_EQ(m.size(), 512 * (1 + c.used.size())) << c.size;
        EXPECT_EQ(i32At(m, 16), static_cast<int32_t>(1 + c.used.size()));
        EXPECT_EQ(i32At(t, 116 + 144 + 8), c.used.empty() ? 0 : 1);  // first block in the record
        for (size_t k = 0; k < c.used.size(); ++k) {
            const auto h = blockHead(m, static_cast<int>(k + 1));
            EXPECT_EQ(h[0], k == 0 ? 0 : static_cast<int32_t>(k));
            EXPECT_EQ(h[1], k + 1 < c.used.size() ? static_cast<int32_t>(k + 2) : 0);
            EXPECT_EQ(h[2], c.used[k]);
        }
    }
}

TEST_F(FormatTest, ShorterMemoRewriteFreesAndGivesBackTrailingBlocks) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(1), txt(""), txt(std::string(1500, 'a'))}));
    ASSERT_EQ(readBytes(path("t.EDT")).size(), 4u * 512);
    ASSERT_TRUE(store.writeField("note", txt("short")));
    const auto m = readBytes(path("t.EDT"));
    ASSERT_EQ(m.size(), 2u * 512);  // the two freed blocks were the last ones: given back
    EXPECT_EQ(i32At(m, 16), 2);
    EXPECT_EQ(i32At(m, 20), 0);
    EXPECT_EQ(i32At(m, 24), 0);
    EXPECT_EQ(blockHead(m, 1), (std::array<int32_t, 3>{0, 0, 5}));
    EXPECT_EQ(store.readField("note").asText(), "short");
}

TEST_F(FormatTest, FreedBlocksInTheMiddleGoOnTheFreeListAndAreReused) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(1), txt(""), txt(std::string(1500, 'a'))}));  // 1,2,3
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(2), txt(""), txt("tail")}));                  // 4
    ASSERT_TRUE(store.goToRecord(1));
    ASSERT_TRUE(store.writeField("note", txt("one")));
    auto m = readBytes(path("t.EDT"));
    ASSERT_EQ(m.size(), 5u * 512);
    EXPECT_EQ(i32At(m, 20), 2);  // free count
    EXPECT_EQ(i32At(m, 24), 2);  // head
    EXPECT_EQ(blockHead(m, 2), (std::array<int32_t, 3>{0, 3, 0}));
    EXPECT_EQ(blockHead(m, 3), (std::array<int32_t, 3>{2, 0, 0}));

    ASSERT_TRUE(store.appendRecord({FieldValue::integer(3), txt(""), txt(std::string(700, 'b'))}));
    m = readBytes(path("t.EDT"));
    EXPECT_EQ(m.size(), 5u * 512);  // no growth: both free blocks were taken
    EXPECT_EQ(i32At(m, 20), 0);
    EXPECT_EQ(i32At(m, 24), 0);
    EXPECT_EQ(blockHead(m, 2), (std::array<int32_t, 3>{0, 3, 500}));
    EXPECT_EQ(blockHead(m, 3), (std::array<int32_t, 3>{2, 0, 200}));
    for (int r = 1; r <= 3; ++r) {
        ASSERT_TRUE(store.goToRecord(r));
        EXPECT_EQ(store.readField("note").asText(), r == 1 ? "one" : r == 2 ? "tail" : std::string(700, 'b'));
    }
}

TEST(PasswordCheck, IsTheReversedMd5InLowercaseHex) {
    auto hex = [](const std::array<uint8_t, 16>& d) {
        std::string s;
        char buf[3];
        for (uint8_t v : d) {
            std::snprintf(buf, sizeof buf, "%02x", v);
            s += buf;
        }
        return s;
    };
    EXPECT_EQ(hex(md5("")), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(hex(md5("abc")), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(hex(md5(std::string(1000, 'a'))), "cabe45dcc9ae5b66ba86600cca6b8ba8");
    EXPECT_EQ(passwordCheck(""), "7e42f8ec980980e904b2008fd98c1dd4");
    EXPECT_EQ(passwordCheck("abc"), "727fe1287d3f96d6b04fd23c98500190");
}

TEST_F(FormatTest, ProtectedFilesMatchTheCipherByteForByte) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    for (int k = 0; k < 3; ++k)
        ASSERT_TRUE(store.appendRecord({FieldValue::integer(k), txt("名字"), txt(std::string(600, 'q'))}));
    store.closeAllTables();
    const auto plainTable = readBytes(p);
    const auto plainMemo = readBytes(path("t.EDT"));
    const std::string pw =
        "\xC3\xDC\xC2\xEB"
        "pw";  // GBK bytes are keys like any others
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.setTablePassword(pw));
    store.closeAllTables();

    const auto table = readBytes(p);
    const auto memo = readBytes(path("t.EDT"));
    ASSERT_EQ(table.size(), plainTable.size());
    ASSERT_EQ(memo.size(), plainMemo.size());
    EXPECT_EQ(std::string(table.begin(), table.begin() + 4), "WCDB");
    EXPECT_EQ(std::string(memo.begin(), memo.begin() + 4), "WEDT");
    std::vector<uint8_t> expected = plainTable;
    std::memcpy(&expected[0], "WCDB", 4);
    const std::string check = passwordCheck(pw);
    std::memcpy(&expected[28], check.data(), 32);
    for (size_t k = 4; k < table.size(); ++k) {
        ASSERT_EQ(table[k] ^ referenceKeystream(pw, static_cast<int64_t>(k)), expected[k]) << "table byte " << k;
    }
    for (size_t k : {size_t(4), size_t(100), size_t(511), size_t(512), size_t(1500), memo.size() - 1}) {
        ASSERT_EQ(memo[k] ^ referenceKeystream(pw, static_cast<int64_t>(k)), plainMemo[k]) << "memo byte " << k;
    }

    // Wrong, missing and superfluous passwords are all refused alike.
    EXPECT_FALSE(store.openTable(p, "other"));
    EXPECT_EQ(lastError(), -78);
    EXPECT_FALSE(store.openTable(p));
    EXPECT_EQ(lastError(), -78);
    ASSERT_TRUE(store.openTable(p, pw));
    EXPECT_EQ(store.readField("name").asText(), "名字");
    EXPECT_EQ(store.readField("note").asText(), std::string(600, 'q'));
    ASSERT_TRUE(store.createTable(path("open"), {{"a", 3}}));
    EXPECT_FALSE(store.openTable(path("open"), "pw"));
    EXPECT_EQ(lastError(), -78);
}

TEST(FileCipher, AnyRangeEqualsTheSameSliceOfTheWholeBlocks) {
    auto key = cipherKey("secret");
    std::vector<uint8_t> whole(3 * 4096, 0);
    applyCipher(*key, whole.data(), whole.size(), 0);
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(whole[k], 0);  // the magic stays plain
    struct Range {
        int64_t at;
        size_t n;
    } ranges[] = {{4, 10}, {1000, 100}, {4090, 20}, {8191, 2}, {5000, 7000}};
    for (const Range& r : ranges) {
        clearKeystreamCache();  // also from a cold cache
        std::vector<uint8_t> part(r.n, 0);
        applyCipher(*key, part.data(), part.size(), r.at);
        EXPECT_EQ(part, std::vector<uint8_t>(whole.begin() + r.at, whole.begin() + r.at + static_cast<int64_t>(r.n)))
            << r.at;
        EXPECT_EQ(part[0], referenceKeystream("secret", r.at));
    }
    // Enciphering twice restores the bytes.
    applyCipher(*key, whole.data(), whole.size(), 0);
    EXPECT_EQ(whole, std::vector<uint8_t>(3 * 4096, 0));
}

}  // namespace
}  // namespace xp::test
