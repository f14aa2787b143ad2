// Popup menu items and showing the menu through the host.
#include "ui/popup_menu.h"

#include "ui/host.h"

namespace xp::ui {

int PopupMenu::addItem(std::string caption, std::function<void()> onPick) {
    items_.push_back(Item{std::move(caption), std::move(onPick)});
    return itemCount() - 1;
}

void PopupMenu::addSeparator() {
    Item item;
    item.separator = true;
    items_.push_back(std::move(item));
}

void PopupMenu::setItemEnabled(int index, bool enabled) {
    if (index >= 0 && index < itemCount()) items_[static_cast<size_t>(index)].enabled = enabled;
}

int PopupMenu::indexOf(const std::string& caption) const {
    for (int i = 0; i < itemCount(); ++i)
        if (!items_[static_cast<size_t>(i)].separator && items_[static_cast<size_t>(i)].caption == caption) return i;
    return -1;
}

int PopupMenu::popup(Point screenPosition) {
    int chosen = host().popupMenu(*this, screenPosition);
    if (chosen >= 0) {
        // Copy the handler: it may rebuild this very menu.
        auto handler = items_[static_cast<size_t>(chosen)].onPick;
        if (handler) handler();
    }
    return chosen;
}

int PopupMenu::popup() { return popup(host().mousePosition()); }

}  // namespace xp::ui
