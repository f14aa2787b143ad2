// The settings subsystem's tests: an installation with selectors, categories and products, every
// subsystem's windows plugged in, the registry kept in the test's own folder, and readers of what the
// windows stored.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/plug_windows.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "tests/support/order_fixture.h"

namespace xp::test {

class SettingsTest : public OrderFixture {
protected:
    SettingsTest() : OrderFixture(plugWindows) {
        if (const char* v = std::getenv("XDG_CONFIG_HOME")) savedConfig_ = v;
        ::setenv("XDG_CONFIG_HOME", (temp / "config").c_str(), 1);
        setRows(app->paths.userTable, {{"admin", "tovex"}, {"小王", "1"}, {"Admin", "2"}, {"小李", "3"}});
        setRows(app->paths.categoryTable, {{"相册类"}, {"摆台类"}});
        setRows(app->paths.productTable, {{"12寸相册", "相册类"}, {"7寸摆台", "摆台类"}, {"10寸杂志册", "相册类"}});
    }
    ~SettingsTest() override {
        while (s.host().hasOpenWindows()) s.host().openWindows().back()->close();
        if (savedConfig_)
            ::setenv("XDG_CONFIG_HOME", savedConfig_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    MainWindow& w() {
        if (!main_) main_ = &openMain();
        return *main_;
    }

    // Every row of a table beside the program, each as its fields' texts in `fields` order.
    std::vector<std::vector<std::string>> rows(const std::string& table, const std::vector<std::string>& fields) {
        RecordStore store;
        std::vector<std::vector<std::string>> out;
        if (!openAppTable(store, table)) {
            ADD_FAILURE() << table << " does not open";
            return out;
        }
        store.firstRecord();
        for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords(1)) {
            std::vector<std::string> row;
            for (const std::string& f : fields) row.push_back(readText(store, f));
            out.push_back(std::move(row));
        }
        return out;
    }
    std::vector<std::vector<std::string>> users() {
        return rows(app->paths.userTable, {user_fields::kUserName, user_fields::kPassword});
    }
    std::vector<std::vector<std::string>> categories() {
        return rows(app->paths.categoryTable, {category_fields::kName});
    }
    std::vector<std::vector<std::string>> products() {
        return rows(app->paths.productTable, {product_fields::kName, product_fields::kCategory});
    }

    // A stored file's bytes; nullopt when it does not exist.
    static std::optional<std::string> bytesOf(const std::string& path) {
        if (!std::filesystem::exists(path)) return std::nullopt;
        return TempDir::slurp(path);
    }

    void expectInfo(const std::string& text) {
        s.expectMessage(text).title("提示信息").icon(ui::MessageIcon::Information);
    }

    // The text of the last message box, "" when none came.
    std::string lastMessage() const {
        const std::vector<std::string> shown = s.messages();
        return shown.empty() ? std::string() : shown.back();
    }

    MainWindow* main_ = nullptr;

private:
    std::optional<std::string> savedConfig_;
};

}  // namespace xp::test
