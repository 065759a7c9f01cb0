// The off-screen surface: size and stride, fill, pixel read and write back, the top-based
// source rectangle of stretching, the blit, replacement on resize and the zero-sized case.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/surface_win.h"

namespace {

class Surface : public testing::Test {
protected:
    void TearDown() override { surface_destroy(); }
};

// Pixel (x, y) counted from the top of a block surface_read handed out.
COLORREF block_pixel(const unsigned char* block, int x, int y) {
    const int row = surface_height() - 1 - y;  // bottom row first
    const unsigned char* p = block + row * surface_stride() + x * 3;
    return RGB(p[2], p[1], p[0]);
}

TEST_F(Surface, StrideRoundsRowsToFourBytes) {
    const int widths[][2] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {340, 1020}, {341, 1024}};
    for (const auto& w : widths) {
        ASSERT_NE(surface_create(w[0], 3), nullptr);
        EXPECT_EQ(surface_width(), w[0]);
        EXPECT_EQ(surface_height(), 3);
        EXPECT_EQ(surface_stride(), w[1]) << w[0];
    }
}

TEST_F(Surface, FillThenReadGivesTheColourEverywhere) {
    ASSERT_NE(surface_create(7, 5), nullptr);
    surface_fill(RGB(10, 200, 30));
    unsigned char* block = nullptr;
    surface_read(&block);
    ASSERT_NE(block, nullptr);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(block_pixel(block, x, y), RGB(10, 200, 30));
    LocalFree(block);
}

TEST_F(Surface, ReadThenWriteRoundTrips) {
    ASSERT_NE(surface_create(9, 4), nullptr);
    surface_fill(RGB(255, 255, 255));
    SetPixel(surface_dc(), 2, 1, RGB(255, 0, 0));
    SetPixel(surface_dc(), 8, 3, RGB(0, 0, 255));
    unsigned char* before = nullptr;
    surface_read(&before);
    ASSERT_NE(before, nullptr);
    const size_t bytes = size_t(surface_stride()) * 4;
    std::vector<unsigned char> copy(before, before + bytes);
    EXPECT_EQ(block_pixel(before, 2, 1), RGB(255, 0, 0));
    EXPECT_EQ(block_pixel(before, 8, 3), RGB(0, 0, 255));

    surface_fill(RGB(0, 0, 0));
    surface_write(before);
    unsigned char* after = nullptr;
    surface_read(&after);
    ASSERT_NE(after, nullptr);
    for (size_t i = 0; i < bytes; ++i) {
        if (i % size_t(surface_stride()) >= 27) continue;  // row padding carries nothing
        ASSERT_EQ(after[i], copy[i]) << i;
    }
    EXPECT_EQ(GetPixel(surface_dc(), 2, 1), RGB(255, 0, 0));
    LocalFree(before);
    LocalFree(after);
}

TEST_F(Surface, StretchTakesTheSourceRectangleFromTheTop) {
    ASSERT_NE(surface_create(4, 4), nullptr);
    surface_fill(RGB(0, 0, 0));
    // A 1 x 3 bottom-up image: top row red, middle green, bottom blue.
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 1;
    bi.bmiHeader.biHeight = 3;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    const unsigned char rows[12] = {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0};  // BGR + pad
    surface_set_stretch_mode(COLORONCOLOR);
    struct Case {
        int src_y;
        COLORREF want;
    } cases[] = {{0, RGB(255, 0, 0)}, {1, RGB(0, 255, 0)}, {2, RGB(0, 0, 255)}};
    for (const Case& c : cases) {
        surface_stretch(0, 0, 2, 2, 0, c.src_y, 1, 1, rows, &bi, DIB_RGB_COLORS, SRCCOPY);
        EXPECT_EQ(GetPixel(surface_dc(), 0, 0), c.want) << c.src_y;
        EXPECT_EQ(GetPixel(surface_dc(), 1, 1), c.want) << c.src_y;
        EXPECT_EQ(GetPixel(surface_dc(), 2, 2), RGB(0, 0, 0));  // outside the target
    }
}

TEST_F(Surface, BlitCopiesToTheTarget) {
    ASSERT_NE(surface_create(6, 6), nullptr);
    surface_fill(RGB(0, 128, 255));
    SetPixel(surface_dc(), 3, 2, RGB(255, 0, 0));
    HDC target = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 6;
    bi.bmiHeader.biHeight = 6;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(target, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    HGDIOBJ old = SelectObject(target, bmp);
    PatBlt(target, 0, 0, 6, 6, WHITENESS);
    surface_blit_to(target, 1, 1, 4, 4, 2, 1, SRCCOPY);  // (2,1)..(5,4) to (1,1)..(4,4)
    EXPECT_EQ(GetPixel(target, 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target, 1, 1), RGB(0, 128, 255));
    EXPECT_EQ(GetPixel(target, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(target, 5, 5), RGB(255, 255, 255));
    SelectObject(target, old);
    DeleteObject(bmp);
    DeleteDC(target);
}

TEST_F(Surface, ResizeReleasesTheOldSurface) {
    HDC first = surface_create(10, 10);
    ASSERT_NE(first, nullptr);
    HGDIOBJ first_bitmap = GetCurrentObject(first, OBJ_BITMAP);
    HDC second = surface_create(20, 5);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(surface_dc(), second);
    EXPECT_EQ(surface_width(), 20);
    EXPECT_EQ(surface_height(), 5);
    EXPECT_EQ(GetObjectType(first_bitmap), 0u);  // deleted
    BITMAP bm = {};
    ASSERT_NE(GetObjectA(GetCurrentObject(second, OBJ_BITMAP), sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, 20);
    EXPECT_EQ(bm.bmHeight, 5);
    EXPECT_EQ(bm.bmBitsPixel, 24);
}

TEST_F(Surface, ZeroSizeKeepsADcAndIsHarmless) {
    const int sizes[][2] = {{0, 0}, {0, 50}, {50, 0}, {-3, 10}};
    for (const auto& s : sizes) {
        HDC dc = surface_create(s[0], s[1]);
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(surface_width(), 0);
        EXPECT_EQ(surface_height(), 0);
        surface_fill(RGB(1, 2, 3));
        unsigned char* block = reinterpret_cast<unsigned char*>(1);
        surface_read(&block);
        EXPECT_EQ(block, nullptr);
        surface_write("");
        BITMAPINFO bi = {};
        bi.bmiHeader.biHeight = 1;
        surface_stretch(0, 0, 1, 1, 0, 0, 1, 1, "", &bi, DIB_RGB_COLORS, SRCCOPY);
        HDC screen = GetDC(nullptr);
        surface_blit_to(screen, 0, 0, 10, 10, 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screen);
        surface_destroy();
        EXPECT_EQ(surface_dc(), nullptr);
        EXPECT_EQ(GetObjectType(dc), 0u) << "the memory DC is released";
    }
}

TEST_F(Surface, NothingBeforeCreate) {
    surface_destroy();
    surface_destroy();  // twice is harmless
    EXPECT_EQ(surface_dc(), nullptr);
    surface_fill(RGB(0, 0, 0));
    unsigned char* block = nullptr;
    surface_read(&block);
    EXPECT_EQ(block, nullptr);
}

}  // namespace
