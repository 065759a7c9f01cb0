// Photo-sized background pictures for the benchmarks, written to files: a JPEG coded by the
// platform's imaging component (every coefficient coded, as a camera's picture is) and a
// 24-bit bitmap, both of a picture with smooth gradients and fine grain.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/host/bmp_builder.h"

namespace bench {

// The picture's pixel: blue, green, red.
inline void photo_pixel(int x, int y, int w, int h, uint8_t* bgr) {
    uint32_t n = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
    n ^= n >> 13;
    n *= 0x5bd1e995u;
    const int grain = static_cast<int>(n >> 27) - 16;  // -16..15
    const int gx = x * 255 / w, gy = y * 255 / h;
    const int v[3] = {gy + grain, (gx + gy) / 2 + grain, 255 - gx + grain};
    for (int i = 0; i < 3; ++i) bgr[i] = static_cast<uint8_t>(v[i] < 0 ? 0 : (v[i] > 255 ? 255 : v[i]));
}

// Rows of the picture, top row first, stride 3 * w rounded up to 4.
inline std::vector<uint8_t> photo_rows(int w, int h, size_t* stride) {
    *stride = (static_cast<size_t>(w) * 3 + 3) & ~static_cast<size_t>(3);
    std::vector<uint8_t> rows(*stride * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) photo_pixel(x, y, w, h, &rows[*stride * y + 3 * static_cast<size_t>(x)]);
    return rows;
}

template <class T>
void release(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

// The picture as a JPEG of quality 0.9; false when the imaging component refuses.
inline bool write_photo_jpeg(const std::string& path, int w, int h) {
    size_t stride = 0;
    std::vector<uint8_t> rows = photo_rows(w, h, &stride);
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return false;
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
              SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromFilename(wide, GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, &options));
    if (ok) {
        PROPBAG2 name = {};
        name.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT quality;
        VariantInit(&quality);
        quality.vt = VT_R4;
        quality.fltVal = 0.9f;
        options->Write(1, &name, &quality);  // an encoder without the option keeps its own
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        ok = SUCCEEDED(frame->Initialize(options)) && SUCCEEDED(frame->SetSize(w, h)) &&
             SUCCEEDED(frame->SetPixelFormat(&format)) &&
             IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
        for (int y = 0; ok && y < h; y += 64) {
            const int n = h - y < 64 ? h - y : 64;
            ok = SUCCEEDED(frame->WritePixels(n, static_cast<UINT>(stride), static_cast<UINT>(stride * n),
                                              &rows[stride * y]));
        }
        ok = ok && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    release(options);
    release(frame);
    release(encoder);
    release(stream);
    release(factory);
    if (SUCCEEDED(init)) CoUninitialize();
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}

// The picture as a bottom-up 24-bit bitmap.
inline bool write_photo_bmp(const std::string& path, int w, int h) {
    bmp_test::BmpFields f{w, h, 24};
    size_t stride = 0;
    const std::vector<uint8_t> rows = photo_rows(w, h, &stride);
    f.pixels.resize(rows.size());
    for (int y = 0; y < h; ++y)
        std::copy(rows.begin() + stride * (h - 1 - y), rows.begin() + stride * (h - y),
                  f.pixels.begin() + stride * y);
    const std::vector<uint8_t> bytes = bmp_test::bmp_file(f);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                    done == bytes.size();
    CloseHandle(file);
    return ok;
}

}  // namespace bench
