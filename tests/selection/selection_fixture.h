// The selection windows' tests: an installation with every window plugged in, one order whose package
// holds the products P and Q and includes 8 photos, its folder of photos loaded into the photo list, and
// helpers to read the list, open the viewer and expect the program's boxes.
#pragma once

#include <string>
#include <vector>

#include "app/plug_windows.h"
#include "selection/photo_list_panel.h"
#include "selection/selection_viewer.h"
#include "tests/support/order_fixture.h"

namespace xp::test {

class SelectionTest : public OrderFixture {
protected:
    SelectionTest() : OrderFixture(plugWindows) {}

    MainWindow& w() {
        if (!main_) main_ = &openMain();
        return *main_;
    }
    PhotoListPanel& panel() { return *PhotoListPanel::of(w()); }
    ui::ListView& list() { return w().超级列表框1; }
    ui::CheckListBox& checks() { return w().选择列表框1; }

    // The order (row 1 of the order table) for a folder of photos, opened into the photo list.
    std::string openOrder(const std::vector<std::string>& files, const std::string& package = "P。Q。",
                          const std::string& included = "8") {
        folder = photoFolder("order", files);
        addOrder({{order_fields::kOrderNumber, "A1"},
                  {order_fields::kCustomerName, "张伟"},
                  {order_fields::kSelectionFolder, folder},
                  {order_fields::kPackageProducts, package},
                  {order_fields::kIncludedCount, included}});
        app->orderRecordNumber = 1;
        EXPECT_TRUE(w().openOrderPhotos(folder));
        return folder;
    }
    // Reopens the order, as the selector would after closing it.
    void reopen() { ASSERT_TRUE(w().openOrderPhotos(folder)); }

    std::vector<std::string> captions() {
        std::vector<std::string> out;
        for (int i = 0; i < list().itemCount(); ++i) out.push_back(list().caption(i));
        return out;
    }
    std::vector<std::string> checkItems() { return checks().items(); }
    std::vector<bool> ticks() {
        std::vector<bool> out;
        for (int i = 0; i < checks().itemCount(); ++i) out.push_back(checks().isChecked(i));
        return out;
    }
    const StoredPhoto row(size_t i) { return storedPhotos(folder).at(i); }

    // Right click on an entry with the mouse at a screen position.
    void rightClick(int entry, int x = 500, int y = 400) {
        s.mouseAt(x, y);
        list().rightClick(entry);
    }
    // Picks a check list item by its text.
    void pick(const std::string& item) {
        const int i = checks().indexOf(item);
        ASSERT_GE(i, 0) << item;
        ASSERT_TRUE(checks().pickItem(i)) << item;
    }
    // Opens the viewer on an entry; `script` runs while it is open (it closes afterwards).
    void inViewer(int entry, std::function<void(SelectionViewer&)> script) {
        s.whenModal<SelectionViewer>(std::move(script));
        list().doubleClick(entry);
    }

    void expectInfo(const std::string& text) {
        s.expectMessage(text).title("提示信息").icon(ui::MessageIcon::Information);
    }
    void expectDeleteQuestion(int answer, const std::string& text = "照片删除后不可恢复，确认要删除吗？") {
        s.expectMessage(text)
            .title("信息：")
            .icon(ui::MessageIcon::Warning)
            .buttons(ui::MessageButtons::YesNo)
            .answer(answer);
    }

    std::string folder;
    MainWindow* main_ = nullptr;
};

}  // namespace xp::test
