// List view items, columns, image list and selection.
#include "ui/list_view.h"

namespace xp::ui {

void ListView::setMode(ListViewMode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    notify(Change::Style);
}

void ListView::setFullRowSelect(bool on) {
    if (on == fullRowSelect_) return;
    fullRowSelect_ = on;
    notify(Change::Style);
}

void ListView::addColumn(std::string caption, int width) {
    columns_.push_back(ListViewColumn{std::move(caption), width});
    notify(Change::Columns);
}

void ListView::clearColumns() {
    columns_.clear();
    notify(Change::Columns);
}

void ListView::setImageList(std::shared_ptr<const ImageList> list) {
    imageList_ = std::move(list);
    notify(Change::ImageList);
}

int ListView::insertItem(std::string caption, int image, std::int64_t data, int index) {
    if (index < 0 || index > itemCount()) index = itemCount();
    items_.insert(items_.begin() + index, ListViewItem{std::move(caption), image, data, {}});
    if (selected_ >= index) ++selected_;
    notify(Change::ItemInserted, index);
    return index;
}

void ListView::removeItem(int index) {
    if (!valid(index)) return;
    items_.erase(items_.begin() + index);
    notify(Change::ItemRemoved, index);
    if (selected_ == index) {
        selected_ = -1;
        notify(Change::Selection);
    } else if (selected_ > index) {
        --selected_;
    }
}

void ListView::clear() {
    items_.clear();
    selected_ = -1;
    notify(Change::Items);
}

void ListView::setItemCaption(int index, std::string caption) {
    if (!valid(index)) return;
    items_[static_cast<size_t>(index)].caption = std::move(caption);
    notify(Change::ItemChanged, index);
}

void ListView::setItemImage(int index, int image) {
    if (!valid(index)) return;
    items_[static_cast<size_t>(index)].image = image;
    notify(Change::ItemChanged, index);
}

void ListView::setItemData(int index, std::int64_t data) {
    if (valid(index)) items_[static_cast<size_t>(index)].data = data;
}

std::string ListView::cell(int index, int column) const {
    const ListViewItem& it = item(index);
    if (column == 0) return it.caption;
    if (column < 0 || static_cast<size_t>(column) > it.cells.size()) return {};
    return it.cells[static_cast<size_t>(column) - 1];
}

void ListView::setCell(int index, int column, std::string text) {
    if (!valid(index) || column < 0) return;
    if (column == 0) {
        setItemCaption(index, std::move(text));
        return;
    }
    auto& cells = items_[static_cast<size_t>(index)].cells;
    if (cells.size() < static_cast<size_t>(column)) cells.resize(static_cast<size_t>(column));
    cells[static_cast<size_t>(column) - 1] = std::move(text);
    notify(Change::ItemChanged, index);
}

void ListView::setSelected(int index) {
    if (index < -1 || index >= itemCount() || index == selected_) return;
    selected_ = index;
    notify(Change::Selection);
}

void ListView::choose(int index) {
    if (!valid(index)) index = -1;
    if (index == selected_) return;
    setSelected(index);
    if (onSelect) onSelect(index);
}

bool ListView::pickItem(int index) {
    if (!isAvailable() || index < -1 || index >= itemCount()) return false;
    choose(index);
    return true;
}

bool ListView::doubleClick(int index) {
    if (!isAvailable() || index < -1 || index >= itemCount()) return false;
    choose(index);
    if (onDoubleClick) onDoubleClick(index);
    return true;
}

bool ListView::rightClick(int index) {
    if (!isAvailable() || index < -1 || index >= itemCount()) return false;
    choose(index);
    if (onRightClick) onRightClick(index);
    return true;
}

}  // namespace xp::ui
