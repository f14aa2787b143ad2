// The print grid: a table of cells with texts, merged ranges, alignment, font heights, word wrap, row
// heights and column widths, plus page settings in tenths of a millimetre; and its layout on paper,
// which the backend paints. Row 0 and column 0 are the grid's fixed header row and column: they hold
// cells like any other but are not printed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace xp::ui {

// Numbered as the grid's page settings are numbered.
enum class PageSetting : int {
    LeftMargin = 1,
    RightMargin = 2,
    TopMargin = 3,
    BottomMargin = 4,
    HeaderHeight = 5,
    FooterHeight = 6,
    HeaderGap = 7  // between the page header and the table
};

enum class Orientation { Portrait, Landscape };

struct GridRange {
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;
    bool contains(int row, int column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool overlaps(const GridRange& o) const {
        return firstRow <= o.lastRow && o.firstRow <= lastRow && firstColumn <= o.lastColumn &&
               o.firstColumn <= lastColumn;
    }
    bool operator==(const GridRange&) const = default;
};

struct GridCell {
    std::string text;
    HAlign align = HAlign::Left;  // texts are always centred vertically
    int fontHeight = 0;           // character height in pixels; 0 = the grid's standard height
    bool wordWrap = false;
    bool bold = false;
};

class PrintGrid {
public:
    static constexpr int kDefaultRowHeight = 30;
    static constexpr int kDefaultColumnWidth = 80;
    static constexpr int kDefaultFontHeight = 14;
    // Page settings the grid starts with and returns to with "默认值".
    static constexpr int kDefaultPageSettings[7] = {40, 40, 20, 20, 60, 60, 20};

    // Counts include the fixed row 0 and column 0.
    explicit PrintGrid(int rows = 1, int columns = 1);

    int rowCount() const { return rows_; }
    int columnCount() const { return columns_; }
    // Cells keep their content where they stay inside; merges that no longer fit are dropped.
    void setSize(int rows, int columns);
    void setRowCount(int rows) { setSize(rows, columns_); }
    void setColumnCount(int columns) { setSize(rows_, columns); }
    // Empties every cell, drops the merges; sizes and page settings stay.
    void clearCells();

    // Out-of-range cells read as empty and ignore writes.
    const GridCell& cell(int row, int column) const;
    const std::string& text(int row, int column) const { return cell(row, column).text; }
    void setText(int row, int column, std::string text);

    // A later merge that overlaps earlier ones replaces them. The range's first cell holds its text.
    void merge(const GridRange& range);
    const std::vector<GridRange>& merges() const { return merges_; }
    std::optional<GridRange> mergeAt(int row, int column) const;

    void setAlign(const GridRange& range, HAlign align);
    void setFontHeight(const GridRange& range, int pixelHeight);
    void setWordWrap(const GridRange& range, bool on);
    void setBold(const GridRange& range, bool on);

    int rowHeight(int row) const;
    void setRowHeight(int row, int pixels);
    int columnWidth(int column) const;
    void setColumnWidth(int column, int pixels);
    int defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(int pixels);

    int pageSetting(PageSetting which) const { return page_[static_cast<int>(which) - 1]; }
    // `which` as the grid numbers it, 1 to 7; others are ignored.
    int pageSetting(int which) const { return which >= 1 && which <= 7 ? page_[which - 1] : 0; }
    void setPageSetting(PageSetting which, int tenthsOfMm) { setPageSetting(static_cast<int>(which), tenthsOfMm); }
    void setPageSetting(int which, int tenthsOfMm);
    void resetPageSettings();

    Orientation orientation() const { return orientation_; }
    void setOrientation(Orientation o) { orientation_ = o; }
    // Portrait paper size in tenths of a millimetre (A4 unless set).
    int paperWidth() const { return paperWidth_; }
    int paperHeight() const { return paperHeight_; }
    void setPaperSize(int widthTenths, int heightTenths);

    // The printed document's name (print jobs, and the file name a saved PDF is offered under, without
    // extension) and the folder the "save as PDF" dialog starts in ("" for the user's home folder).
    const std::string& documentName() const { return documentName_; }
    void setDocumentName(std::string name) { documentName_ = std::move(name); }
    const std::string& saveFolder() const { return saveFolder_; }
    void setSaveFolder(std::string folder) { saveFolder_ = std::move(folder); }

private:
    template <class Fn>
    void forRange(const GridRange& range, Fn fn);
    bool inside(int row, int column) const { return row >= 0 && row < rows_ && column >= 0 && column < columns_; }

    int rows_;
    int columns_;
    std::vector<GridCell> cells_;
    std::vector<GridRange> merges_;
    std::vector<int> rowHeights_;    // 0 = default
    std::vector<int> columnWidths_;  // 0 = default
    int defaultRowHeight_ = kDefaultRowHeight;
    int page_[7];
    Orientation orientation_ = Orientation::Portrait;
    int paperWidth_ = 2100;
    int paperHeight_ = 2970;
    std::string documentName_;
    std::string saveFolder_;
};

// The grid laid out on paper, in tenths of a millimetre from the paper's top-left corner. Pixels are
// taken at 96 per inch; a table wider than the space between the margins is scaled down to fit.
struct PrintedCell {
    GridRange range;  // the cell, or the part of a merged range that lies on this page
    double x = 0, y = 0, width = 0, height = 0;
    std::string text;  // empty on a page where a merged range continues
    HAlign align = HAlign::Left;
    double fontHeight = 0;
    bool wordWrap = false;
    bool bold = false;
    // Laid out with text metrics: the text already broken into the lines that fit the cell's width
    // (only the lines that fall on this page), their height, and where the first one starts below the
    // cell's top (-1: centred vertically, as a cell that holds all its lines is).
    std::vector<std::string> lines;
    double lineHeight = 0;
    double linesTop = -1;
    // A cell without word wrap whose line is wider than the cell prints narrowed by this factor.
    double stretch = 1;
};

// Text measuring, which only a backend with fonts can do; all lengths in tenths of a millimetre.
struct TextMetrics {
    // `text` broken into lines no wider than `width` (at CR LF or LF first; a width of 0 or less breaks
    // only there). A word longer than the width is broken inside, so nothing stands outside the cell.
    std::function<std::vector<std::string>(const std::string& text, double fontHeight, bool bold, double width)> wrap;
    std::function<double(double fontHeight, bool bold)> lineHeight;
    // The width of one line.
    std::function<double(const std::string& line, double fontHeight, bool bold)> width;
};

// Room between a cell's border and its text, in tenths of a millimetre: left and right, and above and
// below a text of several lines.
inline constexpr double kCellPadding = 10;
inline constexpr double kCellVerticalPadding = 5;

struct PrintedPage {
    int firstRow = 0;
    int lastRow = 0;
    std::vector<PrintedCell> cells;
};

struct PrintLayout {
    double paperWidth = 0;
    double paperHeight = 0;
    double scale = 1;
    std::vector<PrintedPage> pages;
};

inline constexpr double kTenthsOfMmPerPixel = 254.0 / 96.0;

// Without metrics rows keep their heights and go onto pages whole. With metrics the texts of word-wrap
// cells are broken into lines, a line of another cell that is too wide prints narrowed, a row grows
// until its cells hold all their lines (the rows of a merged range grow at its last row), and a row
// taller than a page continues on the next page, broken between lines: no text is ever cut off.
PrintLayout layoutForPrinting(const PrintGrid& grid, const TextMetrics* metrics = nullptr);

// The grid as a (normally hidden) control of a window; printPreview() opens the host's print preview.
class Grid : public Control {
public:
    Grid(Container& parent, std::string name, Rect bounds = {}) : Control(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::Grid; }

    PrintGrid& grid() { return grid_; }
    const PrintGrid& grid() const { return grid_; }
    // Tells the peer that cells or settings changed (the grid model itself has no peer to tell).
    void refresh() { notify(Change::Content); }
    void printPreview();

private:
    PrintGrid grid_;
};

}  // namespace xp::ui
