// Clicks and the check state of check boxes and radio groups.
#include "ui/button.h"

namespace xp::ui {

bool Clickable::click() {
    if (!isAvailable()) return false;
    clicked();
    if (onClick) onClick();
    return true;
}

void CheckBox::setChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    notify(Change::Checked);
}

void RadioButton::setChecked(bool checked) {
    if (checked && parent()) {
        for (Control* sibling : parent()->children())
            if (sibling != this && sibling->kind() == ControlKind::RadioButton)
                static_cast<RadioButton*>(sibling)->setChecked(false);
    }
    if (checked == checked_) return;
    checked_ = checked;
    notify(Change::Checked);
}

}  // namespace xp::ui
