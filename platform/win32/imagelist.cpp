// Image lists: pictures kept as premultiplied 32-bit pixels, added from bitmaps and icons and drawn with
// AlphaBlend.
#include "platform/win32/imagelist.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "platform/win32/winerror.h"

using Pixels = std::vector<std::uint32_t>; // top row first, premultiplied ARGB

struct HIMAGELIST__ {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    COLORREF background = CLR_NONE;
    bool kept = false; // lives for the process (the system lists)
    std::vector<Pixels> images;
};

namespace {

struct ListTable {
    std::recursive_mutex lock;
    std::set<HIMAGELIST> lists;
};

ListTable& Lists() {
    static ListTable table;
    return table;
}

// The live list behind a handle, or null with ERROR_INVALID_HANDLE; the table lock must be held.
HIMAGELIST__* Find(HIMAGELIST list) {
    if (list && Lists().lists.count(list))
        return list;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

std::uint32_t Premultiply(std::uint32_t p, std::uint32_t alpha) {
    auto channel = [&](int shift) { return ((((p >> shift) & 0xFF) * alpha + 127) / 255) << shift; };
    return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

std::uint32_t Unpremultiply(std::uint32_t p) {
    std::uint32_t alpha = p >> 24;
    if (alpha == 0)
        return 0;
    auto channel = [&](int shift) {
        return std::min<std::uint32_t>(255, (((p >> shift) & 0xFF) * 255 + alpha / 2) / alpha) << shift;
    };
    return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

// The pixels of a bitmap as 32-bit values, top row first, alpha as stored; false when it is not a bitmap.
bool ReadBitmap(HBITMAP bitmap, int& width, int& height, Pixels& pixels) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight == 0)
        return false;
    width = info.bmWidth;
    height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    pixels.assign(size_t(width) * size_t(height), 0);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, bitmap, 0, UINT(height), pixels.data(), &header, DIB_RGB_COLORS);
    DeleteDC(dc);
    return lines > 0;
}

// A 32-bit top-down DIB section holding pixels as they are.
HBITMAP MakeBitmap(const Pixels& pixels, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return bitmap;
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
    GdiFlush();
    return bitmap;
}

enum class Transparency { Alpha, Mask, Color };

// Cuts a strip of pictures into the list. The transparency of each pixel comes from the chosen source;
// an alpha channel counts only when some pixel of the strip has one, since GDI leaves it zero.
int AddStrip(HIMAGELIST list, HBITMAP image, Transparency kind, HBITMAP mask, COLORREF maskColor) {
    int width = 0;
    int height = 0;
    Pixels pixels;
    if (!ReadBitmap(image, width, height, pixels)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    int maskWidth = 0;
    int maskHeight = 0;
    Pixels maskPixels;
    if (kind == Transparency::Mask && mask && !ReadBitmap(mask, maskWidth, maskHeight, maskPixels)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    bool ownAlpha = kind == Transparency::Alpha && mask == nullptr &&
                    std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p >> 24) != 0; });
    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    HIMAGELIST__* target = Find(list);
    if (!target)
        return -1;
    int count = width / target->cx;
    if (count == 0 || height < target->cy) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    int first = int(target->images.size());
    for (int n = 0; n < count; ++n) {
        Pixels picture(size_t(target->cx) * size_t(target->cy));
        for (int y = 0; y < target->cy; ++y)
            for (int x = 0; x < target->cx; ++x) {
                int sx = n * target->cx + x;
                std::uint32_t p = pixels[size_t(y) * size_t(width) + size_t(sx)];
                std::uint32_t alpha = 255;
                if (ownAlpha) {
                    alpha = p >> 24;
                } else if (kind == Transparency::Mask) {
                    bool masked = sx < maskWidth && y < maskHeight &&
                                  (maskPixels[size_t(y) * size_t(maskWidth) + size_t(sx)] & 0xFFFFFF) != 0;
                    alpha = masked ? 0 : 255;
                } else if (kind == Transparency::Color) {
                    // COLORREF is 0x00BBGGRR, DIB pixels 0x00RRGGBB.
                    std::uint32_t rgb =
                        (GetRValue(maskColor) << 16) | (GetGValue(maskColor) << 8) | GetBValue(maskColor);
                    alpha = (p & 0xFFFFFF) == rgb ? 0 : 255;
                }
                picture[size_t(y) * size_t(target->cx) + size_t(x)] = Premultiply(p, alpha);
            }
        target->images.push_back(std::move(picture));
    }
    return first;
}

// A copy of picture index, or false with the last error set.
bool CopyPicture(HIMAGELIST list, int index, Pixels& pixels, int& cx, int& cy, COLORREF& background) {
    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    HIMAGELIST__* source = Find(list);
    if (!source)
        return false;
    if (index < 0 || size_t(index) >= source->images.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    pixels = source->images[size_t(index)];
    cx = source->cx;
    cy = source->cy;
    background = source->background;
    return true;
}

} // namespace

namespace win32 {

void KeepImageList(HIMAGELIST list) {
    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    if (HIMAGELIST__* target = Find(list))
        target->kept = true;
}

} // namespace win32

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int) {
    if (cx <= 0 || cy <= 0 || cx > ImageListMaxSide || cy > ImageListMaxSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* list = new HIMAGELIST__;
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    list->images.reserve(size_t(std::clamp(initial, 0, 256)));
    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    Lists().lists.insert(list);
    return list;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    HIMAGELIST__* target = Find(list);
    if (!target)
        return FALSE;
    if (target->kept) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    Lists().lists.erase(list);
    delete target;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    HIMAGELIST__* target = Find(list);
    return target ? int(target->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    HIMAGELIST__* target = Find(list);
    if (!target)
        return FALSE;
    if (!cx || !cy) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *cx = target->cx;
    *cy = target->cy;
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    HIMAGELIST__* target = Find(list);
    if (!target)
        return CLR_NONE;
    COLORREF previous = target->background;
    target->background = color;
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) {
    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    HIMAGELIST__* target = Find(list);
    return target ? target->background : CLR_NONE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
    return AddStrip(list, image, mask ? Transparency::Mask : Transparency::Alpha, mask, 0);
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor) {
    return AddStrip(list, image, Transparency::Color, nullptr, maskColor);
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
    {
        std::lock_guard<std::recursive_mutex> guard(Lists().lock);
        HIMAGELIST__* target = Find(list);
        if (!target)
            return -1;
        if (index < -1 || (index >= 0 && size_t(index) >= target->images.size())) {
            SetLastError(ERROR_INVALID_INDEX);
            return -1;
        }
    }
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    int width = 0, height = 0, maskWidth = 0, maskHeight = 0;
    Pixels color, mask;
    bool read = ReadBitmap(info.hbmColor, width, height, color) &&
                ReadBitmap(info.hbmMask, maskWidth, maskHeight, mask);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (!read) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    bool ownAlpha = std::any_of(color.begin(), color.end(), [](std::uint32_t p) { return (p >> 24) != 0; });

    std::lock_guard<std::recursive_mutex> guard(Lists().lock);
    HIMAGELIST__* target = Find(list); // another thread may have destroyed it meanwhile
    if (!target)
        return -1;
    if (index >= 0 && size_t(index) >= target->images.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return -1;
    }
    // An icon of another size is scaled to the list's by nearest pixel.
    Pixels picture(size_t(target->cx) * size_t(target->cy));
    for (int y = 0; y < target->cy; ++y)
        for (int x = 0; x < target->cx; ++x) {
            int sx = x * width / target->cx;
            int sy = y * height / target->cy;
            std::uint32_t p = color[size_t(sy) * size_t(width) + size_t(sx)];
            std::uint32_t alpha = 255;
            if (ownAlpha)
                alpha = p >> 24;
            else if (sx < maskWidth && sy < maskHeight)
                alpha = (mask[size_t(sy) * size_t(maskWidth) + size_t(sx)] & 0xFFFFFF) != 0 ? 0 : 255;
            picture[size_t(y) * size_t(target->cx) + size_t(x)] = Premultiply(p, alpha);
        }
    if (index < 0) {
        target->images.push_back(std::move(picture));
        return int(target->images.size()) - 1;
    }
    target->images[size_t(index)] = std::move(picture);
    return index;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    return ImageList_DrawEx(list, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF background,
                      COLORREF, UINT style) {
    Pixels pixels;
    int cx = 0;
    int cy = 0;
    COLORREF listBackground = CLR_NONE;
    if (!CopyPicture(list, index, pixels, cx, cy, listBackground))
        return FALSE;
    if (!dc || dx < 0 || dy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int width = dx == 0 ? cx : std::min(dx, cx);
    int height = dy == 0 ? cy : std::min(dy, cy);
    if (background == CLR_DEFAULT)
        background = listBackground;
    if (!(style & ILD_TRANSPARENT) && background != CLR_NONE) {
        HBRUSH brush = CreateSolidBrush(background);
        RECT rect{x, y, x + width, y + height};
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    HBITMAP bitmap = MakeBitmap(pixels, cx, cy);
    HDC memory = CreateCompatibleDC(dc);
    if (!bitmap || !memory) {
        if (memory)
            DeleteDC(memory);
        if (bitmap)
            DeleteObject(bitmap);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL ok = AlphaBlend(dc, x, y, width, height, memory, 0, 0, width, height, blend);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return ok;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT) {
    Pixels pixels;
    int cx = 0;
    int cy = 0;
    COLORREF background = CLR_NONE;
    if (!CopyPicture(list, index, pixels, cx, cy, background))
        return nullptr;
    Pixels mask(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        mask[i] = (pixels[i] >> 24) == 0 ? 0x00FFFFFF : 0;
        pixels[i] = Unpremultiply(pixels[i]);
    }
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = MakeBitmap(pixels, cx, cy);
    info.hbmMask = MakeBitmap(mask, cx, cy);
    HICON icon = info.hbmColor && info.hbmMask ? CreateIconIndirect(&info) : nullptr;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return icon;
}
