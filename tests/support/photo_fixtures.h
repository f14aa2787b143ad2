// Test fixtures for the imaging code: a fresh temp folder per test, pictures drawn and encoded on the
// fly, EXIF blocks built byte by byte, and pixel probes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "ui/image.h"

namespace xp::testing {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

constexpr Rgb kRed{220, 30, 30};
constexpr Rgb kGreen{30, 200, 40};
constexpr Rgb kBlue{30, 40, 210};
constexpr Rgb kYellow{230, 220, 30};
constexpr Rgb kWhite{255, 255, 255};

// A fresh folder under the system temp folder, removed with everything in it at the end of the test.
class ImagingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    std::string dir_;
};

ui::Image solid(int w, int h, Rgb c);
// Four flat quadrants: red top-left, green top-right, blue bottom-left, yellow bottom-right.
ui::Image quadrants(int w, int h);
// Smooth gradients with fine noise, a stand-in for photo content.
ui::Image photoLike(int w, int h, unsigned seed);

// The stored picture that shows `upright` when displayed with this EXIF orientation (1..8), built from
// the meaning of each orientation value: where the stored first row and first column appear.
ui::Image storedForOrientation(const ui::Image& upright, int orientation);

// TurboJPEG encoding (subsampling is a TJSAMP_* value).
std::vector<std::uint8_t> jpeg(const ui::Image& img, int quality = 90, int subsampling = 2 /* 4:2:0 */);
ui::Image decode(const std::vector<std::uint8_t>& jpegBytes);

struct ExifFields {
    bool bigEndian = false;
    int orientation = 0;                  // 0: no orientation tag
    std::vector<std::uint8_t> thumbnail;  // empty: no thumbnail directory
    int pixelWidth = 0, pixelHeight = 0;  // 0: no Exif sub-directory
    std::string make;                     // empty: no Make tag (stored out of line when longer than 4)
};
// An APP1 payload: "Exif\0\0" and TIFF data with IFD0, optional Exif IFD, optional IFD1 + thumbnail last.
std::vector<std::uint8_t> exifPayload(const ExifFields& plan);
// The JPEG with an APP1 segment holding the payload inserted right after SOI.
std::vector<std::uint8_t> withApp1(const std::vector<std::uint8_t>& jpegBytes,
                                   const std::vector<std::uint8_t>& payload);
// The JPEG with a padding APPn segment of the given payload size inserted right after SOI.
std::vector<std::uint8_t> withPadding(const std::vector<std::uint8_t>& jpegBytes, std::uint8_t marker,
                                      std::size_t size);

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readFile(const std::string& path);
bool fileExists(const std::string& path);

Rgb pixel(const ui::Image& img, int x, int y);
// Mean colour of a rectangle.
Rgb meanColour(const ui::Image& img, int x, int y, int w, int h);
bool near(Rgb a, Rgb b, int tolerance);
// Bounding box of the pixels that are not (near) white: {x, y, w, h}; w == 0 when all are white.
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};
Box nonWhiteBox(const ui::Image& img);
// Mean absolute difference per channel of two pictures of the same size.
double meanAbsDiff(const ui::Image& a, const ui::Image& b);

// Where the packaged camera photos are; empty when the package is not installed.
std::string cameraSamples();

std::ostream& operator<<(std::ostream& os, const Rgb& c);

}  // namespace xp::testing
