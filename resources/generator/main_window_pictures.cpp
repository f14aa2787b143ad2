// Painters of the main window's chrome: banner bar, logo, banner buttons, left column, its picture
// button faces and the contact links at its foot.
#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>

#include "resources/generator/painters.h"
#include "resources/generator/studio_style.h"

namespace xp::gen {

namespace {

constexpr int bannerHeight = 50;

// The banner's vertical gradient with its top highlight and bottom hairline. The logo repeats it
// exactly, so the two meet without a seam whatever the window width.
void paintBannerGround(QPainter& p, int width) {
    QLinearGradient ground(0, 0, 0, bannerHeight);
    ground.setColorAt(0.0, QColor(47, 52, 60));
    ground.setColorAt(1.0, QColor(34, 37, 43));
    p.fillRect(QRect(0, 0, width, bannerHeight), ground);
    p.fillRect(QRect(0, 0, width, 1), QColor(64, 69, 78));
    p.fillRect(QRect(0, bannerHeight - 1, width, 1), QColor(22, 24, 27));
}

QColor columnColour() { return toColor(pictures::palette::column); }

}  // namespace

QImage paintMainBanner() {
    QImage image = filledCanvas(2560, bannerHeight, Qt::black);
    QPainter p(&image);
    paintBannerGround(p, image.width());
    return image;
}

QImage paintMainLogo() {
    QImage image = filledCanvas(336, bannerHeight, Qt::black);
    QPainter p(&image);
    prepare(p);
    paintBannerGround(p, image.width());
    drawAperture(p, QPointF(29.5, 25), 14, toColor(pictures::palette::accent), 1.7);

    const QFont wordmark = captionFont(23, 103);
    const QString name = QStringLiteral("Zelvano");
    p.setFont(wordmark);
    p.setPen(toColor(pictures::palette::text));
    p.drawText(QPointF(55, 33), name);

    const double rule = 55 + captionWidth(name, wordmark) + 13;
    p.fillRect(QRectF(rule, 16, 1, 18), QColor(86, 92, 102));
    drawCaption(p, QStringLiteral("影楼选片系统"), captionFont(15, 108), toColor(pictures::palette::textMuted),
                rule + 13, 25);
    return image;
}

QImage paintBannerButton(Icon glyph) {
    QImage image = transparentCanvas(25, 25);
    QPainter p(&image);
    prepare(p);
    p.setPen(QPen(QColor(255, 255, 255, 34), 1));
    p.setBrush(QColor(255, 255, 255, 14));
    p.drawRoundedRect(QRectF(0.5, 0.5, 24, 24), 5, 5);
    drawIcon(p, glyph, QRectF(2.5, 2.5, 20, 20), QColor(214, 218, 224), 1.6);
    return image;
}

QImage paintMainColumn() {
    QImage image = filledCanvas(184, 1440, columnColour());
    QPainter p(&image);
    // A short shade under the title line, then the flat colour the button faces are painted on.
    QLinearGradient shade(0, 0, 0, 8);
    shade.setColorAt(0.0, QColor(0, 0, 0, 70));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRect(0, 0, 184, 8), shade);
    p.fillRect(QRect(183, 0, 1, image.height()), QColor(47, 51, 58));
    return image;
}

QImage paintNavFace(Icon icon, const QString& caption, FaceState state) {
    QImage image = filledCanvas(164, 50, columnColour());
    QPainter p(&image);
    prepare(p);
    const QRectF plate(0.5, 0.5, 163, 49);
    const QColor accent = toColor(pictures::palette::accent);

    QColor iconColour, textColour;
    QLinearGradient fill(0, 0, 0, 50);
    QColor border;
    switch (state) {
        case FaceState::Normal:
            fill.setColorAt(0, QColor(43, 47, 54));
            fill.setColorAt(1, QColor(39, 43, 49));
            border = QColor(53, 58, 66);
            iconColour = toColor(pictures::palette::textMuted);
            textColour = QColor(212, 208, 201);
            break;
        case FaceState::Highlighted:
            fill.setColorAt(0, QColor(57, 62, 71));
            fill.setColorAt(1, QColor(49, 54, 62));
            border = mix(QColor(53, 58, 66), accent, 0.55);
            iconColour = accent;
            textColour = QColor(247, 244, 238);
            break;
        case FaceState::Disabled:
            // The function that is open right now: warm plate, accent bar, accent icon.
            fill.setColorAt(0, QColor(70, 59, 45));
            fill.setColorAt(1, QColor(58, 50, 40));
            border = mix(QColor(53, 58, 66), accent, 0.8);
            iconColour = QColor(236, 186, 120);
            textColour = QColor(248, 230, 203);
            break;
    }
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(plate, 7, 7);
    if (state == FaceState::Disabled) {
        QPainterPath clip;
        clip.addRoundedRect(plate, 7, 7);
        p.save();
        p.setClipPath(clip);
        p.fillRect(QRectF(0, 0, 4, 50), accent);
        p.restore();
    }
    drawIcon(p, icon, QRectF(17, 14, 22, 22), iconColour, 1.7);
    drawCaption(p, caption, captionFont(15, 104), textColour, 52, 25);
    return image;
}

QImage paintLink(Icon icon, const QString& caption, int width) {
    QImage image = filledCanvas(width, 23, columnColour());
    QPainter p(&image);
    prepare(p);
    const QFont font = captionFont(12);
    const double iconSize = 14, gap = 4;
    const double total = iconSize + gap + captionWidth(caption, font);
    const double left = std::floor((width - total) / 2.0);
    drawIcon(p, icon, QRectF(left, 4.5, iconSize, iconSize),
             mix(toColor(pictures::palette::accent), columnColour(), 0.15), 1.3);
    drawCaption(p, caption, font, toColor(pictures::palette::textMuted), left + iconSize + gap, 11.5);
    return image;
}

}  // namespace xp::gen
