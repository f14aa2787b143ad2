// Painters of the viewers' tool bar (play, pause and the other tool icons), the busy animation, the
// gallery's exit button faces and the folder icon of the path boxes.
#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "resources/generator/painters.h"
#include "resources/generator/studio_style.h"

namespace xp::gen {

namespace {

QColor accent(int alpha = 255) { return toColor(pictures::palette::accent, alpha); }
const QColor toolGlyph(228, 230, 234);

}  // namespace

QImage paintPlayButton(bool pause) {
    QImage image = transparentCanvas(50, 50);
    QPainter p(&image);
    prepare(p);
    const QPointF c(25, 25);
    QLinearGradient disc(0, 2, 0, 48);
    disc.setColorAt(0, QColor(232, 182, 116));
    disc.setColorAt(1, QColor(198, 142, 76));
    p.setPen(QPen(QColor(255, 236, 206, 120), 1));
    p.setBrush(disc);
    p.drawEllipse(c, 22.5, 22.5);
    const QColor ink(30, 30, 32);
    p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    if (pause) {
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(17, 15.5, 5.5, 19), 1.8, 1.8);
        p.drawRoundedRect(QRectF(27.5, 15.5, 5.5, 19), 1.8, 1.8);
    } else {
        // The triangle's centroid sits on the disc's centre, which is what the eye reads as centred.
        QPolygonF triangle;
        triangle << QPointF(20, 15.5) << QPointF(20, 34.5) << QPointF(35.5, 25);
        p.drawPolygon(triangle);
    }
    return image;
}

QImage paintToolIcon(Icon icon, int width) {
    QImage image = transparentCanvas(width, 40);
    QPainter p(&image);
    prepare(p);
    const QPointF c(width / 2.0, 20);
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.setBrush(QColor(255, 255, 255, 12));
    p.drawEllipse(c, 18.5, 18.5);
    drawIcon(p, icon, QRectF(c.x() - 11, c.y() - 11, 22, 22), toolGlyph, 1.8);
    return image;
}

QImage paintLoadingFrame(int frame, int frameCount) {
    QImage image = transparentCanvas(120, 90);
    QPainter p(&image);
    prepare(p);
    const QPointF c(60, 45);
    const int dots = frameCount;
    p.setPen(Qt::NoPen);
    for (int j = 0; j < dots; ++j) {
        // The brightest dot leads; the ones it has passed fade behind it, so the ring turns clockwise.
        const int age = ((frame - j) % dots + dots) % dots;
        const double life = 1.0 - static_cast<double>(age) / dots;
        const int alpha = static_cast<int>(std::lround(38 + 217 * life * life));
        const double angle = (90.0 - j * 360.0 / dots) * std::numbers::pi / 180.0;
        const QPointF at(c.x() + 21 * std::cos(angle), c.y() - 21 * std::sin(angle));
        p.setBrush(accent(alpha));
        p.drawEllipse(at, 3.6, 3.6);
    }
    return image;
}

QImage paintGalleryExitFace(FaceState state) {
    const QColor ground = toColor(pictures::palette::column);
    QImage image = filledCanvas(80, 32, ground);
    QPainter p(&image);
    prepare(p);
    QColor fill, border, glyph, text;
    switch (state) {
        case FaceState::Normal:
            fill = QColor(43, 47, 54);
            border = QColor(58, 63, 72);
            glyph = toColor(pictures::palette::textMuted);
            text = QColor(214, 210, 203);
            break;
        case FaceState::Highlighted:
            fill = QColor(55, 60, 69);
            border = mix(QColor(58, 63, 72), accent(), 0.55);
            glyph = accent();
            text = QColor(247, 244, 238);
            break;
        case FaceState::Disabled:
            // The exit is disabled only while an album loads: recede rather than stand out.
            fill = QColor(37, 40, 46);
            border = QColor(46, 50, 57);
            glyph = QColor(92, 97, 105);
            text = QColor(104, 109, 117);
            break;
    }
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 79, 31), 6, 6);
    const QFont font = captionFont(14, 108);
    const QString caption = QStringLiteral("退出");
    const double total = 16 + 6 + captionWidth(caption, font);
    const double x = std::floor((80 - total) / 2);
    drawIcon(p, Icon::Back, QRectF(x, 8, 16, 16), glyph, 1.5);
    drawCaption(p, caption, font, text, x + 22, 16);
    return image;
}

QImage paintFolderIcon() {
    QImage image = transparentCanvas(22, 22);
    QPainter p(&image);
    prepare(p);
    const QColor outline(112, 74, 34, 210);
    // Back with its tab.
    QPainterPath back;
    back.moveTo(2.5, 17.5);
    back.lineTo(2.5, 5);
    back.quadTo(2.5, 3.5, 4, 3.5);
    back.lineTo(8, 3.5);
    back.lineTo(10, 5.5);
    back.lineTo(18, 5.5);
    back.quadTo(19.5, 5.5, 19.5, 7);
    back.lineTo(19.5, 17.5);
    back.closeSubpath();
    p.setPen(QPen(outline, 1));
    p.setBrush(QColor(196, 140, 72));
    p.drawPath(back);
    // Front flap, lit from above.
    QLinearGradient front(0, 8, 0, 19);
    front.setColorAt(0, QColor(244, 200, 132));
    front.setColorAt(1, QColor(220, 164, 92));
    QPainterPath flap;
    flap.addRoundedRect(QRectF(2.5, 8.5, 17, 10), 1.3, 1.3);
    p.setBrush(front);
    p.drawPath(flap);
    p.setPen(QPen(QColor(255, 240, 214, 150), 1));
    p.drawLine(QPointF(4, 9.9), QPointF(18, 9.9));
    return image;
}

}  // namespace xp::gen
