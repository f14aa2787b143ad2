// Placing a picture in an area: the one rule both backends and the window modules share.
#include "ui/picture_fit.h"

namespace xp::ui {

Rect placePicture(PictureFit fit, Size area, Size picture) {
    if (picture.width <= 0 || picture.height <= 0) return {};
    Size shown = picture;
    bool scale = false;
    switch (fit) {
        case PictureFit::TopLeft: return Rect{0, 0, picture.width, picture.height};
        case PictureFit::Stretch: return Rect{0, 0, area.width, area.height};
        case PictureFit::Centre: break;
        case PictureFit::FitCentred: scale = picture.width > area.width || picture.height > area.height; break;
        case PictureFit::Zoom: scale = true; break;
    }
    if (scale) {
        // Compare the proportions in whole numbers so that equal ratios fit both sides exactly.
        long long byWidth = static_cast<long long>(area.width) * picture.height;
        long long byHeight = static_cast<long long>(area.height) * picture.width;
        if (byWidth <= byHeight) {
            shown.width = area.width;
            shown.height = static_cast<int>(static_cast<long long>(area.width) * picture.height / picture.width);
        } else {
            shown.height = area.height;
            shown.width = static_cast<int>(static_cast<long long>(area.height) * picture.width / picture.height);
        }
    }
    return Rect{(area.width - shown.width) / 2, (area.height - shown.height) / 2, shown.width, shown.height};
}

}  // namespace xp::ui
