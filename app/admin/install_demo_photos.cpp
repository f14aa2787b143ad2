// Rendering and encoding of the demo photos. The pictures are cheap to compute (one pass per pixel with
// per-column hill heights) so that a demo installation is made in seconds.
#include "app/admin/install_demo_photos.h"

#include <libexif/exif-data.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace xp::admin {
namespace {

struct Rgb {
    float r, g, b;
};

Rgb mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    float unit() { return static_cast<float>(next() & 0xFFFFFF) / 16777216.0f; }
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

private:
    std::uint32_t state_;
};

Rgb hueColour(float hue, float saturation, float value) {
    float h = std::fmod(hue, 1.0f) * 6.0f;
    int sector = static_cast<int>(h);
    float f = h - sector;
    float p = value * (1 - saturation), q = value * (1 - saturation * f), t = value * (1 - saturation * (1 - f));
    switch (sector) {
        case 0: return {value, t, p};
        case 1: return {q, value, p};
        case 2: return {p, value, t};
        case 3: return {p, q, value};
        case 4: return {t, p, value};
        default: return {value, p, q};
    }
}

struct Picture {
    int width, height;
    std::vector<std::uint8_t> rgb;
    void fillRect(int x0, int y0, int x1, int y1, Rgb c) {
        x0 = std::max(x0, 0), y0 = std::max(y0, 0), x1 = std::min(x1, width), y1 = std::min(y1, height);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) put(x, y, c);
    }
    void fillEllipse(float cx, float cy, float rx, float ry, Rgb c, float alpha) {
        int x0 = std::max(0, static_cast<int>(cx - rx)), x1 = std::min(width, static_cast<int>(cx + rx) + 1);
        int y0 = std::max(0, static_cast<int>(cy - ry)), y1 = std::min(height, static_cast<int>(cy + ry) + 1);
        for (int y = y0; y < y1; ++y) {
            float dy = (y - cy) / ry;
            for (int x = x0; x < x1; ++x) {
                float dx = (x - cx) / rx;
                float d = dx * dx + dy * dy;
                if (d < 1.0f) blend(x, y, c, alpha * std::min(1.0f, (1.0f - d) * 8.0f));
            }
        }
    }
    void put(int x, int y, Rgb c) {
        std::uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        p[0] = static_cast<std::uint8_t>(std::clamp(c.r, 0.0f, 1.0f) * 255);
        p[1] = static_cast<std::uint8_t>(std::clamp(c.g, 0.0f, 1.0f) * 255);
        p[2] = static_cast<std::uint8_t>(std::clamp(c.b, 0.0f, 1.0f) * 255);
    }
    void blend(int x, int y, Rgb c, float alpha) {
        std::uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        Rgb old{p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
        put(x, y, mix(old, c, alpha));
    }
};

// Sky, sun and three layers of hills, with a little grain like a real photo.
void paintLandscape(Picture& pic, Random& rnd) {
    const int w = pic.width, h = pic.height;
    float hue = rnd.unit();
    Rgb skyTop = hueColour(0.55f + hue * 0.1f, 0.6f, 0.75f);
    Rgb horizon = hueColour(0.05f + hue * 0.08f, 0.35f + rnd.unit() * 0.3f, 0.98f);
    float horizonY = h * rnd.range(0.45f, 0.62f);
    struct Layer {
        std::vector<float> top;
        Rgb near, far;
    };
    std::vector<Layer> layers(3);
    for (int i = 0; i < 3; ++i) {
        Layer& l = layers[i];
        l.top.resize(w);
        float base = horizonY + (h - horizonY) * (0.05f + i * 0.22f);
        float a1 = h * rnd.range(0.03f, 0.09f), f1 = rnd.range(1.0f, 3.0f) * 6.2832f / w, p1 = rnd.range(0, 6.3f);
        float a2 = h * rnd.range(0.01f, 0.03f), f2 = rnd.range(5.0f, 11.0f) * 6.2832f / w, p2 = rnd.range(0, 6.3f);
        for (int x = 0; x < w; ++x) l.top[x] = base - a1 * std::sin(x * f1 + p1) - a2 * std::sin(x * f2 + p2);
        float green = 0.25f + 0.1f * i + hue * 0.08f;
        l.far = hueColour(green, 0.45f - 0.1f * i, 0.55f - 0.12f * i);
        l.near = hueColour(green + 0.03f, 0.55f, 0.35f - 0.08f * i);
    }
    float sunX = w * rnd.range(0.15f, 0.85f), sunY = horizonY * rnd.range(0.25f, 0.7f),
          sunR = h * rnd.range(0.04f, 0.08f);
    // The scene is smooth, so its colours are computed for every second column of every second row and
    // shared by the 2 x 2 block; the grain is added to every pixel. This loop is most of the demo's run time.
    Random grain(rnd.next());
    const float halo = sunR * 4.0f, depth = 1.0f / (h * 0.35f);
    std::vector<int> scene(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        if (y % 2 == 0) {
            float t = std::min(1.0f, y / horizonY);
            Rgb sky = mix(skyTop, horizon, t * t);
            bool sunRow = std::fabs(y - sunY) < halo;
            for (int x = 0; x < w; x += 2) {
                Rgb c = sky;
                int layer = y >= layers[2].top[x] ? 2 : y >= layers[1].top[x] ? 1 : y >= layers[0].top[x] ? 0 : -1;
                if (layer >= 0) {
                    const Layer& l = layers[layer];
                    c = mix(l.far, l.near, std::min(1.0f, (y - l.top[x]) * depth));
                } else if (sunRow && std::fabs(x - sunX) < halo) {
                    float dx = x - sunX, dy = y - sunY, d = std::sqrt(dx * dx + dy * dy) / sunR;
                    if (d < 4.0f)
                        c = mix(c, Rgb{1.0f, 0.95f, 0.75f}, d < 1.0f ? 1.0f : 0.35f * (1.0f / (d * d) - 1.0f / 16.0f));
                }
                int* q = &scene[static_cast<size_t>(x) * 3];
                q[0] = static_cast<int>(c.r * 255), q[1] = static_cast<int>(c.g * 255),
                q[2] = static_cast<int>(c.b * 255);
                if (x + 1 < w) q[3] = q[0], q[4] = q[1], q[5] = q[2];
            }
        }
        std::uint8_t* p = &pic.rgb[static_cast<size_t>(y) * w * 3];
        const int* q = scene.data();
        for (int i = 0; i < w * 3; i += 3) {
            int n = static_cast<int>(grain.next() & 15) - 8;
            p[i] = static_cast<std::uint8_t>(std::clamp(q[i] + n, 0, 255));
            p[i + 1] = static_cast<std::uint8_t>(std::clamp(q[i + 1] + n, 0, 255));
            p[i + 2] = static_cast<std::uint8_t>(std::clamp(q[i + 2] + n, 0, 255));
        }
    }
    // A few things in the scene: trees or houses as simple shapes.
    int things = 3 + static_cast<int>(rnd.next() % 5);
    for (int i = 0; i < things; ++i) {
        float x = w * rnd.unit();
        float groundY = layers[2].top[std::clamp(static_cast<int>(x), 0, w - 1)];
        float size = h * rnd.range(0.04f, 0.1f);
        if (rnd.next() % 2) {
            pic.fillRect(static_cast<int>(x - size * 0.08f), static_cast<int>(groundY - size),
                         static_cast<int>(x + size * 0.08f), static_cast<int>(groundY), Rgb{0.3f, 0.2f, 0.12f});
            pic.fillEllipse(x, groundY - size * 1.2f, size * 0.5f, size * 0.6f, hueColour(0.3f, 0.6f, 0.35f), 0.95f);
        } else {
            Rgb wall = hueColour(rnd.unit(), 0.3f, 0.85f);
            pic.fillRect(static_cast<int>(x - size * 0.6f), static_cast<int>(groundY - size * 0.8f),
                         static_cast<int>(x + size * 0.6f), static_cast<int>(groundY), wall);
            pic.fillRect(static_cast<int>(x - size * 0.15f), static_cast<int>(groundY - size * 0.4f),
                         static_cast<int>(x + size * 0.15f), static_cast<int>(groundY), Rgb{0.35f, 0.22f, 0.15f});
        }
    }
}

// A figure in the foreground, as in a portrait session.
void paintFigure(Picture& pic, Random& rnd) {
    const float w = static_cast<float>(pic.width), h = static_cast<float>(pic.height);
    float cx = w * rnd.range(0.35f, 0.65f);
    float headR = std::min(w, h) * 0.09f;
    float headY = h * 0.42f;
    Rgb dress = hueColour(rnd.unit(), rnd.range(0.1f, 0.7f), rnd.range(0.6f, 0.98f));
    pic.fillEllipse(cx, h * 0.8f, headR * 2.2f, h * 0.35f, dress, 1.0f);
    pic.fillEllipse(cx, headY + headR * 1.4f, headR * 0.45f, headR * 0.7f, Rgb{0.93f, 0.78f, 0.66f}, 1.0f);
    pic.fillEllipse(cx, headY - headR * 0.15f, headR * 1.1f, headR * 1.25f, Rgb{0.15f, 0.1f, 0.08f}, 1.0f);
    pic.fillEllipse(cx, headY + headR * 0.1f, headR * 0.85f, headR, Rgb{0.95f, 0.8f, 0.68f}, 1.0f);
}

// Digits drawn as seven segments, white on a dark plate in the top-left corner.
void paintNumber(Picture& pic, int number) {
    static const std::uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    std::string digits = std::to_string(number);
    int s = std::max(8, std::min(pic.width, pic.height) / 40);  // segment thickness
    int dw = s * 4, dh = s * 7, gap = s * 2;
    int x0 = s * 3, y0 = s * 3;
    pic.fillRect(x0 - s, y0 - s, x0 + static_cast<int>(digits.size()) * (dw + gap) - gap + s, y0 + dh + s,
                 Rgb{0.1f, 0.1f, 0.1f});
    Rgb white{1, 1, 1};
    for (size_t i = 0; i < digits.size(); ++i) {
        std::uint8_t seg = kSegments[digits[i] - '0'];
        int x = x0 + static_cast<int>(i) * (dw + gap);
        int mid = y0 + dh / 2;
        if (seg & 0x01) pic.fillRect(x, y0, x + dw, y0 + s, white);
        if (seg & 0x02) pic.fillRect(x + dw - s, y0, x + dw, mid, white);
        if (seg & 0x04) pic.fillRect(x + dw - s, mid, x + dw, y0 + dh, white);
        if (seg & 0x08) pic.fillRect(x, y0 + dh - s, x + dw, y0 + dh, white);
        if (seg & 0x10) pic.fillRect(x, mid, x + s, y0 + dh, white);
        if (seg & 0x20) pic.fillRect(x, y0, x + s, mid, white);
        if (seg & 0x40) pic.fillRect(x, mid - s / 2, x + dw, mid + s / 2 + s % 2, white);
    }
}

std::string encodeJpeg(const std::vector<std::uint8_t>& rgb, int width, int height, int quality) {
    tjhandle tj = tjInitCompress();
    if (!tj) return {};
    unsigned char* out = nullptr;
    unsigned long size = 0;
    int rc = tjCompress2(tj, rgb.data(), width, 0, height, TJPF_RGB, &out, &size, TJSAMP_420, quality, 0);
    std::string jpeg;
    if (rc == 0) jpeg.assign(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    tjDestroy(tj);
    return jpeg;
}

// A small copy of the picture, as a camera stores it in its EXIF block.
std::string thumbnailJpeg(const Picture& pic) {
    int tw = 160, th = std::max(1, pic.height * 160 / pic.width);
    if (pic.height > pic.width) th = 160, tw = std::max(1, pic.width * 160 / pic.height);
    std::vector<std::uint8_t> small(static_cast<size_t>(tw) * th * 3);
    for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x) {
            const std::uint8_t* src =
                &pic.rgb[(static_cast<size_t>(y * pic.height / th) * pic.width + x * pic.width / tw) * 3];
            std::memcpy(&small[(static_cast<size_t>(y) * tw + x) * 3], src, 3);
        }
    return encodeJpeg(small, tw, th, 80);
}

void setAscii(ExifMem* mem, ExifContent* ifd, ExifTag tag, const char* text) {
    ExifEntry* e = exif_entry_new_mem(mem);
    size_t n = std::strlen(text) + 1;
    e->tag = tag;
    e->format = EXIF_FORMAT_ASCII;
    e->components = n;
    e->size = static_cast<unsigned int>(n);
    e->data = static_cast<unsigned char*>(exif_mem_alloc(mem, static_cast<ExifLong>(n)));
    std::memcpy(e->data, text, n);
    exif_content_add_entry(ifd, e);
    exif_entry_unref(e);
}

void setShort(ExifData* ed, ExifContent* ifd, ExifTag tag, ExifShort value) {
    ExifEntry* e = exif_entry_new();
    exif_content_add_entry(ifd, e);
    exif_entry_initialize(e, tag);
    exif_set_short(e->data, exif_data_get_byte_order(ed), value);
    exif_entry_unref(e);
}

// The APP1 segment with camera details and the thumbnail; empty when libexif could not build it.
std::string exifSegment(const Picture& pic, std::uint32_t seed) {
    std::string thumb = thumbnailJpeg(pic);
    if (thumb.empty()) return {};
    ExifMem* mem = exif_mem_new_default();
    ExifData* ed = exif_data_new_mem(mem);
    exif_data_set_byte_order(ed, EXIF_BYTE_ORDER_INTEL);
    exif_data_set_data_type(ed, EXIF_DATA_TYPE_COMPRESSED);
    setAscii(mem, ed->ifd[EXIF_IFD_0], EXIF_TAG_MAKE, "Demo Camera");
    setAscii(mem, ed->ifd[EXIF_IFD_0], EXIF_TAG_MODEL, "XP-1");
    setShort(ed, ed->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION, 1);
    char when[20];
    std::snprintf(when, sizeof when, "2024:05:%02u 10:%02u:00", 1 + seed % 28, seed % 60);
    setAscii(mem, ed->ifd[EXIF_IFD_EXIF], EXIF_TAG_DATE_TIME_ORIGINAL, when);
    setShort(ed, ed->ifd[EXIF_IFD_1], EXIF_TAG_COMPRESSION, 6);  // the thumbnail is a JPEG
    ed->data = static_cast<unsigned char*>(exif_mem_alloc(mem, static_cast<ExifLong>(thumb.size())));
    std::memcpy(ed->data, thumb.data(), thumb.size());
    ed->size = static_cast<unsigned int>(thumb.size());

    unsigned char* block = nullptr;
    unsigned int blockSize = 0;
    exif_data_save_data(ed, &block, &blockSize);
    std::string segment;
    if (block && blockSize + 2 <= 0xFFFF) {
        segment = "\xFF\xE1";
        segment += static_cast<char>((blockSize + 2) >> 8);
        segment += static_cast<char>((blockSize + 2) & 0xFF);
        segment.append(reinterpret_cast<const char*>(block), blockSize);
    }
    exif_mem_free(mem, block);
    exif_data_unref(ed);
    exif_mem_unref(mem);
    return segment;
}

}  // namespace

std::string makeDemoPhoto(const DemoPhotoPlan& plan) {
    if (plan.width <= 0 || plan.height <= 0) return {};
    Picture pic{plan.width, plan.height, std::vector<std::uint8_t>(static_cast<size_t>(plan.width) * plan.height * 3)};
    Random rnd(plan.seed);
    paintLandscape(pic, rnd);
    if (plan.height > plan.width || rnd.next() % 3 == 0) paintFigure(pic, rnd);
    paintNumber(pic, plan.number);
    std::string jpeg = encodeJpeg(pic.rgb, pic.width, pic.height, 88);
    if (jpeg.size() < 4 || !plan.exifThumbnail) return jpeg;

    std::string app1 = exifSegment(pic, plan.seed);
    if (app1.empty()) return jpeg;
    // Cameras put APP1 right after the start-of-image marker; the encoder's JFIF APP0 gives way to it.
    size_t rest = 2;
    if (static_cast<unsigned char>(jpeg[2]) == 0xFF && static_cast<unsigned char>(jpeg[3]) == 0xE0)
        rest = 4 + ((static_cast<unsigned char>(jpeg[4]) << 8) | static_cast<unsigned char>(jpeg[5]));
    return jpeg.substr(0, 2) + app1 + jpeg.substr(rest);
}

}  // namespace xp::admin
