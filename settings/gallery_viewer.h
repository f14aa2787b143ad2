// The gallery viewer (GalleryViewer): the full-screen viewer over the pictures of the album the gallery
// window shows, with previous and next, zoom, drag, restore and the slideshow, and nothing that touches
// an order: no check list, no status labels, no keys; turning and deleting do nothing.
#pragma once

#include <string>
#include <vector>

#include "shell/photo_viewer.h"

namespace xp {

class GalleryWindow;

class GalleryViewer : public PhotoViewer {
public:
    // Opened modally by the gallery window on the picture at AppState::photoIndex.
    explicit GalleryViewer(GalleryWindow& gallery);

    GalleryWindow& gallery;

    void showEntry() override;
    // 播放按钮: a zoomed or moved picture is restored first.
    void play();

protected:
    int entryCount() override;
    std::string entryPath(int index) override;
    // The slideshow starts from the picture after the current one.
    void slideshowStarting() override;
    std::vector<ui::Control*> slideshowDisabled() override;

private:
    void restoreIfMoved();
};

}  // namespace xp
