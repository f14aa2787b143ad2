// A fresh installation per test: the data folder made by the installation code in a temp folder, a
// private registry file, the headless host, and the application state pointing at them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "appdata/installation.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "shell/app_state.h"
#include "tests/support/temp_dir.h"
#include "ui/headless/scenario.h"

namespace xp::test {

class ShellTest : public ::testing::Test {
protected:
    ShellTest() {
        if (const char* v = std::getenv("XDG_CONFIG_HOME")) savedConfig_ = v;
        ::setenv("XDG_CONFIG_HOME", (temp / "config").c_str(), 1);
        InstallResult made = createInstallation(temp / "studio");
        if (!made.ok) ADD_FAILURE() << "installation: " << made.message;
        app = std::make_unique<AppState>(s.host(), made.folder);
    }
    ~ShellTest() override {
        // Windows still open go the way the user would close them, so that what they started (the
        // imaging library) is stopped again before the next test.
        while (s.host().hasOpenWindows()) s.host().openWindows().back()->close();
        if (savedConfig_)
            ::setenv("XDG_CONFIG_HOME", savedConfig_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    std::string folder() const { return app->programFolder(); }

    // Replaces the rows of the user table with these (name, password) pairs, in this order.
    void setUsers(const std::vector<std::pair<std::string, std::string>>& users) {
        RecordStore store;
        ASSERT_TRUE(openAppTable(store, app->paths.userTable));
        store.firstRecord();
        while (store.recordCount() > 0) {
            ASSERT_TRUE(store.deleteRecord());
            ASSERT_TRUE(store.purgeDeleted());
            store.firstRecord();
        }
        for (const auto& [name, password] : users) ASSERT_TRUE(appendTextRow(store, {name, password}));
        store.closeAllTables();
    }

    TempDir temp;
    // Declared before the host, so that the windows the host still holds go first.
    std::unique_ptr<AppState> app;
    ui::headless::Scenario s;

private:
    std::optional<std::string> savedConfig_;
};

}  // namespace xp::test
