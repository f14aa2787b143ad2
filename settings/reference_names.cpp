// Checks on product and category names.
#include "settings/reference_names.h"

#include "appdata/text_helpers.h"

namespace xp {

namespace {

constexpr std::string_view kFullWidthSpace = "\u3000";

bool isAsciiBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// C0 controls, DEL, and the C1 controls U+0080..U+009F (UTF-8 C2 80..C2 9F).
bool hasControlCharacter(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x20 || b == 0x7F) return true;
        if (b == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9F) return true;
        }
    }
    return false;
}

}  // namespace

std::string trimBlanks(std::string_view text) {
    for (;;) {
        if (!text.empty() && isAsciiBlank(text.front()))
            text.remove_prefix(1);
        else if (text.starts_with(kFullWidthSpace))
            text.remove_prefix(kFullWidthSpace.size());
        else
            break;
    }
    for (;;) {
        if (!text.empty() && isAsciiBlank(text.back()))
            text.remove_suffix(1);
        else if (text.ends_with(kFullWidthSpace))
            text.remove_suffix(kFullWidthSpace.size());
        else
            break;
    }
    return std::string(text);
}

std::string productNameProblem(std::string_view name) {
    if (name == "." || name == "..") return "产品名称不能是“.”或“..”，因为分片时产品名称就是文件夹的名称，请换一个名称";
    if (name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos)
        return "产品名称不能含有“/”或“\\”，因为分片时产品名称就是文件夹的名称，请换一个名称";
    if (name.find(kProductListSeparator) != std::string_view::npos)
        return "产品名称不能含有“。”，因为“。”用来分隔产品名称，请换一个名称";
    if (hasControlCharacter(name)) return "产品名称不能含有控制字符，请重新输入";
    return {};
}

std::string categoryNameProblem(std::string_view name) {
    if (name.find(kProductListSeparator) != std::string_view::npos)
        return "类别名称不能含有“。”，因为“。”用来分隔产品名称，请换一个名称";
    if (hasControlCharacter(name)) return "类别名称不能含有控制字符，请重新输入";
    return {};
}

}  // namespace xp
