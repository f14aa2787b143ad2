// Field bytes <-> FieldValue.
#include "store/field_codec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace xp {

using format::getF32;
using format::getF64;
using format::getI32;
using format::getI64;

namespace {

constexpr double kMinDateTime = -657434.0;
constexpr double kMaxDateTime = 2958465.0;

}  // namespace

FieldValue decodeField(const format::FieldDesc& field, const uint8_t* b) {
    switch (static_cast<FieldType>(field.type)) {
        case FieldType::Byte: return FieldValue::byte(b[0]);
        case FieldType::Short: return FieldValue::shortInt(static_cast<int16_t>(b[0] | (b[1] << 8)));
        case FieldType::Int: return FieldValue::integer(getI32(b));
        case FieldType::Int64: return FieldValue::int64(getI64(b));
        case FieldType::Float: return FieldValue::single(getF32(b));
        case FieldType::Double: return FieldValue::real(getF64(b));
        case FieldType::Bool: return FieldValue::boolean(b[0] != 0);
        case FieldType::DateTime: {
            const double d = getF64(b);
            return FieldValue::dateTime(std::isnan(d) ? 0.0 : std::clamp(d, kMinDateTime, kMaxDateTime));
        }
        case FieldType::CodeRef: return FieldValue::codeRef(static_cast<uint32_t>(getI32(b)));
        case FieldType::Text: {
            const void* nul = std::memchr(b, 0, static_cast<size_t>(field.size));
            const size_t n =
                nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - b) : static_cast<size_t>(field.size);
            return FieldValue::text(std::string(reinterpret_cast<const char*>(b), n));
        }
        case FieldType::Bytes: return FieldValue::bytes({});
        case FieldType::Memo: return FieldValue::text({});
    }
    return FieldValue();
}

bool valueFits(const format::FieldDesc& field, const FieldValue& value) {
    const FieldValue::Kind want = FieldValue::kindOf(static_cast<FieldType>(field.type));
    return value.kind() == want || (value.isNumeric() && FieldValue::empty(want).isNumeric());
}

void encodeField(const format::FieldDesc& field, const FieldValue& v, uint8_t* out) {
    switch (static_cast<FieldType>(field.type)) {
        case FieldType::Byte: out[0] = v.asByte(); break;
        case FieldType::Short: {
            const auto s = static_cast<uint16_t>(v.asShort());
            out[0] = static_cast<uint8_t>(s);
            out[1] = static_cast<uint8_t>(s >> 8);
            break;
        }
        case FieldType::Int: format::putI32(out, v.asInt()); break;
        case FieldType::Int64: format::putI64(out, v.asInt64()); break;
        case FieldType::Float: format::putF32(out, v.asFloat()); break;
        case FieldType::Double: format::putF64(out, v.asDouble()); break;
        case FieldType::Bool: out[0] = v.asBool() ? 1 : 0; break;
        case FieldType::DateTime: format::putF64(out, v.asDateTime()); break;
        case FieldType::CodeRef: format::putI32(out, static_cast<int32_t>(v.asCodeRef())); break;
        case FieldType::Text: {
            // The text, then a NUL and zeros; a text that fills the field loses its NUL, a longer one is cut.
            const std::string& t = v.asText();
            const size_t size = static_cast<size_t>(field.size);
            const size_t n = std::min(t.size(), size);
            std::memcpy(out, t.data(), n);
            if (n < size) std::memset(out + n, 0, size - n);
            break;
        }
        case FieldType::Bytes:
        case FieldType::Memo: break;  // the caller stores the first memo block
    }
}

}  // namespace xp
