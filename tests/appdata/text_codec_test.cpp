// The GBK boundary: exact GBK bytes, characters outside GBK kept, broken bytes never fatal.
#include "appdata/text_codec.h"

#include <gtest/gtest.h>

namespace xp {
namespace {

TEST(TextCodec, RoundTripsKnownGbkBytes) {
    struct Case {
        std::string utf8;
        std::string gbk;
    };
    const Case cases[] = {
        {"", ""},
        {"admin", "admin"},
        {"订单编号", "\xB6\xA9\xB5\xA5\xB1\xE0\xBA\xC5"},
        {"。", "\xA1\xA3"},
        {"A。B。",
         "A\xA1\xA3"
         "B\xA1\xA3"},
        {"｜", "\xA3\xFC"},
        {"★", "\xA1\xEF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toGbk(c.utf8), c.gbk) << c.utf8;
        EXPECT_EQ(fromGbk(c.gbk), c.utf8) << c.utf8;
    }
}

TEST(TextCodec, KeepsCharactersOutsideGbk) {
    const std::string emoji = "\xF0\x9F\x93\xB7";  // camera, not in GBK
    std::string stored = toGbk("a" + emoji);
    EXPECT_EQ(stored.size(), 5u);
    EXPECT_EQ(fromGbk(stored), "a" + emoji);
}

TEST(TextCodec, CutDoubleByteCharacterDecodesToReplacement) {
    std::string cut = std::string("\xB6\xA9") + "\xB5";  // "订" and half of "单"
    EXPECT_EQ(fromGbk(cut), "订\xEF\xBF\xBD");
    EXPECT_EQ(fromGbk("\xFF"
                      "a"),
              "\xEF\xBF\xBD"
              "a");
}

}  // namespace
}  // namespace xp
