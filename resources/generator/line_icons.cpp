// Paths of the line icons on their 24 x 24 grid, and the aperture mark.
#include "resources/generator/line_icons.h"

#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace xp::gen {

namespace {

constexpr double degrees = std::numbers::pi / 180.0;

QPointF onCircle(QPointF c, double r, double angleDeg) {
    // Screen y grows downwards, so a counter-clockwise angle subtracts from y.
    return {c.x() + r * std::cos(angleDeg * degrees), c.y() - r * std::sin(angleDeg * degrees)};
}

// An open circular arc with an arrowhead at its end, pointing the way the arc runs.
QPainterPath arcArrow(QPointF c, double r, double startDeg, double sweepDeg) {
    QPainterPath path;
    path.arcMoveTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), startDeg);
    path.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), startDeg, sweepDeg);
    const double endDeg = startDeg + sweepDeg;
    const QPointF tip = onCircle(c, r, endDeg);
    const double sign = sweepDeg > 0 ? 1.0 : -1.0;
    // Direction of travel at the end of the arc.
    const double dx = -std::sin(endDeg * degrees) * sign, dy = -std::cos(endDeg * degrees) * sign;
    const double head = 4.2;
    for (double turn : {150.0, -150.0}) {
        const double ca = std::cos(turn * degrees), sa = std::sin(turn * degrees);
        const QPointF back(tip.x() + head * (dx * ca - dy * sa), tip.y() + head * (dx * sa + dy * ca));
        path.moveTo(tip);
        path.lineTo(back);
    }
    return path;
}

QPainterPath chevron(QPointF a, QPointF tip, QPointF b) {
    QPainterPath path(a);
    path.lineTo(tip);
    path.lineTo(b);
    return path;
}

QPainterPath line(double x1, double y1, double x2, double y2) {
    QPainterPath path(QPointF(x1, y1));
    path.lineTo(x2, y2);
    return path;
}

QPainterPath iconPath(Icon icon) {
    QPainterPath p;
    switch (icon) {
        case Icon::Import:
            p.moveTo(4, 14);
            p.lineTo(4, 18.5);
            p.quadTo(4, 20, 5.5, 20);
            p.lineTo(18.5, 20);
            p.quadTo(20, 20, 20, 18.5);
            p.lineTo(20, 14);
            p.addPath(line(12, 3.5, 12, 14.5));
            p.addPath(chevron({7.5, 10}, {12, 14.5}, {16.5, 10}));
            break;
        case Icon::Database: {
            const QRectF top(5, 3.5, 14, 5);
            p.addEllipse(top);
            p.moveTo(5, 6);
            p.lineTo(5, 18);
            p.arcTo(QRectF(5, 15.5, 14, 5), 180, 180);
            p.lineTo(19, 6);
            p.arcMoveTo(QRectF(5, 9.5, 14, 5), 180);
            p.arcTo(QRectF(5, 9.5, 14, 5), 180, 180);
            break;
        }
        case Icon::Customer:
            p.addEllipse(QPointF(12, 8), 3.8, 3.8);
            p.moveTo(4.5, 20);
            p.cubicTo(4.5, 15.5, 8, 13.5, 12, 13.5);
            p.cubicTo(16, 13.5, 19.5, 15.5, 19.5, 20);
            break;
        case Icon::Split:
            // One order fanned out into product folders.
            p.addRoundedRect(QRectF(8.5, 3, 7, 5.5), 1.2, 1.2);
            p.addPath(line(12, 8.5, 12, 12));
            p.addPath(line(5, 12, 19, 12));
            for (double x : {5.0, 12.0, 19.0}) {
                p.addPath(line(x, 12, x, 15));
                p.addRoundedRect(QRectF(x - 2.8, 15, 5.6, 5.5), 1.2, 1.2);
            }
            break;
        case Icon::Gallery:
            p.addRoundedRect(QRectF(3, 5, 18, 14), 2, 2);
            p.addEllipse(QPointF(8.5, 9.5), 1.7, 1.7);
            p.moveTo(3.5, 17);
            p.lineTo(9, 12);
            p.lineTo(12.5, 15);
            p.lineTo(15.5, 12);
            p.lineTo(20.5, 16.5);
            break;
        case Icon::Layout:
            p.addRoundedRect(QRectF(3, 4, 18, 16), 1.8, 1.8);
            p.addPath(line(10.5, 4, 10.5, 20));
            p.addPath(line(10.5, 12, 21, 12));
            break;
        case Icon::Gear: {
            QPolygonF gear;
            const QPointF c(12, 12);
            for (int i = 0; i < 8; ++i) {
                const double a = i * 45.0;
                gear << onCircle(c, 6.6, a - 15) << onCircle(c, 9.3, a - 9) << onCircle(c, 9.3, a + 9)
                     << onCircle(c, 6.6, a + 15);
            }
            gear << gear.front();
            p.addPolygon(gear);
            p.addEllipse(c, 2.8, 2.8);
            break;
        }
        case Icon::Brush:
            // Handle, ferrule and a loaded tip: the studio putting its own look on the program.
            p.addPath(line(20.5, 3.5, 12.8, 11.2));
            p.moveTo(10.8, 9.4);
            p.lineTo(14.6, 13.2);
            p.moveTo(10.8, 9.4);
            p.cubicTo(7.2, 9.4, 5.2, 12, 5.2, 15.2);
            p.cubicTo(5.2, 17.6, 4.4, 19.4, 3, 20.8);
            p.cubicTo(8.6, 21.2, 14.6, 19.2, 14.6, 13.2);
            break;
        case Icon::Globe:
            p.addEllipse(QPointF(12, 12), 9, 9);
            p.addEllipse(QPointF(12, 12), 4, 9);
            p.addPath(line(3, 12, 21, 12));
            break;
        case Icon::Mail:
            p.addRoundedRect(QRectF(3, 5.5, 18, 13), 1.8, 1.8);
            p.addPath(chevron({3.8, 6.8}, {12, 13}, {20.2, 6.8}));
            break;
        case Icon::Help:
            p.addEllipse(QPointF(12, 12), 9, 9);
            p.moveTo(9.2, 9.6);
            p.cubicTo(9.2, 7.9, 10.4, 6.8, 12, 6.8);
            p.cubicTo(13.7, 6.8, 14.9, 7.9, 14.9, 9.4);
            p.cubicTo(14.9, 11.4, 12, 11.7, 12, 13.9);
            p.addEllipse(QPointF(12, 17), 0.5, 0.5);
            break;
        case Icon::Previous: p = chevron({14.5, 4.5}, {7, 12}, {14.5, 19.5}); break;
        case Icon::Next: p = chevron({9.5, 4.5}, {17, 12}, {9.5, 19.5}); break;
        case Icon::ZoomIn:
        case Icon::ZoomOut:
            p.addEllipse(QPointF(10.5, 10.5), 6.8, 6.8);
            p.addPath(line(15.4, 15.4, 20.5, 20.5));
            p.addPath(line(7.3, 10.5, 13.7, 10.5));
            if (icon == Icon::ZoomIn) p.addPath(line(10.5, 7.3, 10.5, 13.7));
            break;
        case Icon::Restore:
            p.addPath(chevron({4, 9}, {4, 4}, {9, 4}));
            p.addPath(chevron({15, 4}, {20, 4}, {20, 9}));
            p.addPath(chevron({20, 15}, {20, 20}, {15, 20}));
            p.addPath(chevron({9, 20}, {4, 20}, {4, 15}));
            p.addRoundedRect(QRectF(8.5, 8.5, 7, 7), 1.2, 1.2);
            break;
        case Icon::RotateLeft: p = arcArrow({12, 12.5}, 7.5, 240, 270); break;
        case Icon::RotateRight: p = arcArrow({12, 12.5}, 7.5, 300, -270); break;
        case Icon::Trash:
            p.addPath(line(4, 6.5, 20, 6.5));
            p.moveTo(9.5, 6.5);
            p.lineTo(9.5, 4);
            p.lineTo(14.5, 4);
            p.lineTo(14.5, 6.5);
            p.moveTo(6, 6.5);
            p.lineTo(7, 20);
            p.lineTo(17, 20);
            p.lineTo(18, 6.5);
            p.addPath(line(10.2, 10, 10.2, 16.5));
            p.addPath(line(13.8, 10, 13.8, 16.5));
            break;
        case Icon::Exit:
            p.moveTo(11, 4);
            p.lineTo(5, 4);
            p.lineTo(5, 20);
            p.lineTo(11, 20);
            p.addPath(line(9.5, 12, 20, 12));
            p.addPath(chevron({16.3, 8.3}, {20, 12}, {16.3, 15.7}));
            break;
        case Icon::Close:
            p.addPath(line(6.5, 6.5, 17.5, 17.5));
            p.addPath(line(17.5, 6.5, 6.5, 17.5));
            break;
        case Icon::Minimize: p.addPath(line(6.5, 12.5, 17.5, 12.5)); break;
        case Icon::Back:
            p.addPath(chevron({8.5, 5}, {4, 9.5}, {8.5, 14}));
            p.moveTo(4, 9.5);
            p.lineTo(14, 9.5);
            p.cubicTo(17.5, 9.5, 20, 12, 20, 15);
            p.cubicTo(20, 18, 17.5, 20, 14, 20);
            p.lineTo(10, 20);
            break;
    }
    return p;
}

}  // namespace

void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& colour, double strokeWidth) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    QPen pen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(iconPath(icon));
    p.restore();
}

void drawAperture(QPainter& p, QPointF centre, double radius, const QColor& colour, double strokeWidth) {
    p.save();
    QPen pen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    // Each blade edge runs from a corner of the inner hexagon along the next hexagon side until it
    // meets the ring; six of them together read as a closing iris.
    const double inner = radius * 0.42;
    for (int i = 0; i < 6; ++i) {
        const QPointF a = onCircle(centre, inner, 90 + i * 60);
        const QPointF b = onCircle(centre, inner, 90 + (i + 1) * 60);
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        const double len = std::hypot(dx, dy);
        const double ux = dx / len, uy = dy / len;
        // Solve |a + t u - centre| = radius for the positive t.
        const double fx = a.x() - centre.x(), fy = a.y() - centre.y();
        const double bq = fx * ux + fy * uy;
        const double cq = fx * fx + fy * fy - radius * radius;
        const double t = -bq + std::sqrt(bq * bq - cq);
        p.drawLine(a, QPointF(a.x() + t * ux, a.y() + t * uy));
    }
    p.restore();
}

}  // namespace xp::gen
