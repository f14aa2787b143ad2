// What the order form and auto-split compute from the open order's photo table: the rows read in one
// scan, the order's product list, the product summary, the selected count and the retouch list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/record_store.h"

namespace xp {

// The line that parts the retouch list from the manual requirements: 44 hyphens and CR LF.
inline constexpr char kRequirementsSeparator[] = "--------------------------------------------\r\n";

// One row of the photo table as the completion steps use it (UTF-8 texts).
struct PhotoRow {
    std::string fileName;  // 文件名
    std::string products;  // 产品名称: each name followed by "。"; empty when the photo is not selected
    std::string retouch;   // 修改要求
    std::string path;      // 文件路径 (read only when asked for)
};

// Every row of the current table (the photo table), from the first, in one scan under one lock.
std::vector<PhotoRow> readPhotoRows(RecordStore& store, bool withPath = false);

// The order's product list: "入册", then the pieces of "套系产品" split at "。".
std::vector<std::string> orderProductList(std::string_view packageProducts);

// A product's line of the summary: how many photos it holds and their "文件名" each followed by "，".
struct ProductLine {
    std::string product;
    int count = 0;
    std::string photos;
    std::vector<int> rows;  // indices into the rows given, once per piece naming the product
};

// One line per product of `products`, in list order, also for products without photos. A photo counts
// once for every piece of its product list that names the product.
std::vector<ProductLine> productSummary(const std::vector<std::string>& products, const std::vector<PhotoRow>& rows);

// Rows whose product list is not empty.
int selectedCount(const std::vector<PhotoRow>& rows);

// file name + "（" + request + "）" + CR LF for every row with a retouch request, in table order.
std::string retouchList(const std::vector<PhotoRow>& rows);

// The manual section of a stored requirements text: everything after its first separator ("" when it
// has none).
std::string manualRequirements(std::string_view stored);

}  // namespace xp
