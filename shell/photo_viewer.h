// The full-screen photo viewer that the selection viewer and the gallery viewer share: the layout taken
// from the screen, the picture panel with its zoom, drag and restore, previous and next, the timed
// slideshow with its display-time panel, and the display pictures decoded ahead in the direction of
// travel. It knows nothing of orders or tables: a window built on it says how many pictures there are,
// which file each one is and what showing one means.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/ui.h"

namespace xp {

class DisplayCache;

class PhotoViewer : public ui::Window {
public:
    // `index` is the application-wide index of the picture shown; `slideshowInterval` the display time
    // in milliseconds (0 until the user confirms one), kept by the owner for the whole run.
    PhotoViewer(std::string name, int& index, int& slideshowInterval);
    ~PhotoViewer() override;

    // The viewport and the picture panel inside it (the viewport holds the panel, so it is a frame).
    ui::Frame 图片框1;
    ui::DrawPanel 图片框2;
    // Status strip at the top and tool bar at the bottom.
    ui::Frame 外形框3;
    ui::Frame 外形框4;
    ui::Frame 外形框1;
    ui::ImageButton 上一张按钮;
    ui::ImageButton 播放按钮;
    ui::ImageButton 下一张按钮;
    ui::ImageButton 放大按钮;
    ui::ImageButton 恢复按钮;
    ui::ImageButton 缩小按钮;
    ui::ImageButton 左转按钮;
    ui::ImageButton 右转按钮;
    ui::ImageButton 删除按钮;
    ui::ImageButton 退出按钮;
    // The display-time panel of the slideshow.
    ui::Frame 外形框_输入时间;
    ui::Frame 外形框_输入时间1;
    ui::TransparentLabel 透明标签6;
    ui::EditBox 编辑框1;
    ui::TransparentLabel 透明标签7;
    ui::Button 按钮_确定时间;
    // Counts 100 ms ticks while a slideshow waits on a picture.
    ui::Timer 时钟1;

    // The handlers of the buttons and keys, for the windows built on the viewer and for tests.
    void previous();
    void next();
    void zoomIn();
    void zoomOut();
    void restoreView();
    void slideshow();
    void confirmTime();

    // Whether the play button shows the pause picture (a slideshow runs).
    bool slideshowRunning() const;
    bool pausing() const { return pausing_; }
    int ticks() const { return ticks_; }
    bool dragging() const { return dragging_; }

    // The file whose picture the panel shows ("" for none).
    const std::string& picturePath() const { return picturePath_; }

    // Tells the display pictures that a file changed on disk or is gone.
    void forgetPicture(const std::string& path);
    // Waits until the pictures being decoded ahead are ready (for measurements and tests).
    void waitForPrefetch();

protected:
    // How many pictures there are to walk through.
    virtual int entryCount() = 0;
    // The file of the picture at an index, for decoding ahead; "" when unknown. Called often: keep it
    // cheap and free of side effects.
    virtual std::string entryPath(int index) = 0;
    // Shows the picture at the current index (the window's own bookkeeping, then showPicture).
    virtual void showEntry() = 0;
    // The window has been laid out and is about to appear: show the first picture.
    virtual void opened() { showEntry(); }
    // The file whose pixel width limits zooming in.
    virtual std::string zoomLimitPath() { return picturePath_; }

    // A slideshow is about to start at the current index (after the display time was confirmed): a
    // window may restore its view or move the index first.
    virtual void slideshowStarting() {}
    // The buttons a running slideshow disables.
    virtual std::vector<ui::Control*> slideshowDisabled();
    // One picture of a slideshow, at the current index (showEntry unless the window knows better).
    virtual void slideshowShow() { showEntry(); }
    // After the last picture was shown: the message, back to the first picture, buttons enabled.
    virtual void slideshowFinished();
    // A stop click: the buttons that come back at once, then the wait for the exit button.
    virtual void slideshowStopped();

    // The left button went down on the picture panel (a drag starts) / the right button did.
    virtual void pictureLeftPressed() {}
    virtual void pictureRightPressed(const ui::MouseEvent&) {}

    // The full-screen layout; windows built on the viewer add their own controls after calling it.
    virtual void layOut();

    // Makes the file's display picture the panel's picture (black for a file that cannot be shown) and
    // decodes the neighbours in the direction of travel.
    void showPicture(const std::string& path);
    // The panel's picture again, at the resolution its current size needs.
    void refreshPicture();
    // The picture panel back to the viewport, without giving the focus.
    void resetPanel();

    static void info(const std::string& text);

    int& index_;
    int& interval_;

private:
    void created();
    void prefetch();
    void ensureSharpness();
    void centrePanel();
    void setPlayPicture(bool play);
    void mouseDown(const ui::MouseEvent& e);
    void mouseMove(const ui::MouseEvent& e);

    std::unique_ptr<DisplayCache> cache_;
    std::string picturePath_;
    int direction_ = 1;  // +1 forwards, -1 backwards: where decoding ahead looks
    bool pausing_ = false;
    int ticks_ = 0;
    bool dragging_ = false;
    std::int64_t dragX_ = 0;
    std::int64_t dragY_ = 0;
    std::vector<std::uint8_t> play_, pause_;
};

}  // namespace xp
