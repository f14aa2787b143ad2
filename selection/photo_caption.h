// How a photo's entry in the photo list reads: its caption from the photo row's fields, and the status
// line under the list.
#pragma once

#include <string>
#include <string_view>

namespace xp {

// Between the file name and the product list in a caption (full-width vertical bar).
inline constexpr char kCaptionSeparator[] = "｜";
// Appended to the caption of a photo that carries a retouch request.
inline constexpr char kRetouchMarker[] = "★";

// "文件名" alone while the photo has no products; otherwise "文件名｜产品名称", with "★" when it also has
// a retouch request. The product list text is shown as stored.
std::string photoCaption(std::string_view fileName, std::string_view products, std::string_view retouch);

// The part of a caption before the first "｜": the photo's "文件名".
std::string captionFileName(std::string_view caption);

// The status line of the photo-list panel: photo count and the load time ("3秒").
std::string photoStatusText(int photoCount, std::string_view loadTime);

}  // namespace xp
