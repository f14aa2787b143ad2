// FieldValue: the tagged value that the record store reads from and writes into a field, with its kinds,
// the empty value per kind, the conversions between numeric kinds and the number-to-text conversion.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace xp {

// The field type codes as they are stored in a field descriptor.
enum class FieldType : int32_t {
    Byte = 1,
    Short,
    Int,
    Int64,
    Float,
    Double,
    Bool,
    DateTime,
    CodeRef,
    Text,
    Bytes,
    Memo
};

// True for the codes 1..12.
bool isValidFieldType(int code);

class FieldValue {
public:
    // One kind per field type; Text and Memo fields share the Text kind.
    enum class Kind { Byte, Short, Int, Int64, Float, Double, Bool, DateTime, CodeRef, Text, Bytes };

    // The empty text.
    FieldValue() = default;

    static FieldValue byte(uint8_t v) { return FieldValue(Kind::Byte, static_cast<int64_t>(v)); }
    static FieldValue shortInt(int16_t v) { return FieldValue(Kind::Short, static_cast<int64_t>(v)); }
    static FieldValue integer(int32_t v) { return FieldValue(Kind::Int, static_cast<int64_t>(v)); }
    static FieldValue int64(int64_t v) { return FieldValue(Kind::Int64, v); }
    static FieldValue single(float v) { return FieldValue(Kind::Float, static_cast<double>(v)); }
    static FieldValue real(double v) { return FieldValue(Kind::Double, v); }
    static FieldValue boolean(bool v) { return FieldValue(Kind::Bool, static_cast<int64_t>(v ? 1 : 0)); }
    // Days since 1899-12-30 00:00; the fraction is the time of day.
    static FieldValue dateTime(double days) { return FieldValue(Kind::DateTime, days); }
    static FieldValue codeRef(uint32_t v) { return FieldValue(Kind::CodeRef, static_cast<int64_t>(v)); }
    // GBK bytes, kept exactly as given.
    static FieldValue text(std::string gbk) { return FieldValue(Kind::Text, std::move(gbk)); }
    static FieldValue bytes(std::string data) { return FieldValue(Kind::Bytes, std::move(data)); }

    // The kind a field of this type holds, and its empty value (0, false, 0.0, "" or no bytes).
    static Kind kindOf(FieldType type);
    static FieldValue empty(FieldType type);
    static FieldValue empty(Kind kind);

    Kind kind() const { return kind_; }
    bool isNumeric() const;  // byte, short, int, int64, float, double
    bool isEmpty() const;    // equal to the empty value of its kind

    // Typed reads. A numeric kind read as another numeric kind converts the way a field write does
    // (wider keeps the value, narrower keeps the low-order bytes, floats truncate toward zero); a kind
    // read as an unrelated kind gives that kind's empty value.
    uint8_t asByte() const;
    int16_t asShort() const;
    int32_t asInt() const;
    int64_t asInt64() const;
    float asFloat() const;
    double asDouble() const;
    bool asBool() const;
    double asDateTime() const;
    uint32_t asCodeRef() const;
    const std::string& asText() const;   // Text kind only, otherwise ""
    const std::string& asBytes() const;  // Bytes kind only, otherwise empty

    // This value converted to another numeric kind; non-numeric values are returned unchanged.
    FieldValue convertedTo(Kind numericKind) const;

    // The value as text, in the store's GBK form: integers in decimal, float "%.6g", double "%.13g",
    // bool "真"/"假", date-time as "%d年%d月%d日" plus the time of day ("%d时%d分%d秒", "%d时%d分", "%d时",
    // or nothing at midnight); texts as they are, byte-sets as their bytes.
    std::string toText() const;

    bool operator==(const FieldValue& other) const = default;

private:
    FieldValue(Kind kind, int64_t v) : kind_(kind), data_(v) {}
    FieldValue(Kind kind, double v) : kind_(kind), data_(v) {}
    FieldValue(Kind kind, std::string v) : kind_(kind), data_(std::move(v)) {}

    Kind kind_ = Kind::Text;
    // Integers, bool and code references as int64; float, double and date-time as double (a float is
    // kept exactly); texts and byte-sets as strings.
    std::variant<int64_t, double, std::string> data_ = std::string();
};

// Date-time helpers: days since 1899-12-30 for a calendar time, and back (whole seconds).
double dateTimeFromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
struct DateTimeParts {
    int year, month, day, hour, minute, second;
};
DateTimeParts dateTimeToParts(double days);
// The current local time, whole seconds.
double currentDateTime();

}  // namespace xp
