// A minimal TIFF directory walker for patching EXIF values in place; every offset is bounds-checked.
#include "imaging/exif_patch.h"

#include <cstring>

#include "imaging/jpeg_markers.h"

namespace xp {

namespace {

constexpr std::uint16_t kTagImageWidth = 0x0100;
constexpr std::uint16_t kTagImageLength = 0x0101;
constexpr std::uint16_t kTagOrientation = 0x0112;
constexpr std::uint16_t kTagThumbnailOffset = 0x0201;
constexpr std::uint16_t kTagThumbnailLength = 0x0202;
constexpr std::uint16_t kTagExifIfd = 0x8769;
constexpr std::uint16_t kTagPixelXDimension = 0xA002;
constexpr std::uint16_t kTagPixelYDimension = 0xA003;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;

class Tiff {
public:
    Tiff(std::uint8_t* data, std::size_t size) : d_(data), n_(size) {}

    bool init() {
        if (n_ < 8) return false;
        if (d_[0] == 'I' && d_[1] == 'I')
            little_ = true;
        else if (d_[0] == 'M' && d_[1] == 'M')
            little_ = false;
        else
            return false;
        return u16(2) == 42;
    }
    std::size_t size() const { return n_; }
    bool has(std::size_t off, std::size_t len) const { return off <= n_ && len <= n_ - off; }

    std::uint16_t u16(std::size_t off) const {
        return little_ ? static_cast<std::uint16_t>(d_[off] | d_[off + 1] << 8)
                       : static_cast<std::uint16_t>(d_[off] << 8 | d_[off + 1]);
    }
    std::uint32_t u32(std::size_t off) const {
        std::uint32_t a = d_[off], b = d_[off + 1], c = d_[off + 2], e = d_[off + 3];
        return little_ ? (a | b << 8 | c << 16 | e << 24) : (a << 24 | b << 16 | c << 8 | e);
    }
    void put16(std::size_t off, std::uint16_t v) {
        d_[off + (little_ ? 0 : 1)] = static_cast<std::uint8_t>(v & 0xFF);
        d_[off + (little_ ? 1 : 0)] = static_cast<std::uint8_t>(v >> 8);
    }
    void put32(std::size_t off, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) d_[off + (little_ ? i : 3 - i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }

private:
    std::uint8_t* d_;
    std::size_t n_;
    bool little_ = true;
};

struct Ifd {
    std::size_t offset = 0;
    std::size_t count = 0;
    std::size_t entry(std::size_t i) const { return offset + 2 + 12 * i; }
    std::size_t nextField() const { return offset + 2 + 12 * count; }
};

bool readIfd(const Tiff& t, std::size_t offset, Ifd& ifd) {
    if (offset < 8 || !t.has(offset, 2)) return false;
    ifd.offset = offset;
    ifd.count = t.u16(offset);
    return t.has(offset + 2, 12 * ifd.count + 4);
}

// Entry position of a tag, or 0 when the directory has none.
std::size_t findTag(const Tiff& t, const Ifd& ifd, std::uint16_t tag) {
    for (std::size_t i = 0; i < ifd.count; ++i)
        if (t.u16(ifd.entry(i)) == tag) return ifd.entry(i);
    return 0;
}

// Sets a single SHORT or LONG value that is stored inside its entry; other forms are left alone.
void setInlineNumber(Tiff& t, std::size_t entry, std::uint32_t value) {
    if (!entry || t.u32(entry + 4) != 1) return;
    const std::uint16_t type = t.u16(entry + 2);
    if (type == kTypeShort && value <= 0xFFFF)
        t.put16(entry + 8, static_cast<std::uint16_t>(value));
    else if (type == kTypeLong)
        t.put32(entry + 8, value);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> patchExifUpright(const std::uint8_t* payload, std::size_t size,
                                                          const UprightExif& upright) {
    if (!payload || !isExifPayload(payload, size)) return std::nullopt;
    std::vector<std::uint8_t> out(payload, payload + size);
    Tiff t(out.data() + 6, out.size() - 6);
    if (!t.init()) return std::nullopt;
    Ifd ifd0;
    if (!readIfd(t, t.u32(4), ifd0)) return std::nullopt;

    setInlineNumber(t, findTag(t, ifd0, kTagOrientation), 1);
    setInlineNumber(t, findTag(t, ifd0, kTagImageWidth), static_cast<std::uint32_t>(upright.width));
    setInlineNumber(t, findTag(t, ifd0, kTagImageLength), static_cast<std::uint32_t>(upright.height));
    if (std::size_t e = findTag(t, ifd0, kTagExifIfd); e && t.u32(e + 4) == 1) {
        Ifd exif;
        if (readIfd(t, t.u32(e + 8), exif)) {
            setInlineNumber(t, findTag(t, exif, kTagPixelXDimension), static_cast<std::uint32_t>(upright.width));
            setInlineNumber(t, findTag(t, exif, kTagPixelYDimension), static_cast<std::uint32_t>(upright.height));
        }
    }

    const std::size_t ifd1Offset = t.u32(ifd0.nextField());
    Ifd ifd1;
    if (ifd1Offset == 0 || !readIfd(t, ifd1Offset, ifd1)) {
        if (ifd1Offset != 0) t.put32(ifd0.nextField(), 0);  // a dangling link helps no reader
        return out;
    }
    setInlineNumber(t, findTag(t, ifd1, kTagOrientation), 1);

    const std::size_t offEntry = findTag(t, ifd1, kTagThumbnailOffset);
    const std::size_t lenEntry = findTag(t, ifd1, kTagThumbnailLength);
    bool replaced = false;
    if (upright.thumbnail && offEntry && lenEntry && t.u32(offEntry + 4) == 1 && t.u32(lenEntry + 4) == 1 &&
        t.u16(offEntry + 2) == kTypeLong && t.u16(lenEntry + 2) == kTypeLong) {
        const std::size_t off = t.u32(offEntry + 8), len = t.u32(lenEntry + 8);
        const std::vector<std::uint8_t>& thumb = *upright.thumbnail;
        if (t.has(off, len) && off >= 8) {
            if (thumb.size() <= len) {
                // Fits where the old one was: overwrite it and clear the rest.
                std::memcpy(out.data() + 6 + off, thumb.data(), thumb.size());
                std::memset(out.data() + 6 + off + thumb.size(), 0, len - thumb.size());
                replaced = true;
            } else if (off + len == t.size() && 6 + off + thumb.size() <= kMaxSegmentPayload) {
                // The old thumbnail ends the block, as cameras write it: put the new one in its place.
                out.resize(6 + off);
                out.insert(out.end(), thumb.begin(), thumb.end());
                t = Tiff(out.data() + 6, out.size() - 6);
                t.init();
                replaced = true;
            }
            if (replaced) {
                t.put32(lenEntry + 8, static_cast<std::uint32_t>(thumb.size()));
                setInlineNumber(t, findTag(t, ifd1, kTagImageWidth),
                                static_cast<std::uint32_t>(upright.thumbnailWidth));
                setInlineNumber(t, findTag(t, ifd1, kTagImageLength),
                                static_cast<std::uint32_t>(upright.thumbnailHeight));
            }
        }
    }
    // Without a fitting replacement the thumbnail directory is unlinked, so no reader finds the stale one.
    if (!replaced) t.put32(ifd0.nextField(), 0);
    return out;
}

}  // namespace xp
