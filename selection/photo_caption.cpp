// Photo captions and the photo-list status line.
#include "selection/photo_caption.h"

#include <string>

namespace xp {

std::string photoCaption(std::string_view fileName, std::string_view products, std::string_view retouch) {
    std::string caption(fileName);
    if (products.empty()) return caption;
    caption += kCaptionSeparator;
    caption += products;
    if (!retouch.empty()) caption += kRetouchMarker;
    return caption;
}

std::string captionFileName(std::string_view caption) {
    return std::string(caption.substr(0, caption.find(kCaptionSeparator)));
}

std::string photoStatusText(int photoCount, std::string_view loadTime) {
    return "当前照片总数：" + std::to_string(photoCount) + " 张" + std::string(29, ' ') + "加载时间：" +
           std::string(loadTime);
}

}  // namespace xp
