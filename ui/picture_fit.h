// How a picture is placed in the area of the control that shows it.
#pragma once

#include "ui/geometry.h"

namespace xp::ui {

enum class PictureFit {
    TopLeft,     // natural size at the top-left corner, cut off where it does not fit
    Centre,      // natural size, centred
    FitCentred,  // shrunk to fit when larger in either dimension (keeping its proportions), else natural
                 // size; centred
    Zoom,        // scaled up or down to fit, keeping its proportions; centred
    Stretch      // scaled to fill the area exactly
};

// Where a picture of the given size lands in an area of the given size. Sizes are truncated toward zero.
Rect placePicture(PictureFit fit, Size area, Size picture);

}  // namespace xp::ui
