// `xuanpian-admin table`, run as the built program: create, append, dump, write, delete, purge,
// set-password and check, with UTF-8 on the command line and GBK in the files.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "appdata/text_codec.h"
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
        int status = 0;
        ::waitpid(pid, &status, 0);
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

}  // namespace
}  // namespace xp::test
