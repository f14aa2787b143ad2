// The program's message boxes.
#include "shell/messages.h"

#include "ui/host.h"

namespace xp {

void inform(const std::string& text, const std::string& title) {
    ui::messageBox(text, title, ui::MessageIcon::Information);
}

bool ask(const std::string& text) {
    return ui::messageBox(text, kMessageTitle, ui::MessageIcon::Question, ui::MessageButtons::YesNo) ==
           ui::MessageResult::Yes;
}

bool askDefaultNo(const std::string& text) {
    return ui::messageBox(text, kMessageTitle, ui::MessageIcon::Question, ui::MessageButtons::YesNo,
                          ui::MessageResult::No) == ui::MessageResult::Yes;
}

}  // namespace xp
