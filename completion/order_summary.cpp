// The order's photo rows read once, and the summaries the order form and auto-split build from them.
#include "completion/order_summary.h"

#include <unordered_map>

#include "appdata/table_schema.h"
#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"

namespace xp {

namespace pf = photo_fields;

std::vector<PhotoRow> readPhotoRows(RecordStore& store, bool withPath) {
    const FieldRef nameField(toGbk(pf::kFileName)), productsField(toGbk(pf::kProducts)),
        retouchField(toGbk(pf::kRetouch)), pathField(toGbk(pf::kFilePath));
    std::vector<PhotoRow> rows;
    rows.reserve(static_cast<size_t>(std::max(store.recordCount(), 0)));
    store.firstRecord();
    // A search whose condition never holds reads each record whole once, under one lock: far cheaper
    // than walking the table field by field.
    store.findRecord([&] {
        PhotoRow row;
        row.fileName = fromGbk(store.readField(nameField).asText());
        row.products = fromGbk(store.readField(productsField).asText());
        row.retouch = fromGbk(store.readField(retouchField).asText());
        if (withPath) row.path = fromGbk(store.readField(pathField).asText());
        rows.push_back(std::move(row));
        return false;
    });
    store.firstRecord();
    return rows;
}

std::vector<std::string> orderProductList(std::string_view packageProducts) {
    std::vector<std::string> products{kIntoAlbumProduct};
    for (std::string& p : splitText(packageProducts, kProductListSeparator)) products.push_back(std::move(p));
    return products;
}

std::vector<ProductLine> productSummary(const std::vector<std::string>& products, const std::vector<PhotoRow>& rows) {
    std::vector<ProductLine> lines(products.size());
    // A product may stand in the list twice; each of its lines collects the photos.
    std::unordered_map<std::string, std::vector<size_t>> linesOf;
    for (size_t i = 0; i < products.size(); ++i) {
        lines[i].product = products[i];
        linesOf[products[i]].push_back(i);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].products.empty()) continue;
        for (const std::string& piece : splitText(rows[r].products, kProductListSeparator)) {
            auto found = linesOf.find(piece);
            if (found == linesOf.end()) continue;
            for (size_t i : found->second) {
                ProductLine& line = lines[i];
                line.photos += rows[r].fileName;
                line.photos += "，";
                ++line.count;
                line.rows.push_back(static_cast<int>(r));
            }
        }
    }
    return lines;
}

int selectedCount(const std::vector<PhotoRow>& rows) {
    int n = 0;
    for (const PhotoRow& row : rows)
        if (!row.products.empty()) ++n;
    return n;
}

std::string retouchList(const std::vector<PhotoRow>& rows) {
    std::string out;
    for (const PhotoRow& row : rows)
        if (!row.retouch.empty()) out += row.fileName + "（" + row.retouch + "）\r\n";
    return out;
}

std::string manualRequirements(std::string_view stored) {
    // Taking everything after the first separator keeps a manual section that itself holds a
    // separator line whole, instead of dropping what follows it.
    const std::vector<std::string> pieces = splitText(stored, kRequirementsSeparator);
    if (pieces.size() < 2) return {};
    const size_t at = pieces[0].size() + std::string_view(kRequirementsSeparator).size();
    return std::string(stored.substr(at));
}

}  // namespace xp
