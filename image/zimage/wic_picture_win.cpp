#include "image/zimage/wic_picture_win.h"

#include <objbase.h>
#include <wincodec.h>

#include "config/handles_win.h"
#include "image/dib.h"
#include "image/zimage/spi_codes.h"

namespace {

// Working strips of converted pixels stay this small, whatever the picture's size.
constexpr size_t kStripBudget = 1u << 20;

template <class T>
struct ComTraits {
    using Handle = T*;
    static T* empty() { return nullptr; }
    static void close(T* p) { p->Release(); }
};
template <class T>
using Com = Owned<ComTraits<T>>;

// COM for the length of one call; released only when this call set it up (a thread that
// runs COM in the other threading model already keeps it as it is).
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT hr_;
};

// The first frame of the bytes, converted to 32-bit premultiplied BGRA.
int open_converted_frame(IWICImagingFactory* factory, const uint8_t* data, size_t n,
                         Com<IWICStream>* stream, Com<IWICBitmapDecoder>* decoder,
                         Com<IWICBitmapFrameDecode>* frame, Com<IWICFormatConverter>* converter) {
    if (FAILED(factory->CreateStream(stream->out()))) return kSpiInternalError;
    if (FAILED(stream->get()->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(n))))
        return kSpiInternalError;
    if (FAILED(factory->CreateDecoderFromStream(stream->get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder->out())))
        return kSpiUnknownFormat;
    if (FAILED(decoder->get()->GetFrame(0, frame->out()))) return kSpiBrokenData;
    if (FAILED(factory->CreateFormatConverter(converter->out()))) return kSpiInternalError;
    if (FAILED(converter->get()->Initialize(frame->get(), GUID_WICPixelFormat32bppPBGRA,
                                            WICBitmapDitherTypeNone, nullptr, 0.0,
                                            WICBitmapPaletteTypeCustom)))
        return kSpiBrokenData;
    return kSpiOk;
}

HLOCAL header_block(const PictureRows& rows) {
    HLOCAL h = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(BITMAPINFOHEADER));
    const LocalLockGuard lock(h);
    auto* bi = static_cast<BITMAPINFOHEADER*>(lock.get());
    if (bi == nullptr) {
        if (h) LocalFree(h);
        return nullptr;
    }
    bi->biSize = sizeof *bi;
    bi->biWidth = static_cast<LONG>(rows.width);
    bi->biHeight = static_cast<LONG>(rows.height);  // bottom-up
    bi->biPlanes = 1;
    bi->biBitCount = 24;
    bi->biCompression = BI_RGB;
    bi->biSizeImage = static_cast<DWORD>(rows.bytes);
    return h;
}

// Copies the converted frame strip by strip into the bottom-up rows.
int fill_rows(IWICBitmapSource* source, const PictureRows& rows, Bgr background, uint8_t* out,
              PluginProgressFn progress, LONG_PTR progress_data) {
    const uint32_t per_strip = strip_rows(rows.width, rows.height, kStripBudget);
    const UINT stride = 4 * rows.width;
    PixelBlock strip;
    if (!strip.allocate(static_cast<size_t>(stride) * per_strip)) return kSpiNoMemory;
    for (uint32_t top = 0; top < rows.height; top += per_strip) {
        const uint32_t count = rows.height - top < per_strip ? rows.height - top : per_strip;
        const WICRect rect = {0, static_cast<INT>(top), static_cast<INT>(rows.width), static_cast<INT>(count)};
        if (FAILED(source->CopyPixels(&rect, stride, stride * count, strip.data()))) return kSpiBrokenData;
        for (uint32_t r = 0; r < count; ++r)
            blend_row(strip.data() + static_cast<size_t>(stride) * r, rows.width, background,
                      out + bottom_up_offset(rows, top + r));
        if (progress && progress(static_cast<int>(top + count), static_cast<int>(rows.height), progress_data))
            return kSpiCancelled;
    }
    return kSpiOk;
}

}  // namespace

int wic_decode_picture(const uint8_t* data, size_t n, Bgr background, PluginProgressFn progress,
                       LONG_PTR progress_data, HLOCAL* info, HLOCAL* pixels) {
    const ComScope com;
    if (!com.usable()) return kSpiInternalError;
    Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()))))
        return kSpiInternalError;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    int r = open_converted_frame(factory.get(), data, n, &stream, &decoder, &frame, &converter);
    if (r != kSpiOk) return r;

    UINT w = 0, h = 0;
    PictureRows rows;
    if (FAILED(converter.get()->GetSize(&w, &h))) return kSpiBrokenData;
    if (!plan_picture_rows(w, h, &rows)) return kSpiNoMemory;
    OwnedLocal header(header_block(rows));
    OwnedLocal body(LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, static_cast<SIZE_T>(rows.bytes)));
    if (!header || !body) return kSpiNoMemory;
    {
        const LocalLockGuard lock(body.get());
        if (lock.get() == nullptr || lock.size() < rows.bytes) return kSpiNoMemory;
        r = fill_rows(converter.get(), rows, background, static_cast<uint8_t*>(lock.get()), progress,
                      progress_data);
    }
    if (r != kSpiOk) return r;
    *info = header.release();
    *pixels = body.release();
    return kSpiOk;
}
