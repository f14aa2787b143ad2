// The window's peer: a top-level widget (frameless, fixed or sizable; modal or not) or, for the child of
// another window, a panel inside that window's client area with a slim caption strip when the window
// has a caption. Controls live in the client widget.
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include "ui/qt/qt_peers.h"
#include "ui/qt/qt_text.h"
#include "ui/window.h"

namespace xp::ui::qt {

namespace {

constexpr int kCaptionStrip = 24;

class WindowPeer : public QtPeer {
public:
    explicit WindowPeer(Window& w) : QtPeer(w, new QFrame(nullptr, Qt::Window)), window_(w) {
        auto* outer = static_cast<QFrame*>(widget());
        outer->setProperty("xpWindow", QVariant::fromValue(reinterpret_cast<quintptr>(&w)));
        client_ = new QWidget(outer);
        client_->setFocusPolicy(Qt::ClickFocus);
        title_ = new QLabel(outer);
        title_->setIndent(8);
        closer_ = new QToolButton(outer);
        closer_->setText(QStringLiteral("×"));
        closer_->setAutoRaise(true);
        closer_->setFocusPolicy(Qt::NoFocus);
        QObject::connect(closer_, &QToolButton::clicked, bridge(), [this] { window_.close(); });
        watch(outer);
        watch(client_);
        placeInParent();
    }

    ~WindowPeer() override {
        if (bridge()) bridge()->peer = nullptr;
        if (widget()) widget()->hide();
    }

    QWidget* childParent() const override { return client_; }

    bool filter(QObject* watched, QEvent* event) override {
        if (watched == widget() && event->type() == QEvent::Close) {
            // The user closed it from the window manager: the window's own close decides.
            event->ignore();
            Window& w = window_;
            w.close();
            return true;
        }
        return QtPeer::filter(watched, event);
    }

    void reveal() {
        QWidget* outer = widget();
        if (outer->isWindow() && window_.isModal()) placeOverOwner(outer, &window_);
        if (window_.isMinimized())
            outer->showMinimized();
        else
            outer->show();
        outer->raise();
        if (outer->isWindow()) outer->activateWindow();
    }

protected:
    bool fillsBackground() const override { return true; }
    void applyColors() override {
        QtPeer::applyColors();
        client_->setAutoFillBackground(window_.backColor().has_value());
    }
    void applyOwn() override {
        widget()->setWindowTitle(toQt(window_.caption()));
        title_->setText(toQt(window_.caption()));
        applyFrame();
    }
    void applyGeometry() override {
        const Rect& r = window_.bounds();
        QWidget* outer = widget();
        int w = std::max(r.width, 1), h = std::max(r.height, 1);
        if (outer->isWindow() && window_.border() != BorderStyle::Sizable) outer->setFixedSize(w, h);
        outer->setGeometry(r.left, r.top, w, h);
        int strip = hasStrip() ? kCaptionStrip : 0;
        title_->setGeometry(0, 0, w - kCaptionStrip, strip);
        closer_->setGeometry(w - kCaptionStrip, 0, kCaptionStrip, strip);
        client_->setGeometry(0, strip, w, h - strip);
    }
    void applyVisible() override {
        // A top-level window appears when the host reveals it; afterwards it follows its flag.
        if (!widget()->isWindow() || revealed_) widget()->setVisible(window_.isVisible());
    }
    void syncOwn(Change change, int) override {
        switch (change) {
            case Change::Caption: applyOwn(); break;
            case Change::Style: applyOwn(); break;
            case Change::Parent: placeInParent(); break;
            case Change::WindowState:
                if (window_.isMinimized())
                    widget()->showMinimized();
                else
                    widget()->showNormal();
                break;
            case Change::Focus:
                if (!client_->hasFocus()) client_->setFocus(Qt::OtherFocusReason);
                break;
            default: break;
        }
    }

public:
    void markRevealed() { revealed_ = true; }

private:
    bool embedded() const { return window_.parentWindow() && window_.parentWindow()->peer(); }
    bool hasStrip() const { return embedded() && window_.border() != BorderStyle::None; }

    void placeInParent() {
        QWidget* outer = widget();
        bool wasVisible = outer->isVisible();
        if (embedded()) {
            auto* parentPeer = qtPeerOf(*window_.parentWindow());
            outer->setParent(parentPeer->childParent(), Qt::Widget);
        } else {
            outer->setParent(nullptr, window_.isModal() ? Qt::Dialog : Qt::Window);
        }
        applyFrame();
        applyGeometry();
        if (wasVisible || (revealed_ && window_.isVisible())) outer->show();
    }

    void applyFrame() {
        auto* outer = static_cast<QFrame*>(widget());
        bool strip = hasStrip();
        title_->setVisible(strip);
        closer_->setVisible(strip);
        if (embedded()) {
            outer->setFrameStyle(window_.border() == BorderStyle::None ? QFrame::NoFrame
                                                                       : (QFrame::Box | QFrame::Plain));
            return;
        }
        outer->setFrameStyle(QFrame::NoFrame);
        Qt::WindowFlags flags = outer->windowFlags() & (Qt::Window | Qt::Dialog);
        switch (window_.border()) {
            case BorderStyle::None: flags |= Qt::FramelessWindowHint; break;
            case BorderStyle::Fixed:
            case BorderStyle::FixedNarrow:
                flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint;
                break;
            case BorderStyle::Sizable:
                flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                         Qt::WindowCloseButtonHint;
                break;
        }
        if (outer->windowFlags() != flags) {
            bool visible = outer->isVisible();
            outer->setWindowFlags(flags);
            if (visible) outer->show();
        }
        outer->setWindowModality(window_.isModal() ? Qt::ApplicationModal : Qt::NonModal);
    }

    Window& window_;
    QWidget* client_;
    QLabel* title_;
    QToolButton* closer_;
    bool revealed_ = false;
};

}  // namespace

std::unique_ptr<QtPeer> makeWindowPeer(Window& window) { return std::make_unique<WindowPeer>(window); }

void revealWindowPeer(QtPeer& peer) {
    auto& w = static_cast<WindowPeer&>(peer);
    w.markRevealed();
    w.reveal();
}

}  // namespace xp::ui::qt
