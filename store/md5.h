// MD5 digest (RFC 1321), used only for the password check stored in protected table headers.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace xp {

std::array<uint8_t, 16> md5(std::string_view data);

}  // namespace xp
