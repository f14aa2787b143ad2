// Which painter draws which built-in picture, and how each one is stored.
#include "resources/generator/picture_catalogue.h"

#include <QString>
#include <string>

#include "resources/builtin_pictures.h"
#include "resources/generator/painters.h"

namespace xp::gen {

namespace {

void addFaces(std::vector<PictureEntry>& out, const pictures::ButtonFaces& faces, Icon icon, const char* caption) {
    const QString text = QString::fromUtf8(caption);
    out.push_back({faces.normal, Storage::OpaquePng, [=] { return paintNavFace(icon, text, FaceState::Normal); }});
    out.push_back(
        {faces.highlighted, Storage::OpaquePng, [=] { return paintNavFace(icon, text, FaceState::Highlighted); }});
    out.push_back({faces.disabled, Storage::OpaquePng, [=] { return paintNavFace(icon, text, FaceState::Disabled); }});
}

}  // namespace

std::vector<PictureEntry> pictureCatalogue() {
    namespace px = pictures;
    std::vector<PictureEntry> out;
    out.push_back({px::loginBanner, Storage::Jpeg, paintLoginBanner});

    out.push_back({px::mainBanner, Storage::OpaquePng, paintMainBanner});
    out.push_back({px::mainLogo, Storage::OpaquePng, paintMainLogo});
    out.push_back({px::mainClose, Storage::AlphaPng, [] { return paintBannerButton(Icon::Close); }});
    out.push_back({px::mainMinimize, Storage::AlphaPng, [] { return paintBannerButton(Icon::Minimize); }});
    out.push_back({px::mainColumn, Storage::OpaquePng, paintMainColumn});
    out.push_back({px::mainBackground, Storage::Jpeg, paintMainBackground});

    addFaces(out, px::navImport, Icon::Import, "导入选片数据");
    addFaces(out, px::navOrders, Icon::Database, "数据管理");
    addFaces(out, px::navCustomer, Icon::Customer, "顾客资料");
    addFaces(out, px::navAutoSplit, Icon::Split, "自动分片");
    addFaces(out, px::navSamples, Icon::Gallery, "样照欣赏");
    addFaces(out, px::navDesigns, Icon::Layout, "设计看版");
    addFaces(out, px::navSettings, Icon::Gear, "系统设置");
    addFaces(out, px::navLogo, Icon::Brush, "更换LOGO");

    out.push_back({px::linkWebsite, Storage::OpaquePng, [] { return paintLink(Icon::Globe, "官方网站", 74); }});
    out.push_back({px::linkContact, Storage::OpaquePng, [] { return paintLink(Icon::Mail, "联系我们", 68); }});
    out.push_back({px::linkHelp, Storage::OpaquePng, [] { return paintLink(Icon::Help, "在线帮助中心", 105); }});

    const int frames = static_cast<int>(px::loadingFrames.size());
    for (int i = 0; i < frames; ++i)
        out.push_back({px::loadingFrames[i], Storage::AlphaPng, [=] { return paintLoadingFrame(i, frames); }});

    out.push_back({px::viewerPlay, Storage::AlphaPng, [] { return paintPlayButton(false); }});
    out.push_back({px::viewerPause, Storage::AlphaPng, [] { return paintPlayButton(true); }});
    const struct {
        std::string_view name;
        Icon icon;
        int width;
    } tools[] = {
        {px::viewerPrevious, Icon::Previous, 41},
        {px::viewerNext, Icon::Next, 41},
        {px::viewerZoomIn, Icon::ZoomIn, 40},
        {px::viewerRestore, Icon::Restore, 41},
        {px::viewerZoomOut, Icon::ZoomOut, 40},
        {px::viewerRotateLeft, Icon::RotateLeft, 41},
        {px::viewerRotateRight, Icon::RotateRight, 41},
        {px::viewerDelete, Icon::Trash, 41},
        {px::viewerExit, Icon::Exit, 41},
    };
    for (const auto& t : tools) {
        const Icon icon = t.icon;
        const int width = t.width;
        out.push_back({t.name, Storage::AlphaPng, [=] { return paintToolIcon(icon, width); }});
    }

    out.push_back({px::galleryTitleSamples, Storage::Jpeg,
                   [] { return paintGalleryTitle(Icon::Gallery, "样照欣赏", "SAMPLE GALLERY"); }});
    out.push_back({px::galleryTitleDesigns, Storage::Jpeg,
                   [] { return paintGalleryTitle(Icon::Layout, "设计看版", "DESIGN BOARDS"); }});
    out.push_back({px::galleryExit.normal, Storage::OpaquePng, [] { return paintGalleryExitFace(FaceState::Normal); }});
    out.push_back(
        {px::galleryExit.highlighted, Storage::OpaquePng, [] { return paintGalleryExitFace(FaceState::Highlighted); }});
    out.push_back(
        {px::galleryExit.disabled, Storage::OpaquePng, [] { return paintGalleryExitFace(FaceState::Disabled); }});

    out.push_back({px::folderIcon, Storage::AlphaPng, paintFolderIcon});
    out.push_back({px::appIcon, Storage::AlphaPng, paintAppIcon});
    return out;
}

}  // namespace xp::gen
