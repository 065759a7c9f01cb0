// ZIMAGE.SPI, the image plug-in that comes with the program: PNG, JPEG, GIF and TIFF read
// by the platform's imaging component. Its three entry points check what they are handed
// and call into the plug-in's core; transparent parts of a picture are blended over the
// system's window colour, which the calendar is drawn on, and a picture larger than the
// screen is handed back reduced to it.
#include <windows.h>

#include <cstdint>
#include <type_traits>

#include "image/bitmap_file.h"
#include "image/dib.h"
#include "image/plugin_api_win.h"
#include "image/screen_size_win.h"
#include "image/zimage/picture_input.h"
#include "image/zimage/plugin_info.h"
#include "image/zimage/spi_codes.h"
#include "image/zimage/wic_picture_win.h"

namespace {

// No buffer lies in the lowest 64 KiB of an address space; some hosts pass a file handle
// there instead of the file's first bytes, which this plug-in does not read.
constexpr uintptr_t kLowestPointer = 0x10000;

Bgr window_colour() {
    const COLORREF c = GetSysColor(COLOR_WINDOW);
    return Bgr{GetBValue(c), GetGValue(c), GetRValue(c)};
}

}  // namespace

extern "C" {

int WINAPI GetPluginInfo(int number, LPSTR buffer, int length) {
    return zimage_plugin_info(number, buffer, length);
}

int WINAPI IsSupported(LPCSTR, void* head) {
    if (reinterpret_cast<uintptr_t>(head) < kLowestPointer) return 0;
    return sniff_picture_format(static_cast<const uint8_t*>(head), kSniffBytes) != PictureFormat::kNone;
}

int WINAPI GetPicture(LPCSTR path, LONG_PTR offset, unsigned int flag, HLOCAL* info, HLOCAL* pixels,
                      PluginProgressFn progress, LONG_PTR data) {
    if (path == nullptr || info == nullptr || pixels == nullptr) return kSpiInternalError;
    if ((flag & 7) != 0) return kSpiNotImplemented;  // input from memory
    PixelBlock bytes;
    {
        FileSource file(path);
        if (!file.is_open()) return kSpiReadError;
        const int r = read_picture_input(file, offset, &bytes);
        if (r != kSpiOk) return r;
    }
    PictureFormat format;
    PictureRows rows;
    PictureScan scan;
    const int r = check_picture_input(bytes.data(), bytes.size(), &format, &rows, &scan);
    if (r != kSpiOk) return r;
    // The interface has no room for the screen's size: the plug-in asks the system itself.
    return wic_decode_picture(bytes.data(), bytes.size(), window_colour(), largest_screen_size(), scan.piece_rows,
                              progress, data, info, pixels);
}

}  // extern "C"

// The exports have exactly the types the host calls them through.
static_assert(std::is_same<decltype(&GetPluginInfo), GetPluginInfoFn>::value, "GetPluginInfo");
static_assert(std::is_same<decltype(&IsSupported), IsSupportedFn>::value, "IsSupported");
static_assert(std::is_same<decltype(&GetPicture), GetPictureFn>::value, "GetPicture");
