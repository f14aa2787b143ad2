// The shared viewer: layout, picture panel, navigation, zoom, drag and the slideshow loop.
#include "shell/photo_viewer.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "appdata/app_paths.h"
#include "appdata/text_helpers.h"
#include "imaging/display_cache.h"
#include "imaging/display_decode.h"
#include "imaging/thumbnail.h"
#include "resources/builtin_pictures.h"
#include "resources/palette.h"
#include "shell/messages.h"

namespace xp {

namespace {

std::vector<std::uint8_t> picture(std::string_view name) {
    std::string_view bytes = builtinPicture(name);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void face(ui::ImageButton& button, std::string_view name) {
    button.setPicture(picture(name));
    button.setCursor(ui::Cursor::Hand);
}

// Decoding ahead: the picture shown, two more in the direction of travel, one behind.
constexpr int kAhead = 2;

}  // namespace

PhotoViewer::PhotoViewer(std::string name, int& index, int& slideshowInterval)
    : ui::Window(std::move(name), {0, 0, 816, 624}),
      图片框1(*this, "图片框1", {0, 38, 512, 400}),
      图片框2(图片框1, "图片框2", {144, 74, 208, 176}),
      外形框3(*this, "外形框3", {0, 8, 808, 25}),
      外形框4(*this, "外形框4", {0, 560, 816, 64}),
      外形框1(外形框4, "外形框1", {160, 1, 568, 62}),
      上一张按钮(外形框1, "上一张按钮", {16, 13, 41, 40}),
      播放按钮(外形框1, "播放按钮", {75, 8, 50, 50}),
      下一张按钮(外形框1, "下一张按钮", {140, 13, 41, 40}),
      放大按钮(外形框1, "放大按钮", {201, 13, 40, 40}),
      恢复按钮(外形框1, "恢复按钮", {249, 13, 41, 40}),
      缩小按钮(外形框1, "缩小按钮", {297, 13, 40, 40}),
      左转按钮(外形框1, "左转按钮", {354, 13, 41, 40}),
      右转按钮(外形框1, "右转按钮", {401, 13, 41, 40}),
      删除按钮(外形框1, "删除按钮", {456, 12, 41, 40}),
      退出按钮(外形框1, "退出按钮", {514, 13, 41, 40}),
      外形框_输入时间(*this, "外形框_输入时间", {180, 459, 176, 100}),
      外形框_输入时间1(外形框_输入时间, "外形框_输入时间1", {6, 6, 164, 88}),
      透明标签6(外形框_输入时间1, "透明标签6", {8, 8, 150, 18}),
      编辑框1(外形框_输入时间1, "编辑框1", {36, 32, 60, 22}),
      透明标签7(外形框_输入时间1, "透明标签7", {102, 35, 20, 18}),
      按钮_确定时间(外形框_输入时间1, "按钮_确定时间", {52, 60, 60, 22}),
      时钟1(*this, "时钟1"),
      index_(index),
      interval_(slideshowInterval),
      play_(picture(pictures::viewerPlay)),
      pause_(picture(pictures::viewerPause)) {
    setBorder(ui::BorderStyle::None);
    setBackColor(colour(pictures::palette::backdrop));

    图片框2.setBackColor(ui::Color{0, 0, 0});
    图片框2.setFit(ui::PictureFit::FitCentred);
    外形框3.setBackColor(colour(pictures::palette::backdrop));
    外形框4.setBackColor(colour(pictures::palette::backdrop));
    外形框1.setBackColor(colour(pictures::palette::backdrop));

    face(上一张按钮, pictures::viewerPrevious);
    播放按钮.setPicture(play_);
    播放按钮.setCursor(ui::Cursor::Hand);
    face(下一张按钮, pictures::viewerNext);
    face(放大按钮, pictures::viewerZoomIn);
    face(恢复按钮, pictures::viewerRestore);
    face(缩小按钮, pictures::viewerZoomOut);
    face(左转按钮, pictures::viewerRotateLeft);
    face(右转按钮, pictures::viewerRotateRight);
    face(删除按钮, pictures::viewerDelete);
    face(退出按钮, pictures::viewerExit);

    外形框_输入时间.hide();
    外形框_输入时间.setBorder(ui::FrameBorder::Line);
    外形框_输入时间.setBackColor(colour(pictures::palette::panel));
    外形框_输入时间1.setBackColor(colour(pictures::palette::panel));
    透明标签6.setCaption("请输入每张照片的显示时间");
    透明标签6.setTextColor(colour(pictures::palette::text));
    透明标签6.setWordWrap(false);
    编辑框1.setIntegerEntry(true);
    编辑框1.setAlign(ui::HAlign::Centre);
    编辑框1.setText("1");
    透明标签7.setCaption("秒");
    透明标签7.setTextColor(colour(pictures::palette::text));
    按钮_确定时间.setCaption("确定");

    onCreated = [this] { created(); };
    上一张按钮.onClick = [this] { previous(); };
    下一张按钮.onClick = [this] { next(); };
    放大按钮.onClick = [this] { zoomIn(); };
    缩小按钮.onClick = [this] { zoomOut(); };
    恢复按钮.onClick = [this] { restoreView(); };
    播放按钮.onClick = [this] { slideshow(); };
    按钮_确定时间.onClick = [this] { confirmTime(); };
    退出按钮.onClick = [this] { close(); };
    时钟1.onTick = [this] { ++ticks_; };
    图片框2.onMouseDown = [this](const ui::MouseEvent& e) { mouseDown(e); };
    图片框2.onMouseMove = [this](const ui::MouseEvent& e) { mouseMove(e); };
    图片框2.onMouseUp = [this](const ui::MouseEvent& e) {
        if (e.button != ui::MouseButton::Left) return;
        dragging_ = false;
        图片框2.setCursor(ui::Cursor::Arrow);
    };
    // A double click on the picture does nothing.
    图片框2.onDoubleClick = [](const ui::MouseEvent&) {};
}

PhotoViewer::~PhotoViewer() = default;

void PhotoViewer::info(const std::string& text) { inform(text); }

void PhotoViewer::created() {
    startImaging();
    layOut();
    // Display pictures fit the viewport; two workers decode ahead while the user looks.
    cache_ = std::make_unique<DisplayCache>(图片框1.width(), 图片框1.height(), 2, 2);
    opened();
    focus();
}

void PhotoViewer::layOut() {
    const ui::Size screen = ui::host().screenSize();
    setBounds(0, 0, screen.width, screen.height);
    const int W = width();
    const int H = height();
    图片框1.setBounds(图片框1.left(), 图片框1.top(), W, H - 外形框1.height() - 60 - 外形框3.height());
    图片框2.setBounds(0, 0, 图片框1.width(), 图片框1.height());
    外形框4.setBounds(外形框4.left(), 图片框1.height() + 外形框3.height() + 10, W, 外形框4.height());
    外形框3.setWidth(W);
    外形框1.setLeft((外形框4.width() - 外形框1.width()) / 2);
    外形框3.setTop(0);
    外形框_输入时间.move(外形框1.left() + 10, 外形框4.top() - 外形框_输入时间.height());
    图片框1.setBackColor(ui::Color{0, 0, 0});
}

// ---- the picture ----------------------------------------------------------------------------------

void PhotoViewer::showPicture(const std::string& path) {
    picturePath_ = path;
    refreshPicture();
    prefetch();
}

void PhotoViewer::refreshPicture() {
    std::shared_ptr<const ui::Image> shown;
    if (!picturePath_.empty() && cache_) shown = cache_->get(picturePath_);
    if (shown && !shown->empty())
        图片框2.setImage(*shown);
    else
        图片框2.clearPicture();
    ensureSharpness();
}

void PhotoViewer::prefetch() {
    if (!cache_) return;
    std::vector<std::string> paths;
    auto add = [&](int i) {
        if (i < 0 || i >= entryCount()) return;
        std::string p = entryPath(i);
        if (!p.empty()) paths.push_back(std::move(p));
    };
    if (!picturePath_.empty()) paths.push_back(picturePath_);
    for (int k = 1; k <= kAhead; ++k) add(index_ + k * direction_);
    add(index_ - direction_);
    cache_->prefetch(paths);
}

void PhotoViewer::forgetPicture(const std::string& path) {
    if (cache_) cache_->invalidate(path);
}

void PhotoViewer::waitForPrefetch() {
    if (cache_) cache_->waitIdle();
}

// A panel enlarged beyond the display picture gets a picture decoded at the size it now shows, so that
// a zoomed photo stays sharp up to its natural size.
void PhotoViewer::ensureSharpness() {
    if (picturePath_.empty() || !图片框2.hasPicture()) return;
    const ui::Image& current = 图片框2.image();
    const ImageSize natural = uprightImageSize(picturePath_);
    if (natural.width <= 0 || natural.height <= 0) return;
    int wantW = natural.width, wantH = natural.height;
    if (wantW > 图片框2.width() || wantH > 图片框2.height()) {
        const FitSize fit = fitInside(图片框2.width(), 图片框2.height(), natural.width, natural.height);
        wantW = fit.width;
        wantH = fit.height;
    }
    if (current.width >= wantW && current.height >= wantH) return;
    ui::Image sharper = decodeForDisplay(picturePath_, 图片框2.width(), 图片框2.height());
    if (!sharper.empty()) 图片框2.setImage(std::move(sharper));
}

// ---- navigation -----------------------------------------------------------------------------------

void PhotoViewer::previous() {
    if (图片框2.top() != 0 || 图片框2.left() != 0) restoreView();
    if (index_ <= 0) {
        info("当前是第一张照片 前面没有了");
        return;
    }
    --index_;
    direction_ = -1;
    showEntry();
}

void PhotoViewer::next() {
    if (图片框2.top() != 0 || 图片框2.left() != 0) restoreView();
    if (index_ >= entryCount() - 1) {
        info("以经是最后一张了");
        return;
    }
    ++index_;
    direction_ = 1;
    showEntry();
}

// ---- zoom and drag --------------------------------------------------------------------------------

void PhotoViewer::resetPanel() {
    图片框2.setBounds(0, 0, 图片框1.width(), 图片框1.height());
    // The larger picture a zoom decoded is not needed any more.
    const ui::Image& shown = 图片框2.image();
    if (shown.width > 图片框1.width() || shown.height > 图片框1.height()) refreshPicture();
}

void PhotoViewer::restoreView() {
    resetPanel();
    focus();
}

void PhotoViewer::centrePanel() {
    图片框2.move((图片框1.width() - 图片框2.width()) / 2, (图片框1.height() - 图片框2.height()) / 2);
}

void PhotoViewer::zoomIn() {
    const ImageSize natural = uprightImageSize(zoomLimitPath());
    if (natural.width <= 图片框2.width()) {
        info("以放大至像素最大尺寸");
        return;
    }
    图片框2.resize(static_cast<int>(图片框2.width() * 1.5), static_cast<int>(图片框2.height() * 1.5));
    centrePanel();
    ensureSharpness();
    focus();
}

void PhotoViewer::zoomOut() {
    if (图片框2.width() == 图片框1.width() || 图片框2.height() == 图片框1.height()) {
        focus();
        return;
    }
    图片框2.resize(static_cast<int>(图片框2.width() / 1.5), static_cast<int>(图片框2.height() / 1.5));
    centrePanel();
    focus();
}

void PhotoViewer::mouseDown(const ui::MouseEvent& e) {
    if (e.button == ui::MouseButton::Left) {
        dragging_ = true;
        dragX_ = e.x;
        dragY_ = e.y;
        图片框2.setCursor(ui::Cursor::Hand);
        pictureLeftPressed();
    } else if (e.button == ui::MouseButton::Right) {
        pictureRightPressed(e);
    }
}

namespace {

// How far the panel may move on one axis: not at all where it is smaller than the viewport (it stands
// centred, offset > 0), and never so far that the viewport shows past the panel's edge.
std::int64_t clampMove(std::int64_t d, int offset, int panelSize, int viewSize) {
    const std::int64_t o = offset;
    const std::int64_t room = panelSize - std::llabs(o) - viewSize;
    if (o > 0) return 0;
    if (d < 0 && static_cast<double>(std::llabs(d) - room) > 0.0000001) return -room;
    if (d >= 0 && static_cast<double>(d - std::llabs(o)) > 0.0000001) return std::llabs(o);
    return d;
}

}  // namespace

void PhotoViewer::mouseMove(const ui::MouseEvent& e) {
    if (!dragging_) return;
    const int L = 图片框2.left(), T = 图片框2.top();
    const std::int64_t dx = clampMove(e.x - dragX_, L, 图片框2.width(), 图片框1.width());
    const std::int64_t dy = clampMove(e.y - dragY_, T, 图片框2.height(), 图片框1.height());
    图片框2.move(static_cast<int>(L + dx), static_cast<int>(T + dy));
}

// ---- slideshow ------------------------------------------------------------------------------------

bool PhotoViewer::slideshowRunning() const { return 播放按钮.picture() != play_; }

void PhotoViewer::setPlayPicture(bool play) { 播放按钮.setPicture(play ? play_ : pause_); }

std::vector<ui::Control*> PhotoViewer::slideshowDisabled() {
    return {&上一张按钮, &下一张按钮, &放大按钮, &缩小按钮, &左转按钮, &右转按钮, &删除按钮, &退出按钮};
}

void PhotoViewer::slideshow() {
    if (slideshowRunning()) {
        slideshowStopped();
        return;
    }
    setPlayPicture(false);
    for (ui::Control* c : slideshowDisabled()) c->disable();
    if (interval_ == 0) {
        外形框_输入时间.show();
        setPlayPicture(true);
        return;
    }
    slideshowStarting();
    direction_ = 1;
    // The number of pictures is fixed when the show starts; the user may still step with the keys.
    const int rounds = entryCount() - index_;
    for (int k = 0; k < rounds; ++k) {
        slideshowShow();
        ui::host().processEvents();
        pausing_ = true;
        时钟1.setInterval(100);
        ui::host().waitWithEvents(interval_);
        时钟1.setInterval(0);
        pausing_ = false;
        ticks_ = 0;
        if (!isOpen()) return;
        if (!slideshowRunning()) break;
        ++index_;
    }
    if (slideshowRunning()) slideshowFinished();
}

void PhotoViewer::slideshowFinished() {
    info("图片播放完毕！将跳转到第一张");
    index_ = 0;
    slideshowShow();
    for (ui::Control* c : slideshowDisabled()) c->enable();
    setPlayPicture(true);
}

void PhotoViewer::slideshowStopped() {
    setPlayPicture(true);
    for (ui::Control* c : {&上一张按钮, &下一张按钮, &放大按钮, &缩小按钮}) c->enable();
    if (!pausing_) return;
    // Wait about the rest of the picture's display time, judged by the 100 ms ticks counted so far
    // (in steps of 111 ms), so that the show's loop has ended before the viewer can be left.
    const long long wait = (std::llround(interval_ / 111.0) - ticks_) * 111;
    if (wait > 0) ui::host().waitWithEvents(static_cast<int>(wait));
    退出按钮.enable();
}

void PhotoViewer::confirmTime() {
    const int seconds = textToInt(编辑框1.text());
    if (seconds > 5) {
        info("时间不能大于5秒");
        return;
    }
    // A negative time cannot be typed into the box; taken as 0, it asks again instead of flashing
    // through the pictures without a pause.
    interval_ = seconds > 0 ? seconds * 1000 : 0;
    外形框_输入时间.hide();
    slideshow();
}

}  // namespace xp
