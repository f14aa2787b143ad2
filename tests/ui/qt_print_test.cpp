// Painting the print grid: merged ranges, alignment and fonts as they land on paper, the PDF output and
// the print preview with its page settings dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include "ui/qt/qt_host.h"
#include "ui/qt/qt_print.h"

namespace xp::ui {
namespace {

// Dark pixels in a rectangle of the image (the lines and texts are black on white).
int darkPixels(const QImage& image, QRect r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
}

PrintGrid titledGrid() {
    PrintGrid g(4, 4);
    for (int c = 1; c <= 3; ++c) g.setColumnWidth(c, 200);
    g.setRowHeight(1, 60);
    g.merge({1, 1, 1, 3});
    g.setText(1, 1, "影楼选片单");
    g.setAlign({1, 1, 1, 3}, HAlign::Centre);
    g.setFontHeight({1, 1, 1, 3}, 40);
    g.setText(2, 1, "打单日期：");
    return g;
}

class QtPrint : public ::testing::Test {
protected:
    qt::QtHost host;
};

TEST_F(QtPrint, MergedRangesPrintAsOneCellWithTheTextWhereItsAlignmentPutsIt) {
    PrintGrid g = titledGrid();
    const int dpi = 96;  // one grid pixel per image pixel
    QImage page = qt::renderGridPage(g, 0, dpi);
    ASSERT_FALSE(page.isNull());
    PrintLayout layout = layoutForPrinting(g);
    const double u = dpi / 254.0;
    auto box = [&](const PrintedCell& c) {
        return QRect(static_cast<int>(c.x * u), static_cast<int>(c.y * u), static_cast<int>(c.width * u),
                     static_cast<int>(c.height * u));
    };
    const auto& cells = layout.pages[0].cells;
    QRect title = box(cells[0]);
    ASSERT_EQ(cells[0].range, (GridRange{1, 1, 1, 3}));
    ASSERT_EQ(title.width(), 600);

    // No border between the merged columns: look just below the top edge, at the inner column boundary.
    int innerX = title.left() + 200;
    EXPECT_EQ(darkPixels(page, QRect(innerX - 1, title.top() + 3, 3, 8)), 0);
    // Row 2 is not merged: its column boundary is drawn.
    QRect row2 = box(cells[1]);
    EXPECT_GT(darkPixels(page, QRect(row2.right() - 1, row2.top() + 3, 3, row2.height() - 6)), 0);

    // The centred title's ink sits in the middle third, none in the outer strips.
    QRect inside = title.adjusted(3, 3, -3, -3);
    EXPECT_GT(darkPixels(page, QRect(inside.left() + 200, inside.top(), 200, inside.height())), 100);
    EXPECT_EQ(darkPixels(page, QRect(inside.left(), inside.top(), 150, inside.height())), 0);
    EXPECT_EQ(darkPixels(page, QRect(inside.right() - 150, inside.top(), 150, inside.height())), 0);
    // Left-aligned text of row 2 starts near the left edge.
    QRect r2 = row2.adjusted(3, 3, -3, -3);
    EXPECT_GT(darkPixels(page, QRect(r2.left(), r2.top(), 40, r2.height())), 0);
}

TEST_F(QtPrint, WritesAPdf) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string path = dir.filePath("表单.pdf").toStdString();
    ASSERT_TRUE(qt::renderGridToPdf(titledGrid(), path));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_GT(file.size(), 1000);
    EXPECT_FALSE(qt::renderGridToPdf(titledGrid(), dir.filePath("missing/folder/a.pdf").toStdString()));
}

TEST_F(QtPrint, ThePreviewOpensAndItsPageSettingsDialogChangesTheGrid) {
    PrintGrid g = titledGrid();
    g.setPageSetting(PageSetting::RightMargin, 0);
    bool sawPreview = false, sawSettings = false;
    // Each step closes what it opened even when something is missing, so that a failure cannot hang.
    QTimer::singleShot(50, qApp, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview) {
            ADD_FAILURE() << "no print preview";
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
            return;
        }
        sawPreview = true;
        QAction* margins = nullptr;
        if (auto* bar = preview->findChild<QToolBar*>())
            for (QAction* a : bar->actions())
                if (a->text() == QString("页边距")) margins = a;
        if (!margins) {
            ADD_FAILURE() << "the preview offers no page settings";
            preview->reject();
            return;
        }
        QTimer::singleShot(50, qApp, [&, preview] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog && dialog != preview) {
                EXPECT_EQ(dialog->windowTitle(), QString("页边距设置(单位: 0.1毫米)"));
                sawSettings = true;
                for (QPushButton* b : dialog->findChildren<QPushButton*>())
                    if (b->text() == QString("默认值")) b->click();
                for (QSpinBox* box : dialog->findChildren<QSpinBox*>())
                    if (box->objectName() == "5") box->setValue(80);  // the page header height
                dialog->accept();
            }
            QTimer::singleShot(20, qApp, [preview] { preview->reject(); });
        });
        margins->trigger();
    });
    host.printPreview(g);
    EXPECT_TRUE(sawPreview);
    EXPECT_TRUE(sawSettings);
    EXPECT_EQ(g.pageSetting(PageSetting::RightMargin), 40) << "默认值 restored it";
    EXPECT_EQ(g.pageSetting(PageSetting::HeaderHeight), 80);
}

}  // namespace
}  // namespace xp::ui
