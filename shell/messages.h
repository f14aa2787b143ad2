// The program's own message boxes, as every window shows them: information and Yes/No questions with
// the program's title.
#pragma once

#include <string>

#include "appdata/app_paths.h"

namespace xp {

// An information box; the title is the program's unless another is given.
void inform(const std::string& text, const std::string& title = kMessageTitle);

// A Yes/No question with the program's title; true only when the user answers 是.
bool ask(const std::string& text);

// A Yes/No question whose 是 deletes or overwrites something: 否 is the default button, so that a hasty
// Enter keeps what is there. True only when the user answers 是.
bool askDefaultNo(const std::string& text);

}  // namespace xp
