// What must hold when things go wrong: processes killed at random moments, damaged files, failing file
// calls at every step of an operation, interrupted password changes and purges that end early.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "store/file_cipher.h"
#include "store/table_check.h"
#include "tests/store/child_process.h"
#include "tests/store/faulty_file_system.h"
#include "tests/store/store_fixture.h"

namespace xp::test {
namespace {

// A deterministic memo value of some length for a record id.
std::string memoFor(int id) {
    std::string s(static_cast<size_t>(id * 37 % 1700), 'a');
    for (size_t k = 0; k < s.size(); ++k) s[k] = static_cast<char>('a' + (k + static_cast<size_t>(id)) % 26);
    return s;
}

using ReliabilityTest = StoreTest;

TEST_F(ReliabilityTest, KilledWhileAppendingRewritingAndPurgingKeepsEveryReturnedAppend) {
    const std::string p = path("k.EDB");
    ASSERT_TRUE(store.createTable(p, {{"id", 3}, {"name", 10, 20}, {"note", 12}, {"note2", 12}}));
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.setTablePassword("pw"));
    store.closeAllTables();
    std::mt19937 rng(12345);
    std::set<int> returned;
    for (int round = 0; round < 8; ++round) {
        ChildProcess child([&, round](ChildProcess& self) {
            RecordStore s;
            if (!s.openTable(p, "pw")) return 1;
            self.send('s');
            std::mt19937 r(static_cast<unsigned>(round));
            for (int i = 0;; ++i) {
                const int id = round * 1000000 + i;
                if (!s.appendRecord({FieldValue::integer(id), txt("r" + std::to_string(id)), txt(memoFor(id))}))
                    return 2;
                self.sendText(std::to_string(id) + "\n");
                if (i % 3 == 0 && s.goToRecord(static_cast<int>(r() % static_cast<unsigned>(s.recordCount())) + 1)) {
                    s.writeField("note2", txt(std::string(r() % 2000, 'z')));
                }
                if (i % 7 == 0) {
                    if (!s.appendRecord({FieldValue::integer(-1), txt("junk"), txt(std::string(900, 'j'))})) return 3;
                    s.deleteRecord();
                    s.purgeDeleted();
                }
            }
        });
        ASSERT_EQ(child.receive(), 's');
        // Let a few appends return before the kill, however slow the machine is, so every round kills
        // the child in the middle of its work rather than before it.
        std::string said;
        for (unsigned lines = 0, wanted = 1 + rng() % 20; lines < wanted;) {
            const char c = child.receive();
            ASSERT_NE(c, '\0') << "round " << round << ": the child stopped appending";
            said += c;
            if (c == '\n') ++lines;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 20));
        child.kill();
        said += child.drain();
        EXPECT_EQ(child.wait(), 128 + SIGKILL);
        std::istringstream lines(said);
        std::string line;
        while (std::getline(lines, line)) {
            if (!lines.eof()) returned.insert(std::stoi(line));  // a last line without its newline may be cut
        }

        RecordStore check;
        ASSERT_TRUE(check.openTable(p, "pw")) << "round " << round << ": " << lastError();
        std::set<int> live, serials;
        for (check.firstRecord(); check.recordNumber() <= check.recordCount(); check.skipRecords()) {
            const int32_t serial = check.recordSerial();
            EXPECT_TRUE(serials.insert(serial < 0 ? -serial : serial).second) << "serial " << serial << " twice";
            const int id = check.readField("id").asInt();
            check.readField("note2");  // any content, but it must read
            if (serial < 0 || id < 0) continue;
            EXPECT_TRUE(live.insert(id).second) << "record " << id << " twice";
            EXPECT_EQ(check.readField("name").asText(), "r" + std::to_string(id));
            EXPECT_EQ(check.readField("note").asText(), memoFor(id)) << id;
        }
        for (int id : returned) EXPECT_TRUE(live.count(id)) << "round " << round << ": lost record " << id;
        EXPECT_FALSE(std::filesystem::exists(p + ".purge"));
    }
}

TEST_F(ReliabilityTest, KilledPasswordChangeOpensUnderOldOrNewPasswordWithAllData) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    for (int id = 1; id <= 300; ++id)
        ASSERT_TRUE(store.appendRecord({FieldValue::integer(id), txt("n"), txt(memoFor(id))}));
    ASSERT_TRUE(store.setTablePassword("p1"));
    store.closeAllTables();
    std::mt19937 rng(777);
    for (int round = 0; round < 6; ++round) {
        ChildProcess child([&](ChildProcess& self) {
            RecordStore s;
            if (!s.openTable(p, "p1") && !s.openTable(p, "p2")) return 1;
            self.send('s');
            for (int i = 0;; ++i) {
                if (!s.setTablePassword(i % 2 ? "p1" : "p2")) return 2;
                self.sendText("c");
            }
        });
        ASSERT_EQ(child.receive(), 's');
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + rng() % 60));
        child.kill();
        child.drain();
        child.wait();
        RecordStore check;
        ASSERT_TRUE(check.openTable(p, "p1") || check.openTable(p, "p2")) << "round " << round;
        ASSERT_EQ(check.recordCount(), 300);
        for (int id = 1; id <= 300; ++id) {
            ASSERT_TRUE(check.goToRecord(id));
            ASSERT_EQ(check.readField("id").asInt(), id);
            ASSERT_EQ(check.readField("note").asText(), memoFor(id));
        }
        EXPECT_FALSE(std::filesystem::exists(p + ".pwbak"));
    }
}

TEST_F(ReliabilityTest, DamagedMemoChainsGiveErrorsNotHangs) {
    const std::string p = createSmall();
    ASSERT_TRUE(store.openTable(p));
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(1), txt("a"), txt(std::string(1200, 'x'))}));  // blocks 1-3
    ASSERT_TRUE(store.appendRecord({FieldValue::integer(2), txt("b"), txt("second")}));                // block 4
    store.closeAllTables();
    const auto goodTable = readBytes(p);
    const auto goodMemo = readBytes(path("t.EDT"));
    const size_t rec1Note = 332 + 28, rec2Note = 332 + 32 + 28;
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>& t, std::vector<uint8_t>& m)> damage;
    } cases[] = {
        {"cycle", [](auto&, auto& m) { putI32At(m, 512 * 3 + 4, 1); }},
        {"self loop", [](auto&, auto& m) { putI32At(m, 512 * 2 + 4, 2); }},
        {"block beyond the file", [](auto&, auto& m) { putI32At(m, 512 * 2 + 4, 1000); }},
        {"first block beyond the file", [&](auto& t, auto&) { putI32At(t, rec1Note, 77777); }},
        {"negative first block", [&](auto& t, auto&) { putI32At(t, rec1Note, -5); }},
        {"used count too big", [](auto&, auto& m) { putI32At(m, 512 * 1 + 8, 501); }},
        {"negative used count", [](auto&, auto& m) { putI32At(m, 512 * 1 + 8, -1); }},
        {"memo file cut inside a block", [](auto&, auto& m) { m.resize(512 * 2 + 100); }},
        {"both records share a chain", [&](auto& t, auto&) { putI32At(t, rec2Note, 1); }},
        {"free list cycle",
         [](auto&, auto& m) {
             putI32At(m, 20, 3);
             putI32At(m, 24, 2);
             putI32At(m, 512 * 2 + 4, 2);
             putI32At(m, 512 * 2 + 8, 0);
         }},
    };
    for (const Case& c : cases) {
        auto t = goodTable;
        auto m = goodMemo;
        c.damage(t, m);
        writeBytes(p, t);
        writeBytes(path("t.EDT"), m);
        RecordStore s;
        ASSERT_TRUE(s.openTable(p)) << c.what;
        const FieldValue v = s.readField("note");
        EXPECT_TRUE(lastError() == 0 || lastError() == -59) << c.what << ": " << lastError();
        if (lastError() != 0) {
            EXPECT_EQ(v, txt("")) << c.what;
        }
        // Rewriting over the damage, growing another value and purging all end.
        s.writeField("note", txt(std::string(1600, 'n')));
        s.goToRecord(2);
        s.writeField("note", txt(std::string(2100, 'm')));
        EXPECT_TRUE(s.appendRecord({FieldValue::integer(3), txt("c"), txt(std::string(1100, 'o'))})) << c.what;
        EXPECT_EQ(s.readField("note").asText(), std::string(1100, 'o')) << c.what;
        s.deleteRecord();
        s.purgeDeleted();
        s.closeAllTables();
        RecordStore again;
        EXPECT_TRUE(again.openTable(p)) << c.what;
    }
}

// A small table with fields of many kinds and memo values, one record marked deleted: the base that the
// damage tests break in random ways.
void buildDamageBase(RecordStore& store, const std::string& p) {
    ASSERT_TRUE(store.createTable(p, {{"i", 3}, {"t", 10, 12}, {"m", 12}, {"b", 11}, {"d", 8}, {"s", 2}}));
    ASSERT_TRUE(store.openTable(p));
    for (int k = 0; k < 12; ++k) {
        ASSERT_TRUE(
            store.appendRecord({FieldValue::integer(k), txt("text" + std::to_string(k)), txt(memoFor(k * 5)),
                                FieldValue::bytes(memoFor(k * 3)), FieldValue::dateTime(k), FieldValue::shortInt(-3)}));
    }
    ASSERT_TRUE(store.goToRecord(4));
    ASSERT_TRUE(store.deleteRecord());
    store.closeAllTables();
}

// Damages copies of a table file and its memo file: a few bytes, mostly in the structural parts (headers,
// descriptors, block heads), sometimes anywhere, and sometimes a file cut short.
void damage(std::mt19937& rng, std::vector<uint8_t>& t, std::vector<uint8_t>& m) {
    const int flips = 1 + static_cast<int>(rng() % 6);
    for (int f = 0; f < flips; ++f) {
        auto& target = rng() % 2 ? t : m;
        size_t at = rng() % 3 == 0 ? rng() % target.size() : rng() % std::min<size_t>(target.size(), 600);
        if (&target == &m && rng() % 2) at = 512 * (rng() % (m.size() / 512)) + rng() % 12;
        target[at] = static_cast<uint8_t>(rng() % 3 == 0 ? 0xFF : rng());
    }
    if (rng() % 8 == 0) t.resize(rng() % t.size());
    if (rng() % 8 == 0) m.resize(rng() % m.size());
}

// Random damage anywhere in a small table and its memo file: opening, reading every field of every
// record and changing the table must end without a crash or an out-of-bounds access (the sanitizer build
// checks the latter), leave only known error codes, and leave a table that opened still openable.
TEST_F(ReliabilityTest, RandomlyDamagedFilesNeverCrash) {
    const std::string p = path("r.EDB");
    buildDamageBase(store, p);
    const auto goodTable = readBytes(p);
    const auto goodMemo = readBytes(path("r.EDT"));
    std::mt19937 rng(4242);
    int opened = 0;
    for (int iteration = 0; iteration < 250; ++iteration) {
        auto t = goodTable;
        auto m = goodMemo;
        damage(rng, t, m);
        writeBytes(p, t);
        writeBytes(path("r.EDT"), m);
        RecordStore s;
        if (!s.openTable(p)) {
            EXPECT_NE(errorMessage(lastError()), "未知错误") << iteration << ": " << lastError();
            continue;
        }
        ++opened;
        const auto fields = s.tableFields();
        const int count = std::min(s.recordCount(), 50);
        for (int r = 1; r <= count; ++r) {
            s.goToRecord(r);
            for (size_t f = 1; f <= fields.size(); ++f) {
                s.readField(static_cast<int>(f));
                EXPECT_TRUE(lastError() == 0 || errorMessage(lastError()) != "未知错误")
                    << iteration << ": " << lastError();
            }
        }
        s.findRecord([&] { return s.readField(1).asInt() == 7; });
        for (size_t f = 1; f <= fields.size(); ++f) {
            s.writeField(static_cast<int>(f), FieldValue::empty(static_cast<FieldType>(fields[f - 1].type)));
        }
        s.appendRecord({FieldValue::integer(99)});
        s.deleteRecord([&] { return s.readField(1).asInt() % 2 == 0; });
        s.purgeDeleted();
        s.closeAllTables();
        RecordStore again;
        EXPECT_TRUE(again.openTable(p)) << iteration << ": a table that opened no longer opens: " << lastError();
    }
    EXPECT_GT(opened, 30);
}

// A hang on a damaged file ends the test run with the damage that caused it instead of running into the
// harness's timeout.
volatile sig_atomic_t gDamageIteration = -1;
void reportHang(int) {
    char text[64];
    const int n =
        std::snprintf(text, sizeof text, "damaged file %d: an operation hung\n", static_cast<int>(gDamageIteration));
    (void)!::write(2, text, static_cast<size_t>(n));
    std::_Exit(3);
}

int64_t sizeOf(const std::string& path) {
    std::error_code ec;
    const auto n = std::filesystem::file_size(path, ec);
    return ec ? -1 : static_cast<int64_t>(n);
}

// What the administrator's commands do, run against every damaged file in turn: check and dump only read
// and change nothing, and dump reads every value without error whenever the check passed; an open that
// may write changes the files only when it can use them, and cuts only what it copied first; append,
// purge and set-password grow the files by no more than their own bytes; and every record that the
// damage left intact, as an independent reading of the undamaged file gave it, is afterwards still in the
// table or in a copy the repair kept.
TEST_F(ReliabilityTest, EveryCommandOnADamagedFileKeepsIntactRecords) {
    const std::string p = path("r.EDB"), memoPath = path("r.EDT");
    buildDamageBase(store, p);
    const auto goodTable = readBytes(p);
    const auto goodMemo = readBytes(memoPath);

    // The records straight from the bytes: 116 + 72 x fields, then record-length slices.
    const size_t first = 116 + 72 * static_cast<size_t>(i32At(goodTable, 112));
    const size_t recordLength = static_cast<size_t>(i32At(goodTable, 24));
    const int32_t count = i32At(goodTable, 16);
    ASSERT_EQ(goodTable.size(), first + recordLength * static_cast<size_t>(count));

    auto contains = [](const std::vector<uint8_t>& hay, const uint8_t* needle, size_t n) {
        return std::search(hay.begin(), hay.end(), needle, needle + n) != hay.end();
    };
    const auto key = cipherKey("pw");
    std::signal(SIGALRM, reportHang);
    std::mt19937 rng(9090);
    int opened = 0, refusedByDump = 0;
    // Every password change and repair syncs its copies, so the number of files is kept modest.
    for (int iteration = 0; iteration < 160; ++iteration) {
        SCOPED_TRACE("damaged file " + std::to_string(iteration));
        gDamageIteration = iteration;
        ::alarm(20);
        auto t = goodTable;
        auto m = goodMemo;
        damage(rng, t, m);
        writeBytes(p, t);
        writeBytes(memoPath, m);
        for (const std::string& copy : cutCopiesOf(p)) std::filesystem::remove(copy);

        // check and dump.
        const TableCheckReport report = checkTable(p, "", 0);
        {
            RecordStore s;
            OpenOptions ro;
            ro.readOnly = true;
            if (s.openTable(p, ro) && checkTable(p, "", 0).ok()) {
                const size_t fields = s.tableFields().size();
                const int records = s.recordCount();
                for (int r = 1; r <= records; ++r) {
                    ASSERT_TRUE(s.goToRecord(r));
                    s.recordSerial();
                    ASSERT_EQ(lastError(), 0) << "record " << r;
                    for (size_t f = 1; f <= fields; ++f) {
                        s.readField(static_cast<int>(f));
                        ASSERT_EQ(lastError(), 0)
                            << "the check passed, yet record " << r << " field " << f << " does not read";
                    }
                }
            } else {
                ++refusedByDump;
            }
        }
        ASSERT_EQ(readBytes(p), t) << "check or dump changed the table file";
        ASSERT_EQ(readBytes(memoPath), m) << "check or dump changed the memo file";

        // An open that may write.
        bool usable;
        {
            RecordStore s;
            usable = s.openTable(p);
        }
        if (!usable) {
            EXPECT_EQ(readBytes(p), t) << "a refused open wrote to the table file";
            EXPECT_EQ(readBytes(memoPath), m) << "a refused open wrote to the memo file";
            EXPECT_TRUE(cutCopiesOf(p).empty());
            EXPECT_FALSE(report.ok()) << "the check passed a table that does not open";
        } else {
            ++opened;
            EXPECT_LE(sizeOf(p), static_cast<int64_t>(t.size()));
            EXPECT_EQ(sizeOf(memoPath), static_cast<int64_t>(m.size()));
            if (sizeOf(p) != static_cast<int64_t>(t.size())) {
                const auto copies = cutCopiesOf(p);
                ASSERT_EQ(copies.size(), 1u) << "the repair cut bytes without keeping them";
                EXPECT_EQ(readBytes(copies[0]), t);
            }
        }

        // append, purge and set-password, each in its own open as the tool runs them.
        auto command = [&](int64_t tableGrowth, int64_t memoGrowth, auto&& op) {
            const int64_t tableBefore = sizeOf(p), memoBefore = sizeOf(memoPath);
            {
                RecordStore s;
                if (s.openTable(p)) op(s);
            }
            EXPECT_LE(sizeOf(p), tableBefore + tableGrowth);
            EXPECT_LE(sizeOf(memoPath), memoBefore + memoGrowth);
        };
        command(static_cast<int64_t>(recordLength), 3 * 512, [](RecordStore& s) {
            // 700 memo bytes take two blocks, 20 byte-set bytes one.
            s.appendRecord({FieldValue::integer(1000), txt("appended"), txt(std::string(700, 'q')),
                            FieldValue::bytes(std::string(20, 'z')), FieldValue::dateTime(3), FieldValue::shortInt(1)});
        });
        command(0, 0, [](RecordStore& s) { s.purgeDeleted(); });
        command(0, 0, [](RecordStore& s) { s.setTablePassword("pw"); });
        for (const char* leftover : {"r.EDB.purge", "r.EDB.pwbak", "r.EDB.pwbak.tmp", "r.EDT.pwbak", "r.EDT.pwbak.tmp"})
            EXPECT_FALSE(std::filesystem::exists(path(leftover))) << leftover;
        ::alarm(0);

        // Every intact live record survives somewhere an administrator can get it from.
        auto final = readBytes(p);
        if (final.size() >= 4 && std::memcmp(final.data(), "WCDB", 4) == 0)
            applyCipher(*key, final.data() + 4, final.size() - 4, 4);
        std::vector<std::vector<uint8_t>> places = {final};
        for (const std::string& copy : cutCopiesOf(p)) places.push_back(readBytes(copy));
        for (int32_t k = 0; k < count; ++k) {
            const size_t at = first + recordLength * static_cast<size_t>(k);
            const uint8_t* good = goodTable.data() + at;
            const bool intact = i32At(goodTable, at) > 0 && t.size() >= at + recordLength &&
                                std::equal(good, good + recordLength, t.begin() + static_cast<std::ptrdiff_t>(at));
            if (!intact) continue;
            bool found = false;
            for (const auto& place : places) found = found || contains(place, good, recordLength);
            EXPECT_TRUE(found) << "intact record " << k + 1 << " was lost";
        }
        if (::testing::Test::HasFailure()) break;  // one damaged file's story is enough to read
    }
    std::signal(SIGALRM, SIG_DFL);
    EXPECT_GT(opened, 20) << "too few damaged files open to exercise the writing commands";
    EXPECT_GT(refusedByDump, 20) << "too few damaged files are refused to exercise the refusals";
}

// ---- Failing file calls at every step -------------------------------------------------------------

struct Row {
    int32_t serial = 0;
    int id = 0;
    std::string name, pad, note;
    bool operator==(const Row&) const = default;
};

std::vector<Row> readRows(RecordStore& s) {
    std::vector<Row> rows;
    for (s.firstRecord(); s.recordNumber() <= s.recordCount(); s.skipRecords()) {
        Row r;
        r.serial = s.recordSerial();
        r.id = s.readField("id").asInt();
        r.name = s.readField("name").asText();
        r.pad = s.readField("pad").asText();
        r.note = s.readField("note").asText();
        rows.push_back(std::move(r));
        if (lastError() != 0) break;
    }
    return rows;
}

struct Scenario {
    const char* name;
    std::function<bool(RecordStore&)> op;
    std::function<void(std::vector<Row>&)> expected;  // the rows after a successful op
    int memoTarget{-1};             // a row whose note may hold either value (or a mix) after a failure
    bool marksMayBePartial{false};  // a conditional delete keeps the marks it made before failing
    std::string newPassword{};      // the password after success, when the op changes it
};

class FaultInjectionTest : public StoreTest {
protected:
    // The table every attempt starts from. About 4 KB per record: 40 per batch, so 100 records make
    // three batches.
    void buildBase(int records) {
        std::filesystem::create_directory(path("base"));
        base_ = path("base/t.EDB");
        ASSERT_TRUE(store.createTable(base_, {{"id", 3},
                                              {"name", 10, 20},
                                              {"pad", 10, 1000},
                                              {"pad2", 10, 1000},
                                              {"pad3", 10, 1000},
                                              {"pad4", 10, 968},
                                              {"note", 12}}));
        ASSERT_TRUE(store.openTable(base_));
        for (int id = 1; id <= records; ++id) {
            ASSERT_TRUE(store.appendRecord({FieldValue::integer(id), txt("name" + std::to_string(id)),
                                            txt("pad" + std::to_string(id)), txt(""), txt(""), txt(""),
                                            txt(id % 4 ? memoFor(id) : "")}));
        }
        for (int id : {7, 55, 99}) {
            if (id > records) continue;
            ASSERT_TRUE(store.goToRecord(id));
            ASSERT_TRUE(store.deleteRecord());
        }
        ASSERT_TRUE(store.setTablePassword("pw"));
        baseRows_ = readRows(store);
        store.closeAllTables();
    }

    void copyBase() {
        for (const char* ext : {".EDB", ".EDT"}) {
            std::filesystem::copy_file(path("base/t") + ext, path("t") + ext,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        for (const char* leftover : {"t.EDB.purge", "t.EDB.pwbak", "t.EDT.pwbak"})
            std::filesystem::remove(path(leftover));
    }

    void run(const Scenario& sc, int records = 100) {
        if (baseRows_.empty()) buildBase(records);
        std::vector<Row> after = baseRows_;
        sc.expected(after);
        for (Fault kind : {Fault::Read, Fault::Write, Fault::Truncate, Fault::AnyChange}) {
            for (bool persistent : {false, true}) {
                for (int n = 1;; ++n) {
                    SCOPED_TRACE(std::string(sc.name) + " kind " + std::to_string(static_cast<int>(kind)) +
                                 (persistent ? " persistent" : " once") + " at call " + std::to_string(n));
                    copyBase();
                    auto fs = std::make_shared<FaultyFileSystem>();
                    bool ok;
                    {
                        RecordStore s(fs);
                        ASSERT_TRUE(s.openTable(path("t"), "pw"));
                        fs->failAt(kind, n, persistent);
                        ok = sc.op(s);
                        fs->heal();
                        if (!ok) {
                            EXPECT_NE(lastError(), 0);
                        }
                    }
                    verify(sc, ok, after);
                    if (!fs->hit()) {
                        EXPECT_TRUE(ok) << "no call failed, yet the operation did";
                        break;
                    }
                    if (n > 400) {
                        ADD_FAILURE() << "operation never completes";
                        break;
                    }
                }
            }
        }
    }

    void verify(const Scenario& sc, bool ok, const std::vector<Row>& after) {
        RecordStore s;
        const std::string pw = ok && !sc.newPassword.empty() ? sc.newPassword : "pw";
        ASSERT_TRUE(s.openTable(path("t"), pw)) << "ok=" << ok << " error " << lastError();
        std::vector<Row> rows = readRows(s);
        ASSERT_EQ(lastError(), 0);
        s.closeAllTables();
        const std::vector<Row>& want = ok ? after : baseRows_;
        if (!ok && sc.memoTarget >= 0 && static_cast<size_t>(sc.memoTarget) < rows.size()) {
            rows[static_cast<size_t>(sc.memoTarget)].note = want[static_cast<size_t>(sc.memoTarget)].note;
        }
        if (!ok && sc.marksMayBePartial && rows.size() == want.size()) {
            for (size_t k = 0; k < rows.size(); ++k) {
                if (rows[k].serial == after[k].serial) rows[k].serial = want[k].serial;
            }
        }
        ASSERT_EQ(rows.size(), want.size()) << "ok=" << ok;
        for (size_t k = 0; k < rows.size(); ++k) ASSERT_EQ(rows[k], want[k]) << "ok=" << ok << " row " << k + 1;
        if (sc.memoTarget < 0) {
            const TableCheckReport report = checkTable(path("t"), pw);
            EXPECT_TRUE(report.ok()) << report.problems.front();
        }
        EXPECT_FALSE(std::filesystem::exists(path("t.EDB.purge")));
        EXPECT_FALSE(std::filesystem::exists(path("t.EDB.pwbak")));
    }

    std::string base_;
    std::vector<Row> baseRows_;
};

std::vector<FieldValue> newRow(int id) {
    return {FieldValue::integer(id),
            txt("name" + std::to_string(id)),
            txt("pad" + std::to_string(id)),
            txt(""),
            txt(""),
            txt(""),
            txt(memoFor(id))};
}

TEST_F(FaultInjectionTest, AppendWithMemo) {
    run({"append", [](RecordStore& s) { return s.appendRecord(newRow(101)); },
         [](std::vector<Row>& rows) {
             rows.push_back({101, 101, "name101", "pad101", memoFor(101)});
         }});
}

TEST_F(FaultInjectionTest, MemoRewrites) {
    const std::string big(2600, 'g');
    run({"grow memo", [&](RecordStore& s) { return s.goToRecord(3) && s.writeField("note", txt(big)); },
         [&](std::vector<Row>& rows) { rows[2].note = big; }, 2});
    run({"shrink memo", [](RecordStore& s) { return s.goToRecord(5) && s.writeField("note", txt("tiny")); },
         [](std::vector<Row>& rows) { rows[4].note = "tiny"; }, 4});
}

TEST_F(FaultInjectionTest, TextWriteAndDelete) {
    run({"write text", [](RecordStore& s) { return s.goToRecord(10) && s.writeField("name", txt("renamed")); },
         [](std::vector<Row>& rows) { rows[9].name = "renamed"; }});
    run({"delete", [](RecordStore& s) { return s.goToRecord(20) && s.deleteRecord(); },
         [](std::vector<Row>& rows) { rows[19].serial = -20; }});
}

TEST_F(FaultInjectionTest, ConditionalDelete) {
    Scenario sc{"delete where",
                [](RecordStore& s) { return s.deleteRecord([&] { return s.readField("id").asInt() % 10 == 0; }); },
                [](std::vector<Row>& rows) {
                    for (Row& r : rows) {
                        if (r.id % 10 == 0 && r.serial > 0) r.serial = -r.serial;
                    }
                }};
    sc.marksMayBePartial = true;
    run(sc);
}

// A purge that fails part way (a short read of a later batch, a failed write or cut) loses nothing.
TEST_F(FaultInjectionTest, Purge) {
    run({"purge", [](RecordStore& s) { return s.purgeDeleted(); },
         [](std::vector<Row>& rows) { std::erase_if(rows, [](const Row& r) { return r.serial < 0; }); }});
}

TEST_F(FaultInjectionTest, PasswordChange) {
    Scenario sc{"password", [](RecordStore& s) { return s.setTablePassword("new"); }, [](std::vector<Row>&) {}};
    sc.newPassword = "new";
    run(sc, 12);  // every step syncs: a small table keeps the attempts quick
}

}  // namespace
}  // namespace xp::test
