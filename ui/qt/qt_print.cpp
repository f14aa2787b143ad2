// Painting the grid layout onto a printer, a PDF or an image; the print preview with its page settings
// dialog; and the grid control's on-screen peer.
#include "ui/qt/qt_print.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTextLayout>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/qt/qt_host.h"
#include "ui/qt/qt_peers.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_theme.h"

namespace xp::ui::qt {

namespace {

QFont cellFont(double fontHeightTenths, bool bold, double u) {
    QFont font(QString::fromUtf8(kUiFontFamily));
    font.setPixelSize(std::max(1, static_cast<int>(fontHeightTenths * u + 0.5)));
    font.setBold(bold);
    return font;
}

}  // namespace

TextMetrics textMetrics(double u) {
    TextMetrics m;
    m.lineHeight = [u](double fontHeight, bool bold) {
        return QFontMetricsF(cellFont(fontHeight, bold, u)).lineSpacing() / u;
    };
    m.width = [u](const std::string& line, double fontHeight, bool bold) {
        return QFontMetricsF(cellFont(fontHeight, bold, u)).horizontalAdvance(toQt(line)) / u;
    };
    m.wrap = [u](const std::string& text, double fontHeight, bool bold, double width) {
        const QFont font = cellFont(fontHeight, bold, u);
        std::vector<std::string> lines;
        for (const QString& paragraph : toQtLines(text).split(QLatin1Char('\n'))) {
            if (paragraph.isEmpty() || width <= 0) {
                lines.push_back(fromQt(paragraph));
                continue;
            }
            QTextLayout layout(paragraph, font);
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(option);
            layout.beginLayout();
            for (;;) {
                QTextLine line = layout.createLine();
                if (!line.isValid()) break;
                line.setLineWidth(width * u);
                lines.push_back(fromQt(paragraph.mid(line.textStart(), line.textLength())));
            }
            layout.endLayout();
        }
        return lines;
    };
    return m;
}

PrintLayout layoutGrid(const PrintGrid& grid, double u) {
    const TextMetrics metrics = textMetrics(u);
    return layoutForPrinting(grid, &metrics);
}

void paintGridPage(QPainter& painter, const PrintLayout& layout, int page, double u) {
    if (page < 0 || page >= static_cast<int>(layout.pages.size())) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, 2.6 * u));  // about a quarter millimetre
    const double pad = kCellPadding * u;
    for (const PrintedCell& c : layout.pages[static_cast<size_t>(page)].cells) {
        QRectF r(c.x * u, c.y * u, c.width * u, c.height * u);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
        if (c.text.empty() && c.lines.empty()) continue;
        painter.setFont(cellFont(c.fontHeight, c.bold, u));
        painter.setPen(Qt::black);
        const int horizontal = c.align == HAlign::Centre  ? Qt::AlignHCenter
                               : c.align == HAlign::Right ? Qt::AlignRight
                                                          : Qt::AlignLeft;
        painter.save();
        painter.setClipRect(r);
        if (!c.lines.empty()) {
            // Broken into lines by the layout, which grew the cell to hold them.
            const double lineHeight = c.lineHeight * u;
            const double total = lineHeight * static_cast<double>(c.lines.size());
            double y = c.linesTop < 0 ? r.top() + (r.height() - total) / 2 : r.top() + c.linesTop * u;
            // A line too wide for a cell that does not wrap is drawn narrowed rather than cut.
            const double stretch = c.stretch > 0 && c.stretch < 1 ? c.stretch : 1;
            const double room = (r.width() - 2 * pad) / stretch;
            for (const std::string& line : c.lines) {
                painter.save();
                painter.translate(r.left() + pad, y);
                painter.scale(stretch, 1);
                painter.drawText(QRectF(0, 0, room, lineHeight), horizontal | Qt::AlignVCenter, toQt(line));
                painter.restore();
                y += lineHeight;
            }
        } else {
            int flags = Qt::AlignVCenter | horizontal;
            if (c.wordWrap) flags |= Qt::TextWordWrap;
            painter.drawText(r.adjusted(pad, 0, -pad, 0), flags, toQtLines(c.text));
        }
        painter.restore();
    }
    painter.restore();
}

namespace {

void setUpPrinter(QPrinter& printer, const PrintGrid& grid) {
    QSizeF mm(grid.paperWidth() / 10.0, grid.paperHeight() / 10.0);
    QPageSize size = grid.paperWidth() == 2100 && grid.paperHeight() == 2970 ? QPageSize(QPageSize::A4)
                                                                             : QPageSize(mm, QPageSize::Millimeter);
    printer.setPageSize(size);
    printer.setPageOrientation(grid.orientation() == Orientation::Landscape ? QPageLayout::Landscape
                                                                            : QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void paintAll(QPrinter& printer, const PrintGrid& grid) {
    const double u = printer.resolution() / 254.0;
    PrintLayout layout = layoutGrid(grid, u);
    QPainter painter(&printer);
    for (int i = 0; i < static_cast<int>(layout.pages.size()); ++i) {
        if (i > 0) printer.newPage();
        paintGridPage(painter, layout, i, u);
    }
}

}  // namespace

bool renderGridToPdf(const PrintGrid& grid, const std::string& path) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(toQt(path));
    setUpPrinter(printer, grid);
    if (!grid.documentName().empty()) printer.setDocName(toQt(grid.documentName()));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const double u = printer.resolution() / 254.0;
    PrintLayout layout = layoutGrid(grid, u);
    for (int i = 0; i < static_cast<int>(layout.pages.size()); ++i) {
        if (i > 0) printer.newPage();
        paintGridPage(painter, layout, i, u);
    }
    return painter.end();
}

QImage renderGridPage(const PrintGrid& grid, int page, int dpi) {
    const double u = dpi / 254.0;
    PrintLayout layout = layoutGrid(grid, u);
    QImage image(static_cast<int>(layout.paperWidth * u), static_cast<int>(layout.paperHeight * u),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintGridPage(painter, layout, page, u);
    return image;
}

bool editPageSettings(PrintGrid& grid, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("页边距设置(单位: 0.1毫米)"));
    auto* form = new QFormLayout;
    // In the order the dialog offers them; the numbers are the grid's page setting numbers.
    const std::pair<const char*, PageSetting> rows[] = {
        {"上:", PageSetting::TopMargin},
        {"下:", PageSetting::BottomMargin},
        {"左:", PageSetting::LeftMargin},
        {"右:", PageSetting::RightMargin},
        {"页眉:", PageSetting::HeaderHeight},
        {"页脚:", PageSetting::FooterHeight},
        {"表头与表格间隔:", PageSetting::HeaderGap},
    };
    std::vector<std::pair<QSpinBox*, PageSetting>> boxes;
    for (const auto& [label, which] : rows) {
        auto* box = new QSpinBox(&dialog);
        box->setRange(0, 1000);
        box->setValue(grid.pageSetting(which));
        box->setObjectName(QString::number(static_cast<int>(which)));
        form->addRow(QString::fromUtf8(label), box);
        boxes.emplace_back(box, which);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    QPushButton* defaults = buttons->addButton(QStringLiteral("默认值"), QDialogButtonBox::ResetRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(defaults, &QPushButton::clicked, &dialog, [&] {
        for (auto& [box, which] : boxes) box->setValue(PrintGrid::kDefaultPageSettings[static_cast<int>(which) - 1]);
    });
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    for (auto& [box, which] : boxes) grid.setPageSetting(which, box->value());
    return true;
}

std::string chooseSavePdf(const PrintGrid& grid, QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("保存为PDF"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PDF 文件 (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("保存在："));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名："));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型："));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
    const QString folder = grid.saveFolder().empty() || !QDir(toQt(grid.saveFolder())).exists()
                               ? QDir::homePath()
                               : toQt(grid.saveFolder());
    dialog.setDirectory(folder);
    const std::string name = grid.documentName().empty() ? std::string("打印表单") : grid.documentName();
    dialog.selectFile(toQt(name + ".pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return fromQt(dialog.selectedFiles().front());
}

bool savePdfFromPreview(const PrintGrid& grid, QWidget* parent) {
    const std::string path = chooseSavePdf(grid, parent);
    if (path.empty()) return false;
    if (renderGridToPdf(grid, path)) return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("提示信息"),
                    QStringLiteral("PDF 文件保存失败，请检查文件夹是否可以写入：\n") + toQt(path), QMessageBox::Ok,
                    parent);
    box.exec();
    return false;
}

void showGridPreview(PrintGrid& grid, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, grid);
    if (!grid.documentName().empty()) printer.setDocName(toQt(grid.documentName()));
    QPrintPreviewDialog dialog(&printer, parent);
    if (!parent) placeOverOwner(&dialog);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    dialog.resize(900, 760);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&grid](QPrinter* p) { paintAll(*p, grid); });
    if (auto* bar = dialog.findChild<QToolBar*>()) {
        bar->addSeparator();
        QAction* margins = bar->addAction(QStringLiteral("页边距"));
        QObject::connect(margins, &QAction::triggered, &dialog, [&] {
            if (editPageSettings(grid, &dialog))
                if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) preview->updatePreview();
        });
        QAction* pdf = bar->addAction(QStringLiteral("保存为PDF"));
        pdf->setToolTip(QStringLiteral("把表单保存为 PDF 文件（可以发给顾客）"));
        QObject::connect(pdf, &QAction::triggered, &dialog, [&] { savePdfFromPreview(grid, &dialog); });
    }
    dialog.exec();
}

namespace {

// The grid as it would print, at screen size, for a window that shows its grid.
class GridWidget : public QWidget {
public:
    GridWidget(Grid& g, QWidget* parent) : QWidget(parent), grid_(g) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        PrintLayout layout = layoutGrid(grid_.grid(), 1.0 / kTenthsOfMmPerPixel);
        if (layout.pages.empty() || layout.pages[0].cells.empty()) return;
        const double u = 1.0 / kTenthsOfMmPerPixel;
        const PrintedCell& first = layout.pages[0].cells.front();
        p.translate(-first.x * u, -first.y * u);
        paintGridPage(p, layout, 0, u);
    }

private:
    Grid& grid_;
};

class GridPeer : public QtPeer {
public:
    GridPeer(Grid& g, QWidget* parent) : QtPeer(g, new GridWidget(g, parent)) { watch(widget()); }

protected:
    void syncOwn(Change change, int) override {
        if (change == Change::Content) widget()->update();
    }
};

}  // namespace

std::unique_ptr<QtPeer> makeGridPeer(Control& c, QWidget* parent) {
    return std::make_unique<GridPeer>(static_cast<Grid&>(c), parent);
}

}  // namespace xp::ui::qt
