// The peer base: common state (geometry, visibility, availability, font, colours, cursor, focus) and
// mouse and focus events turned into the control's user actions.
#include "ui/qt/qt_peer.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>

#include "ui/window.h"

namespace xp::ui::qt {

bool Bridge::eventFilter(QObject* watched, QEvent* event) { return peer ? peer->filter(watched, event) : false; }

QtPeer::QtPeer(Control& control, QWidget* widget) : control_(control), widget_(widget), bridge_(new Bridge(widget)) {
    bridge_->peer = this;
    widget->setProperty("xpControl", QVariant::fromValue(reinterpret_cast<quintptr>(&control)));
    widget->setObjectName(QString::fromUtf8(control.name().c_str()));
}

QtPeer::~QtPeer() {
    if (bridge_) {
        bridge_->peer = nullptr;
        delete bridge_.data();
    }
    if (widget_) {
        // When the whole window goes its top widget hides; hiding each child would only move the focus
        // around (and run focus handlers) in a window that is closing.
        if (!windowClosing()) widget_->hide();
        widget_->deleteLater();
    }
}

bool QtPeer::windowClosing() const {
    Window* w = control_.window();
    return !w || w->state() == Window::State::Closed;
}

void QtPeer::watch(QObject* obj) { obj->installEventFilter(bridge_); }

void QtPeer::replaceWidget(QWidget* widget) {
    QWidget* old = widget_;
    if (bridge_) {
        bridge_->peer = nullptr;
        delete bridge_.data();
    }
    widget_ = widget;
    bridge_ = new Bridge(widget);
    bridge_->peer = this;
    widget->setProperty("xpControl", QVariant::fromValue(reinterpret_cast<quintptr>(&control_)));
    widget->setObjectName(QString::fromUtf8(control_.name().c_str()));
    if (old) {
        old->hide();
        old->deleteLater();
    }
}

void QtPeer::applyAll() {
    if (!widget_) return;
    widget_->setFont(makeFont(control_.font(), QApplication::font()));
    applyColors();
    applyCursor();
    applyOwn();
    applyGeometry();
    widget_->setEnabled(control_.isEnabled());
    applyVisible();
}

void QtPeer::applyCursor() {
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (control_.cursor()) {
        case Cursor::Arrow: shape = Qt::ArrowCursor; break;
        case Cursor::Hand: shape = Qt::PointingHandCursor; break;
        case Cursor::Wait: shape = Qt::WaitCursor; break;
        case Cursor::Cross: shape = Qt::CrossCursor; break;
        case Cursor::IBeam: shape = Qt::IBeamCursor; break;
        case Cursor::SizeAll: shape = Qt::SizeAllCursor; break;
    }
    widget_->setCursor(shape);
}

void QtPeer::applyGeometry() {
    const Rect& r = control_.bounds();
    widget_->setGeometry(r.left, r.top, std::max(r.width, 0), std::max(r.height, 0));
}

void QtPeer::applyVisible() { widget_->setVisible(control_.isVisible()); }

void QtPeer::applyColors() {
    // Only the roles the control sets become explicit; the rest keep coming from the parent widget.
    QPalette p;
    if (auto c = control_.textColor()) {
        QColor q(c->r, c->g, c->b);
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            p.setColor(QPalette::Active, role, q);
            p.setColor(QPalette::Inactive, role, q);
        }
    }
    if (auto c = control_.backColor()) {
        QColor q(c->r, c->g, c->b);
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
            p.setColor(QPalette::Active, role, q);
            p.setColor(QPalette::Inactive, role, q);
        }
    }
    widget_->setPalette(p);
    if (fillsBackground()) widget_->setAutoFillBackground(control_.backColor().has_value());
}

void QtPeer::sync(Change change, int index) {
    if (!widget_) return;
    switch (change) {
        case Change::Geometry: applyGeometry(); break;
        case Change::Visible: applyVisible(); break;
        case Change::Enabled: widget_->setEnabled(control_.isEnabled()); break;
        case Change::Font: widget_->setFont(makeFont(control_.font(), QApplication::font())); break;
        case Change::Colors: applyColors(); break;
        case Change::Cursor: applyCursor(); break;
        case Change::Focus:
            if (!widget_->hasFocus()) widget_->setFocus(Qt::OtherFocusReason);
            break;
        case Change::ChildAdded:
            if (auto* container = dynamic_cast<Container*>(&control_);
                container && index >= 0 && index < static_cast<int>(container->children().size())) {
                Control& child = *container->children()[static_cast<size_t>(index)];
                // Tab pages are fitted in by their tab control once they are complete.
                if (child.kind() != ControlKind::TabPage) attachTree(child, childParent());
            }
            break;
        default: break;
    }
    syncOwn(change, index);
}

bool QtPeer::filter(QObject* watched, QEvent* event) {
    auto* from = qobject_cast<QWidget*>(watched);
    if (!from) return false;
    switch (event->type()) {
        case QEvent::FocusIn: control_.focus(); return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(event);
            QPoint p = from == widget_ ? me->position().toPoint() : from->mapTo(widget_, me->position().toPoint());
            auto button = [](Qt::MouseButton b) {
                switch (b) {
                    case Qt::LeftButton: return MouseButton::Left;
                    case Qt::RightButton: return MouseButton::Right;
                    case Qt::MiddleButton: return MouseButton::Middle;
                    default: return MouseButton::None;
                }
            };
            if (event->type() == QEvent::MouseButtonPress)
                control_.mouseDown(button(me->button()), p.x(), p.y());
            else if (event->type() == QEvent::MouseButtonRelease)
                control_.mouseUp(button(me->button()), p.x(), p.y());
            else
                control_.mouseMove(p.x(), p.y(),
                                   me->buttons() & Qt::LeftButton    ? MouseButton::Left
                                   : me->buttons() & Qt::RightButton ? MouseButton::Right
                                                                     : MouseButton::None);
            return false;
        }
        default: return false;
    }
}

QtPeer* qtPeerOf(const Control& control) { return dynamic_cast<QtPeer*>(control.peer()); }

QFont makeFont(const Font& font, const QFont& base) {
    QFont f = base;
    if (!font.family.empty()) f.setFamily(QString::fromUtf8(font.family.c_str()));
    if (font.pixelHeight > 0) f.setPixelSize(font.pixelHeight);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

void attachTree(Control& control, QWidget* parent) {
    // A tab control fits its pages in itself while it is being built.
    if (control.peer()) return;
    control.setPeer(createPeer(control, parent));
    if (auto* container = dynamic_cast<Container*>(&control)) {
        QtPeer* peer = qtPeerOf(control);
        QWidget* inner = peer ? peer->childParent() : parent;
        for (Control* child : container->children()) attachTree(*child, inner);
    }
}

}  // namespace xp::ui::qt
