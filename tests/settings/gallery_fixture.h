// The gallery tests: an installation with every window plugged in, albums of small pictures made in its
// gallery folders, the main window, and helpers to open a gallery, choose an album and open the viewer.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/plug_windows.h"
#include "settings/gallery_viewer.h"
#include "settings/gallery_window.h"
#include "tests/support/order_fixture.h"

namespace xp::test {

class GalleryTest : public OrderFixture {
protected:
    GalleryTest() : OrderFixture(plugWindows) {}

    MainWindow& w() {
        if (!main_) main_ = &openMain();
        return *main_;
    }

    // An album folder in a gallery root with a small picture of its own colour per file name.
    std::string album(const std::string& root, const std::string& name, const std::vector<std::string>& files) {
        const std::string folder = root + "/" + name;
        std::filesystem::create_directories(folder);
        for (size_t i = 0; i < files.size(); ++i) addPhoto(folder, files[i], colourOf(static_cast<int>(i)));
        return folder;
    }
    std::string samples(const std::string& name, const std::vector<std::string>& files) {
        return album(app->paths.sampleFolder, name, files);
    }

    // The gallery window a left button opened.
    GalleryWindow& open(ui::PictureButton& button) {
        EXPECT_TRUE(button.click());
        return s.window<GalleryWindow>();
    }
    GalleryWindow& openSamples() { return open(w().按钮_样照欣赏); }

    // Chooses an album by its shown name, which fills it.
    static void choose(GalleryWindow& g, const std::string& shown) {
        const int i = g.组合框1.indexOf(shown);
        ASSERT_GE(i, 0) << shown;
        ASSERT_TRUE(g.组合框1.pickItem(i));
    }

    static std::vector<std::string> captions(const GalleryWindow& g) {
        std::vector<std::string> out;
        for (int i = 0; i < g.超级列表框1.itemCount(); ++i) out.push_back(g.超级列表框1.caption(i));
        return out;
    }

    // Opens the viewer with a double click on a picture; `script` runs while it is open.
    void inViewer(GalleryWindow& g, int picture, std::function<void(GalleryViewer&)> script) {
        s.whenModal<GalleryViewer>(std::move(script));
        ASSERT_TRUE(g.超级列表框1.doubleClick(picture));
    }

    void expectInfo(const std::string& text) {
        s.expectMessage(text).title("提示信息").icon(ui::MessageIcon::Information);
    }

    MainWindow* main_ = nullptr;
};

}  // namespace xp::test
