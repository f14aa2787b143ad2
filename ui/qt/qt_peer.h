// The Qt side of a control: the peer base every widget peer derives from, the bridge that carries the
// widget's events back to it, and the factory that builds peers for a control tree.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "ui/control.h"

class QEvent;

namespace xp::ui::qt {

class QtPeer;

// Owned by the widget, so it outlives a peer that goes while one of its events is being handled.
class Bridge : public QObject {
public:
    explicit Bridge(QObject* owner) : QObject(owner) {}
    QtPeer* peer = nullptr;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A peer may be destroyed by any call into its control (a click handler that closes the window), so
// peer code returns at once after such a call and never touches its members afterwards.
class QtPeer : public Peer {
public:
    QtPeer(Control& control, QWidget* widget);
    ~QtPeer() override;

    void sync(Change change, int index) final;
    // Applies the whole state; the factory calls it once the peer is complete.
    void applyAll();

    Control& control() const { return control_; }
    QWidget* widget() const { return widget_; }
    // Where child controls' widgets go.
    virtual QWidget* childParent() const { return widget_; }
    // Events of the watched objects; the default turns mouse and focus events into user actions.
    virtual bool filter(QObject* watched, QEvent* event);

protected:
    virtual void syncOwn(Change change, int index) {
        (void)change;
        (void)index;
    }
    virtual void applyOwn() {}
    virtual void applyGeometry();
    virtual void applyVisible();
    virtual void applyColors();
    void applyCursor();
    // Whether a background colour fills the widget's rectangle (panels do; buttons paint their own).
    virtual bool fillsBackground() const { return false; }
    // Mouse and focus events of obj reach filter().
    void watch(QObject* obj);
    Bridge* bridge() const { return bridge_; }
    // Puts a new widget in the old one's place (an edit box turning multi-line).
    void replaceWidget(QWidget* widget);
    bool windowClosing() const;

private:
    Control& control_;
    QPointer<QWidget> widget_;
    QPointer<Bridge> bridge_;
};

// Creates the peer of one control, its widget a child of `parent`.
std::unique_ptr<Peer> createPeer(Control& control, QWidget* parent);
// Gives a control and everything inside it their peers.
void attachTree(Control& control, QWidget* parent);
QtPeer* qtPeerOf(const Control& control);

QFont makeFont(const Font& font, const QFont& base);

}  // namespace xp::ui::qt
