// The picture box and the draw panel. A picture box shows one picture (encoded image file bytes, or a
// decoded Image) on its background colour, placed by its fit mode; it reports mouse buttons, moves and
// double clicks with positions relative to itself. A draw panel can also keep pictures painted onto it
// at given positions, which stay until it is cleared.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/control.h"
#include "ui/image.h"
#include "ui/picture_fit.h"

namespace xp::ui {

class PictureBox : public Control {
public:
    PictureBox(Container& parent, std::string name, Rect bounds = {}) : Control(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::PictureBox; }

    // Encoded bytes (JPEG, PNG...). Bytes that cannot be decoded show nothing.
    const std::vector<std::uint8_t>& picture() const { return picture_; }
    void setPicture(std::vector<std::uint8_t> bytes);
    // A decoded picture; shown instead of the bytes while it is not empty.
    const Image& image() const { return image_; }
    void setImage(Image image);
    void clearPicture();
    bool hasPicture() const { return !picture_.empty() || !image_.empty(); }

    PictureFit fit() const { return fit_; }
    void setFit(PictureFit fit);

    // The user double-clicks at a position.
    bool doubleClick(int x, int y);
    std::function<void(const MouseEvent&)> onDoubleClick;

private:
    std::vector<std::uint8_t> picture_;
    Image image_;
    PictureFit fit_ = PictureFit::FitCentred;
};

// A picture painted at a fixed position, natural size, over the panel's background and its picture.
struct Drawing {
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;  // set for encoded pictures
    std::shared_ptr<const Image> image;                      // set for decoded ones
    int x = 0;
    int y = 0;
};

class DrawPanel : public PictureBox {
public:
    DrawPanel(Container& parent, std::string name, Rect bounds = {}) : PictureBox(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::DrawPanel; }

    void drawPicture(std::vector<std::uint8_t> bytes, int x, int y);
    void drawImage(Image image, int x, int y);
    void clearDrawings();
    const std::vector<Drawing>& drawings() const { return drawings_; }

private:
    std::vector<Drawing> drawings_;
};

}  // namespace xp::ui
