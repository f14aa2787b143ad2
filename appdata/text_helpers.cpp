// The shared text rules.
#include "appdata/text_helpers.h"

#include <climits>
#include <ctime>

#include "appdata/text_codec.h"

namespace xp {

std::vector<std::string> splitText(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (delimiter.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t at = text.find(delimiter, start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            break;
        }
        pieces.emplace_back(text.substr(start, at - start));
        start = at + delimiter.size();
    }
    return pieces;
}

std::vector<std::string> splitProductList(std::string_view text) { return splitText(text, kProductListSeparator); }

std::string joinProductList(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += name + kProductListSeparator;
    return text;
}

std::int32_t textToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<std::int64_t>(INT32_MAX) + 1) value = static_cast<std::int64_t>(INT32_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

namespace {

std::tm localToday() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    return tm;
}

}  // namespace

std::string dateText(int year, int month, int day) {
    return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day);
}

std::string todayText() {
    std::tm tm = localToday();
    return dateText(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::string currentMonthPrefix() {
    std::tm tm = localToday();
    return std::to_string(tm.tm_year + 1900) + "-" + std::to_string(tm.tm_mon + 1) + "-";
}

std::string numberText(std::int64_t n) { return std::to_string(n); }

std::string valueText(const FieldValue& value) { return fromGbk(value.toText()); }

std::string photoBaseName(std::string_view fileName) {
    size_t slash = fileName.find_last_of('/');
    if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    return std::string(fileName.substr(0, fileName.find('.')));
}

}  // namespace xp
