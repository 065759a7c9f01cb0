// An image plug-in of our own for the tests. It reads a trivial format, "ZTI1", a 16-bit
// width and height, then the pixels as red, green, blue bytes, top row first, and hands the
// picture back as a 24-bit bottom-up DIB. Built several times with ZT_BEHAVIOUR choosing a
// way to misbehave, so the host can be tested against each.
#include <windows.h>

#include <cstring>

#define ZT_GOOD 0
#define ZT_WRONG_KIND 1      // says "00AM": not an image reader
#define ZT_NO_FORMATS 2      // lists no format
#define ZT_FAILING 3         // GetPicture always fails
#define ZT_SHORT_HANDLES 4   // handles smaller than the header claims
#define ZT_LONG_TEXTS 5      // pattern and descriptions filling the buffers, no terminator
#define ZT_FAIL_HANDED 6     // GetPicture hands out both handles, then reports a failure; their
                             // values go to the environment variable ZT_HANDED for the test

#ifndef ZT_BEHAVIOUR
#define ZT_BEHAVIOUR ZT_GOOD
#endif

namespace {

int put_text(const char* text, LPSTR buffer, int length) {
    const int n = lstrlenA(text);
    if (length <= 0) return 0;
    if (n < length) {
        std::memcpy(buffer, text, static_cast<size_t>(n) + 1);
        return n;
    }
    std::memcpy(buffer, text, static_cast<size_t>(length));  // cut, without terminator
    return length;
}

bool read_file(LPCSTR path, LONG_PTR offset, BYTE** data, DWORD* size) {
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    const DWORD total = GetFileSize(f, nullptr);
    bool ok = total != INVALID_FILE_SIZE && offset >= 0 && static_cast<DWORD>(offset) <= total &&
              SetFilePointer(f, static_cast<LONG>(offset), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
    *size = ok ? total - static_cast<DWORD>(offset) : 0;
    *data = ok ? static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, *size + 1)) : nullptr;
    DWORD got = 0;
    ok = ok && *data && ReadFile(f, *data, *size, &got, nullptr) && got == *size;
    CloseHandle(f);
    if (!ok && *data) HeapFree(GetProcessHeap(), 0, *data);
    return ok;
}

HLOCAL local_block(SIZE_T size) { return LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size); }

int short_picture(HLOCAL* info, HLOCAL* pixels) {
    *info = local_block(sizeof(BITMAPINFOHEADER) + 8);
    *pixels = local_block(16);
    if (!*info || !*pixels) return 1;
    auto* h = static_cast<BITMAPINFOHEADER*>(LocalLock(*info));
    h->biSize = sizeof *h;
    h->biWidth = 64;  // 64 x 64 at 8 bits with 256 colours: 1024 + 4096 bytes claimed
    h->biHeight = 64;
    h->biPlanes = 1;
    h->biBitCount = 8;
    h->biClrUsed = 0;
    auto* colours = reinterpret_cast<RGBQUAD*>(h + 1);
    colours[0] = RGBQUAD{0, 0, 255, 0};
    colours[1] = RGBQUAD{0, 255, 0, 0};
    LocalUnlock(*info);
    auto* p = static_cast<BYTE*>(LocalLock(*pixels));
    std::memset(p, 1, 16);
    LocalUnlock(*pixels);
    return 0;
}

int decode(const BYTE* data, DWORD size, HLOCAL* info, HLOCAL* pixels) {
    if (size < 8 || std::memcmp(data, "ZTI1", 4) != 0) return 2;
    const int w = data[4] | (data[5] << 8), h = data[6] | (data[7] << 8);
    if (w == 0 || h == 0 || 8 + 3u * w * h > size) return 2;
    const DWORD stride = (3u * w + 3) & ~3u;
    *info = local_block(sizeof(BITMAPINFOHEADER));
    *pixels = local_block(static_cast<SIZE_T>(stride) * h);
    if (!*info || !*pixels) return 4;
    auto* bi = static_cast<BITMAPINFOHEADER*>(LocalLock(*info));
    bi->biSize = sizeof *bi;
    bi->biWidth = w;
    bi->biHeight = h;
    bi->biPlanes = 1;
    bi->biBitCount = 24;
    bi->biSizeImage = stride * h;
    LocalUnlock(*info);
    auto* rows = static_cast<BYTE*>(LocalLock(*pixels));
    for (int y = 0; y < h; ++y) {
        const BYTE* src = data + 8 + 3u * w * (h - 1 - y);
        BYTE* dst = rows + stride * y;
        for (int x = 0; x < w; ++x, src += 3, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    LocalUnlock(*pixels);
    return 0;
}

}  // namespace

extern "C" {

int WINAPI GetPluginInfo(int number, LPSTR buffer, int length) {
    switch (number) {
    case 0: return put_text(ZT_BEHAVIOUR == ZT_WRONG_KIND ? "00AM" : "00IN", buffer, length);
    case 1: return put_text(ZT_BEHAVIOUR == ZT_LONG_TEXTS ? "Zelmar test plug-in with a description far longer than any buffer it is given, to be cut"
                                                          : "Zelmar test plug-in", buffer, length);
    case 2:
        if (ZT_BEHAVIOUR == ZT_NO_FORMATS) return 0;
        return put_text(ZT_BEHAVIOUR == ZT_LONG_TEXTS ? "*.zti;*.abcdefghijklmnop" : "*.zti", buffer, length);
    case 3: return put_text(ZT_BEHAVIOUR == ZT_LONG_TEXTS ? "A description of the test format that is longer than sixty bytes"
                                                          : "ZTI test image", buffer, length);
    case 4: return ZT_BEHAVIOUR == ZT_GOOD ? put_text("*.zt2;*.ztx", buffer, length) : 0;
    case 5: return ZT_BEHAVIOUR == ZT_GOOD ? put_text("ZTI test image, other names", buffer, length) : 0;
    default: return 0;
    }
}

int WINAPI IsSupported(LPCSTR, void* head) {
    return head != nullptr && std::memcmp(head, "ZTI1", 4) == 0;
}

int WINAPI GetPicture(LPCSTR path, LONG_PTR offset, unsigned int flag, HLOCAL* info,
                                            HLOCAL* pixels, void*, LONG_PTR) {
    if (flag != 0 || ZT_BEHAVIOUR == ZT_FAILING) return 1;
    if (ZT_BEHAVIOUR == ZT_FAIL_HANDED) {
        *info = local_block(sizeof(BITMAPINFOHEADER));
        *pixels = local_block(4096);
        char text[64];
        wsprintfA(text, "%p %p", *info, *pixels);
        SetEnvironmentVariableA("ZT_HANDED", text);
        return 3;
    }
    if (ZT_BEHAVIOUR == ZT_SHORT_HANDLES) return short_picture(info, pixels);
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!read_file(path, offset, &data, &size)) return 6;
    const int r = decode(data, size, info, pixels);
    HeapFree(GetProcessHeap(), 0, data);
    if (r != 0) {
        if (*info) *info = LocalFree(*info);
        if (*pixels) *pixels = LocalFree(*pixels);
    }
    return r;
}

}  // extern "C"
