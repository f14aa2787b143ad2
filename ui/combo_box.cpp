// Combo box items, selection and text.
#include "ui/combo_box.h"

namespace xp::ui {

void ComboBox::setStyle(ComboStyle style) {
    if (style == style_) return;
    style_ = style;
    notify(Change::Style);
}

int ComboBox::addItem(std::string text) {
    items_.push_back(std::move(text));
    int index = itemCount() - 1;
    notify(Change::ItemInserted, index);
    return index;
}

void ComboBox::insertItem(int index, std::string text) {
    if (index < 0 || index > itemCount()) index = itemCount();
    items_.insert(items_.begin() + index, std::move(text));
    if (selected_ >= index) ++selected_;
    notify(Change::ItemInserted, index);
}

void ComboBox::removeItem(int index) {
    if (index < 0 || index >= itemCount()) return;
    items_.erase(items_.begin() + index);
    notify(Change::ItemRemoved, index);
    if (selected_ == index) {
        selected_ = -1;
        if (style_ == ComboStyle::DropDownList) text_.clear();
        notify(Change::Selection);
    } else if (selected_ > index) {
        --selected_;
    }
}

void ComboBox::clear() {
    items_.clear();
    selected_ = -1;
    text_.clear();
    notify(Change::Items);
}

int ComboBox::indexOf(const std::string& text) const {
    for (int i = 0; i < itemCount(); ++i)
        if (items_[static_cast<size_t>(i)] == text) return i;
    return -1;
}

void ComboBox::setSelected(int index) {
    if (index < -1 || index >= itemCount()) return;
    selected_ = index;
    if (index >= 0)
        text_ = items_[static_cast<size_t>(index)];
    else if (style_ == ComboStyle::DropDownList)
        text_.clear();
    notify(Change::Selection);
}

std::string ComboBox::selectedText() const {
    return selected_ >= 0 ? items_[static_cast<size_t>(selected_)] : std::string();
}

void ComboBox::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (selected_ >= 0 && items_[static_cast<size_t>(selected_)] != text_) selected_ = -1;
    notify(Change::Text);
    if (onChange) onChange();
}

bool ComboBox::pickItem(int index) {
    if (!isAvailable() || index < 0 || index >= itemCount()) return false;
    setSelected(index);
    if (onSelect) onSelect(index);
    return true;
}

}  // namespace xp::ui
