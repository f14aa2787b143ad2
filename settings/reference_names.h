// The checks on the names the settings window adds to the reference tables. Product names become folder
// names when an order is split and are joined with "。" in product lists; category names are joined the
// same way on their products' rows; so a name that would break either is refused before it is stored.
#pragma once

#include <string>
#include <string_view>

namespace xp {

// The text without leading and trailing blanks (ASCII white space and the full-width space).
std::string trimBlanks(std::string_view text);

// "" when `name` (already trimmed) can be stored as a product name; otherwise the message that says why
// not. The empty name is refused by the window itself with its own message.
std::string productNameProblem(std::string_view name);

// The same for a category name.
std::string categoryNameProblem(std::string_view name);

}  // namespace xp
