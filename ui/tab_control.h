// The tab control: one page per tab, each a container whose controls are placed relative to the tab
// control's own top-left corner. Only the current tab's page shows; tabs can be made unavailable.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace xp::ui {

class TabControl;

class TabPage : public Container {
public:
    TabPage(TabControl& tabs, int index, std::string caption);
    ControlKind kind() const override { return ControlKind::TabPage; }
    int index() const { return index_; }
    // Whether its tab is the current one (its own visible flag aside).
    bool isCurrentPage() const;

protected:
    bool selfShowing() const override;

private:
    TabControl& tabs_;
    int index_;
};

class TabControl : public Container {
public:
    TabControl(Container& parent, std::string name, Rect bounds = {}, std::vector<std::string> captions = {});
    ~TabControl() override;
    ControlKind kind() const override { return ControlKind::TabControl; }

    TabPage& addTab(std::string caption);
    int tabCount() const { return static_cast<int>(pages_.size()); }
    TabPage& page(int index) { return *pages_.at(static_cast<size_t>(index)); }
    const TabPage& page(int index) const { return *pages_.at(static_cast<size_t>(index)); }
    void setTabCaption(int index, std::string caption);
    bool isTabEnabled(int index) const { return page(index).isEnabled(); }
    void setTabEnabled(int index, bool enabled);

    // The current tab, -1 when there are none. The program switching tabs runs onTabChanged just as the
    // user switching does.
    int current() const { return current_; }
    void setCurrent(int index);
    // The user clicks a tab; refused for an unavailable tab.
    bool pickTab(int index);
    std::function<void(int index)> onTabChanged;

protected:
    void boundsChanged() override;

private:
    std::vector<std::unique_ptr<TabPage>> pages_;
    int current_ = -1;
};

}  // namespace xp::ui
