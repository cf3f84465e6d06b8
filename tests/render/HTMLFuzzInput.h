// One fuzz input of the mini-HTML renderer, shared by the fuzz target and the regression test of its
// kept crash inputs: the first byte picks the mode (paint, hit test, measure) and word wrap, the second
// the rectangle's width; the rest is the markup in UTF-8, drawn through RenderMiniHTML on a bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/framework/ImgList.h"
#include "platform/rtl/UString.h"
#include "render/AsgHTMLE.h"

// Returns what the call measured, or -1 for an input too short to hold a mode and a width.
inline Integer RenderHTMLFuzzInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return -1;
    const int mode = data[0] % 3;
    const bool wordWrap = (data[0] & 4) == 0;
    const int width = data[1];
    String text = Utf8ToString(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));

    static TBitmap bitmap(128, 64);
    static TCustomImageList images(16, 16);
    if (images.Count() == 0) {
        TBitmap image(16, 16);
        images.Add(&image, nullptr);
    }
    String anchor, plain, focus, title, id = u"e1", value, type;
    Integer textWidth = 0, textHeight = 0, count = 0, mouse = 0;
    TRect hover, control;
    RenderMiniHTML(bitmap.Canvas(), text, TRect(2, 2, 2 + width, 62), &images, 20, 8, 0, 1, 1, mode == 1,
                   mode == 2, false, false, false, true, wordWrap, true, u"b", 1.0, clBlue, clYellow, clRed,
                   clGray, anchor, plain, focus, title, textWidth, textHeight, count, mouse, hover, control,
                   id, value, type, nullptr, nullptr, nullptr, bdLeftToRight);
    return textHeight;
}
