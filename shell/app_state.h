// The application-wide state the shell owns for the whole run: paths, the record store, the open order,
// the logo pictures, the thumbnail list, and the seams through which the other subsystems plug their
// windows into the main window. One instance, made by the program (or a test) and passed to windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "appdata/app_paths.h"
#include "imaging/thumbnail_list.h"
#include "store/record_store.h"
#include "ui/host.h"

namespace xp {

class MainWindow;

// The two values of the gallery mode: which folder the gallery window browses.
inline constexpr char kGallerySamples[] = "样照欣赏";
inline constexpr char kGalleryDesignBoards[] = "设计看版";

// The windows and actions the main window's left column opens, plugged in by the subsystems that build
// them. The main window does its own button steps first and then calls the opener; an empty opener makes
// the button say that its window is not available yet.
struct WindowOpeners {
    // 按钮_导入选片数据: the new order dialog, modal; returns once it is closed.
    std::function<void(MainWindow&)> newOrder;
    // 按钮_数据管理: fills the order-list panel, which the main window has just shown.
    std::function<void(MainWindow&)> fillOrderList;
    // Opens the photos of the current selection folder: the loading panel, the order loader, then the
    // photo-list panel. True when the order's photo table is open and current.
    std::function<bool(MainWindow&)> openOrderPhotos;
    // 按钮_顾客资料: the order edit dialog, modal; returns once it is closed.
    std::function<void(MainWindow&)> editOrder;
    // 超级按钮_自动分片.
    std::function<void(MainWindow&)> autoSplit;
    // 按钮_样照欣赏 / 按钮_设计看版: opens the gallery window non-modal (the gallery mode is set) and
    // returns it, so that the main window can close it later.
    std::function<std::shared_ptr<ui::Window>(MainWindow&)> gallery;
    // 按钮_系统设置: the settings window, modal; returns once it is closed.
    std::function<void(MainWindow&)> settings;
    // 按钮_更换LOGO: the logo window, non-modal.
    std::function<void(MainWindow&)> logo;

    // Between the subsystems beside each other (each set by the subsystem that builds the window):
    // "保存选片数据" of the photo list: the order form of the open order (completion).
    std::function<void(MainWindow&)> orderForm;
    // "增删制作要求" of the order form: the settings window in its requirements-only mode, modal;
    // returns once it is closed (settings).
    std::function<void(MainWindow&)> requirementPresets;
    // Called by the settings window when it closes, so that a window showing the requirement presets
    // (the order form) reads them again (completion).
    std::function<void(MainWindow&)> requirementPresetsChanged;
};

// Runs at the end of the main window's constructor, before the window is shown: the place where a
// subsystem adds its controls to the main window's panels and wires their handlers.
using MainWindowBuilder = std::function<void(MainWindow&)>;

class AppState {
public:
    // `programFolder` is the folder the installation lives in (the running program's folder in the
    // product; a temp folder in tests), without a trailing "/".
    AppState(ui::Host& host, std::string programFolder);
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    ui::Host& host;

    // The one record store of the program. Only the user-interface thread touches it.
    RecordStore store;

    // The application paths. computePaths() is the routine that windows call when they are created;
    // the photo-table path follows the current selection folder.
    const std::string& programFolder() const { return programFolder_; }
    AppPaths paths;
    void computePaths();
    const std::string& selectionFolder() const { return paths.selectionFolder; }
    void setSelectionFolder(const std::string& folder) { paths.setSelectionFolder(folder); }

    // The open order: 1-based record number of its row in the order table, and its order number.
    int orderRecordNumber = 0;
    std::string orderNumber;
    // The current photo: its entry in the photo list (0-based, -1 for none) and its row's "记录号".
    int photoIndex = -1;
    int photoRecordNumber = 0;
    // Set when the new order dialog was confirmed.
    bool newOrderConfirmed = false;
    // kGallerySamples or kGalleryDesignBoards.
    std::string galleryMode;

    // The studio's pictures from logo.ini: the login banner and the main window's logo as file bytes
    // (empty when not configured or unreadable), and the path of the main background.
    std::vector<std::uint8_t> logo1;
    std::vector<std::uint8_t> logo2;
    std::string logo3Path;
    // Reads logo.ini and the two picture files; all three stay empty without logo.ini.
    void loadLogos();

    // The elapsed time of the last order load as shown in the photo list ("3秒").
    std::string loadTime;

    // The thumbnail list shared by the photo list and the galleries.
    ThumbnailList thumbnails;

    // Turns on the themed look of every window; the program sets it to its backend's, tests may watch it.
    std::function<void()> applyThemedLook;

    // Where the other subsystems plug in.
    WindowOpeners openers;
    std::vector<MainWindowBuilder> mainWindowBuilders;

    // The main window while it exists (set and cleared by the window itself).
    MainWindow* mainWindow() const { return mainWindow_; }

private:
    friend class MainWindow;
    std::string programFolder_;
    MainWindow* mainWindow_ = nullptr;
};

}  // namespace xp
