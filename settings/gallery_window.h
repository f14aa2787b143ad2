// The gallery window (GalleryWindow): the sample gallery or the design boards, one album at a time as
// tiles in the main window's content area, with the album chooser, the mode's title picture and exit
// button; a double click shows a picture in the gallery viewer. Both left buttons "样照欣赏" and
// "设计看版" open it through the opener that installGallery plugs in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/app_state.h"
#include "shell/main_window.h"
#include "ui/ui.h"

namespace xp {

// What the galleries keep for as long as the main window lives, while gallery windows come and go.
class GalleryPart : public MainWindowPart {
public:
    static GalleryPart& of(MainWindow& window);

    // The gallery viewer's display time in milliseconds: 0 until the user confirms one, then kept for
    // the rest of the run (its own value, apart from the selection viewer's).
    int slideshowInterval = 0;
};

class GalleryWindow : public ui::Window {
public:
    // A child of the main window, browsing the folder of the gallery mode set in AppState.
    explicit GalleryWindow(MainWindow& main);

    MainWindow& main;
    AppState& app;

    // The header bar.
    ui::Frame 外形框1;
    ui::TransparentLabel 透明标签1;
    ui::ComboBox 组合框1;
    ui::PictureBox 图片框1;
    ui::PictureButton 退出_样照欣赏;
    ui::PictureButton 退出_设计看版;
    // The album's tiles, and (hidden) the full path of each picture: item i of both is the same picture.
    ui::ListView 超级列表框1;
    ui::ListBox 列表框1;

    // The mode this window browses and its root folder.
    const std::string& mode() const { return mode_; }
    const std::string& rootFolder() const { return root_; }
    // The exit button of this window's mode.
    ui::PictureButton& exitButton();
    // The slideshow interval the gallery viewer keeps.
    int& slideshowInterval;

    // The handlers, as the chooser, the list and the exit buttons run them.
    void albumChosen(int index);
    void openViewer();
    // An exit button: closes the window and makes the main window's button of its gallery usable again.
    void exit(ui::PictureButton& mainButton);
    // True while an album fills.
    bool filling() const { return filling_; }

private:
    void created();
    void layOut();
    void collapse();
    void fillAlbum(const std::string& folder);
    void animate();

    std::string mode_;
    std::string root_;
    // The albums' names as they are on disk; album i is item i + 1 of the chooser.
    std::vector<std::string> albums_;
    bool filling_ = false;
    std::int64_t frameTick_ = 0;
    int frame_ = 0;
};

// Plugs the galleries into every main window the application makes: the part that keeps the viewer's
// display time and the opener of the gallery window.
void installGallery(AppState& app);

}  // namespace xp
