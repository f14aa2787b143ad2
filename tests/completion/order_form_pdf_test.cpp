// The printed order form on the real Qt backend: rendered to PDF and read back with pdftotext (every
// cell's text is on paper, a long product list continues on a second page), and the print preview
// opened offscreen, saving the form as a PDF from its tool bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QTimer>
#include <QToolBar>
#include <array>
#include <cstdio>
#include <memory>

#include "appdata/text_helpers.h"
#include "completion/order_form_print.h"
#include "platform/file_system.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_print.h"

namespace xp::test {
namespace {

// The text pdftotext finds in a PDF, or nullopt when the tool is missing.
std::optional<std::string> pdfText(const std::string& pdf) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) return std::nullopt;
    const std::string txt = pdf + ".txt";
    const std::string command = "pdftotext -enc UTF-8 '" + pdf + "' '" + txt + "'";
    if (std::system(command.c_str()) != 0) return std::string();
    return readFile(txt).value_or("");
}

// Without blanks, line and page breaks: a text broken over lines reads whole again. Hyphens go too,
// because pdftotext joins a line that ends in one with the next and drops it.
std::string squeezed(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\f' && c != '-') out += c;
    return out;
}

OrderFormPrint sampleForm(int photos) {
    OrderFormPrint f;
    f.today = "2015-10-5";
    f.orderNumber = "20151005001";
    f.customerName = "王芳";
    f.orderFields = true;
    f.phone = "13800001111";
    f.urgent = "加急";
    f.viewingDate = "2015-10-12";
    f.pickupDate = "2015-10-20";
    f.shouldSelect = "30";
    f.extraCount = "5";
    f.extraAmount = "250";
    f.requirements = "IMG_0001（瘦脸）\r\n--------------------------------------------\r\n全部精修";
    f.selector = "小王";
    std::string photoList;
    for (int i = 1; i <= photos; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%04d", i % 10000);
        photoList += std::string("IMG_") + number + "，";
    }
    f.products = {{"入册", std::to_string(photos), photoList}, {"相册", "0", ""}};
    f.store = {"星光影楼", "0571-8888", "文一路1号", "www.xg.example", "选片单"};
    f.warmTips = "取件请带单据。";
    return f;
}

class OrderFormPdf : public ::testing::Test {
protected:
    ui::qt::QtHost host;
    TempDir temp;
};

TEST_F(OrderFormPdf, EveryCellsTextIsOnPaperAndALongProductListContinuesOnASecondPage) {
    for (int photos : {3, 250}) {
        SCOPED_TRACE(photos);
        ui::PrintGrid grid;
        const OrderFormPrint form = sampleForm(photos);
        layOutOrderForm(grid, 752, form);
        const std::string pdf = temp / ("form" + std::to_string(photos) + ".pdf");
        ASSERT_TRUE(ui::qt::renderGridToPdf(grid, pdf));
        const std::optional<std::string> text = pdfText(pdf);
        if (!text) {
            GTEST_SKIP() << "pdftotext is not installed (Debian package poppler-utils)";
        }
        const std::string all = squeezed(*text);
        for (int r = 1; r <= 16; ++r)
            for (int c = 1; c <= 6; ++c) {
                // Line by line: the label beside a tall cell may come between its lines in reading order.
                for (const std::string& line : splitText(grid.text(r, c), "\r\n")) {
                    const std::string piece = squeezed(line);
                    if (!piece.empty()) {
                        EXPECT_NE(all.find(piece), std::string::npos) << r << "," << c << ": " << line;
                    }
                }
            }
        const size_t pages = static_cast<size_t>(std::count(text->begin(), text->end(), '\f'));
        EXPECT_EQ(ui::qt::layoutGrid(grid, 1200 / 254.0).pages.size(), pages);
        if (photos < 100) {
            EXPECT_EQ(pages, 1u) << "the form fits one page";
        } else {
            EXPECT_GT(pages, 1u) << "a long product list continues on the next page";
        }
    }
}

TEST_F(OrderFormPdf, ThePreviewOpensAndSavesTheFormAsPdf) {
    ui::PrintGrid grid;
    layOutOrderForm(grid, 752, sampleForm(3));
    grid.setDocumentName("选片单_20151005001");
    grid.setSaveFolder(temp.path());
    const std::string pdf = temp / "选片单_20151005001.pdf";
    bool sawPreview = false, sawDialog = false;
    QTimer::singleShot(50, qApp, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview) {
            ADD_FAILURE() << "no print preview";
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
            return;
        }
        sawPreview = true;
        QAction* save = nullptr;
        if (auto* bar = preview->findChild<QToolBar*>())
            for (QAction* a : bar->actions())
                if (a->text() == QString("保存为PDF")) save = a;
        if (!save) {
            ADD_FAILURE() << "the preview offers no 保存为PDF";
            preview->reject();
            return;
        }
        QTimer::singleShot(50, qApp, [&, preview] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                sawDialog = true;
                EXPECT_EQ(dialog->windowTitle(), QString("保存为PDF"));
                EXPECT_EQ(dialog->directory().absolutePath(), QString::fromStdString(temp.path()));
                // The offered name in the offered folder, as the user pressing 保存 takes it.
                QMetaObject::invokeMethod(dialog, "accept");
            }
            QTimer::singleShot(20, qApp, [preview] { preview->reject(); });
        });
        save->trigger();
    });
    host.printPreview(grid);
    EXPECT_TRUE(sawPreview);
    EXPECT_TRUE(sawDialog);
    ASSERT_TRUE(fileExists(pdf));
    EXPECT_EQ(readFile(pdf).value_or("").substr(0, 4), "%PDF");
}

}  // namespace
}  // namespace xp::test
