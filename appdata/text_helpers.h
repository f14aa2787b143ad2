// The shared text rules of the program, on UTF-8 texts: splitting at a delimiter, product list texts,
// the integer value of a typed text, today's date, numbers as text and a photo's base name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/field_value.h"

namespace xp {

// The full-width full stop that ends every name of a product list text.
inline constexpr char kProductListSeparator[] = "。";

// The pieces between delimiters, in order: two adjacent delimiters give an empty piece, a trailing
// delimiter gives no extra piece, the empty text gives no pieces. On UTF-8 a delimiter can only match at
// a character boundary. An empty delimiter gives the whole text as one piece.
std::vector<std::string> splitText(std::string_view text, std::string_view delimiter);

// "A。B。" gives {"A", "B"}; "A。" gives {"A"}; "" gives {}.
std::vector<std::string> splitProductList(std::string_view text);
// Each name followed by "。": {"A", "B"} gives "A。B。".
std::string joinProductList(const std::vector<std::string>& names);

// The leading decimal integer of a text ("12张" gives 12, "-3" gives -3); leading blanks are skipped, an
// empty or non-numeric text gives 0, and a number beyond the 32-bit range gives the nearest limit.
std::int32_t textToInt(std::string_view text);

// Year, month and day in decimal without leading zeros, joined by "-": "2015-10-5".
std::string dateText(int year, int month, int day);
// Today's local date in that form, and the prefix "2015-10-" that the date fields are pre-filled with.
std::string todayText();
std::string currentMonthPrefix();

// Numbers as text the way the rest of the system shows them: integers in decimal, float "%.6g", double
// "%.13g", bool "真"/"假", date-time "%d年%d月%d日" plus its time of day; texts as they are (UTF-8).
std::string numberText(std::int64_t n);
std::string valueText(const FieldValue& value);

// The photo's "文件名": its file name up to the first "." ("a.b.jpg" gives "a"). A folder part is dropped.
std::string photoBaseName(std::string_view fileName);

}  // namespace xp
