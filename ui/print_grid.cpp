// The print grid model and its layout on paper.
#include "ui/print_grid.h"

#include <algorithm>
#include <cmath>

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

namespace {

// A cell as it prints: a single cell or a merged range (clipped to the printed rows and columns), with
// its text broken into lines when metrics are given.
struct Block {
    GridRange range;
    const GridCell* source = nullptr;
    std::vector<std::string> lines;
    double lineHeight = 0;
    double stretch = 1;
};

std::string joinLines(const std::vector<std::string>& lines, size_t first, size_t last) {
    std::string out;
    for (size_t i = first; i < last; ++i) {
        if (i > first) out += "\r\n";
        out += lines[i];
    }
    return out;
}

}  // namespace

PrintLayout layoutForPrinting(const PrintGrid& grid, const TextMetrics* metrics) {
    PrintLayout out;
    bool landscape = grid.orientation() == Orientation::Landscape;
    out.paperWidth = landscape ? grid.paperHeight() : grid.paperWidth();
    out.paperHeight = landscape ? grid.paperWidth() : grid.paperHeight();
    if (grid.rowCount() < 2 || grid.columnCount() < 2) return out;
    if (metrics && (!metrics->wrap || !metrics->lineHeight || !metrics->width)) metrics = nullptr;

    const double k = kTenthsOfMmPerPixel;
    const double left = grid.pageSetting(PageSetting::LeftMargin);
    const double right = out.paperWidth - grid.pageSetting(PageSetting::RightMargin);
    const double top = grid.pageSetting(PageSetting::TopMargin) + grid.pageSetting(PageSetting::HeaderHeight) +
                       grid.pageSetting(PageSetting::HeaderGap);
    const double bottom =
        out.paperHeight - grid.pageSetting(PageSetting::BottomMargin) - grid.pageSetting(PageSetting::FooterHeight);
    const double space = std::max(bottom - top, 1.0);

    const int lastRow = grid.rowCount() - 1;
    const int lastColumn = grid.columnCount() - 1;
    double tableWidth = 0;
    for (int c = 1; c <= lastColumn; ++c) tableWidth += grid.columnWidth(c) * k;
    if (tableWidth > right - left && right - left > 0) out.scale = (right - left) / tableWidth;
    const double s = k * out.scale;

    std::vector<double> colX(static_cast<size_t>(lastColumn) + 2, left);
    for (int c = 1; c <= lastColumn; ++c)
        colX[static_cast<size_t>(c) + 1] = colX[static_cast<size_t>(c)] + grid.columnWidth(c) * s;

    // Every printed cell once, at its first printed row and column.
    std::vector<Block> blocks;
    for (int r = 1; r <= lastRow; ++r) {
        for (int c = 1; c <= lastColumn; ++c) {
            Block b;
            b.range = {r, c, r, c};
            int sourceRow = r, sourceColumn = c;
            if (auto m = grid.mergeAt(r, c)) {
                GridRange clipped{std::max(m->firstRow, 1), std::max(m->firstColumn, 1), std::min(m->lastRow, lastRow),
                                  std::min(m->lastColumn, lastColumn)};
                if (r != clipped.firstRow || c != clipped.firstColumn) continue;
                b.range = clipped;
                sourceRow = m->firstRow;
                sourceColumn = m->firstColumn;
            }
            b.source = &grid.cell(sourceRow, sourceColumn);
            blocks.push_back(b);
        }
    }

    // Row heights on paper; with metrics, grown until every cell holds its lines.
    std::vector<double> rowH(static_cast<size_t>(lastRow) + 1, 0);
    for (int r = 1; r <= lastRow; ++r) rowH[static_cast<size_t>(r)] = grid.rowHeight(r) * s;
    auto fontOf = [&](const GridCell& c) {
        return (c.fontHeight > 0 ? c.fontHeight : PrintGrid::kDefaultFontHeight) * s;
    };
    if (metrics) {
        for (Block& b : blocks) {
            if (b.source->text.empty()) continue;
            const double width =
                colX[static_cast<size_t>(b.range.lastColumn) + 1] - colX[static_cast<size_t>(b.range.firstColumn)];
            const double room = std::max(width - 2 * kCellPadding, 1.0);
            const double font = fontOf(*b.source);
            b.lines = metrics->wrap(b.source->text, font, b.source->bold, b.source->wordWrap ? room : 0);
            b.lineHeight = metrics->lineHeight(font, b.source->bold);
            if (!b.source->wordWrap) {
                double widest = 0;
                for (const std::string& line : b.lines)
                    widest = std::max(widest, metrics->width(line, font, b.source->bold));
                if (widest > room) b.stretch = room / widest;
            }
        }
        // One line fits as the row's own height always did; several lines want room above and below.
        auto needed = [](const Block& b) {
            const double n = static_cast<double>(b.lines.size());
            return n * b.lineHeight + (n > 1 ? 2 * kCellVerticalPadding : 0);
        };
        // Single rows first, so that a merged range over several rows only adds what they lack.
        std::vector<const Block*> order;
        for (const Block& b : blocks)
            if (!b.lines.empty()) order.push_back(&b);
        std::stable_sort(order.begin(), order.end(), [](const Block* a, const Block* b) {
            if (a->range.lastRow != b->range.lastRow) return a->range.lastRow < b->range.lastRow;
            return a->range.lastRow - a->range.firstRow < b->range.lastRow - b->range.firstRow;
        });
        for (const Block* b : order) {
            const double need = needed(*b);
            double have = 0;
            for (int r = b->range.firstRow; r <= b->range.lastRow; ++r) have += rowH[static_cast<size_t>(r)];
            if (need > have) rowH[static_cast<size_t>(b->range.lastRow)] += need - have;
        }
    }
    // Y[r]: the top of row r below the top of the table, as if it were one long page.
    std::vector<double> Y(static_cast<size_t>(lastRow) + 2, 0);
    for (int r = 1; r <= lastRow; ++r)
        Y[static_cast<size_t>(r) + 1] = Y[static_cast<size_t>(r)] + rowH[static_cast<size_t>(r)];
    auto y = [&](int r) { return Y[static_cast<size_t>(r)]; };
    constexpr double eps = 1e-6;

    // A break inside row `r` moved up to the nearest line boundary of every cell it would cut.
    auto lineBreak = [&](int r, double from, double at) {
        double b = at;
        for (const Block& blk : blocks) {
            if (blk.lines.empty() || blk.range.firstRow > r || blk.range.lastRow < r) continue;
            const double textTop = y(blk.range.firstRow) + kCellVerticalPadding;
            const double j = std::floor((b - textTop) / blk.lineHeight);
            if (j < 0 || j >= static_cast<double>(blk.lines.size())) continue;
            const double lineTop = textTop + j * blk.lineHeight;
            if (b > lineTop + eps && lineTop > from + eps) b = lineTop;
        }
        return b;
    };

    // Pages as stretches of the long page. Rows go onto a page whole; a row taller than a page starts a
    // page and, with metrics, continues on the next ones, broken between lines.
    std::vector<std::pair<double, double>> stretches;
    double start = 0;
    for (int r = 1; r <= lastRow;) {
        const double rowTop = y(r), rowBottom = y(r + 1);
        if (rowBottom - start <= space + eps) {
            ++r;
            continue;
        }
        if (rowTop > start + eps) {
            stretches.emplace_back(start, rowTop);
            start = rowTop;
            continue;
        }
        if (!metrics) {
            stretches.emplace_back(start, rowBottom);
            start = rowBottom;
            ++r;
            continue;
        }
        const double at = lineBreak(r, start, start + space);
        stretches.emplace_back(start, at);
        start = at;
    }
    if (y(lastRow + 1) > start + eps || stretches.empty()) stretches.emplace_back(start, y(lastRow + 1));

    auto rowAt = [&](double v) {
        int r = 1;
        while (r < lastRow && y(r + 1) <= v + eps) ++r;
        return r;
    };
    for (auto [from, to] : stretches) {
        PrintedPage page;
        page.firstRow = rowAt(from);
        page.lastRow = std::max(rowAt(to - 10 * eps), page.firstRow);
        for (const Block& b : blocks) {
            const double blockTop = y(b.range.firstRow), blockBottom = y(b.range.lastRow + 1);
            const double pieceTop = std::max(blockTop, from), pieceBottom = std::min(blockBottom, to);
            if (pieceBottom <= pieceTop + eps) continue;
            PrintedCell pc;
            pc.range = {std::max(b.range.firstRow, page.firstRow), b.range.firstColumn,
                        std::min(b.range.lastRow, page.lastRow), b.range.lastColumn};
            pc.x = colX[static_cast<size_t>(b.range.firstColumn)];
            pc.y = top + (pieceTop - from);
            pc.width = colX[static_cast<size_t>(b.range.lastColumn) + 1] - pc.x;
            pc.height = pieceBottom - pieceTop;
            pc.align = b.source->align;
            pc.fontHeight = fontOf(*b.source);
            pc.wordWrap = b.source->wordWrap;
            pc.bold = b.source->bold;
            const bool whole = blockTop >= from - eps && blockBottom <= to + eps;
            if (!metrics) {
                // Text only where the cell starts.
                if (blockTop >= from - eps) pc.text = b.source->text;
            } else if (whole) {
                pc.text = b.source->text;
                pc.lines = b.lines;
                pc.lineHeight = b.lineHeight;
                pc.stretch = b.stretch;
            } else if (!b.lines.empty()) {
                // The lines that lie wholly on this page, from the top of the piece.
                const double textTop = blockTop + kCellVerticalPadding;
                size_t first = b.lines.size(), last = 0;
                for (size_t j = 0; j < b.lines.size(); ++j) {
                    const double lineTop = textTop + static_cast<double>(j) * b.lineHeight;
                    if (lineTop >= pieceTop - eps && lineTop + b.lineHeight <= pieceBottom + eps) {
                        first = std::min(first, j);
                        last = j + 1;
                    }
                }
                if (first < last) {
                    pc.lines.assign(b.lines.begin() + static_cast<std::ptrdiff_t>(first),
                                    b.lines.begin() + static_cast<std::ptrdiff_t>(last));
                    pc.text = joinLines(b.lines, first, last);
                    pc.lineHeight = b.lineHeight;
                    pc.stretch = b.stretch;
                    pc.linesTop = textTop + static_cast<double>(first) * b.lineHeight - pieceTop;
                }
            }
            page.cells.push_back(std::move(pc));
        }
        // Cells in reading order: by row, then column.
        std::stable_sort(page.cells.begin(), page.cells.end(), [](const PrintedCell& a, const PrintedCell& b) {
            if (a.range.firstRow != b.range.firstRow) return a.range.firstRow < b.range.firstRow;
            return a.range.firstColumn < b.range.firstColumn;
        });
        out.pages.push_back(std::move(page));
    }
    return out;
}

void Grid::printPreview() { host().printPreview(grid_); }

}  // namespace xp::ui
