// The selection viewer (SelectionViewer): the full-screen viewer over the photo list's entries with the
// order's status bar, the product check list on a right click, the keys, turning and deleting photos.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "imaging/imaging_file.h"
#include "shell/photo_viewer.h"

namespace xp {

class AppState;
class PhotoListPanel;

class SelectionViewer : public PhotoViewer {
public:
    // Opened modally by the photo list, on the photo at AppState::photoIndex / photoRecordNumber.
    explicit SelectionViewer(PhotoListPanel& panel);

    PhotoListPanel& panel;
    AppState& app;

    // The status bar: photo count, required count, selected count, current photo, extra count.
    ui::TransparentLabel 透明标签1;
    ui::TransparentLabel 透明标签2;
    ui::TransparentLabel 透明标签3;
    ui::TransparentLabel 透明标签4;
    ui::TransparentLabel 透明标签5;
    // The busy panel shown while a photo is turned.
    ui::Frame 外形框2;
    ui::Label 标签1;
    ui::PictureBox 图片框3;
    // The product check list.
    ui::CheckListBox 选择列表框1;

    // The five status labels from the photo table and the order's row; leaves the photo table's cursor
    // on the current photo.
    void refreshStatus();
    // Shows the entry at the current photo index.
    void showEntry() override;
    // The handlers of 删除按钮, the right button on the picture, the check list and the keys.
    void deletePhoto();
    void popUpCheckList();
    void pick(int item);
    bool keyPressed(int key);

protected:
    int entryCount() override;
    std::string entryPath(int index) override;
    std::string zoomLimitPath() override;
    void layOut() override;
    void opened() override;
    void slideshowShow() override;
    void pictureLeftPressed() override;
    void pictureRightPressed(const ui::MouseEvent&) override;

private:
    friend void rotatePhoto(SelectionViewer& viewer, int angle);
    // How many photos are selected: counted by a scan of the photo table, which is done again only when
    // the table's files changed since (the viewer's own picks adjust the count instead).
    int selectedCount();
    struct TableStamps {
        FileStamp table, memo;
        bool operator==(const TableStamps&) const = default;
    };
    TableStamps photoTableStamps();
    bool countValid_ = false;
    int selected_ = 0;
    TableStamps counted_;

    // The file the current row shows; the cursor stands on that row.
    std::string currentRowFile();

    ui::ListView& list_;
    struct RowFiles {
        std::string fileName, filePath;
    };
    // "文件名" and "文件路径" of every row by "记录号", read once, so that decoding ahead needs no search.
    std::unordered_map<std::int64_t, RowFiles> rows_;
    std::unordered_map<std::int64_t, std::string> files_;
};

}  // namespace xp
