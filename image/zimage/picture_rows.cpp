#include "image/zimage/picture_rows.h"

#include "image/dib.h"

bool plan_picture_rows(uint32_t width, uint32_t height, PictureRows* out) {
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
    const uint64_t stride = dib_stride(width, 24);
    const uint64_t bytes = stride * height;
    if (bytes > kMaxPixelBytes) return false;
    *out = PictureRows{width, height, stride, bytes};
    return true;
}

uint32_t strip_rows(uint32_t width, uint32_t height, size_t budget) {
    const uint64_t row = uint64_t{4} * (width ? width : 1);
    const uint64_t rows = budget / row;
    if (rows < 1) return 1;
    return rows < height ? static_cast<uint32_t>(rows) : (height ? height : 1);
}

uint32_t piece_strip_rows(uint32_t width, uint32_t height, uint32_t piece_rows, size_t budget) {
    const uint32_t plain = strip_rows(width, height, budget);
    if (piece_rows == 0 || piece_rows >= height) return plain;
    const uint32_t most = strip_rows(width, height, kMaxStripBytes);
    if (piece_rows > most) return plain;
    const uint32_t rows = plain > piece_rows ? plain : piece_rows;
    return rows / piece_rows * piece_rows;
}

namespace {

uint8_t over(uint8_t colour, uint8_t background, uint8_t alpha) {
    const unsigned v = colour + (background * (255u - alpha) + 127u) / 255u;
    return static_cast<uint8_t>(v > 255 ? 255 : v);
}

}  // namespace

void blend_row(const uint8_t* pbgra, uint32_t width, Bgr background, uint8_t* bgr) {
    for (uint32_t x = 0; x < width; ++x, pbgra += 4, bgr += 3) {
        const uint8_t a = pbgra[3];
        bgr[0] = over(pbgra[0], background.blue, a);
        bgr[1] = over(pbgra[1], background.green, a);
        bgr[2] = over(pbgra[2], background.red, a);
    }
}
