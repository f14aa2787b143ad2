// The photo-list panel of the main window (外形框_超级列表框1) as far as showing an opened order goes:
// the product filter box, the tile of every photo row, entries with their captions, the status line.
// The panel's own buttons and the product check list join it here.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "shell/app_state.h"
#include "shell/main_window.h"
#include "ui/ui.h"

namespace xp {

class PhotoListPanel : public MainWindowPart {
public:
    explicit PhotoListPanel(MainWindow& window);

    // The panel of a main window, or nullptr when it was built without one.
    static PhotoListPanel* of(MainWindow& window) { return window.findPart<PhotoListPanel>(); }

    MainWindow& window;
    AppState& app;

    // Product filter, inside 分组框2; hidden until the selected photos are viewed.
    ui::ComboBox 组合框1;

    // Which tile of the thumbnail list shows the photo whose row has this "记录号" (-1: none). The loader
    // fills it for every row whose photo it found, so that the views do not have to assume that tiles
    // stand in "记录号" order.
    int tileOf(std::int32_t recordNo) const;
    void setTiles(std::unordered_map<std::int32_t, int> tiles) { tiles_ = std::move(tiles); }
    const std::unordered_map<std::int32_t, int>& tiles() const { return tiles_; }

    // Appends an entry to 超级列表框1: the caption, the tile and the "记录号" as item data; its index.
    int addEntry(std::string caption, int tile, std::int32_t recordNo);
    // Empties the list (the tiles stay with the thumbnail list).
    void clearEntries();

    // The status line: the number of entries in the list and the last load time.
    void updateStatus();

    // Shows the panel in the content area, hiding the order list.
    void showPanel();

    // Set while the order loader fills the panel.
    bool loading = false;

private:
    std::unordered_map<std::int32_t, int> tiles_;
};

// Adds the panel to every main window the application makes.
void installPhotoListPanel(AppState& app);

}  // namespace xp
