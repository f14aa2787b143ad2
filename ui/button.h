// Buttons: the captioned push button, the picture button with its normal, highlighted and disabled
// pictures, the image button, the check box and the radio button.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/control.h"

namespace xp::ui {

using PictureBytes = std::vector<std::uint8_t>;

// Shared by every kind that the user clicks: click() is the user's action and reaches onClick only
// while the control is available; it returns whether it did.
class Clickable : public Control {
public:
    using Control::Control;
    std::function<void()> onClick;
    bool click();

protected:
    virtual void clicked() {}  // the state change a click makes, before onClick runs
};

class Button : public Clickable {
public:
    Button(Container& parent, std::string name, Rect bounds = {}) : Clickable(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::Button; }
};

// The pictures are encoded image files (PNG or JPEG). The highlighted one shows while the mouse is over
// the button, the disabled one while it is disabled; a missing one falls back to the normal picture.
class PictureButton : public Clickable {
public:
    PictureButton(Container& parent, std::string name, Rect bounds = {}) : Clickable(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::PictureButton; }

    const PictureBytes& normalPicture() const { return normal_; }
    const PictureBytes& highlightedPicture() const { return highlighted_; }
    const PictureBytes& disabledPicture() const { return disabled_; }
    void setPictures(PictureBytes normal, PictureBytes highlighted, PictureBytes disabled) {
        normal_ = std::move(normal);
        highlighted_ = std::move(highlighted);
        disabled_ = std::move(disabled);
        notify(Change::Picture);
    }

private:
    PictureBytes normal_, highlighted_, disabled_;
};

// A flat button showing one picture. Window code may compare the picture's bytes to learn which of two
// pictures it shows (the viewer's play/pause button does).
class ImageButton : public Clickable {
public:
    ImageButton(Container& parent, std::string name, Rect bounds = {}) : Clickable(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::ImageButton; }

    const PictureBytes& picture() const { return picture_; }
    void setPicture(PictureBytes bytes) {
        picture_ = std::move(bytes);
        notify(Change::Picture);
    }

private:
    PictureBytes picture_;
};

// A click toggles the box, then runs onClick. setChecked() is the program's and runs no handler.
class CheckBox : public Clickable {
public:
    CheckBox(Container& parent, std::string name, Rect bounds = {}) : Clickable(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::CheckBox; }
    bool isChecked() const { return checked_; }
    void setChecked(bool checked);

protected:
    void clicked() override { setChecked(!checked_); }

private:
    bool checked_ = false;
};

// Radio buttons in the same container form one group: checking one unchecks the others. A click checks
// the button (also when it was checked already) and runs onClick.
class RadioButton : public Clickable {
public:
    RadioButton(Container& parent, std::string name, Rect bounds = {}) : Clickable(parent, std::move(name), bounds) {}
    ControlKind kind() const override { return ControlKind::RadioButton; }
    bool isChecked() const { return checked_; }
    void setChecked(bool checked);

protected:
    void clicked() override { setChecked(true); }

private:
    bool checked_ = false;
};

}  // namespace xp::ui
