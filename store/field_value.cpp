// FieldValue kinds, numeric conversions, the number-to-text form and the date-time calendar arithmetic.
#include "store/field_value.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace xp {
namespace {

// GBK bytes of the characters the text form uses.
constexpr const char* kTrue = "\xD5\xE6";    // 真
constexpr const char* kFalse = "\xBC\xD9";   // 假
constexpr const char* kYear = "\xC4\xEA";    // 年
constexpr const char* kMonth = "\xD4\xC2";   // 月
constexpr const char* kDay = "\xC8\xD5";     // 日
constexpr const char* kHour = "\xCA\xB1";    // 时
constexpr const char* kMinute = "\xB7\xD6";  // 分
constexpr const char* kSecond = "\xC3\xEB";  // 秒

bool isIntegerKind(FieldValue::Kind k) {
    using K = FieldValue::Kind;
    return k == K::Byte || k == K::Short || k == K::Int || k == K::Int64;
}

bool isFloatKind(FieldValue::Kind k) { return k == FieldValue::Kind::Float || k == FieldValue::Kind::Double; }

// A floating value truncated toward zero, reduced modulo 2^64 so that the low-order bytes are kept the
// way a two's-complement register would keep them, without the undefined behaviour of an out-of-range
// cast. NaN gives 0.
int64_t truncateToInt64(double v) {
    if (std::isnan(v) || std::isinf(v)) return 0;
    double t = std::trunc(v);
    if (t >= -9223372036854775808.0 && t < 9223372036854775808.0) return static_cast<int64_t>(t);
    double m = std::fmod(t, 18446744073709551616.0);
    if (m < 0) m += 18446744073709551616.0;
    // m is now an integer in [0, 2^64); split it to avoid an out-of-range cast.
    uint64_t hi = static_cast<uint64_t>(m / 4294967296.0);
    uint64_t lo = static_cast<uint64_t>(m - static_cast<double>(hi) * 4294967296.0);
    return static_cast<int64_t>((hi << 32) + lo);
}

// Days from 1970-01-01 for a proleptic Gregorian date, and back.
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

const int64_t kEpochOffset = daysFromCivil(1899, 12, 30);  // the date-time zero in Unix days

}  // namespace

bool isValidFieldType(int code) { return code >= 1 && code <= 12; }

FieldValue::Kind FieldValue::kindOf(FieldType type) {
    switch (type) {
        case FieldType::Byte: return Kind::Byte;
        case FieldType::Short: return Kind::Short;
        case FieldType::Int: return Kind::Int;
        case FieldType::Int64: return Kind::Int64;
        case FieldType::Float: return Kind::Float;
        case FieldType::Double: return Kind::Double;
        case FieldType::Bool: return Kind::Bool;
        case FieldType::DateTime: return Kind::DateTime;
        case FieldType::CodeRef: return Kind::CodeRef;
        case FieldType::Text: return Kind::Text;
        case FieldType::Bytes: return Kind::Bytes;
        case FieldType::Memo: return Kind::Text;
    }
    return Kind::Text;
}

FieldValue FieldValue::empty(FieldType type) { return empty(kindOf(type)); }

FieldValue FieldValue::empty(Kind kind) {
    switch (kind) {
        case Kind::Float:
        case Kind::Double:
        case Kind::DateTime: return FieldValue(kind, 0.0);
        case Kind::Text:
        case Kind::Bytes: return FieldValue(kind, std::string());
        default: return FieldValue(kind, static_cast<int64_t>(0));
    }
}

bool FieldValue::isNumeric() const { return isIntegerKind(kind_) || isFloatKind(kind_); }

bool FieldValue::isEmpty() const { return *this == empty(kind_); }

FieldValue FieldValue::convertedTo(Kind target) const {
    if (!isNumeric()) return *this;
    if (kind_ == target) return *this;
    const bool fromFloat = isFloatKind(kind_);
    const int64_t i = fromFloat ? truncateToInt64(std::get<double>(data_)) : std::get<int64_t>(data_);
    switch (target) {
        case Kind::Byte: return byte(static_cast<uint8_t>(static_cast<uint64_t>(i) & 0xFF));
        case Kind::Short: return shortInt(static_cast<int16_t>(static_cast<uint16_t>(i & 0xFFFF)));
        case Kind::Int: return integer(static_cast<int32_t>(static_cast<uint32_t>(i & 0xFFFFFFFF)));
        case Kind::Int64: return int64(i);
        case Kind::Float:
            return single(fromFloat ? static_cast<float>(std::get<double>(data_)) : static_cast<float>(i));
        case Kind::Double: return real(fromFloat ? std::get<double>(data_) : static_cast<double>(i));
        default: return *this;
    }
}

uint8_t FieldValue::asByte() const { return isNumeric() ? static_cast<uint8_t>(convertedTo(Kind::Byte).asInt64()) : 0; }
int16_t FieldValue::asShort() const {
    return isNumeric() ? static_cast<int16_t>(convertedTo(Kind::Short).asInt64()) : 0;
}
int32_t FieldValue::asInt() const { return isNumeric() ? static_cast<int32_t>(convertedTo(Kind::Int).asInt64()) : 0; }
int64_t FieldValue::asInt64() const {
    if (isIntegerKind(kind_)) return std::get<int64_t>(data_);
    if (isFloatKind(kind_)) return truncateToInt64(std::get<double>(data_));
    return 0;
}
float FieldValue::asFloat() const { return static_cast<float>(convertedTo(Kind::Float).asDouble()); }
double FieldValue::asDouble() const {
    if (isFloatKind(kind_)) return std::get<double>(data_);
    if (isIntegerKind(kind_)) return static_cast<double>(std::get<int64_t>(data_));
    return 0.0;
}
bool FieldValue::asBool() const { return kind_ == Kind::Bool && std::get<int64_t>(data_) != 0; }
double FieldValue::asDateTime() const { return kind_ == Kind::DateTime ? std::get<double>(data_) : 0.0; }
uint32_t FieldValue::asCodeRef() const {
    return kind_ == Kind::CodeRef ? static_cast<uint32_t>(std::get<int64_t>(data_)) : 0;
}
const std::string& FieldValue::asText() const {
    static const std::string none;
    return kind_ == Kind::Text ? std::get<std::string>(data_) : none;
}
const std::string& FieldValue::asBytes() const {
    static const std::string none;
    return kind_ == Kind::Bytes ? std::get<std::string>(data_) : none;
}

std::string FieldValue::toText() const {
    char buf[64];
    switch (kind_) {
        case Kind::Byte:
        case Kind::Short:
        case Kind::Int:
        case Kind::Int64:
            std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(std::get<int64_t>(data_)));
            return buf;
        case Kind::CodeRef: std::snprintf(buf, sizeof buf, "%u", asCodeRef()); return buf;
        case Kind::Float: std::snprintf(buf, sizeof buf, "%.6g", std::get<double>(data_)); return buf;
        case Kind::Double: std::snprintf(buf, sizeof buf, "%.13g", std::get<double>(data_)); return buf;
        case Kind::Bool: return asBool() ? kTrue : kFalse;
        case Kind::DateTime: {
            const DateTimeParts p = dateTimeToParts(std::get<double>(data_));
            std::string out =
                std::to_string(p.year) + kYear + std::to_string(p.month) + kMonth + std::to_string(p.day) + kDay;
            if (p.second != 0) {
                out += std::to_string(p.hour) + kHour + std::to_string(p.minute) + kMinute + std::to_string(p.second) +
                       kSecond;
            } else if (p.minute != 0) {
                out += std::to_string(p.hour) + kHour + std::to_string(p.minute) + kMinute;
            } else if (p.hour != 0) {
                out += std::to_string(p.hour) + kHour;
            }
            return out;
        }
        case Kind::Text:
        case Kind::Bytes: return std::get<std::string>(data_);
    }
    return {};
}

double dateTimeFromParts(int year, int month, int day, int hour, int minute, int second) {
    const double days = static_cast<double>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset);
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before the zero date the day counts down but the time of day still counts up from midnight.
    return days < 0 ? days - time : days + time;
}

DateTimeParts dateTimeToParts(double v) {
    DateTimeParts p{1899, 12, 30, 0, 0, 0};
    if (std::isnan(v) || std::isinf(v)) return p;
    double whole = std::trunc(v);
    int64_t secs = std::llround(std::fabs(v - whole) * 86400.0);
    if (secs >= 86400) {  // rounding reached the next midnight
        secs -= 86400;
        whole += v < 0 ? -1.0 : 1.0;
    }
    civilFromDays(static_cast<int64_t>(whole) + kEpochOffset, p.year, p.month, p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    return p;
}

double currentDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return dateTimeFromParts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

}  // namespace xp
