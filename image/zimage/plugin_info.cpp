#include "image/zimage/plugin_info.h"

#include <cstddef>

#include "config/cp932.h"
#include "resources/texts.h"
#include "resources/version.h"

namespace {

const char* const kInfo[] = {
    "00IN",
    "ZIMAGE.SPI " ZELMAR_VERSION_TEXT ZELMAR_PLUGIN_DESCRIPTION,
    "*.PNG",              kPngPictures,
    "*.JPG;*.JPEG;*.JPE", kJpegPictures,
    "*.GIF",              kGifPictures,
    "*.TIF;*.TIFF",       kTiffPictures,
};

}  // namespace

int zimage_plugin_info(int number, char* buffer, int length) {
    constexpr int kCount = static_cast<int>(sizeof kInfo / sizeof kInfo[0]);
    if (number < 0 || number >= kCount || buffer == nullptr || length <= 1) return 0;
    return static_cast<int>(cp932_copy(buffer, static_cast<size_t>(length), kInfo[number]));
}
