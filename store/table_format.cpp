// Field descriptors and file-name rules of the table format.
#include "store/table_format.h"

namespace xp::format {

int32_t fieldSize(int32_t type, int32_t textLength) {
    switch (type) {
        case 1: return 1;  // Byte
        case 2: return 2;  // Short
        case 3: return 4;  // Int
        case 4: return 8;  // Int64
        case 5: return 4;  // Float
        case 6: return 8;  // Double
        case 7: return 1;  // Bool
        case 8: return 8;  // DateTime
        case 9: return 4;  // CodeRef
        case 10: return textLength;
        case 11:
        case 12: return 4;  // first memo block
        default: return 0;
    }
}

void encodeDescriptor(const FieldDesc& field, uint8_t* out) {
    std::memset(out, 0, kDescriptorSize);
    std::memcpy(out, field.name.data(), std::min<size_t>(field.name.size(), kMaxFieldName));
    putI32(out + 20, field.type);
    putI32(out + 24, field.offset);
    putI32(out + 28, field.type == 10 ? field.length : 0);
}

bool decodeDescriptor(const uint8_t* in, FieldDesc& field) {
    const void* nul = std::memchr(in, 0, 17);
    if (!nul) return false;
    field.name.assign(reinterpret_cast<const char*>(in), static_cast<const uint8_t*>(nul) - in);
    field.type = getI32(in + 20);
    field.offset = getI32(in + 24);
    field.length = getI32(in + 28);
    if (field.type < 1 || field.type > 12 || field.offset < 0) return false;
    if (field.type == 10 && (field.length <= 0 || field.length > kMaxTextLength)) return false;
    if (field.type != 10) field.length = 0;
    field.size = fieldSize(field.type, field.length);
    return true;
}

bool layoutMatches(const std::vector<FieldDesc>& fields, int32_t recordLength) {
    int64_t expected = 4;
    for (const FieldDesc& f : fields) {
        if (f.offset != expected) return false;
        expected += f.size;
    }
    return expected == recordLength;
}

namespace {

// The last path component starts after the last '/'.
size_t componentStart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::string withDefaultExtension(const std::string& name) {
    const size_t start = componentStart(name);
    const size_t dot = name.find('.', start);
    if (dot == std::string::npos) return name + ".EDB";
    if (name.back() == '.') return name + "EDB";
    return name;
}

std::string memoPathFor(const std::string& tablePath) {
    const size_t start = componentStart(tablePath);
    const size_t dot = tablePath.rfind('.');
    if (dot == std::string::npos || dot < start) return tablePath + ".EDT";
    return tablePath.substr(0, dot + 1) + "EDT";
}

std::string tableNameOf(const std::string& tablePath) {
    const size_t start = componentStart(tablePath);
    const size_t dot = tablePath.rfind('.');
    if (dot == std::string::npos || dot < start) return tablePath.substr(start);
    return tablePath.substr(start, dot - start);
}

}  // namespace xp::format
