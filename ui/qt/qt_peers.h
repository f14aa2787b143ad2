// The peer constructors of each control kind, for the factory.
#pragma once

#include <memory>

#include "ui/qt/qt_peer.h"

namespace xp::ui {
class Window;
class Timer;
}  // namespace xp::ui

namespace xp::ui::qt {

std::unique_ptr<QtPeer> makeFramePeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeGroupBoxPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeLabelPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeButtonPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makePictureButtonPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeImageButtonPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeCheckBoxPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeRadioButtonPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeEditBoxPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeComboBoxPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeListBoxPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeListViewPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeProgressBarPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeTabControlPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeTabPagePeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makePictureBoxPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeGridPeer(Control& control, QWidget* parent);
std::unique_ptr<QtPeer> makeWindowPeer(Window& window);
// Shows a window whose created handler has run.
void revealWindowPeer(QtPeer& peer);

// Dialogs and modal windows have no Qt parent (a parent deleted while they run would take them along);
// they are only placed over the program's topmost visible window instead.
void placeOverOwner(QWidget* dialog, const Window* except = nullptr);
std::unique_ptr<Peer> makeTimerPeer(Timer& timer);

}  // namespace xp::ui::qt
