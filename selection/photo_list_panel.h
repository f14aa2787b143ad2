// The photo-list panel of the main window (外形框_超级列表框1): the open order's photos as tiles with
// captions, the three views and the product filter, the product check list that pops up on a right
// click, opening the full-screen viewer, deleting photos, "关闭" and "保存选片数据".
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

    // Inside 分组框2. The product filter is hidden until the selected photos are viewed.
    ui::ComboBox 组合框1;
    ui::Button 查看以选按钮;
    ui::Button 查看未选按钮;
    ui::Button 查看全部按钮;
    ui::Button 删除按钮;
    ui::Button 全部删除按钮;
    ui::Button 关闭按钮1;
    ui::Button 按钮_保存选片数据;

    // The selection viewer's display time in milliseconds: 0 until the selector confirms one, then kept
    // for the rest of the run (the panel lives as long as the main window).
    int slideshowInterval = 0;

    // Which tile of the thumbnail list shows the photo whose row has this "记录号" (-1: none). The loader
    // fills it for every row whose photo it found, so that the views do not have to assume that tiles
    // stand in "记录号" order.
    int tileOf(std::int32_t recordNo) const;
    void setTiles(std::unordered_map<std::int32_t, int> tiles) { tiles_ = std::move(tiles); }
    const std::unordered_map<std::int32_t, int>& tiles() const { return tiles_; }
    // Makes the photo's tile afresh from its file (after it was turned) and shows it in its entries.
    void remakeTile(std::int32_t recordNo, const std::string& file);

    // Appends an entry to 超级列表框1: the caption, the tile and the "记录号" as item data; its index.
    int addEntry(std::string caption, int tile, std::int32_t recordNo);
    // Empties the list (the tiles stay with the thumbnail list).
    void clearEntries();

    // The status line: the number of entries in the list and the last load time.
    void updateStatus();

    // Shows the panel in the content area, hiding the order list.
    void showPanel();

    // The handlers, as the buttons and the list run them.
    void viewSelected();
    void viewUnselected();
    void viewAll();
    void filterByProduct();
    void entryChosen(int index);
    void openViewer(int index);
    void popUpCheckList(int index);
    void pickFromCheckList(int item);
    void deleteChosen();
    void deleteAll();
    void closePanel();
    void saveSelection();

    // Set while the order loader fills the panel.
    bool loading = false;

private:
    ui::ListView& list() { return window.超级列表框1; }
    // The entries of the photo table's rows that `keep` accepts, in table order: a condition on the
    // row's "文件名", "产品名称" and "修改要求" that appends its entries through `add`.
    template <class Keep>
    void fill(Keep keep);
    // The list no longer matches the photo table: the message, and back to the order list.
    void mismatch(const std::string& title);
    void deleteEntries(const std::vector<int>& entries);

    std::unordered_map<std::int32_t, int> tiles_;
};

// Adds the panel to every main window the application makes, with the viewer, the retouch dialog and
// the opener of an order's photos.
void installPhotoListPanel(AppState& app);

}  // namespace xp
