// Control and container bookkeeping: registration with the parent, state setters that tell the peer,
// the showing/available chain and focus moves.
#include "ui/control.h"

#include <algorithm>

#include "ui/window.h"

namespace xp::ui {

Control::Control(Container& parent, std::string name, Rect bounds)
    : name_(std::move(name)), parent_(&parent), bounds_(bounds) {
    parent.addChild(this);
}

Control::Control(std::string name, Rect bounds) : name_(std::move(name)), bounds_(bounds) {}

Control::~Control() {
    peer_.reset();
    if (parent_) {
        if (Window* w = window(); w && w->focused_ == this) w->focused_ = nullptr;
        parent_->removeChild(this);
    }
}

Window* Control::window() const {
    const Control* c = this;
    while (c->parent_) c = c->parent_;
    return c->isWindow_ ? static_cast<Window*>(const_cast<Control*>(c)) : nullptr;
}

void Control::setBounds(Rect bounds) {
    if (bounds == bounds_) return;
    bounds_ = bounds;
    boundsChanged();
    notify(Change::Geometry);
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    notify(Change::Visible);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    notify(Change::Enabled);
}

bool Control::isShowing() const {
    for (const Control* c = this; c; c = c->parent_) {
        if (!c->selfShowing()) return false;
        if (!c->parent_) return c->isWindow_ && static_cast<const Window*>(c)->isOpen();
    }
    return false;
}

bool Control::isAvailable() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return isShowing();
}

void Control::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    notify(Change::Caption);
}

void Control::setFont(Font font) {
    if (font == font_) return;
    font_ = std::move(font);
    notify(Change::Font);
}

void Control::setTextColor(std::optional<Color> color) {
    if (color == textColor_) return;
    textColor_ = color;
    notify(Change::Colors);
}

void Control::setBackColor(std::optional<Color> color) {
    if (color == backColor_) return;
    backColor_ = color;
    notify(Change::Colors);
}

void Control::setCursor(Cursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    notify(Change::Cursor);
}

void Control::focus() {
    if (Window* w = window()) w->moveFocus(this);
}

bool Control::hasFocus() const {
    Window* w = window();
    return w && w->focused_ == this;
}

bool Control::mouseDown(MouseButton button, int x, int y) {
    if (!isAvailable()) return false;
    if (onMouseDown) onMouseDown(MouseEvent{button, x, y});
    return true;
}

bool Control::mouseUp(MouseButton button, int x, int y) {
    if (!isAvailable()) return false;
    if (onMouseUp) onMouseUp(MouseEvent{button, x, y});
    return true;
}

bool Control::mouseMove(int x, int y, MouseButton held) {
    if (!isAvailable()) return false;
    if (onMouseMove) onMouseMove(MouseEvent{held, x, y});
    return true;
}

void Control::setPeer(std::unique_ptr<Peer> peer) { peer_ = std::move(peer); }

Container::~Container() {
    // Children that outlive their container (not declared after it) must not reach back into it.
    for (Control* child : children_) child->parent_ = nullptr;
}

void Container::forEachDescendant(const std::function<void(Control&)>& fn) const {
    for (Control* child : children_) {
        fn(*child);
        if (auto* c = dynamic_cast<Container*>(child)) c->forEachDescendant(fn);
    }
}

void Container::addChild(Control* child) {
    children_.push_back(child);
    notify(Change::ChildAdded, static_cast<int>(children_.size()) - 1);
}

void Container::removeChild(Control* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

}  // namespace xp::ui
