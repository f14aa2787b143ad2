// Auto-split: every selected photo of the open order copied into one folder per product under the
// selection folder's "以选", the selection report and the requirements report beside them, and the order
// marked as selected. Started by the main window's 超级按钮_自动分片.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "completion/order_summary.h"

namespace xp {

class MainWindow;

// The last lines of both reports, with the studio software's web address.
std::string reportFooter();

// True when `product` can name a folder inside "以选": not empty, not "." or "..", no "/" and no NUL.
bool usableFolderName(std::string_view product);

struct SplitOutcome {
    int copied = 0;
    // "文件名（产品）" of every copy that was not made, in the order they were tried.
    std::vector<std::string> notCopied;
    bool reportsWritten = false;
    std::string selectionReport;  // as written (UTF-8)
};

// What the copying reports while it runs: the product it starts, and each photo it has handled.
struct SplitProgress {
    std::function<void(const std::string& product)> product;
    std::function<void()> photo;
};

// The copies and the two reports, without windows. `rows` must carry their paths. Every photo piece of a
// product is counted and listed in the selection report, whether its copy worked or not.
SplitOutcome splitPhotos(const std::string& selectionFolder, const std::vector<std::string>& products,
                         const std::vector<PhotoRow>& rows, const std::string& requirements,
                         const SplitProgress& progress = {});

// The closing question's text for an outcome.
std::string splitQuestion(const SplitOutcome& outcome);

// The click on 超级按钮_自动分片.
void autoSplit(MainWindow& main);

}  // namespace xp
