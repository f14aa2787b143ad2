// The photo-list panel: its filter box, tiles by "记录号", entries and status line.
#include "selection/photo_list_panel.h"

#include <utility>

#include "selection/order_loader.h"
#include "selection/photo_caption.h"

namespace xp {

PhotoListPanel::PhotoListPanel(MainWindow& w)
    : window(w), app(w.app), 组合框1(w.分组框2, "组合框1", {32, 21, 135, 20}) {
    组合框1.hide();
}

int PhotoListPanel::tileOf(std::int32_t recordNo) const {
    auto it = tiles_.find(recordNo);
    return it == tiles_.end() ? -1 : it->second;
}

int PhotoListPanel::addEntry(std::string caption, int tile, std::int32_t recordNo) {
    return window.超级列表框1.addItem(std::move(caption), tile, recordNo);
}

void PhotoListPanel::clearEntries() { window.超级列表框1.clear(); }

void PhotoListPanel::updateStatus() {
    window.状态标签.setCaption(photoStatusText(window.超级列表框1.itemCount(), app.loadTime));
}

void PhotoListPanel::showPanel() {
    window.外形框_数据管理.hide();
    window.外形框_超级列表框1.show();
}

// The filter of the previous order goes; the loading panel shows while the photos load.
bool openOrderPhotos(MainWindow& w) {
    PhotoListPanel* photos = PhotoListPanel::of(w);
    if (photos) {
        photos->组合框1.clear();
        photos->组合框1.hide();
    }
    w.外形框_加载.show();
    const bool loaded = loadOrder(w.app);
    w.外形框_加载.hide();
    if (!loaded) return false;
    if (photos)
        photos->showPanel();
    else
        w.外形框_超级列表框1.show();
    return true;
}

void installPhotoListPanel(AppState& app) {
    app.mainWindowBuilders.push_back([](MainWindow& w) {
        if (!PhotoListPanel::of(w)) w.addPart<PhotoListPanel>(w);
    });
    app.openers.openOrderPhotos = openOrderPhotos;
}

}  // namespace xp
