// The gallery window: its header, the album chooser, filling an album with the loading panel, the
// double click that opens the viewer, the exit buttons, and the opener plugged into the main window.
#include "settings/gallery_window.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

#include "imaging/thumbnail.h"
#include "resources/builtin_pictures.h"
#include "resources/palette.h"
#include "settings/gallery_album.h"
#include "settings/gallery_viewer.h"

namespace xp {

namespace {

constexpr char kChoose[] = "点我选择";
// The window starts right of the main window's left column.
constexpr int kLeft = 184;

std::vector<std::uint8_t> picture(std::string_view name) {
    std::string_view bytes = builtinPicture(name);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void exitFaces(ui::PictureButton& button) {
    const pictures::ButtonFaces& f = pictures::galleryExit;
    button.setPictures(picture(f.normal), picture(f.highlighted), picture(f.disabled));
    button.setCursor(ui::Cursor::Hand);
}

}  // namespace

GalleryPart& GalleryPart::of(MainWindow& window) {
    if (GalleryPart* part = window.findPart<GalleryPart>()) return *part;
    return window.addPart<GalleryPart>();
}

GalleryWindow::GalleryWindow(MainWindow& m)
    : ui::Window("GalleryWindow", {0, 0, 808, 600}),
      main(m),
      app(m.app),
      外形框1(*this, "外形框1", {0, 0, 808, 50}),
      透明标签1(外形框1, "透明标签1", {14, 13, 100, 24}),
      组合框1(外形框1, "组合框1", {107, 14, 149, 20}),
      图片框1(外形框1, "图片框1", {320, 1, 300, 48}),
      退出_样照欣赏(外形框1, "退出_样照欣赏", {696, 9, 80, 32}),
      退出_设计看版(外形框1, "退出_设计看版", {608, 9, 80, 32}),
      超级列表框1(*this, "超级列表框1", {0, 48, 808, 552}),
      列表框1(*this, "列表框1", {0, 0, 0, 0}),
      slideshowInterval(GalleryPart::of(m).slideshowInterval),
      mode_(m.app.galleryMode == kGalleryDesignBoards ? kGalleryDesignBoards : kGallerySamples) {
    setBorder(ui::BorderStyle::None);
    setCaption(mode_);
    setBackColor(colour(pictures::palette::backdrop));
    setParentWindow(&main);

    外形框1.setBackColor(colour(pictures::palette::column));
    透明标签1.setCaption("请选择样照目录");
    透明标签1.setTextColor(colour(pictures::palette::text));
    透明标签1.setWordWrap(false);
    组合框1.setStyle(ui::ComboStyle::DropDownList);
    图片框1.setFit(ui::PictureFit::Centre);
    图片框1.setBackColor(colour(pictures::palette::column));
    exitFaces(退出_样照欣赏);
    exitFaces(退出_设计看版);
    超级列表框1.setMode(ui::ListViewMode::Icon);
    超级列表框1.hide();
    列表框1.hide();

    onCreated = [this] { created(); };
    组合框1.onSelect = [this](int index) { albumChosen(index); };
    超级列表框1.onDoubleClick = [this](int) { openViewer(); };
    退出_样照欣赏.onClick = [this] { exit(main.按钮_样照欣赏); };
    退出_设计看版.onClick = [this] { exit(main.按钮_设计看版); };
}

ui::PictureButton& GalleryWindow::exitButton() { return mode_ == kGalleryDesignBoards ? 退出_设计看版 : 退出_样照欣赏; }

void GalleryWindow::created() {
    退出_样照欣赏.hide();
    退出_设计看版.hide();
    layOut();
    startImaging();

    组合框1.addItem(kChoose);
    图片框1.setPicture(
        picture(mode_ == kGalleryDesignBoards ? pictures::galleryTitleDesigns : pictures::galleryTitleSamples));
    root_ = galleryRoot(app.paths, mode_);
    albums_ = galleryAlbums(root_);
    for (const std::string& album : albums_) 组合框1.addItem(shownName(album));
    组合框1.setSelected(0);

    exitButton().show();
}

void GalleryWindow::layOut() {
    const int top = main.标签3.top() + main.标签3.height();
    setBounds(kLeft, top, main.width() - kLeft, height());
    外形框1.setWidth(width());
    图片框1.setLeft((外形框1.width() - 图片框1.width()) / 2);
    for (ui::PictureButton* b : {&退出_样照欣赏, &退出_设计看版}) b->setLeft(外形框1.width() - b->width() - 30);
    // The list ends at the main window's bottom edge: a list reaching below it would hide its last row
    // of tiles and the end of its scroll bar behind that edge.
    超级列表框1.setBounds(0, 超级列表框1.top(), width(), std::max(main.height() - top - 超级列表框1.top(), 0));
    collapse();
}

void GalleryWindow::collapse() { setHeight(外形框1.height()); }

void GalleryWindow::albumChosen(int index) {
    if (filling_) return;
    if (index <= 0 || index > static_cast<int>(albums_.size())) {
        超级列表框1.hide();
        超级列表框1.clear();
        列表框1.clear();
        collapse();
        return;
    }
    const std::string folder = joinPath(root_, albums_[static_cast<size_t>(index - 1)]);
    超级列表框1.hide();
    main.外形框_加载.show();
    组合框1.disable();
    exitButton().disable();
    collapse();
    filling_ = true;
    ui::host().waitWithEvents(20);
    if (isOpen()) fillAlbum(folder);
    filling_ = false;
    main.外形框_加载.hide();
    // Another left button of the main window may have closed the window while the album filled.
    if (!isOpen()) return;
    组合框1.enable();
    exitButton().enable();
    setHeight(main.height() - 55);
}

void GalleryWindow::fillAlbum(const std::string& folder) {
    超级列表框1.clear();
    列表框1.clear();
    超级列表框1.setImageList(app.thumbnails.reset());
    const std::vector<std::string> names = albumPictures(folder);
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names) paths.push_back(joinPath(folder, name));
    AlbumTiles tiles(folder, paths);
    frameTick_ = ui::host().tickCount();
    for (size_t i = 0; i < names.size(); ++i) {
        ui::host().processEvents();
        if (!isOpen()) return;
        main.标签4.setCaption("正在加载图片请稍候（" + std::to_string(i + 1) + "）");
        animate();
        列表框1.addItem(paths[i]);
        std::optional<ui::Image> tile = tiles.next();
        const int image = tile ? app.thumbnails.add(std::move(*tile)) : -1;
        超级列表框1.addItem(shownName(names[i]), image);
    }
    超级列表框1.show();
}

void GalleryWindow::animate() {
    const std::int64_t now = ui::host().tickCount();
    if (now - frameTick_ < pictures::loadingFrameIntervalMs) return;
    frameTick_ = now;
    frame_ = (frame_ + 1) % static_cast<int>(pictures::loadingFrames.size());
    main.图片框3.setPicture(picture(pictures::loadingFrames[static_cast<size_t>(frame_)]));
}

void GalleryWindow::openViewer() {
    const int index = 超级列表框1.selected();
    if (index < 0) return;
    app.photoIndex = index;
    GalleryViewer viewer(*this);
    ui::host().showModal(viewer);
}

void GalleryWindow::exit(ui::PictureButton& mainButton) {
    close();
    mainButton.enable();
}

void installGallery(AppState& app) {
    app.mainWindowBuilders.push_back([](MainWindow& w) { GalleryPart::of(w); });
    app.openers.gallery = [](MainWindow& w) -> std::shared_ptr<ui::Window> {
        auto window = std::make_shared<GalleryWindow>(w);
        w.app.host.show(window);
        return window;
    };
}

}  // namespace xp
