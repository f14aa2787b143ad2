// The progress bar: a position between a minimum and a maximum.
#pragma once

#include <algorithm>

#include "ui/control.h"

namespace xp::ui {

class ProgressBar : public Control {
public:
    ProgressBar(Container& parent, std::string name, Rect bounds = {}) : Control(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::ProgressBar; }

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void setRange(int minimum, int maximum) {
        minimum_ = minimum;
        maximum_ = std::max(minimum, maximum);
        notify(Change::Range);
        setPosition(position_);
    }
    void setMaximum(int maximum) { setRange(minimum_, maximum); }

    // Kept within the range.
    int position() const { return position_; }
    void setPosition(int position) {
        position = std::clamp(position, minimum_, maximum_);
        if (position == position_) return;
        position_ = position;
        notify(Change::Position);
    }
    void step(int by = 1) { setPosition(position_ + by); }

private:
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

}  // namespace xp::ui
