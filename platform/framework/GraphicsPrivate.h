// What the picture classes share and nothing else sees: reading a stream's bytes, drawing decoded pixels
// with their alpha, and turning codec failures into the framework's exceptions.
#pragma once

#include <vector>

#include "platform/codecs/Image.h"
#include "platform/framework/Graphics.h"

namespace graphics {

// The bytes from the stream's position to its end.
codecs::Bytes ReadRest(TStream& stream);
void WriteAll(TStream& stream, const codecs::Bytes& bytes);

// Draws the pixels stretched into rect of dc, blended by their alpha (opaque when the image has none).
void DrawImage(HDC dc, const TRect& rect, const codecs::Image& image);

// A copy of image whose alpha is 0 where the colour is transparent (the key's RGB), 0xFF elsewhere.
codecs::Image MaskByColor(const codecs::Image& image, COLORREF transparent);

// Raises E with the codec's text.
template <class E> [[noreturn]] void Raise(const codecs::CodecError& error) {
    throw E(error.message);
}

} // namespace graphics
