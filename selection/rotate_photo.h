// Turning the viewer's current photo on disk by a quarter turn (the viewer's 左转按钮 and 右转按钮).
#pragma once

namespace xp {

class SelectionViewer;

// Turns the current photo by -90 (left) or +90 (right) degrees, without loss where the photo allows it.
// The turned photo is written whole and flushed in the selection folder's "temp" folder, then renamed
// over the photo, so that a failure at any point leaves the photo as it was ("旋转失败！"). Afterwards
// the viewer, the photo's tile and its "文件长度" show the turned file.
void rotatePhoto(SelectionViewer& viewer, int angle);

}  // namespace xp
