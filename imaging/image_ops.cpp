// Resampling and quarter-turn transforms for packed RGB; written for speed on 24-megapixel photos.
#include "imaging/image_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace xp {

namespace {

// A quarter-turn transform as the matrix that maps centred source coordinates (x right, y down) to
// centred destination coordinates.
struct Matrix {
    int a, b, c, d;  // x' = a x + b y, y' = c x + d y
};

constexpr Matrix kMatrices[] = {
    {1, 0, 0, 1},    // None
    {-1, 0, 0, 1},   // FlipHorizontal
    {1, 0, 0, -1},   // FlipVertical
    {0, 1, 1, 0},    // Transpose
    {0, -1, -1, 0},  // Transverse
    {0, -1, 1, 0},   // Rotate90: the top edge becomes the right edge
    {-1, 0, 0, -1},  // Rotate180
    {0, 1, -1, 0},   // Rotate270
};

Matrix matrixOf(Dihedral t) { return kMatrices[static_cast<int>(t)]; }

}  // namespace

Dihedral uprightTransform(int exifOrientation) {
    switch (exifOrientation) {
        case 2: return Dihedral::FlipHorizontal;
        case 3: return Dihedral::Rotate180;
        case 4: return Dihedral::FlipVertical;
        case 5: return Dihedral::Transpose;
        case 6: return Dihedral::Rotate90;
        case 7: return Dihedral::Transverse;
        case 8: return Dihedral::Rotate270;
        default: return Dihedral::None;
    }
}

Dihedral composeDihedral(Dihedral first, Dihedral second) {
    Matrix p = matrixOf(first), q = matrixOf(second);
    Matrix r{q.a * p.a + q.b * p.c, q.a * p.b + q.b * p.d, q.c * p.a + q.d * p.c, q.c * p.b + q.d * p.d};
    for (int i = 0; i < 8; ++i) {
        const Matrix& m = kMatrices[i];
        if (m.a == r.a && m.b == r.b && m.c == r.c && m.d == r.d) return static_cast<Dihedral>(i);
    }
    return Dihedral::None;  // unreachable: the eight matrices form a group
}

Dihedral quarterTurns(int turns) {
    switch (((turns % 4) + 4) % 4) {
        case 1: return Dihedral::Rotate90;
        case 2: return Dihedral::Rotate180;
        case 3: return Dihedral::Rotate270;
        default: return Dihedral::None;
    }
}

bool swapsAxes(Dihedral t) { return matrixOf(t).b != 0; }

ui::Image applyDihedral(const ui::Image& src, Dihedral t) {
    if (t == Dihedral::None || src.empty()) return src;
    const Matrix m = matrixOf(t);
    const int w = src.width, h = src.height;
    ui::Image dst;
    dst.width = swapsAxes(t) ? h : w;
    dst.height = swapsAxes(t) ? w : h;
    dst.pixels.resize(src.pixels.size());
    // Destination pixel of source (x, y): x' = a x + b y + ox, y' = c x + d y + oy, exact in integers.
    const long ox = (dst.width - 1 - m.a * (w - 1L) - m.b * (h - 1L)) / 2;
    const long oy = (dst.height - 1 - m.c * (w - 1L) - m.d * (h - 1L)) / 2;
    const long stepX = 3L * (m.a + static_cast<long>(m.c) * dst.width);
    const std::uint8_t* in = src.pixels.data();
    std::uint8_t* out = dst.pixels.data();
    for (int y = 0; y < h; ++y) {
        long pos = 3L * (ox + static_cast<long>(m.b) * y + (oy + static_cast<long>(m.d) * y) * dst.width);
        const std::uint8_t* row = in + 3L * y * w;
        for (int x = 0; x < w; ++x, pos += stepX) {
            out[pos] = row[3 * x];
            out[pos + 1] = row[3 * x + 1];
            out[pos + 2] = row[3 * x + 2];
        }
    }
    return dst;
}

namespace {

// Contributions of source samples to one destination sample along one axis.
struct Taps {
    std::vector<int> first;     // first source index per destination index
    std::vector<int> count;     // number of source samples
    std::vector<float> weight;  // count[i] weights per destination index, packed at offset[i]
    std::vector<int> offset;
};

// Weights that map `srcN` samples starting at `srcStart` onto `dstN` samples.
Taps makeTaps(int srcStart, int srcN, int dstN) {
    Taps t;
    t.first.resize(dstN);
    t.count.resize(dstN);
    t.offset.resize(dstN);
    const double scale = static_cast<double>(srcN) / dstN;
    for (int i = 0; i < dstN; ++i) {
        t.offset[i] = static_cast<int>(t.weight.size());
        if (srcN > dstN) {
            // Box filter: each source sample weighs by its overlap with [i, i + 1) in source units.
            double lo = i * scale, hi = (i + 1) * scale;
            int j0 = static_cast<int>(std::floor(lo));
            int j1 = std::min(srcN, static_cast<int>(std::ceil(hi)));
            t.first[i] = srcStart + j0;
            for (int j = j0; j < j1; ++j) {
                double overlap = std::min(hi, j + 1.0) - std::max(lo, static_cast<double>(j));
                t.weight.push_back(static_cast<float>(overlap / scale));
            }
            t.count[i] = j1 - j0;
        } else {
            // Linear interpolation between the two nearest sample centres, clamped at the edges.
            double centre = (i + 0.5) * scale - 0.5;
            int j0 = static_cast<int>(std::floor(centre));
            double f = centre - j0;
            if (j0 < 0) {
                j0 = 0;
                f = 0;
            }
            if (j0 >= srcN - 1) {
                j0 = srcN - 1;
                f = 0;
            }
            t.first[i] = srcStart + j0;
            t.weight.push_back(static_cast<float>(1 - f));
            if (f > 0) {
                t.weight.push_back(static_cast<float>(f));
                t.count[i] = 2;
            } else {
                t.count[i] = 1;
            }
        }
    }
    return t;
}

std::uint8_t toByte(float v) {
    v += 0.5f;
    if (v <= 0) return 0;
    if (v >= 255) return 255;
    return static_cast<std::uint8_t>(v);
}

}  // namespace

ui::Image resampleRect(const ui::Image& src, int x, int y, int w, int h, int dstWidth, int dstHeight) {
    ui::Image dst;
    if (src.empty() || w <= 0 || h <= 0 || dstWidth <= 0 || dstHeight <= 0 || x < 0 || y < 0 || x + w > src.width ||
        y + h > src.height)
        return dst;
    dst.width = dstWidth;
    dst.height = dstHeight;
    dst.pixels.resize(static_cast<std::size_t>(dstWidth) * dstHeight * 3);

    // Rows first: the vertical pass runs along whole rows, which the compiler vectorises, and it cuts
    // the number of rows the per-pixel horizontal pass has to visit.
    const Taps rows = makeTaps(y, h, dstHeight);
    const Taps cols = makeTaps(x, w, dstWidth);
    const int span = w * 3;
    std::vector<float> line(span);
    for (int oy = 0; oy < dstHeight; ++oy) {
        std::fill(line.begin(), line.end(), 0.0f);
        const float* wy = rows.weight.data() + rows.offset[oy];
        for (int k = 0; k < rows.count[oy]; ++k) {
            const std::uint8_t* in =
                src.pixels.data() + (static_cast<std::size_t>(rows.first[oy] + k) * src.width + x) * 3;
            const float weight = wy[k];
            float* l = line.data();
            for (int i = 0; i < span; ++i) l[i] += weight * in[i];
        }
        std::uint8_t* out = dst.pixels.data() + static_cast<std::size_t>(oy) * dstWidth * 3;
        for (int ox = 0; ox < dstWidth; ++ox) {
            const float* wx = cols.weight.data() + cols.offset[ox];
            const float* l = line.data() + (cols.first[ox] - x) * 3;
            float r = 0, g = 0, b = 0;
            for (int k = 0; k < cols.count[ox]; ++k, l += 3) {
                r += wx[k] * l[0];
                g += wx[k] * l[1];
                b += wx[k] * l[2];
            }
            out[3 * ox] = toByte(r);
            out[3 * ox + 1] = toByte(g);
            out[3 * ox + 2] = toByte(b);
        }
    }
    return dst;
}

ui::Image solidImage(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    ui::Image img;
    if (width <= 0 || height <= 0) return img;
    img.width = width;
    img.height = height;
    img.pixels.resize(static_cast<std::size_t>(width) * height * 3);
    if (r == g && g == b) {
        std::memset(img.pixels.data(), r, img.pixels.size());
    } else {
        for (std::size_t i = 0; i < img.pixels.size(); i += 3) {
            img.pixels[i] = r;
            img.pixels[i + 1] = g;
            img.pixels[i + 2] = b;
        }
    }
    return img;
}

void drawOnto(ui::Image& canvas, const ui::Image& src, int x, int y) {
    int x0 = std::max(0, x), y0 = std::max(0, y);
    int x1 = std::min(canvas.width, x + src.width), y1 = std::min(canvas.height, y + src.height);
    if (x0 >= x1 || y0 >= y1) return;
    for (int row = y0; row < y1; ++row) {
        const std::uint8_t* in = src.pixels.data() + (static_cast<std::size_t>(row - y) * src.width + (x0 - x)) * 3;
        std::uint8_t* out = canvas.pixels.data() + (static_cast<std::size_t>(row) * canvas.width + x0) * 3;
        std::memcpy(out, in, static_cast<std::size_t>(x1 - x0) * 3);
    }
}

}  // namespace xp
