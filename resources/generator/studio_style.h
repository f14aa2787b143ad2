// The shared look of the built-in pictures: palette colours as QColor, the caption font, and the
// few drawing helpers (gradients, soft shadows, rounded plates) every painter uses.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include "resources/builtin_pictures.h"

namespace xp::gen {

QColor toColor(pictures::Rgb rgb, int alpha = 255);
QColor mix(const QColor& a, const QColor& b, double t);  // t = 0 gives a, t = 1 gives b

// The font every caption is set in; pixel sizes keep the captions crisp at their real size.
inline constexpr const char* captionFamily = "WenQuanYi Micro Hei";
QFont captionFont(int pixelSize, double letterSpacingPercent = 100.0);

// A fresh canvas: transparent (RGBA pictures) or filled with a colour (opaque ones).
QImage transparentCanvas(int width, int height);
QImage filledCanvas(int width, int height, const QColor& fill);

// Sets the render hints the painters rely on (antialiased shapes and text, smooth transforms).
void prepare(QPainter& p);

// Adds faint noise so that wide, slow gradients do not band; only for pictures stored as JPEG.
void dither(QImage& image, int amplitude, unsigned seed);

// Blurs an ARGB32-premultiplied image in place (three box passes approximate a Gaussian).
void blur(QImage& image, int radius);

// Paints a soft shadow of a rounded rectangle: offset, blurred, with the given opacity.
void softShadow(QPainter& p, const QRectF& rect, double radius, double blurRadius, QPointF offset, double opacity);

// Draws text so that its ink box is centred vertically on centreY, starting at x.
void drawCaption(QPainter& p, const QString& text, const QFont& font, const QColor& colour, double x, double centreY);
double captionWidth(const QString& text, const QFont& font);

}  // namespace xp::gen
