// `xuanpian-admin table`, run as the built program: create, append, dump, write, delete, purge,
// set-password and check, with UTF-8 on the command line and GBK in the files.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "appdata/text_codec.h"
#include "store/file_system.h"
#include "store/table_check.h"
#include "store/table_recovery.h"
#include "tests/store/store_fixture.h"

namespace xp::test {
namespace {

struct Result {
    int code = -1;
    std::string out, err;
};

class TableToolTest : public StoreTest {
protected:
    Result tool(std::vector<std::string> args) {
        const char* exe = std::getenv("XP_ADMIN");
        EXPECT_NE(exe, nullptr) << "XP_ADMIN names the built xuanpian-admin";
        if (!exe) return {};
        args.insert(args.begin(), {exe, "table"});
        const std::string out = path("stdout"), err = path("stderr");
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(o, 1);
            ::dup2(e, 2);
            std::vector<char*> argv;
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        // A command that hangs is killed after 20 s and reported as such.
        int status = 0;
        bool hung = true;
        for (int waited = 0; waited < 2000; ++waited) {
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                hung = false;
                break;
            }
            ::usleep(10000);
        }
        if (hung) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "the command hung: " << args[2];
        }
        Result r;
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        const auto o = readBytes(out), e = readBytes(err);
        r.out.assign(o.begin(), o.end());
        r.err.assign(e.begin(), e.end());
        return r;
    }
};

TEST_F(TableToolTest, CreateAppendDumpRoundTrip) {
    const std::string t = path("orders");
    ASSERT_EQ(tool({"create", t, "编号:Int", "名称:Text:10", "价格:Double", "已选:Bool", "时间:DateTime", "图:Bytes",
                    "备注:Memo", "小:Byte"})
                  .code,
              0);
    Result r =
        tool({"append", t, "7", "王小明", "12.5", "true", "2024-03-05 14:30", "00ff10", "一段很长的备注", "200"});
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(tool({"append", t, "8"}).code, 0);
    r = tool({"dump", t});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"record\":1,\"serial\":1,\"deleted\":false,\"fields\":{\"编号\":7,\"名称\":\"王小明\",\"价格\":12.5,"
              "\"已选\":true,\"时间\":45356.604166666664,\"图\":\"00ff10\",\"备注\":\"一段很长的备注\",\"小\":200}}\n"
              "{\"record\":2,\"serial\":2,\"deleted\":false,\"fields\":{\"编号\":8,\"名称\":\"\",\"价格\":0.0,"
              "\"已选\":false,\"时间\":0.0,\"图\":\"\",\"备注\":\"\",\"小\":0}}\n");

    // The file holds GBK: the store reads the name back as GBK bytes.
    ASSERT_TRUE(store.openTable(t));
    EXPECT_EQ(store.readField(toGbk("名称")).asText(), toGbk("王小明"));
    EXPECT_EQ(store.tableFields()[1].name, toGbk("名称"));
}

TEST_F(TableToolTest, WriteDeletePurgeAndCheck) {
    const std::string t = path("t");
    ASSERT_EQ(tool({"create", t, "id:Int", "name:Text:8", "note:Memo"}).code, 0);
    for (const char* id : {"1", "2", "3"})
        ASSERT_EQ(tool({"append", t, id, std::string("n") + id, std::string(700, 'x')}).code, 0);
    EXPECT_EQ(tool({"write", t, "2", "name", "renamed"}).code, 0);
    EXPECT_EQ(tool({"write", t, "3", "3", "short"}).code, 0);  // fields by number too
    EXPECT_EQ(tool({"delete", t, "1"}).code, 0);
    Result r = tool({"dump", t});
    EXPECT_NE(r.out.find("{\"record\":1,\"serial\":1,\"deleted\":true"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"name\":\"renamed\""), std::string::npos);
    EXPECT_NE(r.out.find("\"note\":\"short\""), std::string::npos);
    EXPECT_EQ(tool({"purge", t}).code, 0);
    r = tool({"dump", t});
    EXPECT_EQ(r.out.find("\"serial\":1,"), std::string::npos);
    EXPECT_NE(r.out.find("{\"record\":1,\"serial\":2,\"deleted\":false"), std::string::npos) << r.out;
    r = tool({"check", t});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, "ok: 2 records, 6 memo blocks\n");

    // Damage: a memo chain pointing at a block beyond the file.
    auto b = readBytes(t + ".EDB");
    putI32At(b, 116 + 72 * 3 + 16, 40);
    writeBytes(t + ".EDB", b);
    r = tool({"check", t});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("problem: record 1: chain refers to block 40, outside the memo file"), std::string::npos)
        << r.out;
}

TEST_F(TableToolTest, PasswordsAndErrors) {
    const std::string t = path("p");
    ASSERT_EQ(tool({"create", t, "v:Text:20"}).code, 0);
    ASSERT_EQ(tool({"append", t, "明文"}).code, 0);
    ASSERT_EQ(tool({"set-password", t, "口令"}).code, 0);
    Result r = tool({"dump", t});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "xuanpian-admin table: error -78: 未提供数据库访问密码或提供了错误的密码\n");
    r = tool({"dump", t, "--password", "口令"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"v\":\"明文\""), std::string::npos);
    EXPECT_EQ(tool({"check", t, "--password=口令"}).code, 0);
    ASSERT_TRUE(store.openTable(t, toGbk("口令")));  // the key is the password's GBK bytes
    store.closeAllTables();
    EXPECT_EQ(tool({"set-password", t, "--password", "口令", ""}).code, 0);
    EXPECT_EQ(tool({"dump", t}).code, 0);

    struct Case {
        std::vector<std::string> args;
        int code;
        std::string err;
    } cases[] = {
        {{"create", path("x"), "a:Float:3", "b:Nope"}, 2, "unknown type 'Nope'"},
        {{"create", path("x"), "a:Text"}, 2, "needs its length"},
        {{"create", path("x"), "1a:Int"}, 1, "error -18"},
        {{"append", t, "too", "many"}, 2, "more values"},
        {{"append", path("missing")}, 1, "error -3: 指定文件未找到"},
        {{"write", t, "5", "v", "x"}, 2, "record 5 does not exist"},
        {{"write", t, "1", "w", "x"}, 2, "no field 'w'"},
        {{"dump", t, "--password"}, 2, "--password needs a value"},
        {{"frobnicate", t}, 2, "unknown sub-command"},
    };
    for (const Case& c : cases) {
        r = tool(c.args);
        EXPECT_EQ(r.code, c.code) << c.args[0] << " " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    ASSERT_EQ(tool({"create", path("n"), "i:Int", "b:Bool", "y:Bytes"}).code, 0);
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"x1"}, {"1", "maybe"}, {"1", "true", "abc"}, {"99999999999"}}) {
        std::vector<std::string> args = {"append", path("n")};
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(tool(args).code, 2) << bad[0];
    }
}

// ---- The faults an adversarial run of the table commands found, each on a fresh table ----------------

class ToolFaultTest : public TableToolTest {
protected:
    // A table "id:Int v:Text:4" holding the records 1, 2 and 3: 260 header bytes and 12 per record.
    std::string threeRecords() {
        const std::string t = path("t");
        EXPECT_EQ(tool({"create", t, "id:Int", "v:Text:4"}).code, 0);
        for (const char* id : {"1", "2", "3"}) EXPECT_EQ(tool({"append", t, id, "v"}).code, 0);
        EXPECT_EQ(readBytes(t + ".EDB").size(), 296u);
        return t;
    }
    void damage(const std::string& t, size_t at, int32_t value) {
        auto b = readBytes(t + ".EDB");
        putI32At(b, at, value);
        writeBytes(t + ".EDB", b);
    }
};

// 1. A zeroed record count or a wrong field count: dump and check refuse and change nothing; the repair a
// writing command makes keeps what it cuts.
TEST_F(ToolFaultTest, DamagedCountsAreRefusedAndTheRepairKeepsTheRecords) {
    const std::string t = threeRecords();
    damage(t, 16, 0);
    const auto zeroed = readBytes(t + ".EDB");
    Result r = tool({"dump", t});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("error -48"), std::string::npos) << r.err;
    r = tool({"check", t});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("3 whole records after"), std::string::npos) << r.out;
    EXPECT_EQ(readBytes(t + ".EDB"), zeroed);
    EXPECT_TRUE(cutCopiesOf(t + ".EDB").empty());
    ASSERT_EQ(tool({"append", t, "4"}).code, 0);  // the format's repair: the count rules, the rest is cut
    const auto copies = cutCopiesOf(t + ".EDB");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readBytes(copies[0]), zeroed);

    const std::string u = path("u");
    ASSERT_EQ(tool({"create", u, "id:Int", "v:Text:4"}).code, 0);
    ASSERT_EQ(tool({"append", u, "1", "v"}).code, 0);
    damage(u, 112, 1);
    const auto oneField = readBytes(u + ".EDB");
    for (const char* command : {"dump", "append", "purge"}) {
        r = tool({command, u});
        EXPECT_EQ(r.code, 1) << command;
        EXPECT_NE(r.err.find("error -22: 指定文件不是数据库文件"), std::string::npos) << command << r.err;
        EXPECT_EQ(r.out, "") << command;
    }
    EXPECT_EQ(readBytes(u + ".EDB"), oneField);
    EXPECT_TRUE(cutCopiesOf(u + ".EDB").empty());
}

// 2. A record length of 0x7FFFFFFF is refused at once by every writing command, and the file stays.
TEST_F(ToolFaultTest, HugeRecordLengthIsRefusedQuickly) {
    const std::string t = threeRecords();
    damage(t, 24, 0x7FFFFFFF);
    const auto damaged = readBytes(t + ".EDB");
    const auto start = std::chrono::steady_clock::now();
    for (std::vector<std::string> args :
         {std::vector<std::string>{"append", t, "4"}, {"purge", t}, {"set-password", t, "pw"}}) {
        const Result r = tool(args);
        EXPECT_EQ(r.code, 1) << args[0];
        EXPECT_NE(r.err.find("error -22"), std::string::npos) << args[0] << r.err;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(readBytes(t + ".EDB"), damaged);
}

// 3. create refuses an existing table; --force replaces one that nobody has open, and nothing else.
TEST_F(ToolFaultTest, CreateReplacesOnlyWithForceAndNeverATableInUse) {
    const std::string t = path("m");
    ASSERT_EQ(tool({"create", t, "id:Int", "note:Memo"}).code, 0);
    ASSERT_EQ(tool({"append", t, "1", "keep me"}).code, 0);
    const auto table = readBytes(t + ".EDB"), memo = readBytes(t + ".EDT");
    Result r = tool({"create", t, "x:Int"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("exists; --force replaces the table"), std::string::npos) << r.err;
    std::filesystem::remove(t + ".EDB");
    EXPECT_EQ(tool({"create", t, "x:Int"}).code, 2) << "a memo file alone is not replaced either";
    writeBytes(t + ".EDB", table);

    ASSERT_TRUE(store.openTable(t));
    r = tool({"create", t, "--force", "x:Int"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("error -12"), std::string::npos) << r.err;
    store.closeAllTables();
    EXPECT_EQ(readBytes(t + ".EDB"), table);
    EXPECT_EQ(readBytes(t + ".EDT"), memo);

    ASSERT_EQ(tool({"create", t, "--force", "x:Int"}).code, 0);
    EXPECT_FALSE(std::filesystem::exists(t + ".EDT")) << "the old memo file was left behind";
    EXPECT_EQ(tool({"dump", t}).out, "");
    EXPECT_EQ(tool({"append", t, "--force", "1"}).code, 2);
}

// 4. A password change killed while copying leaves its copy under the temporary name (in plain form when
// the table had no password); the next command that opens the table for writing removes it.
TEST_F(ToolFaultTest, InterruptedPasswordChangeLeavesNoCopy) {
    const std::string t = path("s");
    ASSERT_EQ(tool({"create", t, "v:Text:20", "note:Memo"}).code, 0);
    ASSERT_EQ(tool({"append", t, "secret", "more secret"}).code, 0);
    std::filesystem::copy_file(t + ".EDT", t + ".EDT.pwbak");      // the memo copy was complete,
    std::filesystem::copy_file(t + ".EDB", t + ".EDB.pwbak.tmp");  // the table copy was being written
    Result r = tool({"check", t});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.out, "recovery pending: open the table to finish it\n");
    EXPECT_EQ(tool({"dump", t}).code, 1);
    ASSERT_EQ(tool({"append", t, "x"}).code, 0);
    for (const char* copy : {".EDT.pwbak", ".EDB.pwbak.tmp"}) EXPECT_FALSE(std::filesystem::exists(t + copy)) << copy;
    EXPECT_EQ(tool({"check", t}).code, 0);
}

// 5. check on a FIFO ends at once with a clear message (the open no longer waits for a writer).
TEST_F(ToolFaultTest, FifoIsRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(path("f.EDB").c_str(), 0600), 0);
    for (const char* command : {"check", "dump", "append"}) {
        const Result r = tool({command, path("f")});
        EXPECT_EQ(r.code, 2) << command;
        EXPECT_NE(r.err.find("is a FIFO, not a table file"), std::string::npos) << command << r.err;
    }
    const TableCheckReport report = checkTable(path("f"), "");
    EXPECT_EQ(report.code, -4);
    EXPECT_FALSE(store.openTable(path("f")));
    EXPECT_EQ(lastError(), -4);
}

// 6. Limits: the last serial the format can count past, and offsets and lengths at the int32 maximum.
TEST_F(ToolFaultTest, LimitsAreErrorsThatLeaveTheTableReadable) {
    const std::string t = threeRecords();
    damage(t, 20, 0x7FFFFFFE);
    ASSERT_EQ(tool({"append", t, "4"}).code, 0);
    Result r = tool({"append", t, "5"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("error -63"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("serial counter is at 2147483647"), std::string::npos) << r.err;
    r = tool({"dump", t});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("{\"record\":4,\"serial\":2147483646,"), std::string::npos) << r.out;
    EXPECT_EQ(tool({"check", t}).code, 0);
    EXPECT_EQ(tool({"delete", t, "4"}).code, 0);
    EXPECT_EQ(tool({"purge", t}).code, 0);

    for (size_t at : {116 + 72 + 24, 116 + 72 + 28}) {  // the Text field's offset, then its length
        const std::string u = path("u" + std::to_string(at));
        ASSERT_EQ(tool({"create", u, "id:Int", "v:Text:4"}).code, 0);
        ASSERT_EQ(tool({"append", u, "1"}).code, 0);
        damage(u, at, 0x7FFFFFFF);
        r = tool({"check", u});
        EXPECT_EQ(r.code, 1) << at;
        EXPECT_NE(r.out.find("problem: field 2"), std::string::npos) << r.out;
    }
}

// 7. Input the files could not hold as given is refused, naming it, and nothing is stored.
TEST_F(ToolFaultTest, InputThatCannotBeStoredFaithfullyIsRefused) {
    const std::string t = path("v");
    ASSERT_EQ(tool({"create", t, "txt:Text:4", "f:Float", "d:Double", "when:DateTime", "note:Memo"}).code, 0);
    std::filesystem::create_directory(path("adir"));
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"append", t, "\xff\xfe"}, "'\xff\xfe' is not valid UTF-8"},
        {{"append", t, "", "0", "0", "0", "a\xc3"}, "is not valid UTF-8"},
        {{"append", t, "abcde"}, "'abcde' takes 5 bytes, more than the 4 of field 'txt'"},
        {{"append", t, "中文字"}, "'中文字' takes 6 bytes"},
        {{"append", t, "", "nan"}, "'nan' is not a finite number"},
        {{"append", t, "", "1e39"}, "'1e39' is out of range for a Float"},
        {{"append", t, "", "1e-50"}, "'1e-50' is too small for a Float"},
        {{"append", t, "", "0", "inf"}, "'inf' is not a finite number"},
        {{"append", t, "", "0", "1e400"}, "'1e400' is out of range for a Double"},
        {{"append", t, "", "0", "0", "2024-02-30"}, "'2024-02-30' is not a date"},
        {{"append", t, "", "0", "0", "2023-02-29"}, "'2023-02-29' is not a date"},
        {{"append", t, "", "0", "0", "9e9"}, "'9e9' is outside the DateTime range"},
        {{"create", path("bad"), "na\xffme:Int"}, "is not valid UTF-8"},
        {{"set-password", t, "\xff"}, "is not valid UTF-8"},
        {{"append", path("adir")}, "is a folder, not a table file"},
        {{"create", path("adir/"), "x:Int"}, "names a folder, not a table file"},
        {{"create", "/dev/null", "x:Int"}, "'/dev/null' is a device, not a table file"},
    };
    for (const Case& c : cases) {
        const Result r = tool(c.args);
        EXPECT_EQ(r.code, 2) << c.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.err << " / " << r.err;
    }
    EXPECT_EQ(tool({"dump", t}).out, "") << "a refused value was stored";
    EXPECT_FALSE(std::filesystem::exists(path("adir/.EDB")));
    EXPECT_FALSE(std::filesystem::exists(path("bad.EDB")));
    // What does fit is taken: 4 bytes fill the field, a leap day exists.
    ASSERT_EQ(tool({"append", t, "中文", "1.5", "1e300", "2024-02-29"}).code, 0);
    EXPECT_NE(tool({"dump", t}).out.find("\"txt\":\"中文\",\"f\":1.5,\"d\":1e+300,\"when\":45351.0"),
              std::string::npos);
}

// 8. check after a purge was killed reports the pending recovery instead of damage, and dump refuses
// rather than printing the half-purged records; the next writing command finishes the recovery.
TEST_F(ToolFaultTest, PendingPurgeIsReportedNotMistakenForDamage) {
    const std::string t = threeRecords();
    ASSERT_EQ(tool({"delete", t, "1"}).code, 0);
    const auto before = readBytes(t + ".EDB");
    {
        // What a purge killed after moving the records leaves: its journal and a half-written table.
        int e = 0;
        auto file = FileSystem::posix()->open(t + ".EDB", OpenMode::ReadWrite, e);
        ASSERT_NE(file, nullptr);
        PurgeJournal journal;
        ASSERT_EQ(journal.begin(*FileSystem::posix(), t + ".EDB", *file, 260, 296), 0);
        ASSERT_EQ(journal.append(before.data() + 260, 36), 0);
        ASSERT_EQ(file->writeAt(before.data() + 272, 24, 260), 24);
        ASSERT_EQ(file->truncate(284), 0);
    }
    const auto halfway = readBytes(t + ".EDB");
    Result r = tool({"check", t});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.out, "recovery pending: open the table to finish it\n");
    r = tool({"dump", t});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("recovery pending: open the table to finish it"), std::string::npos) << r.err;
    EXPECT_EQ(readBytes(t + ".EDB"), halfway);
    ASSERT_EQ(tool({"purge", t}).code, 0);
    r = tool({"check", t});
    EXPECT_EQ(r.out, "ok: 2 records, 0 memo blocks\n");
    EXPECT_FALSE(std::filesystem::exists(t + ".EDB.purge"));
}

}  // namespace
}  // namespace xp::test
