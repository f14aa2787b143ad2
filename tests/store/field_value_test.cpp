// FieldValue: the number-to-text form, the empty values and the date-time calendar.
#include <gtest/gtest.h>

#include "appdata/text_codec.h"
#include "store/field_value.h"

namespace xp {
namespace {

TEST(FieldValue, ToText) {
    struct Case {
        FieldValue value;
        std::string utf8;
    } cases[] = {
        {FieldValue::integer(-42), "-42"},
        {FieldValue::byte(255), "255"},
        {FieldValue::int64(-9000000000LL), "-9000000000"},
        {FieldValue::single(1.0f / 3.0f), "0.333333"},
        {FieldValue::real(1.0 / 3.0), "0.3333333333333"},
        {FieldValue::real(1e20), "1e+20"},
        {FieldValue::boolean(true), "真"},
        {FieldValue::boolean(false), "假"},
        {FieldValue::dateTime(dateTimeFromParts(2024, 3, 5)), "2024年3月5日"},
        {FieldValue::dateTime(dateTimeFromParts(2024, 3, 5, 14)), "2024年3月5日14时"},
        {FieldValue::dateTime(dateTimeFromParts(2024, 3, 5, 14, 7)), "2024年3月5日14时7分"},
        {FieldValue::dateTime(dateTimeFromParts(2024, 3, 5, 0, 0, 9)), "2024年3月5日0时0分9秒"},
        {FieldValue::dateTime(0.0), "1899年12月30日"},
        {FieldValue::dateTime(-1.25), "1899年12月29日6时"},
        {FieldValue::dateTime(2958465.0), "9999年12月31日"},
        {FieldValue::text("\xC4\xE3\xBA\xC3"), "你好"},
    };
    for (const Case& c : cases) EXPECT_EQ(fromGbk(c.value.toText()), c.utf8);
}

TEST(FieldValue, DateTimeParts) {
    EXPECT_EQ(dateTimeFromParts(1900, 1, 1), 2.0);
    EXPECT_EQ(dateTimeFromParts(2000, 1, 1, 12), 36526.5);
    const DateTimeParts p = dateTimeToParts(dateTimeFromParts(2023, 12, 31, 23, 59, 59));
    EXPECT_EQ(std::make_tuple(p.year, p.month, p.day, p.hour, p.minute, p.second),
              std::make_tuple(2023, 12, 31, 23, 59, 59));
    EXPECT_GT(currentDateTime(), dateTimeFromParts(2020, 1, 1));
}

TEST(FieldValue, EmptyValuesAndKinds) {
    EXPECT_EQ(FieldValue::empty(FieldType::Memo), FieldValue::text(""));
    EXPECT_EQ(FieldValue::empty(FieldType::Bytes), FieldValue::bytes(""));
    EXPECT_EQ(FieldValue::empty(FieldType::Bool), FieldValue::boolean(false));
    EXPECT_NE(FieldValue::empty(FieldType::Int), FieldValue::empty(FieldType::Short));  // kinds differ
    EXPECT_TRUE(FieldValue::empty(FieldType::DateTime).isEmpty());
    EXPECT_FALSE(FieldValue::integer(1).isEmpty());
    EXPECT_TRUE(FieldValue::real(1).isNumeric());
    EXPECT_FALSE(FieldValue::dateTime(1).isNumeric());
    EXPECT_FALSE(FieldValue::codeRef(1).isNumeric());
    EXPECT_EQ(FieldValue::text("5").asInt(), 0);
    EXPECT_EQ(FieldValue::integer(5).asText(), "");
    EXPECT_EQ(FieldValue::shortInt(-1).convertedTo(FieldValue::Kind::Byte), FieldValue::byte(255));
    EXPECT_EQ(FieldValue::byte(255).convertedTo(FieldValue::Kind::Short), FieldValue::shortInt(255));
    EXPECT_EQ(FieldValue::real(-1e30).asInt64(), -5076964154930102272LL);  // its low 64 bits
    EXPECT_EQ(FieldValue::real(9.5e18).convertedTo(FieldValue::Kind::Int64).asInt64(), -8946744073709551616LL);
}

}  // namespace
}  // namespace xp
