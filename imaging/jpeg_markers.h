// The marker segments at the head of a JPEG file (up to the first scan): where the EXIF block, the ICC
// profile and the frame header are, and splicing a replacement EXIF block into a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace xp {

struct JpegSegment {
    std::uint8_t marker = 0;  // the byte after 0xFF
    std::size_t offset = 0;   // of the 0xFF
    std::size_t length = 0;   // whole segment: marker, length field and payload
    std::size_t payloadOffset() const { return offset + 4; }
    std::size_t payloadLength() const { return length - 4; }
};

struct JpegHead {
    std::vector<JpegSegment> segments;  // in file order, up to but not including the first SOS
    bool complete = false;              // the first SOS was reached inside the bytes given
    std::size_t bytesNeeded = 0;        // when incomplete: read at least this many bytes and parse again
    int width = 0;                      // from the frame header, 0 if none seen
    int height = 0;
    std::optional<std::size_t> exifIndex;  // the first APP1 segment holding "Exif\0\0"
};

// Parses what it can of the bytes given. Returns nothing when they do not start like a JPEG or are
// malformed; an incomplete head (the bytes end before the first scan) says how far to read.
std::optional<JpegHead> parseJpegHead(const std::uint8_t* data, std::size_t size);

bool isExifPayload(const std::uint8_t* payload, std::size_t size);
bool isIccPayload(const std::uint8_t* payload, std::size_t size);
bool isXmpPayload(const std::uint8_t* payload, std::size_t size);

// Largest payload a marker segment can hold (its length field counts itself).
constexpr std::size_t kMaxSegmentPayload = 65533;

// Builds a segment (0xFF, marker, length, payload); nothing when the payload is too long.
std::optional<std::vector<std::uint8_t>> makeSegment(std::uint8_t marker, const std::vector<std::uint8_t>& payload);

// Returns `jpeg` with its EXIF segment replaced by `exifSegment` (a complete APP1 segment), or with it
// inserted after SOI and a JFIF APP0 when the file has none; an empty `exifSegment` removes it.
// Further segments in `extra` are inserted right after the EXIF one. Nothing if `jpeg` is malformed.
std::optional<std::vector<std::uint8_t>> spliceHeadSegments(const std::vector<std::uint8_t>& jpeg,
                                                            const std::vector<std::uint8_t>& exifSegment,
                                                            const std::vector<std::uint8_t>& extra = {});

}  // namespace xp
