// The line icons of the built-in pictures, drawn on a 24 x 24 design grid scaled into any box, and
// the aperture mark that stands for the product.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>

namespace xp::gen {

enum class Icon {
    Import,
    Database,
    Customer,
    Split,
    Gallery,
    Layout,
    Gear,
    Brush,
    Globe,
    Mail,
    Help,
    Previous,
    Next,
    ZoomIn,
    ZoomOut,
    Restore,
    RotateLeft,
    RotateRight,
    Trash,
    Exit,
    Close,
    Minimize,
    Back,
};

// Strokes the icon into box with round caps and joins; strokeWidth is in real pixels whatever the
// box size, so small icons stay crisp rather than thin.
void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& colour, double strokeWidth);

// Six iris blades inside a ring: the product mark. Blades are stroked, the ring is stroked too.
void drawAperture(QPainter& p, QPointF centre, double radius, const QColor& colour, double strokeWidth);

}  // namespace xp::gen
