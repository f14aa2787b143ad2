// Tab pages, the current tab and tab availability.
#include "ui/tab_control.h"

namespace xp::ui {

TabPage::TabPage(TabControl& tabs, int index, std::string caption)
    : Container(tabs, "", Rect{0, 0, tabs.width(), tabs.height()}), tabs_(tabs), index_(index) {
    setCaption(std::move(caption));
}

bool TabPage::isCurrentPage() const { return tabs_.current() == index_; }

bool TabPage::selfShowing() const { return isVisible() && isCurrentPage(); }

TabControl::TabControl(Container& parent, std::string name, Rect bounds, std::vector<std::string> captions)
    : Container(parent, std::move(name), bounds) {
    for (auto& caption : captions) addTab(std::move(caption));
}

TabControl::~TabControl() { pages_.clear(); }

TabPage& TabControl::addTab(std::string caption) {
    pages_.push_back(std::make_unique<TabPage>(*this, tabCount(), std::move(caption)));
    notify(Change::Tabs, tabCount() - 1);
    if (current_ < 0) {
        current_ = 0;
        notify(Change::CurrentTab);
    }
    return *pages_.back();
}

void TabControl::setTabCaption(int index, std::string caption) {
    page(index).setCaption(std::move(caption));
    notify(Change::Tabs, index);
}

void TabControl::setTabEnabled(int index, bool enabled) {
    page(index).setEnabled(enabled);
    notify(Change::Tabs, index);
}

void TabControl::setCurrent(int index) {
    if (index < 0 || index >= tabCount() || index == current_) return;
    current_ = index;
    notify(Change::CurrentTab);
    if (onTabChanged) onTabChanged(index);
}

bool TabControl::pickTab(int index) {
    if (!isAvailable() || index < 0 || index >= tabCount() || !isTabEnabled(index)) return false;
    setCurrent(index);
    return true;
}

void TabControl::boundsChanged() {
    for (auto& p : pages_) p->setBounds(Rect{0, 0, width(), height()});
}

}  // namespace xp::ui
