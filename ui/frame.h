// Containers that group controls: the frame (panel) and the captioned group box. Children are placed
// relative to the container's top-left corner.
#pragma once

#include "ui/control.h"

namespace xp::ui {

enum class FrameBorder { None, Line, Sunken, Raised };

class Frame : public Container {
public:
    Frame(Container& parent, std::string name, Rect bounds = {}) : Container(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::Frame; }

    FrameBorder border() const { return border_; }
    void setBorder(FrameBorder border) {
        if (border == border_) return;
        border_ = border;
        notify(Change::Style);
    }

private:
    FrameBorder border_ = FrameBorder::None;
};

class GroupBox : public Container {
public:
    GroupBox(Container& parent, std::string name, Rect bounds = {}) : Container(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::GroupBox; }
};

}  // namespace xp::ui
