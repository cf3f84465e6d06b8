// What the GDI tests share: a memory DC on a small 32-bit bitmap, and its pixels as text so that a test
// compares every pixel at once and a failure shows the picture.
#pragma once

#include <gtest/gtest.h>
#include <map>
#include <string>

#include "platform/win32/wingdi.h"

namespace gdi_test {

// A memory DC with a white width x height bitmap selected.
class Canvas {
public:
    Canvas(int width, int height, int bitsPerPixel = 32)
        : FWidth(width), FHeight(height), FDC(CreateCompatibleDC(nullptr)),
          FBitmap(CreateBitmap(width, height, 1, static_cast<UINT>(bitsPerPixel), nullptr)) {
        FOld = SelectObject(FDC, FBitmap);
        PatBlt(FDC, 0, 0, width, height, WHITENESS);
    }
    ~Canvas() {
        SelectObject(FDC, FOld);
        DeleteObject(FBitmap);
        DeleteDC(FDC);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return FDC; }
    HBITMAP bitmap() const { return FBitmap; }
    int width() const { return FWidth; }
    int height() const { return FHeight; }
    COLORREF At(int x, int y) const { return GetPixel(FDC, x, y); }

    // One character per pixel, rows separated by newlines: '.' white, '#' black, the given letters for
    // other colours and '?' for any other.
    std::string Picture(const std::map<COLORREF, char>& legend = {}) const {
        std::string text;
        for (int y = 0; y < FHeight; ++y) {
            for (int x = 0; x < FWidth; ++x) {
                COLORREF c = At(x, y);
                auto it = legend.find(c);
                text += it != legend.end() ? it->second : c == RGB(255, 255, 255) ? '.' : c == 0 ? '#' : '?';
            }
            text += '\n';
        }
        return text;
    }
    // Pixels that are not white.
    int Ink() const {
        int count = 0;
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x)
                count += At(x, y) != RGB(255, 255, 255);
        return count;
    }

private:
    int FWidth;
    int FHeight;
    HDC FDC;
    HBITMAP FBitmap;
    HGDIOBJ FOld;
};

// Rows given as separate strings read better in tests.
inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string text;
    for (const char* row : rows)
        (text += row) += '\n';
    return text;
}

} // namespace gdi_test
