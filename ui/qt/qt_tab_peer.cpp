// The tab control's peer: a tab bar over a panel, with one full-size page widget per tab of which only
// the current one shows; page controls sit relative to the tab control's corner, below the bar.
#include <QFrame>
#include <QSignalBlocker>
#include <QTabBar>

#include "ui/qt/qt_peers.h"
#include "ui/qt/qt_text.h"
#include "ui/tab_control.h"

namespace xp::ui::qt {

namespace {

class TabControlPeer : public QtPeer {
public:
    TabControlPeer(TabControl& t, QWidget* parent) : QtPeer(t, new QWidget(parent)), tabs_(t) {
        panel_ = new QFrame(widget());
        panel_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
        bar_ = new QTabBar(widget());
        bar_->setDrawBase(false);
        bar_->setExpanding(false);
        watch(widget());
        QObject::connect(bar_, &QTabBar::currentChanged, bridge(), [this](int index) {
            TabControl& tabs = tabs_;
            QTabBar* bar = bar_;
            if (!tabs.pickTab(index)) {
                QSignalBlocker block(bar);
                bar->setCurrentIndex(tabs.current());
            }
        });
    }

protected:
    void applyOwn() override {
        QSignalBlocker block(bar_);
        while (bar_->count() > 0) bar_->removeTab(0);
        for (int i = 0; i < tabs_.tabCount(); ++i) {
            bar_->addTab(toQtCaption(tabs_.page(i).caption()));
            bar_->setTabEnabled(i, tabs_.isTabEnabled(i));
            if (!tabs_.page(i).peer()) attachTree(tabs_.page(i), widget());
        }
        bar_->setCurrentIndex(tabs_.current());
        layoutParts();
        showPages();
    }
    void applyGeometry() override {
        QtPeer::applyGeometry();
        layoutParts();
    }
    void syncOwn(Change change, int) override {
        if (change == Change::Tabs) {
            applyOwn();
        } else if (change == Change::CurrentTab) {
            QSignalBlocker block(bar_);
            bar_->setCurrentIndex(tabs_.current());
            showPages();
        }
    }

private:
    void layoutParts() {
        int barHeight = bar_->sizeHint().height();
        bar_->setGeometry(0, 0, std::min(bar_->sizeHint().width(), std::max(widget()->width(), 0)), barHeight);
        panel_->setGeometry(0, barHeight - 1, widget()->width(), std::max(widget()->height() - barHeight + 1, 0));
        panel_->lower();
        bar_->raise();
    }
    void showPages() {
        for (int i = 0; i < tabs_.tabCount(); ++i)
            if (Peer* p = tabs_.page(i).peer()) p->sync(Change::Visible, -1);
        bar_->raise();
    }

    TabControl& tabs_;
    QFrame* panel_;
    QTabBar* bar_;
};

class TabPagePeer : public QtPeer {
public:
    TabPagePeer(TabPage& p, QWidget* parent) : QtPeer(p, new QWidget(parent)), page_(p) { watch(widget()); }

protected:
    void applyVisible() override { widget()->setVisible(page_.isVisible() && page_.isCurrentPage()); }

private:
    TabPage& page_;
};

}  // namespace

std::unique_ptr<QtPeer> makeTabControlPeer(Control& c, QWidget* parent) {
    return std::make_unique<TabControlPeer>(static_cast<TabControl&>(c), parent);
}
std::unique_ptr<QtPeer> makeTabPagePeer(Control& c, QWidget* parent) {
    return std::make_unique<TabPagePeer>(static_cast<TabPage&>(c), parent);
}

}  // namespace xp::ui::qt
