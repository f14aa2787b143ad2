// Edit box content changes, typing over the selection, and the limits.
#include "ui/edit_box.h"

namespace xp::ui {

namespace {
bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t characterCount(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        if (!continuationByte(c)) ++n;
    return n;
}

void dropLastCharacter(std::string& utf8) {
    while (!utf8.empty() && continuationByte(utf8.back())) utf8.pop_back();
    if (!utf8.empty()) utf8.pop_back();
}

bool EditBox::fits(std::string_view text) const {
    if (maxLength_ > 0 && characterCount(text) > static_cast<std::size_t>(maxLength_)) return false;
    return !measure_ || measure_(text) <= limit_;
}

std::string EditBox::fitted(std::string text) const {
    while (!text.empty() && !fits(text)) dropLastCharacter(text);
    return text;
}

void EditBox::setText(std::string text) {
    text = fitted(std::move(text));
    selLength_ = 0;
    if (text == text_) {
        selStart_ = text_.size();
        return;
    }
    text_ = std::move(text);
    selStart_ = text_.size();
    notify(Change::Text);
    if (onChange) onChange();
}

bool EditBox::typeText(std::string_view typed) {
    if (!isAvailable() || readOnly_) return false;
    const std::size_t start = selLength_ > 0 ? selStart_ : text_.size();
    const std::size_t length = selLength_;
    std::string head = text_.substr(0, start);
    const std::string tail = text_.substr(start + length);
    // Character by character, as keys come: the first one that would not fit and all after it are refused.
    std::string accepted;
    std::size_t i = 0;
    while (i < typed.size()) {
        std::size_t next = i + 1;
        while (next < typed.size() && continuationByte(typed[next])) ++next;
        std::string_view ch = typed.substr(i, next - i);
        const bool digit = ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9';
        if ((integerEntry_ && !digit) || !fits(head + accepted + std::string(ch) + tail)) break;
        accepted += ch;
        i = next;
    }
    setText(head + accepted + tail);
    return true;
}

void EditBox::selectAll() {
    selStart_ = 0;
    selLength_ = text_.size();
    notify(Change::Selection);
}

void EditBox::setTextLimit(std::size_t limit, TextMeasure measure) {
    limit_ = limit;
    measure_ = std::move(measure);
    notify(Change::Style);
    if (!fits(text_)) setText(text_);
}

}  // namespace xp::ui
