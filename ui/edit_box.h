// The edit box: single-line, multi-line with scroll bar, password with a mask character, integer entry;
// alignment, read-only and length limit. Multi-line texts use CR LF line breaks, as stored texts do.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace xp::ui {

class EditBox : public Control {
public:
    EditBox(Container& parent, std::string name, Rect bounds = {}) : Control(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::EditBox; }

    const std::string& text() const { return text_; }
    // Sets the content; the user typing and the program both come here. onChange runs when the content
    // actually changed, whoever changed it.
    void setText(std::string text);
    void clear() { setText({}); }
    std::function<void()> onChange;

    // The kind of box; set these before the window is shown.
    bool isMultiLine() const { return multiLine_; }
    void setMultiLine(bool on) { setStyle(multiLine_, on); }
    bool hasScrollBar() const { return scrollBar_; }  // vertical, for multi-line boxes
    void setScrollBar(bool on) { setStyle(scrollBar_, on); }
    bool isPassword() const { return password_; }
    void setPassword(bool on, char maskChar = '*') {
        maskChar_ = maskChar;
        setStyle(password_, on);
    }
    char maskChar() const { return maskChar_; }
    bool isIntegerEntry() const { return integerEntry_; }  // the user can type digits only
    void setIntegerEntry(bool on) { setStyle(integerEntry_, on); }

    HAlign align() const { return align_; }
    void setAlign(HAlign align) { setStyle(align_, align); }
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool on) { setStyle(readOnly_, on); }
    int maxLength() const { return maxLength_; }  // 0 = no limit
    void setMaxLength(int n) { setStyle(maxLength_, n); }

private:
    template <class T>
    void setStyle(T& field, T value) {
        if (field == value) return;
        field = value;
        notify(Change::Style);
    }

    std::string text_;
    bool multiLine_ = false;
    bool scrollBar_ = false;
    bool password_ = false;
    char maskChar_ = '*';
    bool integerEntry_ = false;
    HAlign align_ = HAlign::Left;
    bool readOnly_ = false;
    int maxLength_ = 0;
};

}  // namespace xp::ui
