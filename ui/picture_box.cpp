// Picture box pictures and double clicks; draw panel drawings.
#include "ui/picture_box.h"

namespace xp::ui {

void PictureBox::setPicture(std::vector<std::uint8_t> bytes) {
    picture_ = std::move(bytes);
    image_ = Image{};
    notify(Change::Picture);
}

void PictureBox::setImage(Image image) {
    image_ = std::move(image);
    picture_.clear();
    notify(Change::Picture);
}

void PictureBox::clearPicture() {
    picture_.clear();
    image_ = Image{};
    notify(Change::Picture);
}

void PictureBox::setFit(PictureFit fit) {
    if (fit == fit_) return;
    fit_ = fit;
    notify(Change::Style);
}

bool PictureBox::doubleClick(int x, int y) {
    if (!isAvailable()) return false;
    if (onDoubleClick) onDoubleClick(MouseEvent{MouseButton::Left, x, y});
    return true;
}

void DrawPanel::drawPicture(std::vector<std::uint8_t> bytes, int x, int y) {
    Drawing d;
    d.bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    d.x = x;
    d.y = y;
    drawings_.push_back(std::move(d));
    notify(Change::Drawings, static_cast<int>(drawings_.size()) - 1);
}

void DrawPanel::drawImage(Image image, int x, int y) {
    Drawing d;
    d.image = std::make_shared<const Image>(std::move(image));
    d.x = x;
    d.y = y;
    drawings_.push_back(std::move(d));
    notify(Change::Drawings, static_cast<int>(drawings_.size()) - 1);
}

void DrawPanel::clearDrawings() {
    drawings_.clear();
    notify(Change::Drawings, -1);
}

}  // namespace xp::ui
