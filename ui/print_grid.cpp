// The print grid model and its layout on paper.
#include "ui/print_grid.h"

#include <algorithm>

#include "ui/host.h"

namespace xp::ui {

namespace {
const GridCell kEmptyCell{};
}

PrintGrid::PrintGrid(int rows, int columns) : rows_(0), columns_(0) {
    resetPageSettings();
    setSize(rows, columns);
}

void PrintGrid::setSize(int rows, int columns) {
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    std::vector<GridCell> cells(static_cast<size_t>(rows) * static_cast<size_t>(columns));
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(columns, columns_); ++c)
            cells[static_cast<size_t>(r) * columns + c] = std::move(cells_[static_cast<size_t>(r) * columns_ + c]);
    cells_ = std::move(cells);
    rows_ = rows;
    columns_ = columns;
    rowHeights_.resize(static_cast<size_t>(rows), 0);
    columnWidths_.resize(static_cast<size_t>(columns), 0);
    std::erase_if(merges_, [&](const GridRange& m) { return m.lastRow >= rows_ || m.lastColumn >= columns_; });
}

void PrintGrid::clearCells() {
    for (GridCell& c : cells_) c = GridCell{};
    merges_.clear();
}

const GridCell& PrintGrid::cell(int row, int column) const {
    if (!inside(row, column)) return kEmptyCell;
    return cells_[static_cast<size_t>(row) * columns_ + column];
}

void PrintGrid::setText(int row, int column, std::string text) {
    if (inside(row, column)) cells_[static_cast<size_t>(row) * columns_ + column].text = std::move(text);
}

void PrintGrid::merge(const GridRange& range) {
    if (range.firstRow > range.lastRow || range.firstColumn > range.lastColumn) return;
    if (!inside(range.firstRow, range.firstColumn) || !inside(range.lastRow, range.lastColumn)) return;
    std::erase_if(merges_, [&](const GridRange& m) { return m.overlaps(range); });
    if (range.firstRow != range.lastRow || range.firstColumn != range.lastColumn) merges_.push_back(range);
}

std::optional<GridRange> PrintGrid::mergeAt(int row, int column) const {
    for (const GridRange& m : merges_)
        if (m.contains(row, column)) return m;
    return std::nullopt;
}

template <class Fn>
void PrintGrid::forRange(const GridRange& range, Fn fn) {
    for (int r = std::max(range.firstRow, 0); r <= std::min(range.lastRow, rows_ - 1); ++r)
        for (int c = std::max(range.firstColumn, 0); c <= std::min(range.lastColumn, columns_ - 1); ++c)
            fn(cells_[static_cast<size_t>(r) * columns_ + c]);
}

void PrintGrid::setAlign(const GridRange& range, HAlign align) {
    forRange(range, [&](GridCell& c) { c.align = align; });
}

void PrintGrid::setFontHeight(const GridRange& range, int pixelHeight) {
    forRange(range, [&](GridCell& c) { c.fontHeight = std::max(pixelHeight, 0); });
}

void PrintGrid::setWordWrap(const GridRange& range, bool on) {
    forRange(range, [&](GridCell& c) { c.wordWrap = on; });
}

void PrintGrid::setBold(const GridRange& range, bool on) {
    forRange(range, [&](GridCell& c) { c.bold = on; });
}

int PrintGrid::rowHeight(int row) const {
    if (row < 0 || row >= rows_) return 0;
    int h = rowHeights_[static_cast<size_t>(row)];
    return h > 0 ? h : defaultRowHeight_;
}

void PrintGrid::setRowHeight(int row, int pixels) {
    if (row >= 0 && row < rows_) rowHeights_[static_cast<size_t>(row)] = std::max(pixels, 0);
}

int PrintGrid::columnWidth(int column) const {
    if (column < 0 || column >= columns_) return 0;
    int w = columnWidths_[static_cast<size_t>(column)];
    return w > 0 ? w : kDefaultColumnWidth;
}

void PrintGrid::setColumnWidth(int column, int pixels) {
    if (column >= 0 && column < columns_) columnWidths_[static_cast<size_t>(column)] = std::max(pixels, 0);
}

void PrintGrid::setDefaultRowHeight(int pixels) { defaultRowHeight_ = std::max(pixels, 1); }

void PrintGrid::setPageSetting(int which, int tenthsOfMm) {
    if (which >= 1 && which <= 7) page_[which - 1] = std::max(tenthsOfMm, 0);
}

void PrintGrid::resetPageSettings() {
    std::copy(std::begin(kDefaultPageSettings), std::end(kDefaultPageSettings), page_);
}

void PrintGrid::setPaperSize(int widthTenths, int heightTenths) {
    if (widthTenths > 0 && heightTenths > 0) {
        paperWidth_ = widthTenths;
        paperHeight_ = heightTenths;
    }
}

PrintLayout layoutForPrinting(const PrintGrid& grid) {
    PrintLayout out;
    bool landscape = grid.orientation() == Orientation::Landscape;
    out.paperWidth = landscape ? grid.paperHeight() : grid.paperWidth();
    out.paperHeight = landscape ? grid.paperWidth() : grid.paperHeight();
    if (grid.rowCount() < 2 || grid.columnCount() < 2) return out;

    const double k = kTenthsOfMmPerPixel;
    const double left = grid.pageSetting(PageSetting::LeftMargin);
    const double right = out.paperWidth - grid.pageSetting(PageSetting::RightMargin);
    const double top = grid.pageSetting(PageSetting::TopMargin) + grid.pageSetting(PageSetting::HeaderHeight) +
                       grid.pageSetting(PageSetting::HeaderGap);
    const double bottom =
        out.paperHeight - grid.pageSetting(PageSetting::BottomMargin) - grid.pageSetting(PageSetting::FooterHeight);

    const int lastRow = grid.rowCount() - 1;
    const int lastColumn = grid.columnCount() - 1;
    double tableWidth = 0;
    for (int c = 1; c <= lastColumn; ++c) tableWidth += grid.columnWidth(c) * k;
    if (tableWidth > right - left && right - left > 0) out.scale = (right - left) / tableWidth;
    const double s = k * out.scale;

    std::vector<double> colX(static_cast<size_t>(lastColumn) + 2, left);
    for (int c = 1; c <= lastColumn; ++c)
        colX[static_cast<size_t>(c) + 1] = colX[static_cast<size_t>(c)] + grid.columnWidth(c) * s;

    // Rows go onto pages whole; a row taller than a page gets a page of its own.
    std::vector<std::pair<int, int>> pageRows;
    int first = 1;
    double used = 0;
    for (int r = 1; r <= lastRow; ++r) {
        double h = grid.rowHeight(r) * s;
        if (r > first && top + used + h > bottom) {
            pageRows.emplace_back(first, r - 1);
            first = r;
            used = 0;
        }
        used += h;
    }
    pageRows.emplace_back(first, lastRow);

    for (auto [r0, r1] : pageRows) {
        PrintedPage page;
        page.firstRow = r0;
        page.lastRow = r1;
        std::vector<double> rowY(static_cast<size_t>(r1 - r0) + 2, top);
        for (int r = r0; r <= r1; ++r)
            rowY[static_cast<size_t>(r - r0) + 1] = rowY[static_cast<size_t>(r - r0)] + grid.rowHeight(r) * s;
        auto y = [&](int r) { return rowY[static_cast<size_t>(r - r0)]; };

        for (int r = r0; r <= r1; ++r) {
            for (int c = 1; c <= lastColumn; ++c) {
                GridRange range{r, c, r, c};
                int sourceRow = r, sourceColumn = c;
                if (auto m = grid.mergeAt(r, c)) {
                    GridRange clipped{std::max({m->firstRow, r0, 1}), std::max(m->firstColumn, 1),
                                      std::min(m->lastRow, r1), std::min(m->lastColumn, lastColumn)};
                    // Emit a merged range once per page, at its first cell there.
                    if (r != clipped.firstRow || c != clipped.firstColumn) continue;
                    range = clipped;
                    sourceRow = m->firstRow;
                    sourceColumn = m->firstColumn;
                    if (sourceRow < r0) sourceRow = -1;  // continues from an earlier page: no text here
                }
                const GridCell& src = grid.cell(std::max(sourceRow, 0), sourceColumn);
                PrintedCell pc;
                pc.range = range;
                pc.x = colX[static_cast<size_t>(range.firstColumn)];
                pc.y = y(range.firstRow);
                pc.width = colX[static_cast<size_t>(range.lastColumn) + 1] - pc.x;
                pc.height = y(range.lastRow + 1) - pc.y;
                if (sourceRow >= 0) pc.text = src.text;
                pc.align = src.align;
                pc.fontHeight = (src.fontHeight > 0 ? src.fontHeight : PrintGrid::kDefaultFontHeight) * s;
                pc.wordWrap = src.wordWrap;
                pc.bold = src.bold;
                page.cells.push_back(std::move(pc));
            }
        }
        out.pages.push_back(std::move(page));
    }
    return out;
}

void Grid::printPreview() { host().printPreview(grid_); }

}  // namespace xp::ui
