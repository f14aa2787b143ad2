// Opening folders and addresses: one argument vector, no shell, none of our descriptors in the child.
#include "platform/launcher.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/clock.h"
#include "tests/support/temp_dir.h"

namespace xp {
namespace {

using test::TempDir;

class Launcher : public ::testing::Test {
protected:
    // The recorder writes its last argument and the descriptors it holds, then renames the record into
    // place so that a half-written record is never read.
    void SetUp() override {
        setOpenCommand({"/bin/sh", "-c",
                        "printf '%s\\n' \"$1\" > \"$0.part\"; ls /proc/self/fd >> \"$0.part\"; "
                        "mv \"$0.part\" \"$0\"",
                        record});
    }
    void TearDown() override { setOpenCommand({}); }

    std::string waitForRecord() const {
        for (std::int64_t start = tickCount(); tickCount() - start < 10000; sleepMs(10))
            if (std::filesystem::exists(record)) return TempDir::slurp(record);
        return "<no record>";
    }

    TempDir dir;
    std::string record = dir / "record";
};

TEST_F(Launcher, PassesTheTargetAsOneArgumentWithoutAShell) {
    std::string folder = dir / "订单 1; rm -rf $HOME `x`";
    ASSERT_TRUE(openFolder(folder));
    std::string out = waitForRecord();
    EXPECT_EQ(out.substr(0, out.find('\n')), folder);
}

TEST_F(Launcher, ChildInheritsNoDescriptorsBeyondTheStandardOnes) {
    // No close-on-exec, like a table file could be; placed high so that the listing's own descriptor
    // (the lowest free one in the child) cannot be mistaken for it.
    int opened = ::open(dir.path().c_str(), O_RDONLY);
    ASSERT_GE(opened, 0);
    int fd = ::fcntl(opened, F_DUPFD, 200);
    ::close(opened);
    ASSERT_GE(fd, 200);
    ASSERT_TRUE(openWebAddress("https://example.com/?a=1&b=2"));
    std::string out = waitForRecord();
    ::close(fd);
    EXPECT_EQ(out.substr(0, out.find('\n')), "https://example.com/?a=1&b=2");
    EXPECT_EQ(out.find("\n" + std::to_string(fd) + "\n"), std::string::npos) << out;
}

TEST_F(Launcher, RefusesWhatCannotBeOpened) {
    EXPECT_FALSE(openFolder(""));
    EXPECT_FALSE(openWebAddress("--help"));
    setOpenCommand({dir / "no-such-program"});
    EXPECT_FALSE(openFolder(dir.path()));
    setOpenCommand({});
    EXPECT_EQ(openCommand(), std::vector<std::string>{"xdg-open"});
}

TEST(Clock, TicksAdvanceAcrossASleep) {
    std::int64_t start = tickCount();
    sleepMs(20);
    EXPECT_GE(tickCount() - start, 20);
}

}  // namespace
}  // namespace xp
