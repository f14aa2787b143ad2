// The timer: ticks every `interval` milliseconds while the interval is above 0 and its window is open.
// Setting the interval (even to the same value) starts the count afresh.
#pragma once

#include <functional>

#include "ui/control.h"
#include "ui/window.h"

namespace xp::ui {

class Timer : public Control {
public:
    Timer(Container& parent, std::string name) : Control(parent, std::move(name)) {}
    ControlKind kind() const override { return ControlKind::Timer; }

    int interval() const { return interval_; }
    void setInterval(int ms) {
        interval_ = ms > 0 ? ms : 0;
        notify(Change::Interval);
    }
    void start(int ms) { setInterval(ms); }
    void stop() { setInterval(0); }
    bool isRunning() const { return interval_ > 0; }

    std::function<void()> onTick;
    // The clock's action: runs onTick while the timer runs and its window is open.
    bool tick() {
        Window* w = window();
        if (interval_ <= 0 || !w || !w->isOpen()) return false;
        if (onTick) onTick();
        return true;
    }

private:
    int interval_ = 0;
};

}  // namespace xp::ui
