// Peers that paint pictures: picture box and draw panel, picture button, image button.
#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>

#include "ui/button.h"
#include "ui/picture_box.h"
#include "ui/qt/qt_peers.h"
#include "ui/qt/qt_pictures.h"

namespace xp::ui::qt {

namespace {

class PictureWidget : public QWidget {
public:
    PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) { setMouseTracking(true); }
    PlacedPicture picture;
    std::vector<QImage> drawings;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (auto c = box_.backColor()) p.fillRect(rect(), QColor(c->r, c->g, c->b));
        picture.paint(p, box_.fit(), size());
        if (box_.kind() == ControlKind::DrawPanel) {
            const auto& list = static_cast<DrawPanel&>(box_).drawings();
            for (size_t i = 0; i < list.size() && i < drawings.size(); ++i)
                if (!drawings[i].isNull()) p.drawImage(QPoint(list[i].x, list[i].y), drawings[i]);
        }
    }

private:
    PictureBox& box_;
};

class PictureBoxPeer : public QtPeer {
public:
    PictureBoxPeer(PictureBox& b, QWidget* parent) : QtPeer(b, new PictureWidget(b, parent)), box_(b) {
        watch(widget());
    }

    bool filter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) {
            auto* me = static_cast<QMouseEvent*>(event);
            QPoint pos = me->position().toPoint();
            box_.doubleClick(pos.x(), pos.y());
            return true;
        }
        return QtPeer::filter(watched, event);
    }

protected:
    void applyOwn() override {
        applyPicture();
        applyDrawings(-1);
    }
    void syncOwn(Change change, int index) override {
        if (change == Change::Picture)
            applyPicture();
        else if (change == Change::Drawings)
            applyDrawings(index);
        else if (change == Change::Style)
            widget()->update();
    }

private:
    PictureWidget* pw() const { return static_cast<PictureWidget*>(widget()); }
    void applyPicture() {
        pw()->picture.set(box_.image().empty() ? decodePicture(box_.picture()) : toQImage(box_.image()));
        widget()->update();
    }
    void applyDrawings(int index) {
        if (box_.kind() != ControlKind::DrawPanel) return;
        const auto& list = static_cast<DrawPanel&>(box_).drawings();
        auto decode = [](const Drawing& d) { return d.image ? toQImage(*d.image) : decodePicture(*d.bytes); };
        if (index >= 0 && static_cast<size_t>(index) == pw()->drawings.size() &&
            static_cast<size_t>(index) < list.size()) {
            pw()->drawings.push_back(decode(list[static_cast<size_t>(index)]));
        } else {
            pw()->drawings.clear();
            for (const Drawing& d : list) pw()->drawings.push_back(decode(d));
        }
        widget()->update();
    }

    PictureBox& box_;
};

// Paints the picture for its state: disabled, highlighted under the mouse or pressed, normal.
class PictureButtonWidget : public QAbstractButton {
public:
    explicit PictureButtonWidget(QWidget* parent) : QAbstractButton(parent) { setAttribute(Qt::WA_Hover); }
    PlacedPicture normal, highlighted, disabled;
    bool flat = false;  // an image button: one picture, lighter under the mouse

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const bool hot = underMouse() || isDown();
        if (flat) {
            if (!isEnabled()) p.setOpacity(0.35);
            normal.paint(p, PictureFit::FitCentred, size());
            if (isEnabled() && hot) {
                p.setOpacity(1);
                p.fillRect(rect(), QColor(255, 255, 255, isDown() ? 20 : 36));
            }
            return;
        }
        PlacedPicture* pic = &normal;
        if (!isEnabled() && !disabled.isNull())
            pic = &disabled;
        else if (isEnabled() && hot && !highlighted.isNull())
            pic = &highlighted;
        if (!isEnabled() && disabled.isNull()) p.setOpacity(0.45);
        pic->paint(p, PictureFit::FitCentred, size());
        if (isDown()) p.fillRect(rect(), QColor(0, 0, 0, 40));
        if (!text().isEmpty()) {
            p.setOpacity(1);
            p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
            p.drawText(rect(), Qt::AlignCenter, text());
        }
    }
    void enterEvent(QEnterEvent* e) override {
        update();
        QAbstractButton::enterEvent(e);
    }
    void leaveEvent(QEvent* e) override {
        update();
        QAbstractButton::leaveEvent(e);
    }
};

class PictureButtonPeer : public QtPeer {
public:
    PictureButtonPeer(Clickable& b, QWidget* parent) : QtPeer(b, new PictureButtonWidget(parent)), button_(b) {
        auto* w = static_cast<PictureButtonWidget*>(widget());
        w->flat = b.kind() == ControlKind::ImageButton;
        w->setFocusPolicy(Qt::NoFocus);
        watch(w);
        QObject::connect(w, &QAbstractButton::clicked, bridge(), [this] { button_.click(); });
    }

protected:
    void applyOwn() override {
        auto* w = static_cast<PictureButtonWidget*>(widget());
        if (button_.kind() == ControlKind::ImageButton) {
            w->normal.set(decodePicture(static_cast<ImageButton&>(button_).picture()));
        } else {
            auto& b = static_cast<PictureButton&>(button_);
            w->normal.set(decodePicture(b.normalPicture()));
            w->highlighted.set(decodePicture(b.highlightedPicture()));
            w->disabled.set(decodePicture(b.disabledPicture()));
            w->setText(QString::fromUtf8(b.caption().c_str()));
        }
        w->update();
    }
    void syncOwn(Change change, int) override {
        if (change == Change::Picture || change == Change::Caption) applyOwn();
    }

private:
    Clickable& button_;
};

}  // namespace

std::unique_ptr<QtPeer> makePictureBoxPeer(Control& c, QWidget* parent) {
    return std::make_unique<PictureBoxPeer>(static_cast<PictureBox&>(c), parent);
}
std::unique_ptr<QtPeer> makePictureButtonPeer(Control& c, QWidget* parent) {
    return std::make_unique<PictureButtonPeer>(static_cast<Clickable&>(c), parent);
}
std::unique_ptr<QtPeer> makeImageButtonPeer(Control& c, QWidget* parent) {
    return std::make_unique<PictureButtonPeer>(static_cast<Clickable&>(c), parent);
}

}  // namespace xp::ui::qt
