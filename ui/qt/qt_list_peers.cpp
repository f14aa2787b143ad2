// Peers of the item controls: combo box, list box and check list box, list view in icon and report mode.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTreeWidget>
#include <utility>

#include "ui/combo_box.h"
#include "ui/list_box.h"
#include "ui/list_view.h"
#include "ui/qt/qt_peers.h"
#include "ui/qt/qt_pictures.h"
#include "ui/qt/qt_text.h"

namespace xp::ui::qt {

namespace {

class ComboBoxPeer : public QtPeer {
public:
    ComboBoxPeer(ComboBox& c, QWidget* parent) : QtPeer(c, new QComboBox(parent)), combo_(c) {
        auto* w = box();
        w->setMaxVisibleItems(20);
        watch(w);
        QObject::connect(w, &QComboBox::activated, bridge(), [this](int index) { combo_.pickItem(index); });
    }

protected:
    void applyOwn() override {
        QSignalBlocker block(box());
        box()->setEditable(combo_.style() == ComboStyle::DropDown);
        if (auto* edit = box()->lineEdit()) {
            QObject::disconnect(edit, nullptr, bridge(), nullptr);
            QObject::connect(edit, &QLineEdit::textEdited, bridge(),
                             [this](const QString& text) { combo_.setText(fromQt(text)); });
        }
        box()->clear();
        for (const auto& item : combo_.items()) box()->addItem(toQt(item));
        applySelection();
    }
    void syncOwn(Change change, int index) override {
        QSignalBlocker block(box());
        switch (change) {
            case Change::ItemInserted: box()->insertItem(index, toQt(combo_.item(index))); break;
            case Change::ItemRemoved: box()->removeItem(index); break;
            case Change::Items: box()->clear(); break;
            case Change::Style: applyOwn(); return;
            case Change::Selection:
            case Change::Text: break;
            default: return;
        }
        applySelection();
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
    void applySelection() {
        if (box()->currentIndex() != combo_.selected()) box()->setCurrentIndex(combo_.selected());
        if (box()->isEditable() && box()->currentText() != toQt(combo_.text())) box()->setEditText(toQt(combo_.text()));
    }

    ComboBox& combo_;
};

// Mouse clicks pick at release (every click, also on the selected item, which a check list needs);
// arrow keys pick as they move the current row.
class ListBoxPeer : public QtPeer {
public:
    ListBoxPeer(ListBox& l, QWidget* parent) : QtPeer(l, new QListWidget(parent)), list_(l) {
        auto* w = view();
        w->setSelectionMode(QAbstractItemView::SingleSelection);
        w->setUniformItemSizes(true);
        watch(w);
        watch(w->viewport());
        QObject::connect(w, &QListWidget::itemClicked, bridge(), [this](QListWidgetItem* item) {
            // The release that ends a double click is no second pick.
            if (std::exchange(afterDoubleClick_, false)) return;
            list_.pickItem(view()->row(item));
        });
        // Only arrow keys pick through the current row: Qt also moves it by itself when the list gets the
        // focus, which is no pick.
        QObject::connect(w, &QListWidget::currentRowChanged, bridge(), [this](int row) {
            if (std::exchange(keyMoved_, false) && row >= 0) list_.pickItem(row);
        });
    }

    bool filter(QObject* watched, QEvent* event) override {
        if (watched == view() && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
            keyMoved_ = event->type() == QEvent::KeyPress;
        if (watched == view()->viewport()) {
            if (event->type() == QEvent::MouseButtonPress) afterDoubleClick_ = false;
            if (event->type() == QEvent::MouseButtonDblClick) {
                QListWidgetItem* item = view()->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
                afterDoubleClick_ = true;
                if (item) list_.doubleClick(view()->row(item));
                return true;
            }
        }
        return QtPeer::filter(watched, event);
    }

protected:
    void applyOwn() override {
        QSignalBlocker block(view());
        view()->clear();
        for (int i = 0; i < list_.itemCount(); ++i) view()->addItem(makeItem(i));
        applySelection();
    }
    void syncOwn(Change change, int index) override {
        QSignalBlocker block(view());
        switch (change) {
            case Change::ItemInserted: view()->insertItem(index, makeItem(index)); break;
            case Change::ItemRemoved: delete view()->takeItem(index); break;
            case Change::ItemChanged:
                if (auto* item = view()->item(index)) fill(item, index);
                break;
            case Change::Items: view()->clear(); break;
            case Change::Selection: break;
            default: return;
        }
        applySelection();
    }

private:
    QListWidget* view() const { return static_cast<QListWidget*>(widget()); }
    bool checks() const { return list_.kind() == ControlKind::CheckListBox; }
    QListWidgetItem* makeItem(int index) {
        auto* item = new QListWidgetItem;
        // Not user-checkable: the check mark shows the control's state and only its handler changes it.
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        fill(item, index);
        return item;
    }
    void fill(QListWidgetItem* item, int index) {
        item->setText(toQt(list_.item(index)));
        if (checks())
            item->setCheckState(static_cast<CheckListBox&>(list_).isChecked(index) ? Qt::Checked : Qt::Unchecked);
    }
    void applySelection() {
        if (view()->currentRow() != list_.selected()) view()->setCurrentRow(list_.selected());
        if (list_.selected() < 0) view()->clearSelection();
    }

    ListBox& list_;
    bool keyMoved_ = false;
    bool afterDoubleClick_ = false;
};

// Icon mode is a QListWidget, report mode a QTreeWidget; only the one in use is kept filled.
class ListViewPeer : public QtPeer {
public:
    ListViewPeer(ListView& v, QWidget* parent) : QtPeer(v, new QStackedWidget(parent)), view_(v) {
        auto* stack = static_cast<QStackedWidget*>(widget());
        icons_ = new QListWidget(stack);
        icons_->setViewMode(QListView::IconMode);
        icons_->setIconSize(QSize(120, 120));
        icons_->setMovement(QListView::Static);
        icons_->setResizeMode(QListView::Adjust);
        icons_->setWrapping(true);
        icons_->setWordWrap(true);  // a caption with products takes two or three lines under its tile
        icons_->setSpacing(6);
        icons_->setTextElideMode(Qt::ElideMiddle);
        icons_->setSelectionMode(QAbstractItemView::SingleSelection);
        icons_->setGridSize(QSize(140, 120 + 3 * icons_->fontMetrics().height() + 6));
        rows_ = new QTreeWidget(stack);
        rows_->setRootIsDecorated(false);
        rows_->setUniformRowHeights(true);
        rows_->setSelectionMode(QAbstractItemView::SingleSelection);
        rows_->setAllColumnsShowFocus(true);
        rows_->header()->setStretchLastSection(false);
        stack->addWidget(icons_);
        stack->addWidget(rows_);
        for (QAbstractItemView* view :
             {static_cast<QAbstractItemView*>(icons_), static_cast<QAbstractItemView*>(rows_)}) {
            watch(view);
            watch(view->viewport());
        }
        QObject::connect(icons_, &QListWidget::itemSelectionChanged, bridge(), [this] { userSelected(); });
        QObject::connect(rows_, &QTreeWidget::itemSelectionChanged, bridge(), [this] { userSelected(); });
    }

    bool filter(QObject* watched, QEvent* event) override {
        QAbstractItemView* view = active();
        if (watched == view->viewport()) {
            // The control outlives this peer if a handler closes the window, so keep to it.
            ListView& control = view_;
            if (event->type() == QEvent::MouseButtonDblClick) {
                auto* me = static_cast<QMouseEvent*>(event);
                QModelIndex at = view->indexAt(me->position().toPoint());
                control.doubleClick(at.isValid() ? at.row() : -1);
                return true;
            }
            if (event->type() == QEvent::MouseButtonPress &&
                static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
                auto* me = static_cast<QMouseEvent*>(event);
                QModelIndex at = view->indexAt(me->position().toPoint());
                QPoint p = view->viewport()->mapTo(widget(), me->position().toPoint());
                if (control.mouseDown(MouseButton::Right, p.x(), p.y()))
                    control.rightClick(at.isValid() ? at.row() : -1);
                return true;
            }
        }
        return QtPeer::filter(watched, event);
    }

protected:
    void applyOwn() override { rebuild(); }
    void syncOwn(Change change, int index) override {
        bool report = view_.mode() == ListViewMode::Report;
        QSignalBlocker blockIcons(icons_), blockRows(rows_);
        switch (change) {
            case Change::ImageList:
                icons.clear();
                iconsOf_ = view_.imageList().get();
                rebuild();
                return;
            case Change::Style:
            case Change::Columns: rebuild(); return;
            case Change::Items:
                // A list filled afresh starts at its top, wherever the user had scrolled the last one.
                rebuild();
                for (QAbstractItemView* v :
                     {static_cast<QAbstractItemView*>(icons_), static_cast<QAbstractItemView*>(rows_)}) {
                    v->scrollToTop();
                    v->verticalScrollBar()->setValue(0);
                    v->horizontalScrollBar()->setValue(0);
                }
                return;
            case Change::ItemInserted:
                if (report)
                    rows_->insertTopLevelItem(index, makeRow(index));
                else
                    icons_->insertItem(index, makeIcon(index));
                break;
            case Change::ItemRemoved:
                if (report)
                    delete rows_->takeTopLevelItem(index);
                else
                    delete icons_->takeItem(index);
                break;
            case Change::ItemChanged:
                if (report) {
                    if (auto* item = rows_->topLevelItem(index)) fillRow(item, index);
                } else if (auto* item = icons_->item(index)) {
                    fillIcon(item, index);
                }
                break;
            case Change::Selection: break;
            default: return;
        }
        applySelection();
    }

private:
    QAbstractItemView* active() const {
        return view_.mode() == ListViewMode::Report ? static_cast<QAbstractItemView*>(rows_)
                                                    : static_cast<QAbstractItemView*>(icons_);
    }

    void userSelected() {
        QModelIndexList chosen = active()->selectionModel()->selectedIndexes();
        view_.pickItem(chosen.isEmpty() ? -1 : chosen.front().row());
    }

    // One icon per tile, shared by every item that shows it: the views refill often from the same tiles.
    QIcon iconFor(int image) {
        const auto& list = view_.imageList();
        if (list.get() != iconsOf_) {
            icons.clear();
            iconsOf_ = list.get();
        }
        if (!list || image < 0 || image >= list->size()) return {};
        if (static_cast<size_t>(image) >= icons.size()) icons.resize(static_cast<size_t>(image) + 1);
        QIcon& icon = icons[static_cast<size_t>(image)];
        if (icon.isNull()) icon = QIcon(QPixmap::fromImage(toQImage(list->at(image))));
        return icon;
    }

    QListWidgetItem* makeIcon(int index) {
        auto* item = new QListWidgetItem;
        fillIcon(item, index);
        return item;
    }
    void fillIcon(QListWidgetItem* item, int index) {
        const ListViewItem& it = view_.item(index);
        item->setText(toQt(it.caption));
        item->setIcon(iconFor(it.image));
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        item->setToolTip(toQt(it.caption));
    }
    QTreeWidgetItem* makeRow(int index) {
        auto* item = new QTreeWidgetItem;
        fillRow(item, index);
        return item;
    }
    void fillRow(QTreeWidgetItem* item, int index) {
        int columns = std::max<int>(1, static_cast<int>(view_.columns().size()));
        for (int c = 0; c < columns; ++c) item->setText(c, toQt(view_.cell(index, c)));
        item->setIcon(
            0, view_.item(index).image >= 0 && view_.columns().empty() ? iconFor(view_.item(index).image) : QIcon());
    }

    void rebuild() {
        QSignalBlocker blockIcons(icons_), blockRows(rows_);
        auto* stack = static_cast<QStackedWidget*>(widget());
        icons_->clear();
        rows_->clear();
        bool report = view_.mode() == ListViewMode::Report;
        stack->setCurrentWidget(report ? static_cast<QWidget*>(rows_) : static_cast<QWidget*>(icons_));
        // The focus the list view gets goes to the view in use, where the arrow keys work.
        stack->setFocusProxy(stack->currentWidget());
        if (report) {
            QStringList headers;
            for (const auto& c : view_.columns()) headers << toQt(c.caption);
            rows_->setColumnCount(std::max<int>(1, static_cast<int>(headers.size())));
            rows_->setHeaderLabels(headers);
            rows_->setHeaderHidden(headers.isEmpty());
            for (int c = 0; c < static_cast<int>(view_.columns().size()); ++c)
                rows_->setColumnWidth(c, view_.columns()[static_cast<size_t>(c)].width);
            rows_->setSelectionBehavior(view_.fullRowSelect() ? QAbstractItemView::SelectRows
                                                              : QAbstractItemView::SelectItems);
            QList<QTreeWidgetItem*> items;
            for (int i = 0; i < view_.itemCount(); ++i) items << makeRow(i);
            rows_->addTopLevelItems(items);
        } else {
            for (int i = 0; i < view_.itemCount(); ++i) icons_->addItem(makeIcon(i));
        }
        applySelection();
    }

    void applySelection() {
        int selected = view_.selected();
        if (view_.mode() == ListViewMode::Report) {
            QTreeWidgetItem* item = selected >= 0 ? rows_->topLevelItem(selected) : nullptr;
            if (rows_->currentItem() != item || (item && !item->isSelected())) {
                rows_->clearSelection();
                if (item) {
                    rows_->setCurrentItem(item);
                    item->setSelected(true);
                }
            }
            if (!item) rows_->clearSelection();
        } else {
            QListWidgetItem* item = selected >= 0 ? icons_->item(selected) : nullptr;
            if (icons_->currentItem() != item || (item && !item->isSelected())) {
                icons_->clearSelection();
                if (item) {
                    icons_->setCurrentItem(item);
                    item->setSelected(true);
                }
            }
            if (!item) icons_->clearSelection();
        }
    }

    ListView& view_;
    QListWidget* icons_;
    QTreeWidget* rows_;
    std::vector<QIcon> icons;
    const ImageList* iconsOf_ = nullptr;
};

}  // namespace

std::unique_ptr<QtPeer> makeComboBoxPeer(Control& c, QWidget* parent) {
    return std::make_unique<ComboBoxPeer>(static_cast<ComboBox&>(c), parent);
}
std::unique_ptr<QtPeer> makeListBoxPeer(Control& c, QWidget* parent) {
    return std::make_unique<ListBoxPeer>(static_cast<ListBox&>(c), parent);
}
std::unique_ptr<QtPeer> makeListViewPeer(Control& c, QWidget* parent) {
    return std::make_unique<ListViewPeer>(static_cast<ListView&>(c), parent);
}

}  // namespace xp::ui::qt
