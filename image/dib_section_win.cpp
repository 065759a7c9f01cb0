#include "image/dib_section_win.h"

#include <cstdint>
#include <utility>

#include "image/dib.h"

bool DibSection::make(const DibShape& shape) {
    reset();
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_) return false;
    if (shape.width <= 0 || shape.height <= 0) return true;  // a DC without pixels
    const uint64_t stride = dib_stride(shape.width, shape.bits);
    // The rows are addressed with int strides and counted in a DWORD.
    if (stride * static_cast<uint64_t>(shape.height) > 0x7FFFFFFFu) return false;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } bi = {};
    bi.header.biSize = sizeof bi.header;
    bi.header.biWidth = shape.width;
    bi.header.biHeight = shape.top_down ? -shape.height : shape.height;
    bi.header.biPlanes = 1;
    bi.header.biBitCount = shape.bits;
    bi.header.biCompression = BI_RGB;
    bi.header.biSizeImage = static_cast<DWORD>(stride * static_cast<uint64_t>(shape.height));
    bi.colours[0] = shape.colours[0];
    bi.colours[1] = shape.colours[1];
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS,
                                   &bits, nullptr, 0));
    if (!bitmap_ || !bits || !SelectObject(dc_.get(), bitmap_.get())) {
        bitmap_.reset();
        return false;
    }
    rows_ = static_cast<unsigned char*>(bits);
    width_ = shape.width;
    height_ = shape.height;
    stride_ = static_cast<int>(stride);
    header_ = bi.header;
    return true;
}

void DibSection::reset() {
    dc_.reset();
    bitmap_.reset();
    rows_ = nullptr;
    width_ = height_ = stride_ = 0;
    header_ = BITMAPINFOHEADER{};
}

void DibSection::take(DibSection& o) {
    bitmap_ = std::move(o.bitmap_);
    dc_ = std::move(o.dc_);
    rows_ = o.rows_;
    width_ = o.width_;
    height_ = o.height_;
    stride_ = o.stride_;
    header_ = o.header_;
    o.rows_ = nullptr;
    o.width_ = o.height_ = o.stride_ = 0;
    o.header_ = BITMAPINFOHEADER{};
}
