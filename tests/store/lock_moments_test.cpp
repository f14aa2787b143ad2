// What another process sees of an append: every write of the table and memo files happens while the
// byte locks the format names are held, the memo header lock is taken once for a row of several memo
// values, and the records' bytes are those of appending the values one by one.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "store/file_system.h"
#include "store/table_format.h"
#include "tests/store/store_fixture.h"

namespace xp::test {
namespace {

// Every write, lock and unlock of the files opened through it, in order.
struct Event {
    enum Kind { Write, Lock, Unlock } kind;
    std::string file;
    int64_t start = 0;
    int64_t length = 0;
};

class RecordingFileSystem : public FileSystem {
public:
    std::vector<Event> events;

    std::unique_ptr<File> open(const std::string& path, OpenMode mode, int& error) override;
    int rename(const std::string& from, const std::string& to) override { return posix_->rename(from, to); }
    int remove(const std::string& path) override { return posix_->remove(path); }
    bool exists(const std::string& path) override { return posix_->exists(path); }
    int syncFolder(const std::string& folder) override { return posix_->syncFolder(folder); }

private:
    std::shared_ptr<FileSystem> posix_ = FileSystem::posix();
};

class RecordingFile : public File {
public:
    RecordingFile(std::unique_ptr<File> inner, std::string name, RecordingFileSystem& fs)
        : inner_(std::move(inner)), name_(std::move(name)), fs_(fs) {}
    int64_t readAt(void* buf, size_t n, int64_t offset) override { return inner_->readAt(buf, n, offset); }
    int64_t writeAt(const void* buf, size_t n, int64_t offset) override {
        fs_.events.push_back({Event::Write, name_, offset, static_cast<int64_t>(n)});
        return inner_->writeAt(buf, n, offset);
    }
    int truncate(int64_t length) override { return inner_->truncate(length); }
    int64_t size() override { return inner_->size(); }
    int sync() override { return inner_->sync(); }
    int lock(int64_t start, int64_t length, bool exclusive) override {
        fs_.events.push_back({Event::Lock, name_, start, length});
        return inner_->lock(start, length, exclusive);
    }
    int unlock(int64_t start, int64_t length) override {
        fs_.events.push_back({Event::Unlock, name_, start, length});
        return inner_->unlock(start, length);
    }

private:
    std::unique_ptr<File> inner_;
    std::string name_;
    RecordingFileSystem& fs_;
};

std::unique_ptr<File> RecordingFileSystem::open(const std::string& path, OpenMode mode, int& error) {
    auto inner = posix_->open(path, mode, error);
    if (!inner) return nullptr;
    const std::string ext = path.substr(path.size() - 3);
    return std::make_unique<RecordingFile>(std::move(inner), ext, *this);
}

// Replays the events and checks each write against the single bytes held at that moment: a write of
// the memo file needs byte 0 and the first byte of its block; a write of the table file needs the
// header byte and, for a record, the record's first byte.
void expectWritesUnderLocks(const std::vector<Event>& events, int64_t firstRecord, int32_t recordLength) {
    std::map<std::string, std::multiset<int64_t>> held;
    for (const Event& e : events) {
        std::multiset<int64_t>& h = held[e.file];
        if (e.kind == Event::Lock && e.length == 1) h.insert(e.start);
        if (e.kind == Event::Unlock && e.length == 1 && h.count(e.start)) h.erase(h.find(e.start));
        if (e.kind != Event::Write) continue;
        if (e.file == "EDT") {
            EXPECT_TRUE(h.count(0)) << "memo write at " << e.start << " without the memo header lock";
            if (e.start > 0) {
                EXPECT_TRUE(h.count(e.start / format::kMemoBlockSize * format::kMemoBlockSize))
                    << "memo block write at " << e.start << " without its block lock";
            }
        } else {
            EXPECT_TRUE(h.count(format::kCountOffset)) << "table write at " << e.start << " without the header lock";
            if (e.start >= firstRecord) {
                EXPECT_TRUE(h.count(firstRecord + (e.start - firstRecord) / recordLength * recordLength))
                    << "record write at " << e.start << " without the record lock";
            }
        }
    }
}

int locksOf(const std::vector<Event>& events, const std::string& file, int64_t start) {
    int n = 0;
    for (const Event& e : events) n += e.kind == Event::Lock && e.file == file && e.start == start && e.length == 1;
    return n;
}

TEST(LockMoments, ARowOfSeveralMemoValuesTakesTheMemoHeaderLockOnce) {
    TempFolder dir;
    const std::string path = dir.path() + "/photos";
    auto fs = std::make_shared<RecordingFileSystem>();
    RecordStore s(fs);
    ASSERT_TRUE(s.createTable(path, {{"name", 12}, {"products", 12}, {"note", 12}, {"path", 12}, {"no", 3}}));
    ASSERT_TRUE(s.openTable(path));
    ASSERT_TRUE(s.setTablePassword("pw"));
    const int64_t firstRecord = 116 + 72 * 5;
    const int32_t recordLength = 4 + 5 * 4;

    struct Case {
        const char* what;
        std::vector<FieldValue> row;
        int memoHeaderLocks;
    };
    const std::string longPath(700, 'p');  // two blocks
    const Case cases[] = {
        {"three memo values, one of two blocks",
         {txt("IMG_1"), txt(""), txt("x"), txt(longPath), FieldValue::integer(1)},
         1},
        {"one memo value", {txt("IMG_2"), txt(""), txt(""), txt(""), FieldValue::integer(2)}, 1},
        {"no memo value", {txt(""), txt(""), txt(""), txt(""), FieldValue::integer(3)}, 0},
    };
    for (const Case& c : cases) {
        fs->events.clear();
        ASSERT_TRUE(s.appendRecord(c.row)) << c.what;
        expectWritesUnderLocks(fs->events, firstRecord, recordLength);
        EXPECT_EQ(locksOf(fs->events, "EDT", 0), c.memoHeaderLocks) << c.what;
        EXPECT_EQ(locksOf(fs->events, "EDB", format::kCountOffset), 1) << c.what;
    }
    // The values read back, through a store of its own.
    s.closeAllTables();
    RecordStore other;
    ASSERT_TRUE(other.openTable(path, "pw"));
    ASSERT_TRUE(other.goToRecord(1));
    EXPECT_EQ(other.readField("name").asText(), "IMG_1");
    EXPECT_EQ(other.readField("note").asText(), "x");
    EXPECT_EQ(other.readField("path").asText(), longPath);
}

// The same rows appended at once and value by value (an append of the first value, then each further
// value written into the new record) give the same bytes in both files: the row lock changes when bytes
// are locked, not which bytes are written.
TEST(LockMoments, ARowAppendedAtOnceHasTheBytesOfAppendingItsValuesOneByOne) {
    TempFolder dir;
    const std::vector<FieldDef> fields = {{"a", 12}, {"b", 12}, {"n", 3}, {"c", 12}};
    const std::string longValue(1200, 'v');
    const std::vector<std::vector<FieldValue>> rows = {
        {txt("one"), txt(longValue), FieldValue::integer(1), txt("three")},
        {txt(""), txt("b2"), FieldValue::integer(2), txt(longValue)},
        {txt(longValue), txt(""), FieldValue::integer(3), txt("")},
    };
    auto build = [&](const std::string& name, bool atOnce) {
        const std::string path = dir.path() + "/" + name;
        RecordStore s;
        EXPECT_TRUE(s.createTable(path, fields));
        EXPECT_TRUE(s.openTable(path));
        EXPECT_TRUE(s.setTablePassword("pw"));
        for (const auto& row : rows) {
            if (atOnce) {
                EXPECT_TRUE(s.appendRecord(row));
                continue;
            }
            std::vector<FieldValue> first = {row[0]};
            EXPECT_TRUE(s.appendRecord(first));
            for (size_t k = 1; k < row.size(); ++k) EXPECT_TRUE(s.writeField(static_cast<int>(k + 1), row[k]));
        }
        s.closeAllTables();
        return std::make_pair(readBytes(path + ".EDB"), readBytes(path + ".EDT"));
    };
    const auto atOnce = build("at_once", true);
    const auto oneByOne = build("one_by_one", false);
    // The creation time (bytes 8..15 of each file, enciphered) may differ by a second between the two.
    auto withoutTime = [](std::vector<uint8_t> b) {
        if (b.size() >= 16) std::fill(b.begin() + 8, b.begin() + 16, 0);
        return b;
    };
    EXPECT_EQ(withoutTime(atOnce.first), withoutTime(oneByOne.first));
    EXPECT_EQ(withoutTime(atOnce.second), withoutTime(oneByOne.second));
}

}  // namespace
}  // namespace xp::test
