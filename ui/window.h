// A window: a container with a caption and border style that a Host shows, non-modal or modal, as a
// top-level window or as the child of another window. Window modules derive from it.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace xp::ui {

class Host;
class Clickable;

enum class BorderStyle {
    None,         // no border and no caption
    Fixed,        // caption and a border that cannot be dragged
    FixedNarrow,  // a narrow tool-window caption, fixed border
    Sizable
};

class Window : public Container {
public:
    explicit Window(std::string name, Rect bounds = {});
    ~Window() override;

    ControlKind kind() const override { return ControlKind::Window; }

    BorderStyle border() const { return border_; }
    void setBorder(BorderStyle border);

    // A child window lies inside its parent window, positioned relative to it, moves with it and is
    // destroyed with it. It may be set before the window is shown or from its created handler.
    Window* parentWindow() const { return parentWindow_; }
    void setParentWindow(Window* parent);

    enum class State { New, Open, Closed };
    State state() const { return state_; }
    bool isOpen() const { return state_ == State::Open; }
    bool isModal() const { return modal_; }

    // Destroys the window: its child windows first, then onDestroying, then every peer. A closed window
    // stays a valid object (its controls keep their state) but is never shown again.
    void close();
    void destroy() { close(); }

    // Places the window in the middle of its parent window, or of the screen for a top-level window.
    void centre();

    void minimize();
    void restore();
    bool isMinimized() const { return minimized_; }

    // The control that has the keyboard focus: the window itself, one of its controls, or nullptr.
    Control* focusedControl() const { return focused_; }

    // The user pressed a key while the window or one of its controls had the focus. Returns whether the
    // window took the key (then the focused control does not see it): its handler first, then the keys
    // every desktop window knows. Enter presses the focused push button, opens the chosen item of a
    // focused list view as a double click does, presses the focused edit box's enter button, or else the
    // default button; in a multi-line edit box it stays a line break. Esc presses the cancel button.
    bool keyDown(int keyCode);

    // The buttons Enter and Esc press (nullptr: none). A button that is not available takes no key.
    Clickable* defaultButton() const { return defaultButton_; }
    void setDefaultButton(Clickable* button) { defaultButton_ = button; }
    Clickable* cancelButton() const { return cancelButton_; }
    void setCancelButton(Clickable* button) { cancelButton_ = button; }

    std::function<void()> onCreated;     // after the peers exist, before the window appears
    std::function<void()> onDestroying;  // about to be destroyed
    std::function<bool(int keyCode)> onKeyDown;

    // The host that showed the window (nullptr before). Window code reaches the host through ui::host().
    Host* shownBy() const { return host_; }

private:
    friend class Host;
    friend class Control;
    void moveFocus(Control* to);
    void detachPeers();
    bool standardKey(int keyCode);

    BorderStyle border_ = BorderStyle::Fixed;
    Window* parentWindow_ = nullptr;
    State state_ = State::New;
    bool modal_ = false;
    bool closing_ = false;
    bool minimized_ = false;
    Control* focused_ = nullptr;
    Clickable* defaultButton_ = nullptr;
    Clickable* cancelButton_ = nullptr;
    Host* host_ = nullptr;
};

}  // namespace xp::ui
