#include "image/zimage/plugin_info.h"

#include <cstddef>

#include "config/cp932.h"
#include "resources/version.h"

namespace {

const char* const kInfo[] = {
    "00IN",
    "ZIMAGE.SPI " ZELMAR_VERSION_TEXT " Tavelspore 用 PNG/JPEG/GIF/TIFF 画像プラグイン",
    "*.PNG",              "PNG 画像",
    "*.JPG;*.JPEG;*.JPE", "JPEG 画像",
    "*.GIF",              "GIF 画像",
    "*.TIF;*.TIFF",       "TIFF 画像",
};

}  // namespace

int zimage_plugin_info(int number, char* buffer, int length) {
    constexpr int kCount = static_cast<int>(sizeof kInfo / sizeof kInfo[0]);
    if (number < 0 || number >= kCount || buffer == nullptr || length <= 1) return 0;
    return static_cast<int>(cp932_copy(buffer, static_cast<size_t>(length), kInfo[number]));
}
