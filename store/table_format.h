// The on-disk layout of table files and memo files: offsets and sizes, little-endian helpers, field
// descriptors, and the file-name rules (default extension, memo file name).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace xp::format {

constexpr int64_t kHeaderSize = 112;
constexpr int64_t kFieldCountOffset = 112;
constexpr int64_t kDescriptorsOffset = 116;
constexpr int64_t kDescriptorSize = 72;
constexpr int32_t kVersion = 0x00010000;
constexpr int64_t kCountOffset = 16;  // record count, then next serial
constexpr int64_t kRecordLengthOffset = 24;
constexpr int64_t kPasswordOffset = 28;  // 36-byte password block
constexpr int kPasswordBlockSize = 36;
constexpr int kMaxFieldName = 16;
constexpr int kMaxTextLength = 1024;

constexpr int64_t kMemoBlockSize = 512;
constexpr int64_t kMemoHeaderSize = 32;
constexpr int64_t kMemoBlockHeader = 12;  // previous, next, used
constexpr int64_t kMemoDataSize = 500;

// The whole-table lock covers 0 .. 0x7FFFFFFE; the sharing markers lie just beyond it.
constexpr int64_t kWholeTableLockLength = 0x7FFFFFFF;
constexpr int64_t kShareReadMarker = 0x7FFFFFFF;
constexpr int64_t kShareWriteMarker = 0x80000000LL;

// A sane file ends inside the whole-table lock range: a record or memo block beyond it could not be
// locked, and its offset would run into the sharing markers. Counts that would need more are damage.
constexpr int64_t kMaxFileLength = kWholeTableLockLength;
constexpr int32_t kMaxMemoBlocks = static_cast<int32_t>(kMaxFileLength / kMemoBlockSize);

constexpr int64_t kBatchBytes = 163840;  // purge and conditional delete read this many bytes per batch

inline int32_t getI32(const uint8_t* p) {
    uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(v);
}
inline void putI32(uint8_t* p, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}
inline int64_t getI64(const uint8_t* p) {
    uint64_t v = 0;
    for (int k = 7; k >= 0; --k) v = (v << 8) | p[k];
    return static_cast<int64_t>(v);
}
inline void putI64(uint8_t* p, int64_t value) {
    auto v = static_cast<uint64_t>(value);
    for (int k = 0; k < 8; ++k) p[k] = static_cast<uint8_t>(v >> (8 * k));
}
inline double getF64(const uint8_t* p) {
    const int64_t bits = getI64(p);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}
inline void putF64(uint8_t* p, double d) {
    int64_t bits;
    std::memcpy(&bits, &d, 8);
    putI64(p, bits);
}
inline float getF32(const uint8_t* p) {
    const int32_t bits = getI32(p);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}
inline void putF32(uint8_t* p, float f) {
    int32_t bits;
    std::memcpy(&bits, &f, 4);
    putI32(p, bits);
}

// One field descriptor as the engine keeps it.
struct FieldDesc {
    std::string name;  // GBK bytes before the NUL
    int32_t type = 0;
    int32_t offset = 0;
    int32_t length = 0;  // Text only
    int32_t size = 0;    // bytes in the record
};

// Bytes a field of this type takes in a record (the Text length for Text); 0 for an unknown type.
int32_t fieldSize(int32_t type, int32_t textLength);

inline bool isMemoType(int32_t type) { return type == 11 || type == 12; }

// Encodes a descriptor into 72 bytes.
void encodeDescriptor(const FieldDesc& field, uint8_t* out);

// Decodes 72 bytes; false when the name has no NUL in its first 17 bytes, the type is not 1..12, the
// offset is negative or a Text length is not 1..1024.
bool decodeDescriptor(const uint8_t* in, FieldDesc& field);

// Whether the descriptors lay out a record of `recordLength` bytes as the format does: the first field at
// 4, each next one directly after the previous, and the last one ending at the record's end. A file that
// breaks this is damaged; reading it would place values at the wrong bytes.
bool layoutMatches(const std::vector<FieldDesc>& fields, int32_t recordLength);

// The table file name with the default extension: ".EDB" when the last component has no "." at all,
// "EDB" when it ends with ".".
std::string withDefaultExtension(const std::string& name);

// The memo file beside a table file: its extension replaced by "EDT", or ".EDT" appended.
std::string memoPathFor(const std::string& tablePath);

// The table name: the file name without folder and extension.
std::string tableNameOf(const std::string& tablePath);

}  // namespace xp::format
