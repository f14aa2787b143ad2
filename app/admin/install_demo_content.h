// The content of a demo installation: selectors, categories and products, store details, warm tips,
// requirement presets, three orders with generated photos, and gallery albums.
#pragma once

#include <string>

#include "appdata/app_paths.h"

namespace xp::admin {

// Fills the staged installation; paths stored in tables and files use `final`. Returns "" on success,
// otherwise the reason it failed.
std::string fillDemoContent(const AppPaths& staged, const AppPaths& final);

}  // namespace xp::admin
