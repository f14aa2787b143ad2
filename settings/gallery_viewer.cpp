// The gallery viewer: the shared viewer walking the gallery window's path list.
#include "settings/gallery_viewer.h"

#include "settings/gallery_window.h"

namespace xp {

GalleryViewer::GalleryViewer(GalleryWindow& g)
    : PhotoViewer("GalleryViewer", g.app.photoIndex, g.slideshowInterval), gallery(g) {
    setCaption(g.mode());
    播放按钮.onClick = [this] { play(); };
}

int GalleryViewer::entryCount() { return gallery.超级列表框1.itemCount(); }

std::string GalleryViewer::entryPath(int index) {
    if (index < 0 || index >= gallery.列表框1.itemCount()) return {};
    return gallery.列表框1.item(index);
}

void GalleryViewer::showEntry() { showPicture(entryPath(index_)); }

void GalleryViewer::restoreIfMoved() {
    if (图片框2.left() != 0 || 图片框2.top() != 0) restoreView();
}

void GalleryViewer::play() {
    restoreIfMoved();
    slideshow();
}

void GalleryViewer::slideshowStarting() {
    restoreIfMoved();
    ++index_;
}

std::vector<ui::Control*> GalleryViewer::slideshowDisabled() {
    // Asking for the display time changes nothing else; turning and deleting do nothing here, so they
    // stay as they are.
    if (interval_ == 0) return {};
    return {&上一张按钮, &下一张按钮, &放大按钮, &缩小按钮, &退出按钮};
}

}  // namespace xp
