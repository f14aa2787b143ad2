// The edit box: single-line, multi-line with scroll bar, password with a mask character, integer entry;
// alignment, read-only and length limit, a limit measured by the program's own rule (the bytes a text
// takes where it is stored), the selection and the button Enter presses while the box has the focus.
// Multi-line texts use CR LF line breaks, as stored texts do.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace xp::ui {

class Clickable;

// How much room a text takes by the program's rule (for example its bytes in the stored encoding).
using TextMeasure = std::function<std::size_t(std::string_view)>;

class EditBox : public Control {
public:
    EditBox(Container& parent, std::string name, Rect bounds = {}) : Control(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::EditBox; }

    const std::string& text() const { return text_; }
    // Sets the content; the user typing and the program both come here. A text beyond the box's limit
    // keeps only the whole characters that fit. onChange runs when the content actually changed, whoever
    // changed it. Nothing stays selected afterwards.
    void setText(std::string text);
    void clear() { setText({}); }
    std::function<void()> onChange;

    // The user typing: what is typed replaces the selection, or goes at the end of the content when
    // nothing is selected. Characters that would take the content past the limit are refused. Returns
    // whether the box took the keys (it is available and not read-only).
    bool typeText(std::string_view typed);

    // The selection, in bytes of the content. selectAll() is the program's: a value it puts into the box
    // for the user to confirm or to type over.
    void selectAll();
    std::size_t selectionStart() const { return selStart_; }
    std::size_t selectionLength() const { return selLength_; }
    bool isAllSelected() const { return !text_.empty() && selStart_ == 0 && selLength_ == text_.size(); }

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
    int maxLength() const { return maxLength_; }  // in characters; 0 = no limit
    void setMaxLength(int n) { setStyle(maxLength_, n); }

    // A limit by the program's measure: the content never measures more than `limit`. A content that
    // does not fit when the limit is set is cut to the whole characters that do.
    void setTextLimit(std::size_t limit, TextMeasure measure);
    bool hasTextLimit() const { return static_cast<bool>(measure_); }
    std::size_t textLimit() const { return limit_; }
    // Whether a text is within both limits.
    bool fits(std::string_view text) const;

    // The button Enter presses while this box has the focus, instead of its window's default button
    // (a lookup box and its lookup button). nullptr: the window's.
    Clickable* enterButton() const { return enterButton_; }
    void setEnterButton(Clickable* button) { enterButton_ = button; }

private:
    template <class T>
    void setStyle(T& field, T value) {
        if (field == value) return;
        field = value;
        notify(Change::Style);
    }
    // The text cut, from its end and by whole characters, to what fits.
    std::string fitted(std::string text) const;

    std::string text_;
    std::size_t selStart_ = 0;
    std::size_t selLength_ = 0;
    bool multiLine_ = false;
    bool scrollBar_ = false;
    bool password_ = false;
    char maskChar_ = '*';
    bool integerEntry_ = false;
    HAlign align_ = HAlign::Left;
    bool readOnly_ = false;
    int maxLength_ = 0;
    std::size_t limit_ = 0;
    TextMeasure measure_;
    Clickable* enterButton_ = nullptr;
};

// The number of characters of a UTF-8 text, and the text without its last character.
std::size_t characterCount(std::string_view utf8);
void dropLastCharacter(std::string& utf8);

}  // namespace xp::ui
