// Edit box content changes.
#include "ui/edit_box.h"

namespace xp::ui {

void EditBox::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    notify(Change::Text);
    if (onChange) onChange();
}

}  // namespace xp::ui
