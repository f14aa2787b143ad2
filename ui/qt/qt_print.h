// Printing the print grid with Qt: painting its paper layout, the print preview (with the grid's page
// settings dialog), and PDF and image output for checking a layout without a printer.
#pragma once

#include <QImage>
#include <string>

#include "ui/print_grid.h"

class QPainter;
class QWidget;

namespace xp::ui::qt {

// Text metrics of the cell font as painted at `devicePerTenthMm`, and the grid laid out with them (long
// texts broken into lines, rows grown to hold them, pages continued): what every output below paints.
TextMetrics textMetrics(double devicePerTenthMm);
PrintLayout layoutGrid(const PrintGrid& grid, double devicePerTenthMm);

// Paints one page of a layout; `devicePerTenthMm` converts the layout's tenths of a millimetre.
void paintGridPage(QPainter& painter, const PrintLayout& layout, int page, double devicePerTenthMm);

// Writes every page to a PDF file; false when the file could not be written.
bool renderGridToPdf(const PrintGrid& grid, const std::string& path);

// One page as a white image at the given resolution.
QImage renderGridPage(const PrintGrid& grid, int page, int dotsPerInch);

// The modal print preview; the user may change the page settings, print, or save the form as a PDF
// ("保存为PDF", offered under the grid's document name in its save folder).
void showGridPreview(PrintGrid& grid, QWidget* parent);

// "保存为PDF" of the preview: asks for the file and writes it; false when cancelled or not written (the
// user was told).
bool savePdfFromPreview(const PrintGrid& grid, QWidget* parent);

// The page settings dialog ("页边距设置(单位: 0.1毫米)"); true when the user confirmed new values.
bool editPageSettings(PrintGrid& grid, QWidget* parent);

}  // namespace xp::ui::qt
