// The list view: icon mode with tiles from an attached image list and captions beneath, or report mode
// with columns; single selection, optional full-row selection; per item a caption, an image index,
// 64-bit item data and the texts of the further columns.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/image_list.h"

namespace xp::ui {

enum class ListViewMode { Icon, Report };

struct ListViewColumn {
    std::string caption;
    int width = 120;
};

struct ListViewItem {
    std::string caption;  // the text of column 0
    int image = -1;       // index into the image list, -1 for none
    std::int64_t data = 0;
    std::vector<std::string> cells;  // columns 1, 2, ... (cells[0] is column 1)
};

class ListView : public Control {
public:
    ListView(Container& parent, std::string name, Rect bounds = {}) : Control(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::ListView; }

    ListViewMode mode() const { return mode_; }
    void setMode(ListViewMode mode);
    bool fullRowSelect() const { return fullRowSelect_; }
    void setFullRowSelect(bool on);

    void addColumn(std::string caption, int width);
    void clearColumns();
    const std::vector<ListViewColumn>& columns() const { return columns_; }

    // The tiles of icon mode. Items take their picture from the list by index; a list shared with other
    // code may grow while attached.
    const std::shared_ptr<const ImageList>& imageList() const { return imageList_; }
    void setImageList(std::shared_ptr<const ImageList> list);

    // Appends (index -1 or past the end) or inserts an item; returns its index.
    int insertItem(std::string caption, int image = -1, std::int64_t data = 0, int index = -1);
    int addItem(std::string caption, int image = -1, std::int64_t data = 0) {
        return insertItem(std::move(caption), image, data);
    }
    void removeItem(int index);  // a selected item takes the selection with it
    void clear();                // all items; the columns stay
    int itemCount() const { return static_cast<int>(items_.size()); }
    const ListViewItem& item(int index) const { return items_.at(static_cast<size_t>(index)); }

    const std::string& caption(int index) const { return item(index).caption; }
    void setItemCaption(int index, std::string caption);
    int image(int index) const { return item(index).image; }
    void setItemImage(int index, int image);
    std::int64_t data(int index) const { return item(index).data; }
    void setItemData(int index, std::int64_t data);
    // Column 0 is the caption; a column past the item's cells reads as "".
    std::string cell(int index, int column) const;
    void setCell(int index, int column, std::string text);

    // The selected item, -1 for none. setSelected() is the program's: it runs no handler.
    int selected() const { return selected_; }
    void setSelected(int index);

    // The user's actions. Choosing an item (or -1: the empty area) changes the selection, running
    // onSelect when it changed. doubleClick and rightClick choose first, then run their handler with the
    // item (-1 on the empty area).
    bool pickItem(int index);
    bool doubleClick(int index);
    bool rightClick(int index);
    std::function<void(int index)> onSelect;
    std::function<void(int index)> onDoubleClick;
    std::function<void(int index)> onRightClick;

private:
    bool valid(int index) const { return index >= 0 && index < itemCount(); }
    void choose(int index);

    ListViewMode mode_ = ListViewMode::Icon;
    bool fullRowSelect_ = false;
    std::vector<ListViewColumn> columns_;
    std::shared_ptr<const ImageList> imageList_;
    std::vector<ListViewItem> items_;
    int selected_ = -1;
};

}  // namespace xp::ui
