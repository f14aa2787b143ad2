// A popup menu shown on demand (not a menu bar): items with captions and handlers.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace xp::ui {

class PopupMenu {
public:
    struct Item {
        std::string caption;
        std::function<void()> onPick;
        bool enabled = true;
        bool separator = false;
    };

    int addItem(std::string caption, std::function<void()> onPick = {});
    void addSeparator();
    void setItemEnabled(int index, bool enabled);
    void clear() { items_.clear(); }

    const std::vector<Item>& items() const { return items_; }
    int itemCount() const { return static_cast<int>(items_.size()); }
    // Index of the first item with that caption, or -1.
    int indexOf(const std::string& caption) const;

    // Shows the menu at a screen position through the host and runs the chosen item's handler.
    // Returns the chosen index, or -1 when the user dismissed the menu.
    int popup(Point screenPosition);
    // At the mouse position.
    int popup();

private:
    std::vector<Item> items_;
};

}  // namespace xp::ui
