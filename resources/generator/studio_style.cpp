// Palette conversion, the caption font and the drawing helpers shared by all picture painters.
#include "resources/generator/studio_style.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace xp::gen {

QColor toColor(pictures::Rgb rgb, int alpha) { return QColor(rgb.r, rgb.g, rgb.b, alpha); }

QColor mix(const QColor& a, const QColor& b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QFont captionFont(int pixelSize, double letterSpacingPercent) {
    QFont font(captionFamily);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    if (letterSpacingPercent != 100.0) font.setLetterSpacing(QFont::PercentageSpacing, letterSpacingPercent);
    return font;
}

QImage transparentCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage filledCanvas(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void dither(QImage& image, int amplitude, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-amplitude, amplitude);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            int n = noise(rng);
            auto c = [n](int v) { return std::clamp(v + n, 0, 255); };
            row[x] = qRgba(c(qRed(row[x])), c(qGreen(row[x])), c(qBlue(row[x])), qAlpha(row[x]));
        }
    }
}

namespace {

// One horizontal box pass of the given radius over every channel, from src into dst.
void boxPass(const std::vector<std::uint32_t>& src, std::vector<std::uint32_t>& dst, int w, int h, int radius) {
    const int window = 2 * radius + 1;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* in = &src[static_cast<size_t>(y) * w];
        std::uint32_t* out = &dst[static_cast<size_t>(y) * w];
        int sum[4] = {0, 0, 0, 0};
        auto channel = [](std::uint32_t px, int c) { return static_cast<int>((px >> (8 * c)) & 0xFF); };
        auto at = [&](int x) { return in[std::clamp(x, 0, w - 1)]; };
        for (int x = -radius; x <= radius; ++x)
            for (int c = 0; c < 4; ++c) sum[c] += channel(at(x), c);
        for (int x = 0; x < w; ++x) {
            std::uint32_t px = 0;
            for (int c = 0; c < 4; ++c) px |= static_cast<std::uint32_t>(sum[c] / window) << (8 * c);
            out[x] = px;
            for (int c = 0; c < 4; ++c) sum[c] += channel(at(x + radius + 1), c) - channel(at(x - radius), c);
        }
    }
}

std::vector<std::uint32_t> transpose(const std::vector<std::uint32_t>& in, int w, int h) {
    std::vector<std::uint32_t> out(in.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out[static_cast<size_t>(x) * h + y] = in[static_cast<size_t>(y) * w + x];
    return out;
}

}  // namespace

void blur(QImage& image, int radius) {
    if (radius <= 0) return;
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = image.width(), h = image.height();
    std::vector<std::uint32_t> a(static_cast<size_t>(w) * h), b(a.size());
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), w, &a[static_cast<size_t>(y) * w]);
    // Three box passes of radius r/sqrt(3) come close to a Gaussian of radius r.
    const int r = std::max(1, static_cast<int>(std::lround(radius / 1.732)));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(a, b, w, h, r);
        a.swap(b);
    }
    a = transpose(a, w, h);
    b.assign(a.size(), 0);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(a, b, h, w, r);
        a.swap(b);
    }
    a = transpose(a, h, w);
    for (int y = 0; y < h; ++y)
        std::copy_n(&a[static_cast<size_t>(y) * w], w, reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
}

void softShadow(QPainter& p, const QRectF& rect, double radius, double blurRadius, QPointF offset, double opacity) {
    const int margin = static_cast<int>(std::ceil(blurRadius * 2));
    QImage shadow = transparentCanvas(static_cast<int>(std::ceil(rect.width())) + 2 * margin,
                                      static_cast<int>(std::ceil(rect.height())) + 2 * margin);
    {
        QPainter sp(&shadow);
        prepare(sp);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(0, 0, 0, 255));
        sp.drawRoundedRect(QRectF(margin, margin, rect.width(), rect.height()), radius, radius);
    }
    blur(shadow, static_cast<int>(std::lround(blurRadius)));
    p.save();
    p.setOpacity(p.opacity() * opacity);
    p.drawImage(rect.topLeft() + offset - QPointF(margin, margin), shadow);
    p.restore();
}

double captionWidth(const QString& text, const QFont& font) { return QFontMetricsF(font).horizontalAdvance(text); }

void drawCaption(QPainter& p, const QString& text, const QFont& font, const QColor& colour, double x, double centreY) {
    // Centre the ink of a full-height ideograph, not the line box: the line box carries descender
    // room that Chinese glyphs never use, which would make every caption sit visibly high. A fixed
    // reference glyph keeps the baselines of neighbouring buttons level.
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(QStringLiteral("国"));
    const double baseline = centreY - (ink.top() + ink.bottom()) / 2.0;
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QPointF(x, std::round(baseline)), text);
    p.restore();
}

}  // namespace xp::gen
