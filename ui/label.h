// Labels: a caption with alignment, optionally on a background picture; the transparent label lets
// whatever lies beneath it show through.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/control.h"
#include "ui/picture_fit.h"

namespace xp::ui {

class Label : public Control {
public:
    Label(Container& parent, std::string name, Rect bounds = {}) : Control(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::Label; }

    HAlign align() const { return align_; }
    void setAlign(HAlign align) { setStyle(align_, align); }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on) { setStyle(wordWrap_, on); }
    bool isTransparent() const { return transparent_; }
    void setTransparent(bool on) { setStyle(transparent_, on); }

    // A background picture (encoded image file bytes, JPEG or PNG), drawn beneath the caption.
    const std::vector<std::uint8_t>& picture() const { return picture_; }
    void setPicture(std::vector<std::uint8_t> bytes) {
        picture_ = std::move(bytes);
        notify(Change::Picture);
    }
    PictureFit pictureFit() const { return fit_; }
    void setPictureFit(PictureFit fit) { setStyle(fit_, fit); }

private:
    template <class T>
    void setStyle(T& field, T value) {
        if (field == value) return;
        field = value;
        notify(Change::Style);
    }

    HAlign align_ = HAlign::Left;
    bool wordWrap_ = true;
    bool transparent_ = false;
    std::vector<std::uint8_t> picture_;
    PictureFit fit_ = PictureFit::Stretch;
};

class TransparentLabel : public Label {
public:
    TransparentLabel(Container& parent, std::string name, Rect bounds = {}) : Label(parent, std::move(name), bounds) {
        setTransparent(true);
    }
};

}  // namespace xp::ui
