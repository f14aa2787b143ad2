// Pictures on Qt: decoding the UI layer's picture bytes and images, and painting one placed by a fit
// mode.
#pragma once

#include <QImage>
#include <QPixmap>
#include <cstdint>
#include <vector>

#include "ui/image.h"
#include "ui/picture_fit.h"

class QPainter;

namespace xp::ui::qt {

// Encoded bytes (JPEG, PNG, BMP...) to an image; a null image when they cannot be decoded.
QImage decodePicture(const std::vector<std::uint8_t>& bytes);
QImage toQImage(const Image& image);

// A picture with a cached copy scaled for the last area it was painted in.
class PlacedPicture {
public:
    void set(QImage image) {
        image_ = std::move(image);
        scaled_ = QPixmap();
    }
    bool isNull() const { return image_.isNull(); }
    QSize size() const { return image_.size(); }
    void paint(QPainter& painter, PictureFit fit, QSize area);

private:
    QImage image_;
    QPixmap scaled_;
    QRect scaledFor_;
};

}  // namespace xp::ui::qt
