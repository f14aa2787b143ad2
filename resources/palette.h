// The studio palette as the controls take it: every window colours its controls from these.
#pragma once

#include "resources/builtin_pictures.h"
#include "ui/geometry.h"

namespace xp {

constexpr ui::Color colour(pictures::Rgb rgb) { return ui::Color{rgb.r, rgb.g, rgb.b}; }

}  // namespace xp
