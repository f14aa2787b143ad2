// Peers of the plain kinds: frame, group box, label, push button, check box, radio button, edit box and
// progress bar.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QTextOption>
#include <QTimer>
#include <QValidator>

#include "ui/button.h"
#include "ui/edit_box.h"
#include "ui/frame.h"
#include "ui/label.h"
#include "ui/progress_bar.h"
#include "ui/qt/qt_peers.h"
#include "ui/qt/qt_pictures.h"
#include "ui/qt/qt_text.h"

namespace xp::ui::qt {

namespace {

Qt::Alignment toQtAlign(HAlign a) {
    switch (a) {
        case HAlign::Centre: return Qt::AlignHCenter;
        case HAlign::Right: return Qt::AlignRight;
        default: return Qt::AlignLeft;
    }
}

class FramePeer : public QtPeer {
public:
    FramePeer(Frame& f, QWidget* parent) : QtPeer(f, new QFrame(parent)), frame_(f) { watch(widget()); }

protected:
    bool fillsBackground() const override { return true; }
    void applyOwn() override {
        auto* w = static_cast<QFrame*>(widget());
        switch (frame_.border()) {
            case FrameBorder::None: w->setFrameStyle(QFrame::NoFrame); break;
            case FrameBorder::Line: w->setFrameStyle(QFrame::Box | QFrame::Plain); break;
            case FrameBorder::Sunken: w->setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
            case FrameBorder::Raised: w->setFrameStyle(QFrame::Panel | QFrame::Raised); break;
        }
    }
    void syncOwn(Change change, int) override {
        if (change == Change::Style) applyOwn();
    }

private:
    Frame& frame_;
};

class GroupBoxPeer : public QtPeer {
public:
    GroupBoxPeer(Control& c, QWidget* parent) : QtPeer(c, new QGroupBox(parent)) { watch(widget()); }

protected:
    bool fillsBackground() const override { return true; }
    void applyOwn() override { static_cast<QGroupBox*>(widget())->setTitle(toQtCaption(control().caption())); }
    void syncOwn(Change change, int) override {
        if (change == Change::Caption) applyOwn();
    }
};

// Paints its own background picture and caption, so that a transparent label shows what lies beneath.
class LabelWidget : public QWidget {
public:
    LabelWidget(Label& label, QWidget* parent) : QWidget(parent), label_(label) {}
    PlacedPicture picture;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!label_.isTransparent() && label_.backColor()) {
            auto c = *label_.backColor();
            p.fillRect(rect(), QColor(c.r, c.g, c.b));
        }
        picture.paint(p, label_.pictureFit(), size());
        if (label_.caption().empty()) return;
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        int flags = static_cast<int>(toQtAlign(label_.align())) | Qt::AlignVCenter;
        if (label_.wordWrap()) flags |= Qt::TextWordWrap;
        p.drawText(rect(), flags, toQtLines(label_.caption()));
    }

private:
    Label& label_;
};

class LabelPeer : public QtPeer {
public:
    LabelPeer(Label& l, QWidget* parent) : QtPeer(l, new LabelWidget(l, parent)), label_(l) { watch(widget()); }

protected:
    void applyOwn() override {
        static_cast<LabelWidget*>(widget())->picture.set(decodePicture(label_.picture()));
        widget()->update();
    }
    void syncOwn(Change change, int) override {
        if (change == Change::Picture)
            applyOwn();
        else
            widget()->update();
    }

private:
    Label& label_;
};

class ButtonPeer : public QtPeer {
public:
    ButtonPeer(Button& b, QWidget* parent) : QtPeer(b, new QPushButton(parent)), button_(b) {
        auto* w = static_cast<QPushButton*>(widget());
        w->setAutoDefault(false);
        watch(w);
        QObject::connect(w, &QPushButton::clicked, bridge(), [this] { button_.click(); });
    }

protected:
    void applyOwn() override { static_cast<QPushButton*>(widget())->setText(toQtCaption(button_.caption())); }
    void syncOwn(Change change, int) override {
        if (change == Change::Caption) applyOwn();
    }

private:
    Button& button_;
};

// A click makes Qt toggle the widget first; the widget is put back to the control's state before the
// control's own click decides.
template <class Box, class Widget>
class CheckablePeer : public QtPeer {
public:
    CheckablePeer(Box& b, QWidget* parent) : QtPeer(b, new Widget(parent)), box_(b) {
        auto* w = static_cast<Widget*>(widget());
        w->setAutoExclusive(false);
        watch(w);
        QObject::connect(w, &Widget::clicked, bridge(), [this, w] {
            {
                QSignalBlocker block(w);
                w->setChecked(box_.isChecked());
            }
            box_.click();
        });
    }

protected:
    void applyOwn() override {
        auto* w = static_cast<Widget*>(widget());
        QSignalBlocker block(w);
        w->setText(toQtCaption(box_.caption()));
        w->setChecked(box_.isChecked());
    }
    void syncOwn(Change change, int) override {
        if (change == Change::Caption || change == Change::Checked) applyOwn();
    }

private:
    Box& box_;
};

// A style that masks password characters with the box's own character.
class MaskStyle : public QProxyStyle {
public:
    MaskStyle(char mask) : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), mask_(mask) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return static_cast<unsigned char>(mask_);
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }

private:
    char mask_;
};

// What a single-line box takes: digits only for integer entry, and never more than its limit. Keys or a
// paste that would go past the limit lose their last characters (whole characters, never a half), so
// what is kept is what the user sees.
class EntryValidator : public QValidator {
public:
    EntryValidator(EditBox& edit, QObject* parent) : QValidator(parent), edit_(edit) {}

    State validate(QString& input, int& pos) const override {
        if (edit_.isIntegerEntry())
            for (QChar c : input)
                if (!c.isDigit() || c.unicode() > '9') return Invalid;
        if (!edit_.hasTextLimit() || edit_.fits(fromQt(input))) return Acceptable;
        // The characters just typed or pasted stand before the cursor.
        while (pos > 0 && !edit_.fits(fromQt(input))) {
            int width = pos >= 2 && input[pos - 1].isLowSurrogate() && input[pos - 2].isHighSurrogate() ? 2 : 1;
            input.remove(pos - width, width);
            pos -= width;
        }
        return edit_.fits(fromQt(input)) ? Acceptable : Invalid;
    }

private:
    EditBox& edit_;
};

class EditBoxPeer : public QtPeer {
public:
    EditBoxPeer(EditBox& e, QWidget* parent) : QtPeer(e, makeWidget(e, parent)), edit_(e), multiLine_(e.isMultiLine()) {
        connectWidget();
    }

protected:
    void applyOwn() override {
        if (multiLine_) {
            auto* w = static_cast<QPlainTextEdit*>(widget());
            w->setVerticalScrollBarPolicy(edit_.hasScrollBar() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
            w->setReadOnly(edit_.isReadOnly());
            QTextOption option = w->document()->defaultTextOption();
            option.setAlignment(toQtAlign(edit_.align()));
            w->document()->setDefaultTextOption(option);
        } else {
            auto* w = static_cast<QLineEdit*>(widget());
            w->setAlignment(toQtAlign(edit_.align()) | Qt::AlignVCenter);
            w->setReadOnly(edit_.isReadOnly());
            w->setMaxLength(edit_.maxLength() > 0 ? edit_.maxLength() : 32767);
            w->setEchoMode(edit_.isPassword() ? QLineEdit::Password : QLineEdit::Normal);
            if (edit_.isPassword() && !dynamic_cast<MaskStyle*>(w->style())) {
                auto* style = new MaskStyle(edit_.maskChar());
                style->setParent(w);
                w->setStyle(style);
            }
            if ((edit_.isIntegerEntry() || edit_.hasTextLimit()) && !w->validator())
                w->setValidator(new EntryValidator(edit_, w));
            else if (!edit_.isIntegerEntry() && !edit_.hasTextLimit())
                w->setValidator(nullptr);
        }
        applyText();
    }
    void syncOwn(Change change, int) override {
        if (change == Change::Text) {
            applyText();
        } else if (change == Change::Selection) {
            applySelection();
        } else if (change == Change::Style) {
            if (edit_.isMultiLine() != multiLine_) {
                QWidget* parent = widget()->parentWidget();
                multiLine_ = edit_.isMultiLine();
                replaceWidget(makeWidget(edit_, parent));
                connectWidget();
                applyAll();
            } else {
                applyOwn();
            }
        }
    }

private:
    static QWidget* makeWidget(EditBox& e, QWidget* parent) {
        if (e.isMultiLine()) {
            auto* w = new QPlainTextEdit(parent);
            w->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            w->setTabChangesFocus(true);
            return w;
        }
        return new QLineEdit(parent);
    }

    void connectWidget() {
        watch(widget());
        if (multiLine_) {
            auto* w = static_cast<QPlainTextEdit*>(widget());
            QObject::connect(w, &QPlainTextEdit::textChanged, bridge(), [this, w] {
                if (!updating_) edit_.setText(fromQtLines(w->toPlainText()));
            });
        } else {
            auto* w = static_cast<QLineEdit*>(widget());
            QObject::connect(w, &QLineEdit::textEdited, bridge(),
                             [this](const QString& text) { edit_.setText(fromQt(text)); });
        }
    }

    // A value the program put in for the user to type over. Again once the event that brought the focus
    // is done: a mouse press into the box places the cursor after the focus came and would undo it.
    void applySelection() {
        if (!edit_.isAllSelected()) return;
        auto selectAll = [w = widget(), multi = multiLine_] {
            if (multi)
                static_cast<QPlainTextEdit*>(w)->selectAll();
            else
                static_cast<QLineEdit*>(w)->selectAll();
        };
        selectAll();
        QPointer<QWidget> target = widget();
        EditBox* edit = &edit_;
        QTimer::singleShot(0, bridge(), [target, edit, selectAll] {
            if (target && edit->isAllSelected()) selectAll();
        });
    }

    // Only when the texts differ, so that the user's cursor stays where it was while typing.
    void applyText() {
        updating_ = true;
        if (multiLine_) {
            auto* w = static_cast<QPlainTextEdit*>(widget());
            QString text = toQtLines(edit_.text());
            if (w->toPlainText() != text) w->setPlainText(text);
        } else {
            auto* w = static_cast<QLineEdit*>(widget());
            QString text = toQt(edit_.text());
            if (w->text() != text) w->setText(text);
        }
        updating_ = false;
    }

    EditBox& edit_;
    bool multiLine_;
    bool updating_ = false;
};

class ProgressBarPeer : public QtPeer {
public:
    ProgressBarPeer(ProgressBar& b, QWidget* parent) : QtPeer(b, new QProgressBar(parent)), bar_(b) {
        static_cast<QProgressBar*>(widget())->setTextVisible(false);
        watch(widget());
    }

protected:
    void applyOwn() override {
        auto* w = static_cast<QProgressBar*>(widget());
        w->setRange(bar_.minimum(), bar_.maximum() > bar_.minimum() ? bar_.maximum() : bar_.minimum() + 1);
        w->setValue(bar_.position());
    }
    void syncOwn(Change change, int) override {
        if (change == Change::Range || change == Change::Position) applyOwn();
    }

private:
    ProgressBar& bar_;
};

}  // namespace

std::unique_ptr<QtPeer> makeFramePeer(Control& c, QWidget* parent) {
    return std::make_unique<FramePeer>(static_cast<Frame&>(c), parent);
}
std::unique_ptr<QtPeer> makeGroupBoxPeer(Control& c, QWidget* parent) {
    return std::make_unique<GroupBoxPeer>(c, parent);
}
std::unique_ptr<QtPeer> makeLabelPeer(Control& c, QWidget* parent) {
    return std::make_unique<LabelPeer>(static_cast<Label&>(c), parent);
}
std::unique_ptr<QtPeer> makeButtonPeer(Control& c, QWidget* parent) {
    return std::make_unique<ButtonPeer>(static_cast<Button&>(c), parent);
}
std::unique_ptr<QtPeer> makeCheckBoxPeer(Control& c, QWidget* parent) {
    return std::make_unique<CheckablePeer<CheckBox, QCheckBox>>(static_cast<CheckBox&>(c), parent);
}
std::unique_ptr<QtPeer> makeRadioButtonPeer(Control& c, QWidget* parent) {
    return std::make_unique<CheckablePeer<RadioButton, QRadioButton>>(static_cast<RadioButton&>(c), parent);
}
std::unique_ptr<QtPeer> makeEditBoxPeer(Control& c, QWidget* parent) {
    return std::make_unique<EditBoxPeer>(static_cast<EditBox&>(c), parent);
}
std::unique_ptr<QtPeer> makeProgressBarPeer(Control& c, QWidget* parent) {
    return std::make_unique<ProgressBarPeer>(static_cast<ProgressBar&>(c), parent);
}

}  // namespace xp::ui::qt
