// Walking JPEG marker segments; every length read is checked against the bytes actually there.
#include "imaging/jpeg_markers.h"

#include <cstring>

namespace xp {

namespace {

bool isFrameMarker(std::uint8_t m) {
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

bool hasPrefix(const std::uint8_t* p, std::size_t size, const char* prefix, std::size_t n) {
    return size >= n && std::memcmp(p, prefix, n) == 0;
}

}  // namespace

bool isExifPayload(const std::uint8_t* p, std::size_t size) { return hasPrefix(p, size, "Exif\0\0", 6); }
bool isIccPayload(const std::uint8_t* p, std::size_t size) { return hasPrefix(p, size, "ICC_PROFILE\0", 12); }
bool isXmpPayload(const std::uint8_t* p, std::size_t size) {
    return hasPrefix(p, size, "http://ns.adobe.com/xap/1.0/\0", 29);
}

std::optional<JpegHead> parseJpegHead(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
    JpegHead head;
    std::size_t pos = 2;
    for (;;) {
        // Fill bytes (any number of 0xFF) may precede a marker.
        while (pos < size && data[pos] == 0xFF && pos + 1 < size && data[pos + 1] == 0xFF) ++pos;
        if (pos + 4 > size) {
            head.bytesNeeded = pos + 4 + 4096;
            return head;
        }
        if (data[pos] != 0xFF) return std::nullopt;
        const std::uint8_t marker = data[pos + 1];
        if (marker == 0xD9 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01 || marker == 0x00)
            return std::nullopt;  // no scan before the end, or a stray marker in the head
        const std::size_t length = 2 + ((static_cast<std::size_t>(data[pos + 2]) << 8) | data[pos + 3]);
        if (length < 4) return std::nullopt;
        if (marker == 0xDA) {
            head.complete = true;
            return head;
        }
        if (pos + length > size) {
            head.bytesNeeded = pos + length + 4096;
            return head;
        }
        JpegSegment seg{marker, pos, length};
        const std::uint8_t* payload = data + seg.payloadOffset();
        if (isFrameMarker(marker) && seg.payloadLength() >= 5) {
            head.height = (payload[1] << 8) | payload[2];
            head.width = (payload[3] << 8) | payload[4];
        }
        if (marker == 0xE1 && !head.exifIndex && isExifPayload(payload, seg.payloadLength()))
            head.exifIndex = head.segments.size();
        head.segments.push_back(seg);
        pos += length;
    }
}

std::optional<std::vector<std::uint8_t>> makeSegment(std::uint8_t marker, const std::vector<std::uint8_t>& payload) {
    if (payload.size() > kMaxSegmentPayload) return std::nullopt;
    std::vector<std::uint8_t> seg;
    seg.reserve(payload.size() + 4);
    const std::size_t length = payload.size() + 2;
    seg.push_back(0xFF);
    seg.push_back(marker);
    seg.push_back(static_cast<std::uint8_t>(length >> 8));
    seg.push_back(static_cast<std::uint8_t>(length & 0xFF));
    seg.insert(seg.end(), payload.begin(), payload.end());
    return seg;
}

std::optional<std::vector<std::uint8_t>> spliceHeadSegments(const std::vector<std::uint8_t>& jpeg,
                                                            const std::vector<std::uint8_t>& exifSegment,
                                                            const std::vector<std::uint8_t>& extra) {
    std::optional<JpegHead> head = parseJpegHead(jpeg.data(), jpeg.size());
    if (!head || !head->complete) return std::nullopt;
    std::size_t cutFrom, cutTo;
    if (head->exifIndex) {
        const JpegSegment& seg = head->segments[*head->exifIndex];
        cutFrom = seg.offset;
        cutTo = seg.offset + seg.length;
    } else {
        cutFrom = 2;
        if (!head->segments.empty() && head->segments[0].marker == 0xE0) {
            const JpegSegment& app0 = head->segments[0];
            const std::uint8_t* p = jpeg.data() + app0.payloadOffset();
            if (hasPrefix(p, app0.payloadLength(), "JFIF\0", 5)) cutFrom = app0.offset + app0.length;
        }
        cutTo = cutFrom;
    }
    std::vector<std::uint8_t> out;
    out.reserve(jpeg.size() + exifSegment.size() + extra.size());
    out.insert(out.end(), jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(cutFrom));
    out.insert(out.end(), exifSegment.begin(), exifSegment.end());
    out.insert(out.end(), extra.begin(), extra.end());
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(cutTo), jpeg.end());
    return out;
}

}  // namespace xp
