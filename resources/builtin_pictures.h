// The pictures built into the program (banners, backgrounds, button faces, icons, the loading
// animation) as encoded PNG or JPEG bytes, and the studio palette they were drawn against.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace xp {

// Encoded bytes (PNG or JPEG) of the built-in picture with this name; empty for an unknown name.
// The bytes live for the whole run and never change, so a caller may compare them byte for byte.
std::string_view builtinPicture(std::string_view name);

// The name of every built-in picture, in a stable order.
std::span<const std::string_view> builtinPictureNames();

namespace pictures {

// The three faces of a picture button. A disabled left-column button marks the function that is
// open at the moment, so its face reads as "current" rather than as greyed out; the gallery's exit
// button is disabled only while an album loads, so its disabled face recedes instead.
struct ButtonFaces {
    std::string_view normal;
    std::string_view highlighted;
    std::string_view disabled;
};

// Login window.
inline constexpr std::string_view loginBanner = "login_banner";  // 480 x 272 JPEG, 图片框1

// Main window: banner bar, logo, banner buttons, left column and content background. The banner
// and the column are larger than any common screen and uniform along their long side: show them at
// natural size from the top-left corner, clipped to the label (stretching them looks the same).
inline constexpr std::string_view mainBanner = "main_banner";      // 2560 x 50 PNG, 标签1
inline constexpr std::string_view mainLogo = "main_logo";          // 336 x 50 PNG, 图片框1, seamless on mainBanner
inline constexpr std::string_view mainClose = "main_close";        // 25 x 25 RGBA PNG, 关闭按钮
inline constexpr std::string_view mainMinimize = "main_minimize";  // 25 x 25 RGBA PNG, 最小化按钮1
inline constexpr std::string_view mainColumn = "main_column";      // 184 x 1440 PNG, 标签2
inline constexpr std::string_view mainBackground = "main_background";  // 960 x 600 JPEG, drawn on 图片框2

// Left-column picture buttons, 164 x 50 opaque PNG each, seamless on mainColumn.
inline constexpr ButtonFaces navImport{"nav_import_normal", "nav_import_highlighted", "nav_import_disabled"};
inline constexpr ButtonFaces navOrders{"nav_orders_normal", "nav_orders_highlighted", "nav_orders_disabled"};
inline constexpr ButtonFaces navCustomer{"nav_customer_normal", "nav_customer_highlighted", "nav_customer_disabled"};
inline constexpr ButtonFaces navAutoSplit{"nav_autosplit_normal", "nav_autosplit_highlighted",
                                          "nav_autosplit_disabled"};
inline constexpr ButtonFaces navSamples{"nav_samples_normal", "nav_samples_highlighted", "nav_samples_disabled"};
inline constexpr ButtonFaces navDesigns{"nav_designs_normal", "nav_designs_highlighted", "nav_designs_disabled"};
inline constexpr ButtonFaces navSettings{"nav_settings_normal", "nav_settings_highlighted", "nav_settings_disabled"};
inline constexpr ButtonFaces navLogo{"nav_logo_normal", "nav_logo_highlighted", "nav_logo_disabled"};

// Contact links at the foot of the left column, opaque PNG, seamless on mainColumn.
inline constexpr std::string_view linkWebsite = "link_website";  // 74 x 23, 图片框4, "官方网站"
inline constexpr std::string_view linkContact = "link_contact";  // 68 x 23, 图片框5, "联系我们"
inline constexpr std::string_view linkHelp = "link_help";        // 105 x 23, 图片框6, "在线帮助中心"

// Busy animation, 120 x 90 RGBA PNG frames shown in turn: the main window's loading panel and the
// viewer's busy panel (图片框3 in both). One full turn of the ring takes loadingFrames.size() frames.
inline constexpr std::array<std::string_view, 12> loadingFrames{"loading_0", "loading_1", "loading_2",  "loading_3",
                                                                "loading_4", "loading_5", "loading_6",  "loading_7",
                                                                "loading_8", "loading_9", "loading_10", "loading_11"};
inline constexpr int loadingFrameIntervalMs = 80;

// Selection viewer and gallery viewer tool bar, RGBA PNG. The slideshow state is read by comparing the
// play button's bytes with viewerPlay, so the two pictures always differ.
inline constexpr std::string_view viewerPlay = "viewer_play";                 // 50 x 50, 播放按钮 idle
inline constexpr std::string_view viewerPause = "viewer_pause";               // 50 x 50, 播放按钮 running
inline constexpr std::string_view viewerPrevious = "viewer_previous";         // 41 x 40, 上一张按钮
inline constexpr std::string_view viewerNext = "viewer_next";                 // 41 x 40, 下一张按钮
inline constexpr std::string_view viewerZoomIn = "viewer_zoom_in";            // 40 x 40, 放大按钮
inline constexpr std::string_view viewerRestore = "viewer_restore";           // 41 x 40, 恢复按钮
inline constexpr std::string_view viewerZoomOut = "viewer_zoom_out";          // 40 x 40, 缩小按钮
inline constexpr std::string_view viewerRotateLeft = "viewer_rotate_left";    // 41 x 40, 左转按钮
inline constexpr std::string_view viewerRotateRight = "viewer_rotate_right";  // 41 x 40, 右转按钮
inline constexpr std::string_view viewerDelete = "viewer_delete";             // 41 x 40, 删除按钮
inline constexpr std::string_view viewerExit = "viewer_exit";                 // 41 x 40, 退出按钮

// Gallery window header: one title picture per gallery mode (300 x 48 JPEG, 图片框1) and the
// face of both exit picture buttons (80 x 32 opaque PNG, 退出_样照欣赏 and 退出_设计看版).
inline constexpr std::string_view galleryTitleSamples = "gallery_title_samples";
inline constexpr std::string_view galleryTitleDesigns = "gallery_title_designs";
inline constexpr ButtonFaces galleryExit{"gallery_exit_normal", "gallery_exit_highlighted", "gallery_exit_disabled"};

// The folder icon beside a path box (new order dialog, settings, logo window), 22 x 22 RGBA PNG.
inline constexpr std::string_view folderIcon = "folder_icon";

// The program's icon for the desktop's task bar, 128 x 128 RGBA PNG.
inline constexpr std::string_view appIcon = "app_icon";

// The colours the pictures were drawn against. Controls that frame them (the panels behind the
// transparent icons, the draw panel around the main background, the gallery header) use these so
// that no seam shows.
struct Rgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
};
namespace palette {
inline constexpr Rgb backdrop{24, 26, 30};      // deepest charcoal: main content area, viewer bars
inline constexpr Rgb column{33, 36, 41};        // left column, login footer, gallery header
inline constexpr Rgb panel{44, 48, 55};         // floating panels (loading, progress), dialogs
inline constexpr Rgb titleLine{28, 30, 35};     // the title line under the banner
inline constexpr Rgb line{58, 63, 72};          // hairlines and frame borders
inline constexpr Rgb text{232, 228, 221};       // captions on the dark colours
inline constexpr Rgb textMuted{150, 156, 165};  // secondary captions
inline constexpr Rgb accent{217, 163, 95};      // the one warm accent
}  // namespace palette

}  // namespace pictures
}  // namespace xp
