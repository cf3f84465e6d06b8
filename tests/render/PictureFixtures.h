// Picture files the render tests make for themselves: small pictures in every format, animated GIFs,
// and helpers to put bytes in files and streams.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "platform/codecs/Bmp.h"
#include "platform/codecs/Gif.h"
#include "platform/codecs/Ico.h"
#include "platform/codecs/Jpeg.h"
#include "platform/codecs/Png.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "tests/support/TestSupport.h"

namespace picture_fixtures {

// A width x height picture: left half red, right half blue.
inline codecs::Image RedBlue(int width = 6, int height = 4) {
    codecs::Image image = codecs::MakeImage(width, height, 0xFF0000);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            image.SetPixel(x, y, 0xFF0000FF);
    return image;
}

inline codecs::Bytes Bmp(const codecs::Image& image = RedBlue()) {
    return codecs::EncodeBmp(image).Value();
}
inline codecs::Bytes Png(const codecs::Image& image = RedBlue()) {
    return codecs::EncodePng(image).Value();
}
inline codecs::Bytes Jpeg(const codecs::Image& image = RedBlue()) {
    return codecs::EncodeJpeg(image, {100, false, false}).Value();
}
inline codecs::Bytes Ico(const codecs::Image& image = RedBlue()) {
    return codecs::EncodeIco(std::span(&image, 1)).Value();
}

// A GIF of one frame per delay, each frame a w x h block of its own colour at (left, top) = (i, 0)
// on a screen of (w + frames) x h.
inline codecs::Bytes AnimatedGif(const std::vector<int>& delays, int w = 4, int h = 3,
                                 codecs::GifDisposal disposal = codecs::GifDisposal::None) {
    static const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF};
    std::vector<codecs::GifWriteFrame> frames;
    for (size_t i = 0; i < delays.size(); ++i) {
        codecs::GifWriteFrame frame;
        frame.image = codecs::MakeImage(w, h, colours[i % 5]);
        frame.left = static_cast<int>(i);
        frame.delay = delays[i];
        frame.disposal = disposal;
        frames.push_back(frame);
    }
    codecs::GifWriteOptions options;
    options.width = w + static_cast<int>(delays.size());
    options.height = h;
    return codecs::EncodeGif(frames, options).Value();
}

inline codecs::Bytes Gif(const codecs::Image& image = RedBlue()) {
    std::vector<codecs::GifWriteFrame> frames(1);
    frames[0].image = image;
    return codecs::EncodeGif(frames).Value();
}

// The position of the n-th (from 1) graphic control block followed by an image descriptor.
inline size_t FrameBlock(const codecs::Bytes& gif, int n) {
    int seen = 0;
    for (size_t p = 0; p + 9 < gif.size(); ++p)
        if (gif[p] == 0x21 && gif[p + 1] == 0xF9 && gif[p + 2] == 4 && gif[p + 8] == 0x2C && ++seen == n)
            return p;
    return gif.size();
}

inline std::string WriteFile(const std::string& folder, const std::string& name, const codecs::Bytes& bytes) {
    std::string path = testing_support::MakeTestFolder(folder) + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A memory stream holding the bytes, at position 0.
inline void Fill(TMemoryStream& stream, const codecs::Bytes& bytes) {
    stream.Clear();
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    stream.SetPosition(0);
}

inline codecs::Bytes Text() {
    std::string text = "This is no picture at all, only a line of text.\n";
    return codecs::Bytes(text.begin(), text.end());
}

} // namespace picture_fixtures
