// One peer per control kind; the timer's peer is a QTimer with no widget.
#include <QTimer>

#include "ui/qt/qt_peers.h"
#include "ui/timer.h"
#include "ui/window.h"

namespace xp::ui::qt {

namespace {

class TimerPeer : public Peer {
public:
    explicit TimerPeer(Timer& t) : timer_(t), qtimer_(new QTimer) {
        QObject::connect(qtimer_, &QTimer::timeout, qtimer_, [this] { timer_.tick(); });
        apply();
    }
    // The QTimer may be the one whose timeout is being handled right now.
    ~TimerPeer() override {
        qtimer_->stop();
        qtimer_->disconnect();
        qtimer_->deleteLater();
    }
    void sync(Change change, int) override {
        if (change == Change::Interval) apply();
    }

private:
    void apply() {
        if (timer_.interval() > 0)
            qtimer_->start(timer_.interval());
        else
            qtimer_->stop();
    }
    Timer& timer_;
    QTimer* qtimer_;
};

}  // namespace

std::unique_ptr<Peer> makeTimerPeer(Timer& timer) { return std::make_unique<TimerPeer>(timer); }

std::unique_ptr<Peer> createPeer(Control& control, QWidget* parent) {
    std::unique_ptr<QtPeer> peer;
    switch (control.kind()) {
        case ControlKind::Window: peer = makeWindowPeer(static_cast<Window&>(control)); break;
        case ControlKind::Frame: peer = makeFramePeer(control, parent); break;
        case ControlKind::GroupBox: peer = makeGroupBoxPeer(control, parent); break;
        case ControlKind::Label: peer = makeLabelPeer(control, parent); break;
        case ControlKind::Button: peer = makeButtonPeer(control, parent); break;
        case ControlKind::PictureButton: peer = makePictureButtonPeer(control, parent); break;
        case ControlKind::ImageButton: peer = makeImageButtonPeer(control, parent); break;
        case ControlKind::CheckBox: peer = makeCheckBoxPeer(control, parent); break;
        case ControlKind::RadioButton: peer = makeRadioButtonPeer(control, parent); break;
        case ControlKind::EditBox: peer = makeEditBoxPeer(control, parent); break;
        case ControlKind::ComboBox: peer = makeComboBoxPeer(control, parent); break;
        case ControlKind::ListBox:
        case ControlKind::CheckListBox: peer = makeListBoxPeer(control, parent); break;
        case ControlKind::ListView: peer = makeListViewPeer(control, parent); break;
        case ControlKind::ProgressBar: peer = makeProgressBarPeer(control, parent); break;
        case ControlKind::TabControl: peer = makeTabControlPeer(control, parent); break;
        case ControlKind::TabPage: peer = makeTabPagePeer(control, parent); break;
        case ControlKind::PictureBox:
        case ControlKind::DrawPanel: peer = makePictureBoxPeer(control, parent); break;
        case ControlKind::Grid: peer = makeGridPeer(control, parent); break;
        case ControlKind::Timer: return makeTimerPeer(static_cast<Timer&>(control));
    }
    if (peer) peer->applyAll();
    return peer;
}

}  // namespace xp::ui::qt
