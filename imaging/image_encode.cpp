// BMP by hand (a fixed header and rows), PNG through libpng writing into memory.
#include "imaging/image_encode.h"

#include <png.h>

#include <climits>
#include <csetjmp>

namespace xp {

namespace {

void put16(std::vector<std::uint8_t>& v, std::uint32_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

}  // namespace

bool encodeBmp(const ui::Image& image, std::vector<std::uint8_t>& out) {
    if (image.empty()) return false;
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(image.width) * 3 + 3) & ~std::uint64_t{3};
    const std::uint64_t pixelBytes = rowBytes * image.height;
    if (pixelBytes + 54 > 0xFFFFFFFFu || image.width > INT_MAX || image.height > INT_MAX) return false;
    out.clear();
    out.reserve(static_cast<std::size_t>(pixelBytes + 54));
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<std::uint32_t>(pixelBytes + 54));
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);  // BITMAPINFOHEADER
    put32(out, static_cast<std::uint32_t>(image.width));
    put32(out, static_cast<std::uint32_t>(image.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // BI_RGB
    put32(out, static_cast<std::uint32_t>(pixelBytes));
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.pixels.data() + static_cast<std::size_t>(y) * image.width * 3;
        for (int x = 0; x < image.width; ++x) {
            out.push_back(row[3 * x + 2]);
            out.push_back(row[3 * x + 1]);
            out.push_back(row[3 * x]);
        }
        for (std::uint64_t pad = static_cast<std::uint64_t>(image.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return true;
}

namespace {

void appendPngData(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

}  // namespace

bool encodePng(const ui::Image& image, std::vector<std::uint8_t>& out) {
    if (image.empty()) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    out.clear();
    // libpng reports errors by longjmp; nothing with a destructor is created between here and the end.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        out.clear();
        return false;
    }
    png_set_write_fn(png, &out, appendPngData, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, const_cast<png_bytep>(image.pixels.data() + static_cast<std::size_t>(y) * image.width * 3));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace xp
