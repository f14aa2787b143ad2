// Decoding pictures and painting them placed and scaled.
#include "ui/qt/qt_pictures.h"

#include <QPainter>

namespace xp::ui::qt {

QImage decodePicture(const std::vector<std::uint8_t>& bytes) {
    QImage image;
    if (!bytes.empty()) image.loadFromData(bytes.data(), static_cast<int>(bytes.size()));
    return image;
}

QImage toQImage(const Image& image) {
    if (image.empty() || image.pixels.size() < static_cast<size_t>(image.width) * image.height * 3) return {};
    return QImage(image.pixels.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888).copy();
}

void PlacedPicture::paint(QPainter& painter, PictureFit fit, QSize area) {
    if (image_.isNull()) return;
    Rect r = placePicture(fit, Size{area.width(), area.height()}, Size{image_.width(), image_.height()});
    QRect target(r.left, r.top, r.width, r.height);
    if (target.size() == image_.size()) {
        painter.drawImage(target.topLeft(), image_);
        return;
    }
    if (target.isEmpty()) return;
    if (scaled_.isNull() || scaledFor_.size() != target.size()) {
        scaled_ = QPixmap::fromImage(image_.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        scaledFor_ = target;
    }
    painter.drawPixmap(target.topLeft(), scaled_);
}

}  // namespace xp::ui::qt
