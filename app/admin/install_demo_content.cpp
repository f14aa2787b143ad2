// The demo installation's content. Photos are generated on two threads; everything else is a few rows.
#include "app/admin/install_demo_content.h"

#include <ctime>
#include <future>
#include <thread>
#include <vector>

#include "app/admin/install_demo_photos.h"
#include "appdata/selection_files.h"
#include "appdata/settings_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_helpers.h"
#include "platform/file_system.h"
#include "store/record_store.h"

namespace xp::admin {
namespace {

// Folder beside the program that holds the demo orders' selection folders.
constexpr char kOrdersFolder[] = "客户照片";

struct Product {
    const char* name;
    const char* category;
};

const char* const kCategories[] = {"相册类", "摆台类", "放大类", "其它类"};
const Product kProducts[] = {
    {"12寸精装相册", "相册类"}, {"10寸杂志册", "相册类"}, {"7寸水晶摆台", "摆台类"},  {"6寸木质摆台", "摆台类"},
    {"24寸放大", "放大类"},     {"36寸油画框", "放大类"}, {"电子相册光盘", "其它类"}, {"钱包照", "其它类"},
};

struct Selector {
    const char* name;
    const char* password;
};
const Selector kSelectors[] = {{"小王", "1234"}, {"小李", "5678"}};

// A photo of a demo order: its file name and, for the order that was already worked on, its choices.
struct DemoPhoto {
    std::string fileName;
    std::string products;  // product list text; empty = not selected
    std::string retouch;
};

struct DemoOrder {
    std::string number;
    const char* customer;
    const char* phone;
    const char* selector;
    const char* urgent;
    const char* includedCount;
    std::vector<std::string> package;
    std::vector<DemoPhoto> photos;
    bool worked = false;  // photo table made and the order form saved, ready for auto-split
    const char* extraAmount = "";
    const char* manualRequirements = "";
};

std::string dateInDays(int days) {
    std::time_t t = std::time(nullptr) + static_cast<std::time_t>(days) * 86400;
    std::tm tm{};
    ::localtime_r(&t, &tm);
    return dateText(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::string orderNumber(int seq) {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%03d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, seq);
    return text;
}

std::vector<DemoOrder> demoOrders() {
    std::vector<DemoOrder> orders;

    DemoOrder first{orderNumber(1),
                    "张伟",
                    "13800138000",
                    "小王",
                    kUrgentNo,
                    "10",
                    {"12寸精装相册", "7寸水晶摆台", "24寸放大"},
                    {}};
    first.photos.push_back({"a.b.jpg", "", ""});
    for (int i = 1; i <= 11; ++i)
        first.photos.push_back({"IMG_" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".JPG", "", ""});
    orders.push_back(first);

    DemoOrder second{
        orderNumber(2), "王芳", "13912345678", "小李", kUrgentYes, "12", {"10寸杂志册", "6寸木质摆台"}, {}};
    for (int i = 1; i <= 16; ++i) {
        DemoPhoto p{"DSC_" + std::to_string(1000 + i) + ".jpg", "", ""};
        if (i <= 13) p.products = "入册。";
        if (i == 2 || i == 5) p.products += "10寸杂志册。";
        if (i == 7) p.products += "6寸木质摆台。";
        if (i == 3) p.retouch = "皮肤美白";
        if (i == 7) p.retouch = "背景换成蓝天";
        if (i == 12) p.retouch = "去掉路人";
        second.photos.push_back(p);
    }
    second.worked = true;
    second.extraAmount = "50";
    second.manualRequirements = "相册封面用第2张，";
    orders.push_back(second);

    DemoOrder third{
        orderNumber(3), "刘洋", "13700001111", "小王", kUrgentNo, "8", {"24寸放大", "36寸油画框", "电子相册光盘"}, {}};
    third.photos.push_back({"IMG_01.JPG", "", ""});
    for (int i = 1; i <= 8; ++i) third.photos.push_back({"婚纱_" + std::to_string(i) + ".jpg", "", ""});
    orders.push_back(third);
    return orders;
}

struct PhotoJob {
    std::string path;
    DemoPhotoPlan plan;
};

// Renders and writes the photos on two threads; the first failure is reported.
std::string writePhotos(const std::vector<PhotoJob>& jobs) {
    auto work = [&jobs](size_t start) -> std::string {
        for (size_t i = start; i < jobs.size(); i += 2) {
            std::string jpeg = makeDemoPhoto(jobs[i].plan);
            if (jpeg.empty()) return "cannot encode a demo photo";
            // Generated content: no flush per photo; the installation only appears once it is complete.
            if (!writeFile(jobs[i].path, jpeg, WriteOptions{std::nullopt, false}))
                return "cannot write " + jobs[i].path;
        }
        return {};
    };
    auto other = std::async(std::launch::async, work, 1);
    std::string error = work(0);
    std::string otherError = other.get();
    return error.empty() ? otherError : error;
}

std::string storeFailure(const std::string& what) {
    return "cannot " + what + ": " + errorMessage(lastError()) + " (" + std::to_string(lastError()) + ")";
}

std::string fillReferenceTables(const AppPaths& staged) {
    RecordStore store;
    if (!openAppTable(store, staged.userTable)) return storeFailure("open the user table");
    for (const Selector& s : kSelectors)
        if (!appendTextRow(store, {s.name, s.password})) return storeFailure("add a selector");
    store.closeAllTables();

    if (!openAppTable(store, staged.categoryTable)) return storeFailure("open the category table");
    for (const char* c : kCategories)
        if (!appendTextRow(store, {c})) return storeFailure("add a category");
    store.closeAllTables();

    if (!openAppTable(store, staged.productTable)) return storeFailure("open the product table");
    for (const Product& p : kProducts)
        if (!appendTextRow(store, {p.name, p.category})) return storeFailure("add a product");
    store.closeAllTables();
    return {};
}

// The photo table of an order that was already worked on, exactly as the order loader makes it, with
// the selector's choices in it.
std::string writePhotoTable(const std::string& stagedSel, const std::string& finalSel, const DemoOrder& order) {
    RecordStore store;
    std::string table = photoTablePath(stagedSel);
    if (!createFolder(selectionDataFolder(stagedSel))) return "cannot create " + selectionDataFolder(finalSel);
    if (!store.createTable(photoTableFile(stagedSel), photoTableCreationRequest()))
        return storeFailure("create a photo table");
    if (!store.openTable(table) || !store.setTablePassword(kTablePassword))
        return storeFailure("protect a photo table");
    int n = 0;
    for (const std::string& name : listFiles(stagedSel, "*.jpg")) {
        ++n;
        const DemoPhoto* photo = nullptr;
        for (const DemoPhoto& p : order.photos)
            if (p.fileName == name) photo = &p;
        std::vector<FieldValue> row{textValue(photoBaseName(name)),
                                    textValue(photo ? photo->products : ""),
                                    textValue(photo ? photo->retouch : ""),
                                    textValue(joinPath(finalSel, name)),
                                    FieldValue::integer(n),
                                    textValue(numberText(fileSize(joinPath(stagedSel, name))))};
        if (!store.appendRecord(row)) return storeFailure("add a photo row");
    }
    store.closeAllTables();
    if (!writeShotCount(stagedSel, n) || !writeSaveMarker(stagedSel)) return "cannot write the files of " + finalSel;
    return {};
}

std::string fillOrders(const AppPaths& staged, const AppPaths& final) {
    std::vector<DemoOrder> orders = demoOrders();
    std::vector<PhotoJob> jobs;
    std::uint32_t seed = 1;
    for (const DemoOrder& order : orders) {
        std::string sel = joinPath(joinPath(staged.programFolder, kOrdersFolder), order.number + " " + order.customer);
        if (!createFolders(sel)) return "cannot create " + sel;
        int number = 0;
        for (const DemoPhoto& p : order.photos) {
            ++number;
            bool portrait = seed % 3 == 0;
            bool large = seed % 4 == 1;
            DemoPhotoPlan plan{portrait ? (large ? 2000 : 1600) : (large ? 3000 : 2400),
                               portrait ? (large ? 3000 : 2400) : (large ? 2000 : 1600), seed, number, seed % 3 != 1};
            jobs.push_back({joinPath(sel, p.fileName), plan});
            ++seed;
        }
    }
    const char* albums[][2] = {{"样照欣赏", "婚纱样片"}, {"样照欣赏", "儿童写真"}, {"设计看版", "相册版式"}};
    for (const auto& album : albums) {
        std::string folder = joinPath(joinPath(staged.programFolder, album[0]), album[1]);
        if (!createFolders(folder)) return "cannot create " + folder;
        for (int i = 1; i <= 4; ++i) {
            DemoPhotoPlan plan{i % 2 ? 1800 : 1200, i % 2 ? 1200 : 1800, seed++, i, i == 1};
            jobs.push_back({joinPath(folder, std::string(album[1]) + "_" + std::to_string(i) + ".jpg"), plan});
        }
    }
    if (std::string error = writePhotos(jobs); !error.empty()) return error;

    RecordStore store;
    if (!openAppTable(store, staged.orderTable)) return storeFailure("open the order table");
    using namespace order_fields;
    for (const DemoOrder& order : orders) {
        std::string folderName = order.number + " " + order.customer;
        std::string stagedSel = joinPath(joinPath(staged.programFolder, kOrdersFolder), folderName);
        std::string finalSel = joinPath(joinPath(final.programFolder, kOrdersFolder), folderName);

        std::string extraCount, requirements;
        if (order.worked) {
            if (std::string error = writePhotoTable(stagedSel, finalSel, order); !error.empty()) return error;
            int selected = 0;
            std::string retouchList;
            for (const DemoPhoto& p : order.photos) {
                if (!p.products.empty()) ++selected;
                if (!p.retouch.empty()) retouchList += photoBaseName(p.fileName) + "（" + p.retouch + "）\r\n";
            }
            extraCount = numberText(selected - textToInt(order.includedCount));
            requirements = retouchList + std::string(44, '-') + "\r\n" + order.manualRequirements;
        }
        // Field by field, so that the order of the table's fields does not matter.
        if (!store.appendRecord({})) return storeFailure("add an order");
        const std::pair<const char*, std::string> values[] = {
            {kOrderNumber, order.number},
            {kCustomerName, order.customer},
            {kPhone, order.phone},
            {kSelectionDate, dateInDays(0)},
            {kViewingDate, dateInDays(7)},
            {kPickupDate, dateInDays(21)},
            {kSelector, order.selector},
            {kState, kStateNotSelected},
            {kUrgent, order.urgent},
            {kSelectionFolder, finalSel},
            {kIncludedCount, order.includedCount},
            {kPackageProducts, joinProductList(order.package)},
            {kExtraCount, extraCount},
            {kExtraAmount, order.worked ? order.extraAmount : ""},
            {kRequirements, requirements},
        };
        for (const auto& [field, value] : values)
            if (!writeText(store, field, value)) return storeFailure(std::string("write ") + field);
    }
    store.closeAllTables();
    return {};
}

std::string fillSettings(const AppPaths& staged, const AppPaths& final) {
    StoreDetails details{"光影婚纱摄影", "0755-88886666", "深圳市南山区科技园路1号", "www.example.com",
                         "顾客选片确认单"};
    bool ok = writeStoreDetails(staged, details) &&
              writeWarmTips(staged,
                            "温馨提示：\r\n1. 请在看样日期当天来店看样，逾期不再保留底片。\r\n"
                            "2. 取件时请携带本单据。") &&
              writeRequirementPresets(staged, {"皮肤美白", "瘦脸", "去眼袋", "背景换成蓝天", "整体调亮", "黑白效果"}) &&
              writeSampleFolderSetting(staged, final.sampleFolder);
    return ok ? std::string() : "cannot write the settings files";
}

}  // namespace

std::string fillDemoContent(const AppPaths& staged, const AppPaths& final) {
    if (std::string error = fillReferenceTables(staged); !error.empty()) return error;
    if (std::string error = fillSettings(staged, final); !error.empty()) return error;
    return fillOrders(staged, final);
}

}  // namespace xp::admin
