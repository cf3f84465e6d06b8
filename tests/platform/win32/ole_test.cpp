// Tests of global memory, streams on it and OLE picture loading: every format, broken bytes,
// sizes in HIMETRIC, rendering and reference counting.
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>

#include "platform/codecs/Bmp.h"
#include "platform/codecs/Gif.h"
#include "platform/codecs/Ico.h"
#include "platform/codecs/Jpeg.h"
#include "platform/codecs/Png.h"
#include "platform/win32/ole.h"
#include "platform/win32/winuser.h"
#include "tests/platform/win32/gdi_test.h"

namespace {

using gdi_test::Canvas;

TEST(OleStartUpTest, CountsPerThread) {
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    // Another thread starts on its own.
    HRESULT other = E_FAIL;
    std::thread([&] {
        other = OleInitialize(nullptr);
        OleUninitialize();
    }).join();
    EXPECT_EQ(other, S_OK);
    OleUninitialize();
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
    OleUninitialize();
    OleUninitialize(); // one too many: ignored
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    OleUninitialize();
}

TEST(GlobalMemoryTest, BlocksLockAndFree) {
    HGLOBAL block = GlobalAlloc(GHND, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 10u);
    auto bytes = static_cast<std::uint8_t*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[9], 0); // zero-filled
    bytes[0] = 42;
    EXPECT_EQ(GlobalLock(block), bytes); // a second lock
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), NO_ERROR);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
    // Growing keeps the contents and the handle of a movable block.
    ASSERT_EQ(GlobalReAlloc(block, 100, GMEM_MOVEABLE), block);
    EXPECT_EQ(static_cast<std::uint8_t*>(GlobalLock(block))[0], 42);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
    // A freed block is unknown from then on.
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GlobalFree(block), block);

    // A fixed block's handle is its memory.
    HGLOBAL fixed = GlobalAlloc(GPTR, 4);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    GlobalFree(fixed);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{1} << 40), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

TEST(GlobalMemoryTest, StreamsReadWriteSeekAndFreeTheirBlock) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(block), "abcd", 4);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
    char buffer[8] = {};
    ULONG read = 0;
    ASSERT_EQ(stream->Read(buffer, 8, &read), S_OK);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    ULARGE_INTEGER position{};
    ASSERT_EQ(stream->Seek(LARGE_INTEGER{-2}, STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 2u);
    EXPECT_EQ(stream->Seek(LARGE_INTEGER{-9}, STREAM_SEEK_CUR, nullptr), STG_E_INVALIDFUNCTION);
    ULONG written = 0;
    ASSERT_EQ(stream->Write("XYZ", 3, &written), S_OK); // grows the block
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(stat.cbSize.QuadPart, 5u);
    HGLOBAL same = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(stream, &same), S_OK);
    EXPECT_EQ(same, block);
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(block)), 5), "abXYZ");
    GlobalUnlock(block);

    IStream* clone = nullptr;
    ASSERT_EQ(stream->Clone(&clone), S_OK);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(stream->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 1u);
    void* none = nullptr;
    EXPECT_EQ(stream->QueryInterface(IID_IPicture, &none), E_NOINTERFACE);
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_NE(GlobalSize(block), 0u); // the clone still holds the block
    EXPECT_EQ(clone->Release(), 0u);
    EXPECT_EQ(GlobalSize(block), 0u); // freed with the last stream

    // Without deleteOnRelease a stream's new block outlives it, for its owner to take.
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, FALSE, &stream), S_OK);
    stream->Write("kept", 4, &written);
    ASSERT_EQ(GetHGlobalFromStream(stream, &block), S_OK);
    stream->Release();
    ASSERT_EQ(GlobalSize(block), 4u);
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(block)), 4), "kept");
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);

    EXPECT_EQ(CreateStreamOnHGlobal(reinterpret_cast<HGLOBAL>(0x5678), FALSE, &stream), E_INVALIDARG);
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);
}

// A 100 x 50 picture: the top half red, the bottom half blue.
codecs::Image TwoColours() {
    codecs::Image image = codecs::MakeImage(100, 50, 0xFF0000);
    for (int y = 25; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            image.SetPixel(x, y, 0xFF0000FF);
    return image;
}

IStream* StreamOf(const codecs::Bytes& bytes) {
    IStream* stream = nullptr;
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    ULONG written = 0;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
    return stream;
}

struct FormatCase {
    const char* name;
    codecs::Bytes (*make)();
    SHORT type;
};

const FormatCase Formats[] = {
    {"bmp", [] { return codecs::EncodeBmp(TwoColours()).Value(); }, PICTYPE_BITMAP},
    {"jpeg", [] { return codecs::EncodeJpeg(TwoColours()).Value(); }, PICTYPE_BITMAP},
    {"png", [] { return codecs::EncodePng(TwoColours()).Value(); }, PICTYPE_BITMAP},
    {"gif",
     [] {
         std::vector<codecs::GifWriteFrame> frames(1);
         frames[0].image = TwoColours();
         return codecs::EncodeGif(frames).Value();
     },
     PICTYPE_BITMAP},
    {"ico",
     [] {
         codecs::Image image = TwoColours();
         return codecs::EncodeIco(std::span(&image, 1)).Value();
     },
     PICTYPE_ICON},
};

class OlePictureTest : public testing::TestWithParam<FormatCase> {};

TEST_P(OlePictureTest, LoadsMeasuresAndRendersUpright) {
    IStream* stream = StreamOf(GetParam().make());
    IPicture* picture = nullptr;
    ASSERT_EQ(OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)), S_OK);
    stream->Release();
    SHORT type = 0;
    picture->get_Type(&type);
    EXPECT_EQ(type, GetParam().type);
    // 100 x 50 pixels at 96 per inch, in 0.01 mm, and back with an integer multiply-divide.
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    EXPECT_EQ(width, 2646);
    EXPECT_EQ(height, 1323);
    EXPECT_EQ(std::lround(width * 96.0 / 2540), 100);
    EXPECT_EQ(std::lround(height * 96.0 / 2540), 50);

    // The usual call: the destination's bottom with a negative height shows the picture upright.
    Canvas canvas(110, 60);
    RECT bounds{5, 5, 105, 55};
    ASSERT_EQ(picture->Render(canvas.dc(), 5, 55, 100, -50, 0, 0, width, height, &bounds), S_OK);
    // JPEG is lossy: each half only has to be clearly its colour.
    COLORREF top = canvas.At(50, 10), bottom = canvas.At(50, 50);
    EXPECT_TRUE(GetRValue(top) > 240 && GetBValue(top) < 15) << std::hex << top;
    EXPECT_TRUE(GetBValue(bottom) > 240 && GetRValue(bottom) < 15) << std::hex << bottom;
    EXPECT_EQ(canvas.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(picture->Render(canvas.dc(), 0, 0, 0, 10, 0, 0, width, height, nullptr), E_INVALIDARG);

    OLE_HANDLE handle = 0;
    ASSERT_EQ(picture->get_Handle(&handle), S_OK);
    EXPECT_NE(handle, 0u);
    if (type == PICTYPE_BITMAP) {
        BITMAP info{};
        ASSERT_NE(GetObjectW(reinterpret_cast<HBITMAP>(handle), sizeof(info), &info), 0);
        EXPECT_EQ(info.bmWidth, 100);
        EXPECT_EQ(info.bmHeight, 50);
    }

    // COM reference counting: the picture lives until its last Release.
    EXPECT_EQ(picture->AddRef(), 2u);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(picture->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 2u);
    EXPECT_EQ(picture->Release(), 1u);
    EXPECT_EQ(picture->Release(), 0u);
}

TEST_P(OlePictureTest, BrokenBytesAreAnErrorNeverARead) {
    codecs::Bytes bytes = GetParam().make();
    for (size_t keep : {bytes.size() / 2, size_t{12}, size_t{3}}) {
        SCOPED_TRACE(keep);
        codecs::Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
        IStream* stream = StreamOf(cut);
        IPicture* picture = reinterpret_cast<IPicture*>(0x1);
        EXPECT_EQ(OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                 reinterpret_cast<void**>(&picture)),
                  CTL_E_INVALIDPICTURE);
        EXPECT_EQ(picture, nullptr);
        stream->Release();
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, OlePictureTest, testing::ValuesIn(Formats),
                         [](const testing::TestParamInfo<FormatCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(OleLoadPictureTest, ArgumentsAndForeignBytes) {
    IStream* stream = StreamOf({'h', 'e', 'l', 'l', 'o', ' ', 't', 'e', 'x', 't'});
    void* picture = nullptr;
    EXPECT_EQ(OleLoadPicture(stream, 0, FALSE, IID_IPicture, &picture), CTL_E_INVALIDPICTURE);
    EXPECT_EQ(OleLoadPicture(stream, 0, FALSE, IID_IStream, &picture), E_NOINTERFACE);
    EXPECT_EQ(OleLoadPicture(nullptr, 0, FALSE, IID_IPicture, &picture), E_POINTER);
    EXPECT_EQ(OleLoadPicture(stream, 0, FALSE, IID_IPicture, nullptr), E_POINTER);
    stream->Release();

    // Only the given number of bytes is read: the rest of the stream stays for its owner.
    codecs::Bytes bmp = codecs::EncodeBmp(TwoColours()).Value();
    codecs::Bytes twice = bmp;
    twice.insert(twice.end(), bmp.begin(), bmp.end());
    stream = StreamOf(twice);
    IPicture* first = nullptr;
    ASSERT_EQ(OleLoadPicture(stream, static_cast<LONG>(bmp.size()), FALSE, IID_IPicture,
                             reinterpret_cast<void**>(&first)),
              S_OK);
    ULARGE_INTEGER position{};
    stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_CUR, &position);
    EXPECT_EQ(position.QuadPart, bmp.size());
    first->Release();
    stream->Release();
}

} // namespace
