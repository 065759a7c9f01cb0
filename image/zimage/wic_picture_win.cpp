#include "image/zimage/wic_picture_win.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>

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

// The first frame of the bytes: as it is when the decoder gives blue-green-red bytes (an
// opaque JPEG, most photos: no conversion, no blending), else converted to 32-bit
// premultiplied BGRA. *source is the one to read, *opaque says which.
int open_converted_frame(IWICImagingFactory* factory, const uint8_t* data, size_t n,
                         Com<IWICStream>* stream, Com<IWICBitmapDecoder>* decoder,
                         Com<IWICBitmapFrameDecode>* frame, Com<IWICFormatConverter>* converter,
                         IWICBitmapSource** source, bool* opaque) {
    if (FAILED(factory->CreateStream(stream->out()))) return kSpiInternalError;
    if (FAILED(stream->get()->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(n))))
        return kSpiInternalError;
    if (FAILED(factory->CreateDecoderFromStream(stream->get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder->out())))
        return kSpiUnknownFormat;
    if (FAILED(decoder->get()->GetFrame(0, frame->out()))) return kSpiBrokenData;
    WICPixelFormatGUID format;
    *opaque = SUCCEEDED(frame->get()->GetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
    if (*opaque) {
        *source = frame->get();
        return kSpiOk;
    }
    if (FAILED(factory->CreateFormatConverter(converter->out()))) return kSpiInternalError;
    if (FAILED(converter->get()->Initialize(frame->get(), GUID_WICPixelFormat32bppPBGRA,
                                            WICBitmapDitherTypeNone, nullptr, 0.0,
                                            WICBitmapPaletteTypeCustom)))
        return kSpiBrokenData;
    *source = converter->get();
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

// Where the rows of the converted frame go: straight into the bottom-up rows, or through
// the box filter when the frame is reduced.
class RowSink {
public:
    RowSink(const PictureRows& frame, const PictureRows& kept, Bgr background, uint8_t* out)
        : frame_(frame), kept_(kept), background_(background), out_(out) {}
    bool start() {
        if (!reduces()) return true;
        return row_.allocate(size_t{3} * frame_.width) &&
               reducer_.start(frame_.width, frame_.height, ReducedSize{kept_.width, kept_.height}, true, &reduced_);
    }
    // One row of the frame: premultiplied BGRA, or (opaque) blue-green-red bytes.
    void put(const uint8_t* pixels, bool opaque, uint32_t y) {
        uint8_t* bgr = reduces() ? row_.data() : out_ + bottom_up_offset(frame_, y);
        if (opaque) std::memcpy(bgr, pixels, size_t{3} * frame_.width);
        else blend_row(pixels, frame_.width, background_, bgr);
        if (reduces()) reducer_.add_row(bgr);
    }
    bool finish() {
        if (!reduces()) return true;
        if (!reducer_.complete() || reduced_.size() != kept_.bytes) return false;
        std::memcpy(out_, reduced_.data(), reduced_.size());
        return true;
    }

private:
    bool reduces() const { return kept_.width != frame_.width || kept_.height != frame_.height; }
    const PictureRows& frame_;
    const PictureRows& kept_;
    Bgr background_;
    uint8_t* out_;
    PixelBlock row_, reduced_;
    BoxReducer reducer_;
};

// Copies the converted frame strip by strip, from the top, into the sink.
int fill_rows(IWICBitmapSource* source, bool opaque, const PictureRows& frame, uint32_t per_strip, RowSink* sink,
              PluginProgressFn progress, LONG_PTR progress_data) {
    const UINT stride = (opaque ? 3 : 4) * frame.width;
    PixelBlock strip;
    if (!strip.allocate(static_cast<size_t>(stride) * per_strip) || !sink->start()) return kSpiNoMemory;
    for (uint32_t top = 0; top < frame.height; top += per_strip) {
        const uint32_t count = frame.height - top < per_strip ? frame.height - top : per_strip;
        const WICRect rect = {0, static_cast<INT>(top), static_cast<INT>(frame.width), static_cast<INT>(count)};
        if (FAILED(source->CopyPixels(&rect, stride, stride * count, strip.data()))) return kSpiBrokenData;
        for (uint32_t r = 0; r < count; ++r) sink->put(strip.data() + static_cast<size_t>(stride) * r, opaque, top + r);
        if (progress && progress(static_cast<int>(top + count), static_cast<int>(frame.height), progress_data))
            return kSpiCancelled;
    }
    return sink->finish() ? kSpiOk : kSpiNoMemory;
}

}  // namespace

int wic_decode_picture(const uint8_t* data, size_t n, Bgr background, ScreenSize screen, uint32_t piece_rows,
                       PluginProgressFn progress, LONG_PTR progress_data, HLOCAL* info, HLOCAL* pixels) {
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
    IWICBitmapSource* source = nullptr;
    bool opaque = false;
    int r = open_converted_frame(factory.get(), data, n, &stream, &decoder, &frame, &converter, &source, &opaque);
    if (r != kSpiOk) return r;

    UINT w = 0, h = 0;
    PictureRows full, kept;
    if (FAILED(source->GetSize(&w, &h))) return kSpiBrokenData;
    if (!plan_picture_rows(w, h, &full)) return kSpiNoMemory;
    const ReducedSize size = reduced_size(w, h, screen);
    if (!plan_picture_rows(size.width, size.height, &kept)) return kSpiNoMemory;
    OwnedLocal header(header_block(kept));
    OwnedLocal body(LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, static_cast<SIZE_T>(kept.bytes)));
    if (!header || !body) return kSpiNoMemory;
    {
        const LocalLockGuard lock(body.get());
        if (lock.get() == nullptr || lock.size() < kept.bytes) return kSpiNoMemory;
        RowSink sink(full, kept, background, static_cast<uint8_t*>(lock.get()));
        const uint32_t per_strip = piece_strip_rows(full.width, full.height, piece_rows, kStripBudget);
        r = fill_rows(source, opaque, full, per_strip, &sink, progress, progress_data);
    }
    if (r != kSpiOk) return r;
    *info = header.release();
    *pixels = body.release();
    return kSpiOk;
}
