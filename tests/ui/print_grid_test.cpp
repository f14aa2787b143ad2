// The print grid: merges, ranges of settings, and the layout on paper that the preview paints.
#include <gtest/gtest.h>

#include "ui/print_grid.h"

namespace xp::ui {
namespace {

constexpr double k = kTenthsOfMmPerPixel;

// The order form's shape: 16 × 6 printed cells after the fixed row and column.
PrintGrid orderFormGrid() {
    PrintGrid g(17, 7);
    for (int c = 1; c <= 6; ++c) g.setColumnWidth(c, static_cast<int>(752 / 6.001));
    g.setRowHeight(1, 50);
    g.setRowHeight(7, 380);
    g.setRowHeight(8, 200);
    g.merge({1, 1, 1, 6});
    g.merge({10, 5, 16, 6});
    g.merge({8, 2, 8, 6});
    g.setText(1, 1, "影楼选片单");
    g.setText(10, 5, "温馨提示内容");
    g.setAlign({1, 1, 1, 6}, HAlign::Centre);
    g.setFontHeight({1, 1, 1, 6}, 40);
    g.setFontHeight({2, 1, 16, 6}, 22);
    g.setPageSetting(PageSetting::RightMargin, 0);
    g.setPageSetting(PageSetting::FooterHeight, 0);
    g.setPageSetting(PageSetting::HeaderHeight, 80);
    return g;
}

const PrintedCell* findCell(const PrintedPage& page, int row, int column) {
    for (const PrintedCell& c : page.cells)
        if (c.range.firstRow == row && c.range.firstColumn == column) return &c;
    return nullptr;
}

TEST(PrintGrid, LaysTheOrderFormOutOnOneA4Page) {
    PrintGrid g = orderFormGrid();
    EXPECT_EQ(g.columnWidth(1), 125);
    PrintLayout layout = layoutForPrinting(g);
    ASSERT_EQ(layout.pages.size(), 1u);
    EXPECT_DOUBLE_EQ(layout.scale, 1.0);
    const PrintedPage& page = layout.pages[0];

    const PrintedCell* title = findCell(page, 1, 1);
    ASSERT_NE(title, nullptr);
    EXPECT_DOUBLE_EQ(title->x, 40);            // the grid's own left margin
    EXPECT_DOUBLE_EQ(title->y, 20 + 80 + 20);  // top margin, page header, gap
    EXPECT_NEAR(title->width, 6 * 125 * k, 1e-9);
    EXPECT_NEAR(title->height, 50 * k, 1e-9);
    EXPECT_EQ(title->text, "影楼选片单");
    EXPECT_EQ(title->align, HAlign::Centre);
    EXPECT_NEAR(title->fontHeight, 40 * k, 1e-9);

    // Cells inside a merged range are not laid out separately.
    EXPECT_EQ(findCell(page, 1, 2), nullptr);
    EXPECT_EQ(findCell(page, 11, 5), nullptr);
    const PrintedCell* tips = findCell(page, 10, 5);
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(tips->range, (GridRange{10, 5, 16, 6}));
    EXPECT_NEAR(tips->height, 7 * PrintGrid::kDefaultRowHeight * k, 1e-9);

    // 16 × 6 cells, less those the three merges swallow.
    EXPECT_EQ(page.cells.size(), 96u - 5 - 13 - 4);
    const PrintedCell* c22 = findCell(page, 2, 2);
    ASSERT_NE(c22, nullptr);
    EXPECT_NEAR(c22->x, 40 + 125 * k, 1e-9);
    EXPECT_NEAR(c22->y, 120 + 50 * k, 1e-9);
}

TEST(PrintGrid, TallTablesGoOnSeveralPagesAndWideOnesAreScaledToFit) {
    PrintGrid g(41, 3);
    for (int r = 1; r <= 40; ++r) g.setRowHeight(r, 100);
    g.merge({5, 1, 30, 1});
    g.setText(5, 1, "跨页");
    PrintLayout layout = layoutForPrinting(g);
    ASSERT_GE(layout.pages.size(), 2u);
    const double bottom = 2970 - 20 - 60;
    for (const PrintedPage& p : layout.pages)
        for (const PrintedCell& c : p.cells) EXPECT_LE(c.y + c.height, bottom + 1e-6);
    EXPECT_EQ(findCell(layout.pages[0], 5, 1)->text, "跨页");
    const PrintedPage& second = layout.pages[1];
    const PrintedCell* rest = findCell(second, second.firstRow, 1);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->range.lastRow, std::min(30, second.lastRow));
    EXPECT_EQ(rest->text, "") << "a merged range continued on a later page repeats no text";

    PrintGrid wide(2, 3);
    wide.setColumnWidth(1, 600);
    wide.setColumnWidth(2, 600);
    PrintLayout w = layoutForPrinting(wide);
    EXPECT_LT(w.scale, 1.0);
    const PrintedCell* last = findCell(w.pages[0], 1, 2);
    EXPECT_NEAR(last->x + last->width, 2100 - 40, 1e-6);
}

// Metrics of a font whose every character is as wide as the font is high: lines are easy to predict.
TextMetrics squareMetrics() {
    TextMetrics m;
    auto characters = [](const std::string& s) {
        size_t n = 0;
        for (unsigned char ch : s)
            if ((ch & 0xC0) != 0x80) ++n;
        return n;
    };
    m.width = [=](const std::string& line, double font, bool) { return static_cast<double>(characters(line)) * font; };
    m.lineHeight = [](double font, bool) { return font * 1.25; };
    m.wrap = [=](const std::string& text, double font, bool, double width) {
        std::vector<std::string> lines;
        size_t start = 0;
        for (;;) {
            size_t end = text.find("\r\n", start);
            std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            const size_t per =
                width > 0 ? std::max<size_t>(1, static_cast<size_t>(width / font)) : paragraph.size() + 1;
            if (paragraph.empty()) lines.emplace_back();
            for (size_t i = 0; i < paragraph.size(); i += per) lines.push_back(paragraph.substr(i, per));  // ASCII only
            if (end == std::string::npos) break;
            start = end + 2;
        }
        return lines;
    };
    return m;
}

TEST(PrintGrid, WithMetricsLongTextsGrowTheirRowsAndContinueOnTheNextPagesBetweenLines) {
    PrintGrid g = orderFormGrid();
    g.merge({7, 1, 7, 6});
    g.setWordWrap({7, 1, 7, 6}, true);
    g.setWordWrap({10, 5, 16, 6}, true);
    std::string names;
    for (int i = 0; i < 3000; ++i) names += "IMG_" + std::to_string(1000 + i) + ",";
    g.setText(7, 1, names);
    g.setText(10, 5, std::string(400, 'x'));
    g.setText(15, 1, "a label far too wide for its column");
    const TextMetrics metrics = squareMetrics();
    const PrintLayout layout = layoutForPrinting(g, &metrics);
    ASSERT_GE(layout.pages.size(), 3u);

    // Every line of the long cell lands once, in order, wholly inside a page's printable area.
    const double bottom = 2970 - 20;
    std::string printed;
    for (const PrintedPage& p : layout.pages) {
        for (const PrintedCell& c : p.cells) {
            EXPECT_LE(c.y + c.height, bottom + 1e-6);
            if (c.range != GridRange{7, 1, 7, 6}) continue;
            const double top = c.linesTop < 0 ? (c.height - c.lineHeight * c.lines.size()) / 2 : c.linesTop;
            EXPECT_GE(top, -1e-6);
            EXPECT_LE(top + c.lineHeight * static_cast<double>(c.lines.size()), c.height + 1e-6);
            for (const std::string& line : c.lines) printed += line;
        }
    }
    EXPECT_EQ(printed, names);

    // The warm tips grow their merged range at its last row; the label prints narrowed on one line.
    const PrintedCell* tips = nullptr;
    const PrintedCell* label = nullptr;
    for (const PrintedPage& p : layout.pages) {
        if (!tips) tips = findCell(p, 10, 5);
        if (!label) label = findCell(p, 15, 1);
    }
    ASSERT_NE(tips, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_GE(tips->height + 1e-6, tips->lineHeight * static_cast<double>(tips->lines.size()));
    EXPECT_EQ(label->lines.size(), 1u);
    EXPECT_LT(label->stretch, 1.0);
    EXPECT_GT(label->stretch, 0.0);

    // Without long texts the form keeps its one page and its row heights.
    const PrintGrid plain = orderFormGrid();
    const PrintLayout one = layoutForPrinting(plain, &metrics);
    ASSERT_EQ(one.pages.size(), 1u);
    EXPECT_NEAR(findCell(one.pages[0], 7, 1)->height, 380 * k, 1e-9);
}

TEST(PrintGrid, LaterMergesReplaceOverlappingOnesAndResizingKeepsWhatFits) {
    PrintGrid g(5, 5);
    g.merge({1, 1, 2, 2});
    g.merge({2, 2, 3, 3});
    ASSERT_EQ(g.merges().size(), 1u);
    EXPECT_EQ(g.merges()[0], (GridRange{2, 2, 3, 3}));
    EXPECT_FALSE(g.mergeAt(1, 1).has_value());
    g.merge({0, 0, 9, 9});  // outside the grid: ignored
    EXPECT_EQ(g.merges().size(), 1u);

    g.setText(1, 1, "a");
    g.setText(4, 4, "b");
    g.setSize(3, 3);
    EXPECT_EQ(g.text(1, 1), "a");
    EXPECT_EQ(g.text(4, 4), "");
    EXPECT_TRUE(g.merges().empty()) << "a merge reaching past the new size is dropped";
    g.setText(7, 7, "ignored");

    g.setPageSetting(2, 0);
    g.setPageSetting(9, 5);
    EXPECT_EQ(g.pageSetting(PageSetting::RightMargin), 0);
    g.resetPageSettings();
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(g.pageSetting(i), PrintGrid::kDefaultPageSettings[i - 1]);
}

}  // namespace
}  // namespace xp::ui
