// The Qt host's boxes and dialogs: message box, input box, folder browser, file-open dialog, popup menu
// and print preview, each run as a nested loop of the program's own.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "ui/popup_menu.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_peers.h"
#include "ui/qt/qt_print.h"
#include "ui/qt/qt_text.h"

namespace xp::ui::qt {

namespace {

struct BoxButton {
    QMessageBox::StandardButton button;
    int result;
    const char* text;
};

std::vector<BoxButton> boxButtons(MessageButtons buttons) {
    const BoxButton ok{QMessageBox::Ok, MessageResult::Ok, "确定"};
    const BoxButton cancel{QMessageBox::Cancel, MessageResult::Cancel, "取消"};
    const BoxButton abort{QMessageBox::Abort, MessageResult::Abort, "中止(&A)"};
    const BoxButton retry{QMessageBox::Retry, MessageResult::Retry, "重试(&R)"};
    const BoxButton ignore{QMessageBox::Ignore, MessageResult::Ignore, "忽略(&I)"};
    const BoxButton yes{QMessageBox::Yes, MessageResult::Yes, "是(&Y)"};
    const BoxButton no{QMessageBox::No, MessageResult::No, "否(&N)"};
    switch (buttons) {
        case MessageButtons::Ok: return {ok};
        case MessageButtons::OkCancel: return {ok, cancel};
        case MessageButtons::AbortRetryIgnore: return {abort, retry, ignore};
        case MessageButtons::YesNoCancel: return {yes, no, cancel};
        case MessageButtons::YesNo: return {yes, no};
        case MessageButtons::RetryCancel: return {retry, cancel};
    }
    return {ok};
}

// Qt's own filter form, from "description|pattern|description|pattern" pairs. Patterns match any
// letter case, as the photo files' names do.
QStringList nameFilters(const std::string& filter) {
    QStringList parts = toQt(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& v : {p.trimmed(), p.trimmed().toLower(), p.trimmed().toUpper()})
                if (!patterns.contains(v)) patterns << v;
        }
        out << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    if (out.isEmpty()) out << QStringLiteral("* (*)");
    return out;
}

// Qt's translation leaves the kinds of files in English ("Folder", "jpg File").
class FileKinds : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override {
        if (info.isDir()) return QStringLiteral("文件夹");
        if (info.isFile())
            return info.suffix().isEmpty() ? QStringLiteral("文件") : info.suffix().toUpper() + QStringLiteral(" 文件");
        return QFileIconProvider::type(info);
    }
};

// The file model writes its dates in the desktop's locale, which may not be Chinese; the program's is.
class ChineseDates : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != 3) return;
        if (auto* files = qobject_cast<const QFileSystemModel*>(index.model()))
            option->text = QLocale().toString(files->lastModified(index), QStringLiteral("yyyy/M/d H:mm"));
    }
};

// Wide and tall enough for the side bar and every column of the detail view (name, size, type, date
// modified) with a long Chinese folder name, and never larger than the screen.
void sizeFileDialog(QFileDialog& dialog) {
    QSize size(900, 540);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() - QSize(40, 60));
    dialog.resize(size);
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        view->setItemDelegate(new ChineseDates(view));
        view->header()->resizeSection(0, size.width() / 3);
        view->header()->setSectionResizeMode(QHeaderView::Interactive);
        view->header()->setStretchLastSection(true);
    }
}

void labelFileDialog(QFileDialog& dialog, QFileIconProvider& kinds) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&kinds);
    sizeFileDialog(dialog);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("查找范围："));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名："));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型："));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
}

}  // namespace

int QtHost::showMessageBox(const MessageBoxRequest& request) {
    QMessageBox box;
    placeOverOwner(&box);
    box.setWindowTitle(toQt(request.title));
    box.setText(toQtLines(request.text));
    switch (request.icon) {
        case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    }
    auto buttons = boxButtons(request.buttons);
    for (const BoxButton& b : buttons) box.addButton(b.button)->setText(QString::fromUtf8(b.text));
    QMessageBox::StandardButton preferred = buttons.front().button;
    for (const BoxButton& b : buttons)
        if (b.result == request.defaultResult) preferred = b.button;
    box.setDefaultButton(preferred);
    // Closing the box any other way answers as its cancelling button would (OK for a box with OK only).
    int closed = buttons.size() == 1 ? buttons.front().result : MessageResult::Cancel;
    for (const BoxButton& b : buttons)
        if (b.result == MessageResult::Cancel || b.result == MessageResult::No) closed = b.result;
    {
        Nested nested;
        box.exec();
    }
    QAbstractButton* clicked = box.clickedButton();
    for (const BoxButton& b : buttons)
        if (clicked && clicked == box.button(b.button)) return b.result;
    return closed;
}

std::string QtHost::showInputBox(const InputBoxRequest& request) {
    QInputDialog dialog;
    placeOverOwner(&dialog);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(toQt(request.caption));
    dialog.setLabelText(toQtLines(request.prompt));
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    int accepted;
    {
        Nested nested;
        accepted = dialog.exec();
    }
    return accepted == QDialog::Accepted ? fromQt(dialog.textValue()) : std::string();
}

std::string QtHost::showFolderBrowser(const std::string& title) {
    FileKinds kinds;  // outlives the dialog
    QFileDialog dialog(nullptr, toQt(title));
    placeOverOwner(&dialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    labelFileDialog(dialog, kinds);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("选择"));
    int accepted;
    {
        Nested nested;
        accepted = dialog.exec();
    }
    if (accepted != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return fromQt(dialog.selectedFiles().front());
}

std::string QtHost::showFileOpen(const FileDialogRequest& request) {
    FileKinds kinds;  // outlives the dialog
    QFileDialog dialog(nullptr, toQt(request.title.empty() ? std::string("打开") : request.title));
    placeOverOwner(&dialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(nameFilters(request.filter));
    if (!request.initialFolder.empty()) dialog.setDirectory(toQt(request.initialFolder));
    labelFileDialog(dialog, kinds);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("打开"));
    int accepted;
    {
        Nested nested;
        accepted = dialog.exec();
    }
    if (accepted != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return fromQt(dialog.selectedFiles().front());
}

int QtHost::showPopupMenu(const PopupMenu& menu, Point screenPosition) {
    QMenu qmenu;
    for (int i = 0; i < menu.itemCount(); ++i) {
        const PopupMenu::Item& item = menu.items()[static_cast<size_t>(i)];
        if (item.separator) {
            qmenu.addSeparator();
            continue;
        }
        QAction* action = qmenu.addAction(toQtCaption(item.caption));
        action->setEnabled(item.enabled);
        action->setData(i);
    }
    QAction* chosen;
    {
        Nested nested;
        chosen = qmenu.exec(QPoint(screenPosition.x, screenPosition.y));
    }
    return chosen ? chosen->data().toInt() : -1;
}

void QtHost::showPrintPreview(PrintGrid& grid) {
    Nested nested;
    showGridPreview(grid, nullptr);
}

}  // namespace xp::ui::qt
