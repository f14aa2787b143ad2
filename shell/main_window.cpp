// The main window: its controls at their designed places, the layout from the screen size, the
// background drawn on the first timer tick, and the left column's navigation.
#include "shell/main_window.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "imaging/thumbnail.h"
#include "platform/file_system.h"
#include "resources/builtin_pictures.h"
#include "resources/palette.h"
#include "shell/messages.h"

namespace xp {

namespace {

constexpr char kLoadingText[] = "正在加载图片请稍候";
constexpr int kBackgroundWidth = 960;
constexpr int kBackgroundHeight = 600;
constexpr ui::Color kWindowColour{96, 96, 96};

std::vector<std::uint8_t> picture(std::string_view name) {
    std::string_view bytes = builtinPicture(name);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void setFaces(ui::PictureButton& button, const pictures::ButtonFaces& faces) {
    button.setPictures(picture(faces.normal), picture(faces.highlighted), picture(faces.disabled));
    button.setCursor(ui::Cursor::Hand);
}

void setLink(ui::PictureBox& box, std::string_view face, ui::Host& host, const char* address) {
    box.setPicture(picture(face));
    box.setFit(ui::PictureFit::TopLeft);
    box.setBackColor(colour(pictures::palette::column));
    box.setCursor(ui::Cursor::Hand);
    box.onMouseDown = [&host, address](const ui::MouseEvent& e) {
        if (e.button == ui::MouseButton::Left) host.openWebAddress(address);
    };
}

void darkPanel(ui::Control& c) { c.setBackColor(colour(pictures::palette::panel)); }

}  // namespace

ui::Point mainBackgroundPosition(int panelWidth, int panelHeight) {
    int top = (panelHeight - kBackgroundHeight) / 2 + 1;
    if (panelWidth <= kBackgroundWidth) return {0, top};
    return {(panelWidth - kBackgroundWidth) / 2 - 3, top};
}

MainWindow::MainWindow(AppState& state)
    : ui::Window("MainWindow", {0, 0, 888, 654}),
      app(state),
      标签1(*this, "标签1", {0, 0, 888, 50}),
      图片框1(*this, "图片框1", {0, 0, 336, 50}),
      关闭按钮(*this, "关闭按钮", {774, 16, 25, 25}),
      最小化按钮1(*this, "最小化按钮1", {744, 16, 25, 25}),
      标签3(*this, "标签3", {0, 50, 848, 33}),
      标签2(*this, "标签2", {0, 83, 184, 571}),
      按钮_导入选片数据(*this, "按钮_导入选片数据", {9, 98, 164, 50}),
      按钮_数据管理(*this, "按钮_数据管理", {9, 158, 164, 50}),
      按钮_顾客资料(*this, "按钮_顾客资料", {9, 218, 164, 50}),
      超级按钮_自动分片(*this, "超级按钮_自动分片", {9, 278, 164, 50}),
      按钮_样照欣赏(*this, "按钮_样照欣赏", {9, 338, 164, 50}),
      按钮_设计看版(*this, "按钮_设计看版", {9, 398, 164, 50}),
      按钮_系统设置(*this, "按钮_系统设置", {9, 458, 164, 50}),
      按钮_更换LOGO(*this, "按钮_更换LOGO", {8, 521, 164, 50}),
      图片框4(*this, "图片框4", {11, 589, 74, 23}),
      图片框5(*this, "图片框5", {99, 588, 68, 23}),
      图片框6(*this, "图片框6", {33, 630, 105, 23}),
      图片框2(*this, "图片框2", {696, 288, 120, 100}),
      外形框_数据管理(*this, "外形框_数据管理", {640, 480, 160, 120}),
      分组框1(外形框_数据管理, "分组框1", {0, 0, 160, 48}),
      超级列表框2(外形框_数据管理, "超级列表框2", {0, 48, 160, 72}),
      外形框_超级列表框1(*this, "外形框_超级列表框1", {664, 96, 168, 152}),
      分组框2(外形框_超级列表框1, "分组框2", {0, -5, 904, 53}),
      超级列表框1(外形框_超级列表框1, "超级列表框1", {0, 48, 168, 84}),
      状态标签(外形框_超级列表框1, "状态标签", {0, 132, 168, 20}),
      选择列表框1(外形框_超级列表框1, "选择列表框1", {120, 56, 128, 80}),
      组合框2(外形框_超级列表框1, "组合框2", {112, 160, 100, 20}),
      外形框_加载(*this, "外形框_加载", {256, 272, 352, 100}),
      标签4(外形框_加载, "标签4", {5, 5, 234, 90}),
      图片框3(外形框_加载, "图片框3", {227, 5, 120, 90}),
      外形框_分片(*this, "外形框_分片", {256, 408, 360, 72}),
      透明标签_分片(外形框_分片, "透明标签_分片", {10, 13, 342, 24}),
      进度条1(外形框_分片, "进度条1", {8, 42, 344, 16}),
      时钟1(*this, "时钟1") {
    app.mainWindow_ = this;
    setBorder(ui::BorderStyle::None);
    setCaption("Zelvano影楼选片系统");
    setBackColor(kWindowColour);

    标签1.setPicture(picture(pictures::mainBanner));
    标签1.setPictureFit(ui::PictureFit::TopLeft);
    图片框1.setPicture(picture(pictures::mainLogo));
    图片框1.setFit(ui::PictureFit::TopLeft);
    关闭按钮.setPicture(picture(pictures::mainClose));
    关闭按钮.setCursor(ui::Cursor::Hand);
    最小化按钮1.setPicture(picture(pictures::mainMinimize));
    最小化按钮1.setCursor(ui::Cursor::Hand);

    标签3.setCaption("Zelvano影楼选片系统");
    标签3.setBackColor(colour(pictures::palette::titleLine));
    标签3.setTextColor(colour(pictures::palette::textMuted));
    标签3.setFont(ui::Font{{}, 13, false});
    标签3.setAlign(ui::HAlign::Centre);
    标签3.setWordWrap(false);

    标签2.setPicture(picture(pictures::mainColumn));
    标签2.setPictureFit(ui::PictureFit::TopLeft);
    setFaces(按钮_导入选片数据, pictures::navImport);
    setFaces(按钮_数据管理, pictures::navOrders);
    setFaces(按钮_顾客资料, pictures::navCustomer);
    setFaces(超级按钮_自动分片, pictures::navAutoSplit);
    setFaces(按钮_样照欣赏, pictures::navSamples);
    setFaces(按钮_设计看版, pictures::navDesigns);
    setFaces(按钮_系统设置, pictures::navSettings);
    setFaces(按钮_更换LOGO, pictures::navLogo);
    setLink(图片框4, pictures::linkWebsite, app.host, kWebsiteAddress);
    setLink(图片框5, pictures::linkContact, app.host, kContactAddress);
    setLink(图片框6, pictures::linkHelp, app.host, kHelpAddress);

    图片框2.setBackColor(colour(pictures::palette::backdrop));
    图片框2.setFit(ui::PictureFit::TopLeft);

    外形框_数据管理.hide();
    外形框_数据管理.setBackColor(colour(pictures::palette::backdrop));
    分组框1.setBackColor(colour(pictures::palette::column));
    分组框1.setTextColor(colour(pictures::palette::text));
    超级列表框2.setMode(ui::ListViewMode::Report);
    超级列表框2.setFullRowSelect(true);

    外形框_超级列表框1.hide();
    外形框_超级列表框1.setBackColor(colour(pictures::palette::backdrop));
    分组框2.setBackColor(colour(pictures::palette::column));
    分组框2.setTextColor(colour(pictures::palette::text));
    超级列表框1.setMode(ui::ListViewMode::Icon);
    状态标签.setBackColor(colour(pictures::palette::column));
    状态标签.setTextColor(colour(pictures::palette::textMuted));
    状态标签.setWordWrap(false);
    选择列表框1.hide();
    组合框2.hide();

    外形框_加载.hide();
    外形框_加载.setBorder(ui::FrameBorder::Line);
    darkPanel(外形框_加载);
    标签4.setTextColor(colour(pictures::palette::text));
    图片框3.setPicture(picture(pictures::loadingFrames[0]));
    图片框3.setFit(ui::PictureFit::Centre);
    darkPanel(图片框3);

    外形框_分片.hide();
    外形框_分片.setBorder(ui::FrameBorder::Line);
    darkPanel(外形框_分片);
    透明标签_分片.setTextColor(colour(pictures::palette::text));

    onCreated = [this] { created(); };
    onDestroying = [] { stopImaging(); };
    时钟1.onTick = [this] { drawBackground(); };
    关闭按钮.onClick = [this] { close(); };
    最小化按钮1.onClick = [this] { minimize(); };

    按钮_导入选片数据.onClick = [this] { importClicked(); };
    按钮_数据管理.onClick = [this] { ordersClicked(); };
    按钮_顾客资料.onClick = [this] { customerClicked(); };
    超级按钮_自动分片.onClick = [this] { autoSplitClicked(); };
    按钮_样照欣赏.onClick = [this] { samplesClicked(); };
    按钮_设计看版.onClick = [this] { designsClicked(); };
    按钮_系统设置.onClick = [this] { settingsClicked(); };
    按钮_更换LOGO.onClick = [this] { logoClicked(); };

    for (const MainWindowBuilder& build : app.mainWindowBuilders)
        if (build) build(*this);
}

MainWindow::~MainWindow() {
    parts_.clear();
    if (app.mainWindow_ == this) app.mainWindow_ = nullptr;
}

void MainWindow::created() {
    if (!app.logo2.empty()) 图片框1.setPicture(app.logo2);
    layOut();
    startImaging();
    app.computePaths();
    时钟1.start(10);
}

void MainWindow::layOut() {
    ui::Size screen = app.host.screenSize();
    setBounds(0, 0, screen.width, screen.height - 40);
    const int W = width();
    const int H = height();
    const int T = 标签1.height() + 标签3.height();
    const int L = 标签2.width();

    标签1.setWidth(W);
    标签3.setWidth(W);
    标签2.setHeight(H - T);

    关闭按钮.setLeft(W - 关闭按钮.width() - 10);
    最小化按钮1.setLeft(W - 关闭按钮.width() - 最小化按钮1.width() - 15);

    图片框2.setBounds(L, T, W - L, H - T);

    外形框_超级列表框1.setBounds(L, T, 图片框2.width(), 图片框2.height());
    const int pw = 外形框_超级列表框1.width();
    const int ph = 外形框_超级列表框1.height();
    超级列表框1.resize(pw, ph - 状态标签.height() - 分组框2.height() + 5);
    分组框2.setWidth(pw);
    状态标签.setBounds(状态标签.left(), ph - 状态标签.height(), pw, 状态标签.height());

    外形框_加载.move((图片框2.width() - 外形框_加载.width()) / 2 + L,
                     (图片框2.height() - 外形框_加载.height()) / 2 + T);

    外形框_数据管理.setBounds(L, T, W - L, H - T);
    分组框1.setWidth(外形框_数据管理.width());
    超级列表框2.resize(外形框_数据管理.width(), 外形框_数据管理.height() - 分组框1.height());

    外形框_分片.move((W - 外形框_分片.width()) / 2, (H - 外形框_分片.height()) / 2);
}

void MainWindow::drawBackground() {
    if (!isOpen()) return;
    std::vector<std::uint8_t> bytes;
    if (!app.logo3Path.empty() && fileExists(app.logo3Path)) {
        if (std::optional<std::string> file = readFile(app.logo3Path)) bytes.assign(file->begin(), file->end());
    }
    // A LOGO3 file that exists but cannot be read falls back like a missing one, rather than leaving
    // the content area blank.
    if (bytes.empty()) bytes = picture(pictures::mainBackground);
    ui::Point at = mainBackgroundPosition(图片框2.width(), 图片框2.height());
    图片框2.drawPicture(std::move(bytes), at.x, at.y);
    时钟1.stop();
}

void MainWindow::notAvailable(const std::string& what) { inform("“" + what + "”功能尚未开放，敬请期待。"); }

void MainWindow::hidePanels() {
    外形框_数据管理.hide();
    外形框_超级列表框1.hide();
}

void MainWindow::closeGalleryWindow() {
    if (galleryWindowOpen()) gallery_->close();
    gallery_.reset();
}

void MainWindow::importClicked() {
    按钮_数据管理.enable();
    按钮_导入选片数据.disable();
    hidePanels();
    按钮_设计看版.enable();
    按钮_样照欣赏.enable();
    closeGalleryWindow();
    if (app.openers.newOrder)
        app.openers.newOrder(*this);
    else
        notAvailable("导入选片数据");
    按钮_导入选片数据.enable();
}

void MainWindow::ordersClicked() { showOrderList(); }

void MainWindow::showOrderList() {
    按钮_设计看版.enable();
    按钮_样照欣赏.enable();
    按钮_数据管理.disable();
    closeGalleryWindow();
    外形框_超级列表框1.hide();
    外形框_数据管理.show();
    if (app.openers.fillOrderList)
        app.openers.fillOrderList(*this);
    else
        notAvailable("数据管理");
}

MainWindow::LoadInProgress::LoadInProgress(MainWindow& w) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &w.按钮_导入选片数据, &w.按钮_数据管理, &w.按钮_顾客资料, &w.超级按钮_自动分片, &w.按钮_样照欣赏,
             &w.按钮_设计看版, &w.按钮_系统设置, &w.按钮_更换LOGO, &w.关闭按钮, &w.最小化按钮1, &w.外形框_数据管理}) {
        enabled_.emplace_back(c, c->isEnabled());
        c->disable();
    }
}

MainWindow::LoadInProgress::~LoadInProgress() {
    for (auto& [control, enabled] : enabled_) control->setEnabled(enabled);
}

void MainWindow::showLoadingPanel() {
    // The label of the previous load would show its count until the first photo of this one.
    标签4.setCaption(std::string(kLoadingText) + "(0)");
    外形框_加载.show();
}

bool MainWindow::openOrderPhotos(const std::string& selectionFolder) {
    app.setSelectionFolder(selectionFolder);
    if (!app.openers.openOrderPhotos) {
        notAvailable("选片");
        return false;
    }
    bool opened = false;
    {
        LoadInProgress busy(*this);
        showLoadingPanel();
        opened = app.openers.openOrderPhotos(*this);
        外形框_加载.hide();
    }
    if (!opened) return false;
    // The selector goes on with the keyboard at once: arrows move from the first photo.
    if (超级列表框1.itemCount() > 0 && !超级列表框1.pickItem(0)) 超级列表框1.setSelected(0);
    超级列表框1.focus();
    return true;
}

void MainWindow::customerClicked() {
    按钮_设计看版.enable();
    按钮_样照欣赏.enable();
    closeGalleryWindow();
    const bool orderList = 外形框_数据管理.isVisible();
    if ((orderList && 超级列表框2.selected() >= 0) || 外形框_超级列表框1.isVisible()) {
        按钮_顾客资料.disable();
        if (app.openers.editOrder)
            app.openers.editOrder(*this);
        else
            notAvailable("顾客资料");
        按钮_顾客资料.enable();
    } else if (orderList) {
        inform("请先选择客户订单编号后在选择此项！");
    } else {
        inform("请先打开数据管理并选择客户订单编号后在选择此项！");
    }
}

void MainWindow::autoSplitClicked() {
    if (app.openers.autoSplit)
        app.openers.autoSplit(*this);
    else
        notAvailable("自动分片");
}

void MainWindow::openGallery(ui::PictureButton& own) {
    if (app.openers.gallery) {
        gallery_ = app.openers.gallery(*this);
    } else {
        notAvailable(app.galleryMode);
        // No window came up, so the button must not stay marked as the open function.
        own.enable();
    }
}

void MainWindow::samplesClicked() {
    按钮_样照欣赏.disable();
    if (galleryWindowOpen()) {
        按钮_设计看版.enable();
        closeGalleryWindow();
    }
    app.galleryMode = kGallerySamples;
    按钮_数据管理.enable();
    hidePanels();
    openGallery(按钮_样照欣赏);
}

void MainWindow::designsClicked() {
    按钮_数据管理.enable();
    按钮_设计看版.disable();
    if (galleryWindowOpen()) {
        按钮_样照欣赏.enable();
        closeGalleryWindow();
    }
    hidePanels();
    app.galleryMode = kGalleryDesignBoards;
    if (!app.paths.designBoardFolder.empty())
        openGallery(按钮_设计看版);
    else
        按钮_设计看版.enable();
}

void MainWindow::settingsClicked() {
    按钮_设计看版.enable();
    按钮_样照欣赏.enable();
    按钮_数据管理.enable();
    按钮_系统设置.disable();
    closeGalleryWindow();
    app.store.closeAllTables();
    hidePanels();
    if (app.openers.settings)
        app.openers.settings(*this);
    else
        notAvailable("系统设置");
    按钮_系统设置.enable();
}

void MainWindow::logoClicked() {
    if (app.openers.logo)
        app.openers.logo(*this);
    else
        notAvailable("更换LOGO");
}

}  // namespace xp
