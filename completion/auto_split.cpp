// Auto-split: the checks, the order marked "OK", the copies made under temporary names and renamed into
// place, the two GBK reports, the progress panel and the closing question.
#include "completion/auto_split.h"

#include "appdata/selection_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_scope.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"
#include "platform/file_system.h"
#include "shell/main_window.h"
#include "shell/messages.h"

namespace xp {

namespace {

namespace of = order_fields;

// How many of the photos that were not copied the closing question names.
constexpr size_t kNamedFailures = 5;

class EnableOnExit {
public:
    explicit EnableOnExit(ui::Control& c) : c_(c) {}
    ~EnableOnExit() { c_.enable(); }
    EnableOnExit(const EnableOnExit&) = delete;
    EnableOnExit& operator=(const EnableOnExit&) = delete;

private:
    ui::Control& c_;
};

}  // namespace

std::string reportFooter() {
    return std::string("\r\n\r\n\r\n\r\n此报表由Zelvano影楼选片系统生成！官网：") + MainWindow::kWebsiteAddress;
}

bool usableFolderName(std::string_view product) {
    return !product.empty() && product != "." && product != ".." && product.find('/') == std::string_view::npos &&
           product.find('\0') == std::string_view::npos;
}

SplitOutcome splitPhotos(const std::string& sel, const std::vector<std::string>& products,
                         const std::vector<PhotoRow>& rows, const std::string& requirements,
                         const SplitProgress& progress) {
    SplitOutcome out;
    const std::string root = splitOutputFolder(sel);
    // The reports are written even when nothing could be copied: they still say what was chosen.
    createFolder(root);
    for (const ProductLine& line : productSummary(products, rows)) {
        if (progress.product) progress.product(line.product);
        const bool usable = usableFolderName(line.product);
        const std::string folder = joinPath(root, line.product);
        bool folderMade = false;
        for (int r : line.rows) {
            const PhotoRow& row = rows[static_cast<size_t>(r)];
            bool copied = false;
            if (usable && row.fileName.find('/') == std::string::npos && row.fileName.find('\0') == std::string::npos) {
                if (!folderMade) folderMade = createFolder(folder);
                copied = folderMade && copyFile(row.path, joinPath(folder, row.fileName + ".jpg"));
            }
            if (copied)
                ++out.copied;
            else
                out.notCopied.push_back(row.fileName + "（" + line.product + "）");
            if (progress.photo) progress.photo();
        }
        out.selectionReport +=
            line.product + "： " + std::to_string(line.count) + " 张__文件名：" + line.photos + "\r\n\r\n";
    }
    out.selectionReport += reportFooter();
    // Written like the copies: under a temporary name renamed into place, not flushed to disk one by
    // one (another run makes all of it again).
    WriteOptions generated;
    generated.flush = false;
    const bool selection = writeFile(selectionReportFile(sel), toGbk(out.selectionReport), generated);
    const bool required = writeFile(requirementsReportFile(sel), toGbk(requirements + reportFooter()), generated);
    out.reportsWritten = selection && required;
    return out;
}

std::string splitQuestion(const SplitOutcome& outcome) {
    if (outcome.notCopied.empty() && outcome.reportsWritten) return "分片完成！是否打开顾客选片文件夹";
    std::string text = "分片完成，但";
    if (!outcome.notCopied.empty()) {
        text += "有 " + std::to_string(outcome.notCopied.size()) + " 张照片没有复制成功：";
        for (size_t i = 0; i < outcome.notCopied.size() && i < kNamedFailures; ++i)
            text += (i ? "、" : "") + outcome.notCopied[i];
        if (outcome.notCopied.size() > kNamedFailures) text += " 等";
        text += "。";
    }
    if (!outcome.reportsWritten) text += "选片报表或制作要求没有写入成功。";
    return text + "\r\n请检查照片文件和磁盘空间。是否打开顾客选片文件夹";
}

void autoSplit(MainWindow& w) {
    AppState& app = w.app;
    w.按钮_设计看版.enable();
    w.按钮_样照欣赏.enable();
    w.closeGalleryWindow();
    if (!w.外形框_超级列表框1.isVisible()) {
        inform("请先打开客户选片数据后在自动分片");
        return;
    }
    const std::string sel = app.selectionFolder();
    if (!isSelectionSaved(sel)) {
        inform("您还没有保存选片数据！请先保存然后在选择自动分片！");
        return;
    }

    RecordStore& store = app.store;
    EnableOnExit enable(w.超级按钮_自动分片);
    std::string requirements;
    {
        TableScope orders(store, app.paths.orderTable);
        if (!orders) {
            inform("自动分片时选片数据库打开失败，请重试");
            return;
        }
        w.超级按钮_自动分片.disable();
        // The row must still be the open order's: its products are the folders, and it gets marked.
        if (!store.goToRecord(app.orderRecordNumber) ||
            (!app.orderNumber.empty() && readText(store, of::kOrderNumber) != app.orderNumber)) {
            inform("该订单已被删除或移动，请重新打开数据管理后再自动分片");
            return;
        }
        w.组合框2.clear();
        for (const std::string& product : orderProductList(readText(store, of::kPackageProducts)))
            w.组合框2.addItem(product);
        writeText(store, of::kState, kStateSplit);
        requirements = readText(store, of::kRequirements);
    }

    std::vector<PhotoRow> rows;
    if (store.selectTable(kPhotoTableName)) rows = readPhotoRows(store, true);
    w.进度条1.setRange(0, static_cast<int>(rows.size()));
    w.进度条1.setPosition(0);
    SplitProgress progress;
    progress.product = [&w](const std::string& product) {
        w.外形框_分片.show();
        w.透明标签_分片.setCaption("正在分片（" + product);
    };
    progress.photo = [&w] { w.进度条1.step(); };
    const SplitOutcome outcome = splitPhotos(sel, w.组合框2.items(), rows, requirements, progress);
    w.外形框_分片.hide();
    w.进度条1.setPosition(0);

    const std::string question = splitQuestion(outcome);
    if (ui::messageBox(question, kMessageTitle, ui::MessageIcon::Question, ui::MessageButtons::YesNo) ==
        ui::MessageResult::Yes)
        app.host.openFolder(sel);
}

}  // namespace xp
