// The combo box: a drop-down list (choose only) or an editable combo box (type or choose).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace xp::ui {

enum class ComboStyle { DropDownList, DropDown };

class ComboBox : public Control {
public:
    ComboBox(Container& parent, std::string name, Rect bounds = {}) : Control(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::ComboBox; }

    ComboStyle style() const { return style_; }
    void setStyle(ComboStyle style);

    int addItem(std::string text);
    void insertItem(int index, std::string text);
    void removeItem(int index);
    void clear();  // no items, nothing selected, empty text
    int itemCount() const { return static_cast<int>(items_.size()); }
    const std::string& item(int index) const { return items_.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& items() const { return items_; }
    int indexOf(const std::string& text) const;

    // The selected item, -1 for none. setSelected() is the program's: it runs no handler.
    int selected() const { return selected_; }
    void setSelected(int index);
    // The selected item's text, "" when none is selected.
    std::string selectedText() const;
    // What the box shows: the selected item's text, or what was typed into an editable box.
    const std::string& text() const { return text_; }
    void setText(std::string text);

    // The user chooses item `index` from the list: it becomes selected and onSelect runs (also when it
    // was selected already). Refused while the box is unavailable or the index is out of range.
    bool pickItem(int index);
    std::function<void(int index)> onSelect;
    // Runs when the user types into an editable box.
    std::function<void()> onChange;

private:
    ComboStyle style_ = ComboStyle::DropDownList;
    std::vector<std::string> items_;
    int selected_ = -1;
    std::string text_;
};

}  // namespace xp::ui
