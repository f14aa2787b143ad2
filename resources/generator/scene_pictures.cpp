// Painters of the large pictures: the login banner, the main background with its fanned prints, the
// gallery title pictures and the program icon.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <random>

#include "resources/generator/painters.h"
#include "resources/generator/studio_style.h"

namespace xp::gen {

namespace {

QColor accent(int alpha = 255) { return toColor(pictures::palette::accent, alpha); }

// Soft out-of-focus discs, the kind a studio light throws behind a sitter.
void paintBokeh(QPainter& p, const QRectF& area, int count, unsigned seed, const QColor& tint, int maxAlpha) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> ux(area.left(), area.right()), uy(area.top(), area.bottom());
    std::uniform_real_distribution<double> ur(0.02, 0.075), ua(0.25, 1.0);
    const double scale = std::min(area.width(), area.height()) * 2.2;
    for (int i = 0; i < count; ++i) {
        const QPointF c(ux(rng), uy(rng));
        const double r = ur(rng) * scale;
        const int alpha = static_cast<int>(maxAlpha * ua(rng));
        QRadialGradient disc(c, r);
        QColor inner = tint, rim = tint, edge = tint;
        inner.setAlpha(alpha * 6 / 10);
        rim.setAlpha(alpha);
        edge.setAlpha(0);
        disc.setColorAt(0.0, inner);
        disc.setColorAt(0.86, rim);
        disc.setColorAt(1.0, edge);
        p.setPen(Qt::NoPen);
        p.setBrush(disc);
        p.drawEllipse(c, r, r);
    }
}

// Blends every pixel within `margin` of the chosen borders towards `edge`, so the picture melts
// into a surround of that colour instead of ending in a hard line.
enum Edges { Top = 1, Bottom = 2, Left = 4, Right = 8, AllEdges = 15 };
void fadeEdges(QImage& image, const QColor& edge, int margin, int edges) {
    const int w = image.width(), h = image.height();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int d = margin;
            if (edges & Top) d = std::min(d, y);
            if (edges & Bottom) d = std::min(d, h - 1 - y);
            if (edges & Left) d = std::min(d, x);
            if (edges & Right) d = std::min(d, w - 1 - x);
            if (d >= margin) continue;
            double t = 1.0 - static_cast<double>(d) / margin;
            t = t * t * (3 - 2 * t);
            row[x] = mix(QColor::fromRgb(row[x]), edge, t).rgb();
        }
    }
}

// A mountain ridge as the sum of a few sines: deterministic, soft and varied enough to read as land.
QPainterPath ridge(double width, double height, double base, double amplitude, double phase) {
    QPainterPath path(QPointF(0, height));
    for (int i = 0; i <= 64; ++i) {
        const double x = width * i / 64.0;
        const double u = x / width * 6.283;
        const double y = base - amplitude * (0.55 * std::sin(u * 1.3 + phase) + 0.3 * std::sin(u * 2.9 + phase * 2) +
                                             0.15 * std::sin(u * 6.1 + phase * 3));
        path.lineTo(x, y);
    }
    path.lineTo(width, height);
    path.closeSubpath();
    return path;
}

QImage photoDuskMountains(int w, int h) {
    QImage img = filledCanvas(w, h, Qt::black);
    QPainter p(&img);
    prepare(p);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(46, 60, 96));
    sky.setColorAt(0.42, QColor(150, 104, 112));
    sky.setColorAt(0.62, QColor(236, 170, 116));
    sky.setColorAt(1.0, QColor(240, 196, 140));
    p.fillRect(img.rect(), sky);
    const QPointF sun(w * 0.66, h * 0.56);
    QRadialGradient glow(sun, w * 0.35);
    glow.setColorAt(0, QColor(255, 226, 170, 170));
    glow.setColorAt(1, QColor(255, 226, 170, 0));
    p.fillRect(img.rect(), glow);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 196));
    p.drawEllipse(sun, w * 0.065, w * 0.065);
    const QColor layers[] = {QColor(120, 86, 98), QColor(78, 60, 78), QColor(44, 38, 54)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(layers[i]);
        p.drawPath(ridge(w, h, h * (0.62 + 0.12 * i), h * (0.16 - 0.03 * i), 1.1 + i * 1.7));
    }
    return img;
}

QImage photoPortrait(int w, int h) {
    QImage img = filledCanvas(w, h, Qt::black);
    QPainter p(&img);
    prepare(p);
    QRadialGradient backdrop(QPointF(w * 0.5, h * 0.35), h * 0.8);
    backdrop.setColorAt(0, QColor(150, 124, 106));
    backdrop.setColorAt(1, QColor(50, 42, 40));
    p.fillRect(img.rect(), backdrop);
    paintBokeh(p, QRectF(0, 0, w, h * 0.7), 10, 7, QColor(255, 224, 180), 70);
    // Head and shoulders right of centre, as a portrait is framed, lit from the right.
    const double cx = w * 0.6;
    QPainterPath sitter;
    sitter.addEllipse(QPointF(cx, h * 0.36), w * 0.16, h * 0.14);
    QPainterPath body(QPointF(cx - w * 0.46, h));
    body.cubicTo(cx - w * 0.42, h * 0.64, cx - w * 0.2, h * 0.57, cx, h * 0.57);
    body.cubicTo(cx + w * 0.2, h * 0.57, cx + w * 0.42, h * 0.64, cx + w * 0.46, h);
    body.closeSubpath();
    QPainterPath neck;
    neck.addRect(QRectF(cx - w * 0.07, h * 0.44, w * 0.14, h * 0.15));
    sitter = sitter.united(body).united(neck);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(36, 30, 32));
    p.drawPath(sitter);
    p.save();
    p.setClipPath(sitter);
    QLinearGradient rim(cx, 0, cx + w * 0.4, 0);
    rim.setColorAt(0, QColor(255, 210, 160, 0));
    rim.setColorAt(1, QColor(255, 210, 160, 90));
    p.fillRect(img.rect(), rim);
    p.restore();
    return img;
}

QImage photoSeaside(int w, int h) {
    QImage img = filledCanvas(w, h, Qt::black);
    QPainter p(&img);
    prepare(p);
    const double horizon = h * 0.56;
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor(104, 150, 190));
    sky.setColorAt(1, QColor(242, 208, 168));
    p.fillRect(QRectF(0, 0, w, horizon), sky);
    QLinearGradient sea(0, horizon, 0, h);
    sea.setColorAt(0, QColor(92, 128, 156));
    sea.setColorAt(1, QColor(32, 62, 92));
    p.fillRect(QRectF(0, horizon, w, h - horizon), sea);
    const QPointF sun(w * 0.3, horizon - h * 0.08);
    QRadialGradient glow(sun, w * 0.3);
    glow.setColorAt(0, QColor(255, 236, 200, 160));
    glow.setColorAt(1, QColor(255, 236, 200, 0));
    p.fillRect(QRectF(0, 0, w, horizon), glow);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 242, 214));
    p.drawEllipse(sun, w * 0.05, w * 0.05);
    // The sun's path on the water: a soft glow with a few broken glints.
    p.save();
    p.translate(sun.x(), horizon + (h - horizon) * 0.3);
    p.scale(0.3, 1.0);
    QRadialGradient path(QPointF(0, 0), (h - horizon) * 0.55);
    path.setColorAt(0, QColor(255, 226, 180, 120));
    path.setColorAt(1, QColor(255, 226, 180, 0));
    p.setBrush(path);
    p.drawEllipse(QPointF(0, 0), (h - horizon) * 0.55, (h - horizon) * 0.55);
    p.restore();
    const double glints[][3] = {{0.05, 0.0, 0.045},   {0.16, -0.012, 0.03}, {0.27, 0.01, 0.04},
                                {0.4, -0.006, 0.022}, {0.52, 0.014, 0.03},  {0.66, -0.01, 0.018}};
    for (const auto& g : glints) {
        const double y = horizon + 3 + g[0] * (h - horizon);
        p.setBrush(QColor(255, 236, 204, static_cast<int>(170 - 160 * g[0])));
        p.drawRoundedRect(QRectF(sun.x() + g[1] * w - g[2] * w, y, 2 * g[2] * w, 1.6), 0.8, 0.8);
    }
    p.setBrush(QColor(54, 62, 74));
    QPainterPath island(QPointF(w * 0.56, horizon));
    island.cubicTo(w * 0.64, horizon - h * 0.1, w * 0.74, horizon - h * 0.12, w * 0.86, horizon);
    island.closeSubpath();
    p.drawPath(island);
    QPainterPath beach(QPointF(0, h));
    beach.lineTo(0, h * 0.86);
    beach.cubicTo(w * 0.3, h * 0.8, w * 0.6, h * 0.92, w, h * 0.84);
    beach.lineTo(w, h);
    beach.closeSubpath();
    p.setBrush(QColor(216, 190, 150));
    p.drawPath(beach);
    return img;
}

// A print on the table: white border, photo, soft shadow; centred on `centre`, turned by `angle`.
void paintPrint(QPainter& p, const QImage& photo, QPointF centre, double angle, int border) {
    const QRectF outer(-photo.width() / 2.0 - border, -photo.height() / 2.0 - border, photo.width() + 2.0 * border,
                       photo.height() + 2.0 * border);
    p.save();
    p.translate(centre);
    p.rotate(angle);
    softShadow(p, outer, 2, 14, QPointF(0, 12), 0.75);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(244, 242, 237));
    p.drawRoundedRect(outer, 2, 2);
    p.drawImage(QPointF(-photo.width() / 2.0, -photo.height() / 2.0), photo);
    p.restore();
}

}  // namespace

QImage paintLoginBanner() {
    const int w = 480, h = 272;
    const QColor footer = toColor(pictures::palette::column);
    QImage image = filledCanvas(w, h, footer);
    {
        QPainter p(&image);
        prepare(p);
        QLinearGradient ground(0, 0, 0, h);
        ground.setColorAt(0.0, QColor(44, 48, 56));
        ground.setColorAt(0.7, QColor(30, 33, 38));
        ground.setColorAt(1.0, footer);
        p.fillRect(image.rect(), ground);
        // A warm key light from beyond the top right corner.
        QRadialGradient key(QPointF(w * 0.86, -h * 0.25), w * 0.75);
        key.setColorAt(0, accent(58));
        key.setColorAt(1, accent(0));
        p.fillRect(image.rect(), key);
        paintBokeh(p, QRectF(w * 0.68, 0, w * 0.32, h * 0.36), 8, 21, QColor(255, 226, 186), 22);

        const QPointF mark(108, 132);
        QRadialGradient halo(mark, 80);
        halo.setColorAt(0, accent(34));
        halo.setColorAt(1, accent(0));
        p.fillRect(image.rect(), halo);
        drawAperture(p, mark, 47, accent(), 2.4);

        const QFont wordmark = captionFont(46, 101);
        p.setFont(wordmark);
        p.setPen(toColor(pictures::palette::text));
        p.drawText(QPointF(182, 132), QStringLiteral("Zelvano"));
        drawCaption(p, QStringLiteral("影楼选片系统"), captionFont(21, 122), QColor(226, 204, 172), 185, 157);
        p.fillRect(QRectF(185, 179, 36, 2), accent());
        p.setFont(captionFont(10, 150));
        p.setPen(toColor(pictures::palette::textMuted));
        p.drawText(QPointF(185, 201), QStringLiteral("PHOTO SELECTION WORKSTATION"));
    }
    dither(image, 2, 11);
    // The key light and the grain reach the bottom rows too; bring them back to the footer colour.
    fadeEdges(image, footer, 28, Bottom);
    return image;
}

QImage paintMainBackground() {
    const int w = 960, h = 600;
    const QColor backdrop = toColor(pictures::palette::backdrop);
    QImage image = filledCanvas(w, h, backdrop);
    {
        QPainter p(&image);
        prepare(p);
        // An elliptical light that has fallen to the backdrop colour before it reaches any edge, so
        // the picture ends without a visible border on a backdrop-coloured draw panel.
        p.save();
        p.translate(w * 0.5, h * 0.45);
        p.scale(1.0, (h * 0.55) / (w * 0.5));
        QRadialGradient light(QPointF(0, 0), w * 0.5);
        light.setColorAt(0.0, QColor(62, 67, 77));
        light.setColorAt(0.45, QColor(42, 45, 52));
        light.setColorAt(0.8, backdrop);
        light.setColorAt(1.0, backdrop);
        p.fillRect(QRectF(-2 * w, -2 * w, 4 * w, 4 * w), light);
        p.restore();
        // The pool of light on the table under the prints.
        p.save();
        p.translate(w * 0.5, h * 0.55);
        p.scale(1.0, 0.42);
        QRadialGradient pool(QPointF(0, 0), w * 0.36);
        pool.setColorAt(0, accent(34));
        pool.setColorAt(1, accent(0));
        p.setPen(Qt::NoPen);
        p.setBrush(pool);
        p.drawEllipse(QPointF(0, 0), w * 0.36, w * 0.36);
        p.restore();

        paintPrint(p, photoDuskMountains(236, 160), QPointF(356, 236), -9, 8);
        paintPrint(p, photoPortrait(150, 200), QPointF(618, 220), 7.5, 8);
        const QPointF front(482, 276);
        paintPrint(p, photoSeaside(262, 176), front, -1.5, 9);

        // The front print carries the mark a chosen photo gets.
        p.save();
        p.translate(front);
        p.rotate(-1.5);
        const QPointF badge(131 + 9 - 16, -88 - 9 + 16);
        softShadow(p, QRectF(badge.x() - 15, badge.y() - 15, 30, 30), 15, 6, QPointF(0, 3), 0.6);
        p.setPen(QPen(QColor(255, 255, 255, 230), 2));
        p.setBrush(accent());
        p.drawEllipse(badge, 14, 14);
        QPen tick(QColor(34, 30, 26), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(tick);
        p.setBrush(Qt::NoBrush);
        QPainterPath check(badge + QPointF(-6, 0.5));
        check.lineTo(badge + QPointF(-1.5, 5));
        check.lineTo(badge + QPointF(6.5, -4.5));
        p.drawPath(check);
        p.restore();

        const QFont title = captionFont(25, 106);
        const QString name = QStringLiteral("Zelvano 影楼选片系统");
        p.setFont(title);
        p.setPen(toColor(pictures::palette::text));
        p.drawText(QPointF((w - captionWidth(name, title)) / 2, 474), name);
        const QFont hintFont = captionFont(14, 104);
        const QString hint = QStringLiteral("从左侧「导入选片数据」开始新的订单，或在「数据管理」中打开已有订单");
        drawCaption(p, hint, hintFont, toColor(pictures::palette::textMuted), (w - captionWidth(hint, hintFont)) / 2,
                    506);
        p.fillRect(QRectF(w / 2.0 - 18, 530, 36, 2), accent(200));
    }
    dither(image, 2, 5);
    fadeEdges(image, backdrop, 8, AllEdges);
    return image;
}

QImage paintGalleryTitle(Icon icon, const QString& title, const QString& subtitle) {
    const int w = 300, h = 48;
    QImage image = filledCanvas(w, h, toColor(pictures::palette::column));
    QPainter p(&image);
    prepare(p);
    const QFont titleFont = captionFont(20, 114);
    const QFont subFont = captionFont(9, 160);
    const double iconSize = 22, gap = 10, ruleGap = 13;
    const double total =
        iconSize + gap + captionWidth(title, titleFont) + 2 * ruleGap + 1 + captionWidth(subtitle, subFont);
    double x = std::floor((w - total) / 2);
    drawIcon(p, icon, QRectF(x, 13, iconSize, iconSize), accent(), 1.7);
    x += iconSize + gap;
    drawCaption(p, title, titleFont, toColor(pictures::palette::text), x, 24);
    x += captionWidth(title, titleFont) + ruleGap;
    p.fillRect(QRectF(std::round(x), 15, 1, 18), QColor(74, 80, 90));
    x += 1 + ruleGap;
    p.setFont(subFont);
    p.setPen(toColor(pictures::palette::textMuted));
    p.drawText(QPointF(x, 28), subtitle);
    return image;
}

QImage paintAppIcon() {
    QImage image = transparentCanvas(128, 128);
    QPainter p(&image);
    prepare(p);
    const QRectF tile(6, 6, 116, 116);
    softShadow(p, tile, 26, 4, QPointF(0, 2), 0.5);
    QLinearGradient ground(0, 6, 0, 122);
    ground.setColorAt(0, QColor(58, 63, 72));
    ground.setColorAt(1, QColor(28, 31, 36));
    p.setPen(QPen(QColor(255, 255, 255, 26), 1.5));
    p.setBrush(ground);
    p.drawRoundedRect(tile, 26, 26);
    QRadialGradient halo(QPointF(64, 64), 52);
    halo.setColorAt(0, accent(50));
    halo.setColorAt(1, accent(0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(64, 64), 52, 52);
    drawAperture(p, QPointF(64, 64), 36, accent(), 5);
    return image;
}

}  // namespace xp::gen
