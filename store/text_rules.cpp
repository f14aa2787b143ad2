// GBK-aware case folding and the name rule.
#include "store/text_rules.h"

namespace xp {
namespace {

unsigned char fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

bool isAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool isGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

bool isFullWidthDigit(unsigned char lead, unsigned char trail) {
    return lead == 0xA3 && trail >= 0xB0 && trail <= 0xB9;
}

bool isFullWidthLetter(unsigned char lead, unsigned char trail) {
    return lead == 0xA3 && ((trail >= 0xC1 && trail <= 0xDA) || (trail >= 0xE1 && trail <= 0xFA));
}

bool isChinese(unsigned char lead, unsigned char trail) {
    if (lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1) return true;  // the common characters
    if (lead >= 0x81 && lead <= 0xA0) return true;                   // extension, lower leads
    if (lead >= 0xAA && lead <= 0xFE && trail <= 0xA0) return true;  // extension, upper leads
    return false;
}

bool isKana(unsigned char lead, unsigned char trail) {
    return (lead == 0xA4 && trail >= 0xA1 && trail <= 0xF3) || (lead == 0xA5 && trail >= 0xA1 && trail <= 0xF6);
}

}  // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (isGbkLead(ca) && i + 1 < a.size()) {
            // Both halves of a double-byte character must match exactly.
            if (ca != cb || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (fold(ca) != fold(cb)) return false;
    }
    return true;
}

bool followsNameRule(std::string_view name) {
    if (name.empty()) return false;
    bool first = true;
    for (size_t i = 0; i < name.size(); first = false) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            const bool ok = isAsciiLetter(c) || c == '_' || (!first && c >= '0' && c <= '9');
            if (!ok) return false;
            ++i;
            continue;
        }
        if (!isGbkLead(c) || i + 1 >= name.size()) return false;
        const auto t = static_cast<unsigned char>(name[i + 1]);
        if (!isGbkTrail(t)) return false;
        if (first) {
            if (isFullWidthDigit(c, t)) return false;
        } else if (!isFullWidthDigit(c, t) && !isFullWidthLetter(c, t) && !isChinese(c, t) && !isKana(c, t)) {
            return false;
        }
        i += 2;
    }
    return true;
}

}  // namespace xp
