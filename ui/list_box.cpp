// List box items, selection and check marks.
#include "ui/list_box.h"

namespace xp::ui {

int ListBox::addItem(std::string text) {
    items_.push_back(Item{std::move(text)});
    int index = itemCount() - 1;
    notify(Change::ItemInserted, index);
    return index;
}

void ListBox::insertItem(int index, std::string text) {
    if (index < 0 || index > itemCount()) index = itemCount();
    items_.insert(items_.begin() + index, Item{std::move(text)});
    if (selected_ >= index) ++selected_;
    notify(Change::ItemInserted, index);
}

void ListBox::removeItem(int index) {
    if (index < 0 || index >= itemCount()) return;
    items_.erase(items_.begin() + index);
    notify(Change::ItemRemoved, index);
    if (selected_ == index) {
        selected_ = -1;
        notify(Change::Selection);
    } else if (selected_ > index) {
        --selected_;
    }
}

void ListBox::setItem(int index, std::string text) {
    if (index < 0 || index >= itemCount()) return;
    items_[static_cast<size_t>(index)].text = std::move(text);
    notify(Change::ItemChanged, index);
}

void ListBox::clear() {
    items_.clear();
    selected_ = -1;
    notify(Change::Items);
}

std::vector<std::string> ListBox::items() const {
    std::vector<std::string> out;
    out.reserve(items_.size());
    for (const Item& item : items_) out.push_back(item.text);
    return out;
}

int ListBox::indexOf(const std::string& text) const {
    for (int i = 0; i < itemCount(); ++i)
        if (items_[static_cast<size_t>(i)].text == text) return i;
    return -1;
}

void ListBox::setSelected(int index) {
    if (index < -1 || index >= itemCount() || index == selected_) return;
    selected_ = index;
    notify(Change::Selection);
}

std::string ListBox::selectedText() const { return selected_ >= 0 ? item(selected_) : std::string(); }

bool ListBox::pickItem(int index) {
    if (!isAvailable() || index < 0 || index >= itemCount()) return false;
    setSelected(index);
    if (onSelect) onSelect(index);
    return true;
}

bool ListBox::doubleClick(int index) {
    if (!isAvailable() || index < 0 || index >= itemCount()) return false;
    setSelected(index);
    if (onDoubleClick) onDoubleClick(index);
    return true;
}

void CheckListBox::setChecked(int index, bool checked) {
    if (index < 0 || index >= itemCount() || items_[static_cast<size_t>(index)].checked == checked) return;
    items_[static_cast<size_t>(index)].checked = checked;
    notify(Change::ItemChanged, index);
}

}  // namespace xp::ui
