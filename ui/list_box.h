// The list box and the check list box. A check list box shows a check mark per item; picking an item
// does not tick it by itself: the window's handler decides (it sees the state before the pick).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace xp::ui {

class ListBox : public Control {
public:
    ListBox(Container& parent, std::string name, Rect bounds = {}) : Control(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::ListBox; }

    int addItem(std::string text);
    void insertItem(int index, std::string text);
    void removeItem(int index);  // a selected item takes the selection with it
    void setItem(int index, std::string text);
    void clear();
    int itemCount() const { return static_cast<int>(items_.size()); }
    const std::string& item(int index) const { return items_.at(static_cast<size_t>(index)).text; }
    std::vector<std::string> items() const;
    int indexOf(const std::string& text) const;

    // The selected item, -1 for none. setSelected() is the program's: it runs no handler.
    int selected() const { return selected_; }
    void setSelected(int index);
    std::string selectedText() const;

    // The user clicks item `index`: it becomes selected and onSelect runs.
    bool pickItem(int index);
    // The user double-clicks item `index`: it becomes selected and onDoubleClick runs.
    bool doubleClick(int index);
    std::function<void(int index)> onSelect;
    std::function<void(int index)> onDoubleClick;

protected:
    struct Item {
        std::string text;
        bool checked = false;
    };
    std::vector<Item> items_;

private:
    int selected_ = -1;
};

class CheckListBox : public ListBox {
public:
    CheckListBox(Container& parent, std::string name, Rect bounds = {}) : ListBox(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::CheckListBox; }

    bool isChecked(int index) const { return items_.at(static_cast<size_t>(index)).checked; }
    void setChecked(int index, bool checked);
};

}  // namespace xp::ui
