// Window state: open and close with the host, focus moves, key events, parent window and minimising.
#include "ui/window.h"

#include <vector>

#include "ui/button.h"
#include "ui/edit_box.h"
#include "ui/host.h"
#include "ui/keys.h"
#include "ui/list_view.h"

namespace xp::ui {

Window::Window(std::string name, Rect bounds) : Container(std::move(name), bounds) { isWindow_ = true; }

Window::~Window() {
    if (state_ == State::Open && host_) host_->onWindowDestroyed(*this);
    detachPeers();
}

void Window::setBorder(BorderStyle border) {
    if (border == border_) return;
    border_ = border;
    notify(Change::Style);
}

void Window::setParentWindow(Window* parent) {
    if (parent == this || parent == parentWindow_) return;
    parentWindow_ = parent;
    notify(Change::Parent);
}

void Window::close() {
    if (state_ == State::New) {
        state_ = State::Closed;
        return;
    }
    if (state_ != State::Open || closing_) return;
    closing_ = true;
    if (host_) host_->closeChildWindows(*this);
    if (onDestroying) onDestroying();
    state_ = State::Closed;
    focused_ = nullptr;
    detachPeers();
    closing_ = false;
    if (host_) host_->onWindowClosed(*this);
}

void Window::centre() {
    Size area = parentWindow_ ? Size{parentWindow_->width(), parentWindow_->height()}
                              : (Host::current() ? Host::current()->screenSize() : Size{width(), height()});
    move((area.width - width()) / 2, (area.height - height()) / 2);
}

void Window::minimize() {
    if (minimized_) return;
    minimized_ = true;
    notify(Change::WindowState);
}

void Window::restore() {
    if (!minimized_) return;
    minimized_ = false;
    notify(Change::WindowState);
}

bool Window::keyDown(int keyCode) {
    if (!isOpen() || !isEnabled()) return false;
    if (onKeyDown && onKeyDown(keyCode)) return true;
    // The handler may have closed the window.
    return isOpen() && standardKey(keyCode);
}

bool Window::standardKey(int keyCode) {
    if (keyCode == key::Escape) return cancelButton_ && cancelButton_->click();
    if (keyCode != key::Return) return false;
    Control* focused = focused_ && focused_->isAvailable() ? focused_ : nullptr;
    if (focused) {
        switch (focused->kind()) {
            case ControlKind::Button: return static_cast<Clickable*>(focused)->click();
            case ControlKind::ListView: {
                auto* list = static_cast<ListView*>(focused);
                if (list->selected() >= 0) return list->doubleClick(list->selected());
                break;
            }
            case ControlKind::EditBox: {
                auto* edit = static_cast<EditBox*>(focused);
                if (edit->isMultiLine()) return false;
                if (edit->enterButton()) return edit->enterButton()->click();
                break;
            }
            default: break;
        }
    }
    return defaultButton_ && defaultButton_->click();
}

void Window::moveFocus(Control* to) {
    if (focused_ == to || state_ == State::Closed) return;
    Control* from = focused_;
    focused_ = to;
    if (from && from->onFocusOut) from->onFocusOut();
    // The handler above may have moved the focus elsewhere already.
    if (focused_ != to) return;
    to->notify(Change::Focus);
    if (to->onFocusIn) to->onFocusIn();
}

void Window::detachPeers() {
    std::vector<Control*> all;
    forEachDescendant([&](Control& c) { all.push_back(&c); });
    for (auto it = all.rbegin(); it != all.rend(); ++it) (*it)->resetPeer();
    resetPeer();
}

}  // namespace xp::ui
