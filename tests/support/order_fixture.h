// A studio installation per test for the order windows and the order loader: the data folder made by
// the installation code in a temp folder, the headless host, the application state with the order
// windows plugged in, folders of small photos encoded on the fly, and readers for the rows written.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "appdata/installation.h"
#include "appdata/selection_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "tests/support/photo_fixtures.h"
#include "tests/support/temp_dir.h"
#include "ui/headless/scenario.h"

namespace xp::test {

// A photo row as stored.
struct StoredPhoto {
    std::string fileName, products, retouch, path;
    int recordNo = 0;
    std::string length;
    bool operator==(const StoredPhoto&) const = default;
};

class OrderFixture : public ::testing::Test {
protected:
    // `plugIn` adds the windows under test to every main window (the loader's tests need only the
    // photo-list panel, the order windows' tests everything).
    explicit OrderFixture(void (*plugIn)(AppState&)) {
        InstallResult made = createInstallation(temp / "studio");
        if (!made.ok) ADD_FAILURE() << "installation: " << made.message;
        app = std::make_unique<AppState>(s.host(), made.folder);
        if (plugIn) plugIn(*app);
    }

    MainWindow& openMain() { return s.show<MainWindow>(*app); }

    // A folder of photos under the temp folder: each file a small picture of its own colour.
    std::string photoFolder(const std::string& name, const std::vector<std::string>& files) {
        const std::string folder = temp / name;
        std::filesystem::create_directories(folder);
        for (size_t i = 0; i < files.size(); ++i) addPhoto(folder, files[i], colourOf(static_cast<int>(i)));
        return folder;
    }
    static testing::Rgb colourOf(int i) {
        static const testing::Rgb colours[] = {testing::kRed,    testing::kGreen, testing::kBlue,
                                               testing::kYellow, {200, 30, 200},  {30, 200, 200}};
        return colours[i % 6];
    }
    static void addPhoto(const std::string& folder, const std::string& file, testing::Rgb colour) {
        testing::writeFile(folder + "/" + file, testing::jpeg(testing::solid(48, 32, colour)));
    }

    // The rows of a folder's photo table, opened apart from the program's store.
    static std::vector<StoredPhoto> storedPhotos(const std::string& folder) {
        RecordStore store;
        std::vector<StoredPhoto> rows;
        if (!store.openTable(photoTablePath(folder), kTablePassword)) {
            ADD_FAILURE() << "photo table of " << folder << " does not open";
            return rows;
        }
        namespace pf = photo_fields;
        store.firstRecord();
        for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords(1))
            rows.push_back({readText(store, pf::kFileName), readText(store, pf::kProducts),
                            readText(store, pf::kRetouch), readText(store, pf::kFilePath),
                            readInt(store, pf::kRecordNumber), readText(store, pf::kFileLength)});
        return rows;
    }
    // Writes the products and retouch request of the row with this "记录号".
    static void choose(const std::string& folder, int recordNo, const std::string& products,
                       const std::string& retouch = {}) {
        RecordStore store;
        ASSERT_TRUE(store.openTable(photoTablePath(folder), kTablePassword));
        store.firstRecord();
        for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords(1)) {
            if (readInt(store, photo_fields::kRecordNumber) != recordNo) continue;
            ASSERT_TRUE(writeText(store, photo_fields::kProducts, products));
            ASSERT_TRUE(writeText(store, photo_fields::kRetouch, retouch));
            return;
        }
        ADD_FAILURE() << "no photo row " << recordNo;
    }

    // The reference tables' rows, replaced whole.
    void setRows(const std::string& table, const std::vector<std::vector<std::string>>& rows) {
        RecordStore store;
        ASSERT_TRUE(openAppTable(store, table));
        store.firstRecord();
        for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords(1)) ASSERT_TRUE(store.deleteRecord());
        ASSERT_TRUE(store.purgeDeleted());
        for (const auto& row : rows) ASSERT_TRUE(appendTextRow(store, row));
    }

    // Appends an order row with these fields (by name); the others stay empty.
    void addOrder(const std::map<std::string, std::string>& fields) {
        RecordStore store;
        ASSERT_TRUE(openAppTable(store, app->paths.orderTable));
        ASSERT_TRUE(store.appendRecord({}));
        for (const auto& [field, text] : fields) ASSERT_TRUE(writeText(store, field, text)) << field;
    }
    // A field of every order row, in table order.
    std::vector<std::string> orderColumn(const std::string& field) {
        RecordStore store;
        std::vector<std::string> out;
        if (!openAppTable(store, app->paths.orderTable)) return out;
        store.firstRecord();
        for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords(1))
            out.push_back(readText(store, field));
        return out;
    }

    // The tile's colour at its centre.
    static testing::Rgb tileCentre(const ui::ImageList& list, int index) {
        return testing::pixel(list.at(index), 60, 60);
    }

    TempDir temp;
    // Made once the host exists, gone only after the windows the host still holds.
    std::unique_ptr<AppState> app;
    ui::headless::Scenario s;
};

}  // namespace xp::test
