// The base of every control: name, geometry, visibility, availability, looks, focus, mouse events, and
// the peer a backend attaches. Containers hold their children in creation order.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/geometry.h"
#include "ui/peer.h"

namespace xp::ui {

enum class ControlKind {
    Window,
    Frame,
    GroupBox,
    Label,
    Button,
    PictureButton,
    ImageButton,
    CheckBox,
    RadioButton,
    EditBox,
    ComboBox,
    ListBox,
    CheckListBox,
    ListView,
    ProgressBar,
    TabControl,
    TabPage,
    PictureBox,
    DrawPanel,
    Timer,
    Grid
};

enum class HAlign { Left, Centre, Right };
enum class MouseButton { None, Left, Right, Middle };
enum class Cursor { Arrow, Hand, Wait, Cross, IBeam, SizeAll };

// Positions are relative to the control the event happened on.
struct MouseEvent {
    MouseButton button = MouseButton::None;
    int x = 0;
    int y = 0;
};

// pixelHeight 0 means the backend's standard size; an empty family the program's standard font.
struct Font {
    std::string family;
    int pixelHeight = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

class Container;
class Window;

class Control {
public:
    // A control registers itself with its container; declare it after that container.
    Control(Container& parent, std::string name, Rect bounds = {});
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual ControlKind kind() const = 0;
    const std::string& name() const { return name_; }
    Container* parent() const { return parent_; }
    // The window this control lies in (the window itself for a window); nullptr for a control whose
    // containers are gone.
    Window* window() const;

    // Geometry, relative to the parent container (the screen, or the parent window, for a window).
    int left() const { return bounds_.left; }
    int top() const { return bounds_.top; }
    int width() const { return bounds_.width; }
    int height() const { return bounds_.height; }
    const Rect& bounds() const { return bounds_; }
    void setBounds(Rect bounds);
    void setBounds(int left, int top, int width, int height) { setBounds(Rect{left, top, width, height}); }
    void move(int left, int top) { setBounds(Rect{left, top, bounds_.width, bounds_.height}); }
    void resize(int width, int height) { setBounds(Rect{bounds_.left, bounds_.top, width, height}); }
    void setLeft(int v) { move(v, bounds_.top); }
    void setTop(int v) { move(bounds_.left, v); }
    void setWidth(int v) { resize(v, bounds_.height); }
    void setHeight(int v) { resize(bounds_.width, v); }

    // The control's own visible and enabled flags, as the program set them.
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    void enable() { setEnabled(true); }
    void disable() { setEnabled(false); }

    // Whether the user could see it: it and every container up to its window are shown (a tab page only
    // while its tab is current), and the window is open.
    bool isShowing() const;
    // Whether the user could operate it: showing, and enabled along the whole chain.
    bool isAvailable() const;

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const Font& font() const { return font_; }
    void setFont(Font font);
    const std::optional<Color>& textColor() const { return textColor_; }
    void setTextColor(std::optional<Color> color);
    const std::optional<Color>& backColor() const { return backColor_; }
    void setBackColor(std::optional<Color> color);
    Cursor cursor() const { return cursor_; }
    void setCursor(Cursor cursor);

    // Moves the keyboard focus here (the program and the user alike); the control that had it gets
    // onFocusOut first, then this one onFocusIn.
    void focus();
    bool hasFocus() const;
    std::function<void()> onFocusIn;
    std::function<void()> onFocusOut;

    // Mouse buttons and moves over the control. The methods are the user's actions: they reach the
    // handler only while the control is available, and return whether they did.
    std::function<void(const MouseEvent&)> onMouseDown;
    std::function<void(const MouseEvent&)> onMouseUp;
    std::function<void(const MouseEvent&)> onMouseMove;
    bool mouseDown(MouseButton button, int x, int y);
    bool mouseUp(MouseButton button, int x, int y);
    bool mouseMove(int x, int y, MouseButton held = MouseButton::None);

    // Backend side.
    Peer* peer() const { return peer_.get(); }
    void setPeer(std::unique_ptr<Peer> peer);
    void resetPeer() { peer_.reset(); }

protected:
    // For windows, which have no container.
    explicit Control(std::string name, Rect bounds = {});
    void notify(Change change, int index = -1) {
        if (peer_) peer_->sync(change, index);
    }
    // Whether this control counts as shown by itself; tab pages show only while current.
    virtual bool selfShowing() const { return visible_; }
    virtual void boundsChanged() {}

private:
    friend class Container;
    friend class Window;

    std::string name_;
    Container* parent_ = nullptr;
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    Font font_;
    std::optional<Color> textColor_;
    std::optional<Color> backColor_;
    Cursor cursor_ = Cursor::Arrow;
    std::unique_ptr<Peer> peer_;
    bool isWindow_ = false;
};

class Container : public Control {
public:
    using Control::Control;
    ~Container() override;
    const std::vector<Control*>& children() const { return children_; }
    // Calls fn for every control below this one, depth first, parents before their children.
    void forEachDescendant(const std::function<void(Control&)>& fn) const;

private:
    friend class Control;
    void addChild(Control* child);
    void removeChild(Control* child);

    std::vector<Control*> children_;
};

}  // namespace xp::ui
