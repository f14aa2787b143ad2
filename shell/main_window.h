// The main window: banner, the left column of eight picture buttons, the content area with the
// order-list, photo-list, loading and progress panels, the background drawn on the first timer tick.
// The panels' inner controls that other subsystems need are public members under their designed names;
// those subsystems add the rest through AppState::mainWindowBuilders and AppState::openers.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "shell/app_state.h"
#include "ui/ui.h"

namespace xp {

// Something another subsystem adds to the main window (controls inside a panel and their handlers). It
// lives as long as the window and goes before the window's own controls.
class MainWindowPart {
public:
    virtual ~MainWindowPart() = default;
};

// The main background as drawn on 图片框2: the picture's natural size is always 960 × 600.
ui::Point mainBackgroundPosition(int panelWidth, int panelHeight);

class MainWindow : public ui::Window {
public:
    explicit MainWindow(AppState& app);
    ~MainWindow() override;

    AppState& app;

    // Banner.
    ui::Label 标签1;
    ui::PictureBox 图片框1;
    ui::ImageButton 关闭按钮;
    ui::ImageButton 最小化按钮1;
    ui::Label 标签3;

    // Left column.
    ui::Label 标签2;
    ui::PictureButton 按钮_导入选片数据;
    ui::PictureButton 按钮_数据管理;
    ui::PictureButton 按钮_顾客资料;
    ui::PictureButton 超级按钮_自动分片;
    ui::PictureButton 按钮_样照欣赏;
    ui::PictureButton 按钮_设计看版;
    ui::PictureButton 按钮_系统设置;
    ui::PictureButton 按钮_更换LOGO;
    ui::PictureBox 图片框4;
    ui::PictureBox 图片框5;
    ui::PictureBox 图片框6;

    // Content area.
    ui::DrawPanel 图片框2;

    // Order-list panel.
    ui::Frame 外形框_数据管理;
    ui::GroupBox 分组框1;
    ui::ListView 超级列表框2;

    // Photo-list panel.
    ui::Frame 外形框_超级列表框1;
    ui::GroupBox 分组框2;
    ui::ListView 超级列表框1;
    ui::Label 状态标签;
    ui::CheckListBox 选择列表框1;
    ui::ComboBox 组合框2;

    // Loading panel.
    ui::Frame 外形框_加载;
    ui::Label 标签4;
    ui::PictureBox 图片框3;

    // Auto-split progress panel.
    ui::Frame 外形框_分片;
    ui::TransparentLabel 透明标签_分片;
    ui::ProgressBar 进度条1;

    ui::Timer 时钟1;

    // Left-column conveniences shared by the subsystems that drive this window.
    void hidePanels();
    // Destroys the gallery window if it is open.
    void closeGalleryWindow();

    // Shows the order list in the content area and fills it: the one way every path shows it.
    void showOrderList();
    // Opens the photos of the order whose folder this is: the one way every path opens an order. While
    // the photos load nothing else can be started (see LoadInProgress); afterwards the photo grid has
    // the keyboard focus with its first tile chosen. False (the photo list not shown) when the photos
    // could not be opened.
    bool openOrderPhotos(const std::string& selectionFolder);
    // Shows the loading panel, its label already saying that this load has loaded nothing yet.
    void showLoadingPanel();

    // While it lives, the left column, the banner buttons and the order-list panel take no clicks and
    // show as unavailable, so that nothing the user starts can stall a load behind a box or close the
    // photo table under it. Each keeps what it found and gives it back, so they nest.
    class LoadInProgress {
    public:
        explicit LoadInProgress(MainWindow& window);
        ~LoadInProgress();
        LoadInProgress(const LoadInProgress&) = delete;
        LoadInProgress& operator=(const LoadInProgress&) = delete;

    private:
        std::vector<std::pair<ui::Control*, bool>> enabled_;
    };
    bool galleryWindowOpen() const { return gallery_ && gallery_->isOpen(); }
    ui::Window* galleryWindow() const { return galleryWindowOpen() ? gallery_.get() : nullptr; }

    // Adds a part that lives as long as the window.
    template <class P, class... Args>
    P& addPart(Args&&... args) {
        auto part = std::make_unique<P>(std::forward<Args>(args)...);
        P& ref = *part;
        parts_.push_back(std::move(part));
        return ref;
    }
    // The first part of a type added earlier, or nullptr: how one subsystem's part reaches another's.
    template <class P>
    P* findPart() const {
        for (const auto& part : parts_)
            if (auto* found = dynamic_cast<P*>(part.get())) return found;
        return nullptr;
    }

    // The address each contact link opens.
    static constexpr const char* kWebsiteAddress = "https://www.example.com/";
    static constexpr const char* kContactAddress = "https://www.example.com/contact";
    static constexpr const char* kHelpAddress = "https://www.example.com/help";

private:
    void created();
    void layOut();
    void drawBackground();
    void notAvailable(const std::string& what);

    void importClicked();
    void ordersClicked();
    void customerClicked();
    void autoSplitClicked();
    void samplesClicked();
    void designsClicked();
    void settingsClicked();
    void logoClicked();
    void openGallery(ui::PictureButton& own);

    std::shared_ptr<ui::Window> gallery_;
    // Declared last: parts hold controls inside the panels above and must go first.
    std::vector<std::unique_ptr<MainWindowPart>> parts_;
};

}  // namespace xp
