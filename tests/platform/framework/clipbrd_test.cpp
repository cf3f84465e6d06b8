// TClipboard: round trips of text, HTML, a registered binary format and a bitmap, nested opening, and
// errors.
#include <cstring>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "platform/framework/Clipbrd.h"
#include "platform/rtl/Consts.h"

namespace {

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { Clipboard()->Clear(); }
    void TearDown() override {
        // A failed test may leave it open.
        for (int i = 0; i < 4; ++i)
            Clipboard()->Close();
    }

    static std::string BlockBytes(HGLOBAL block) {
        if (block == nullptr)
            return "<null>";
        std::string bytes(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
        GlobalUnlock(block);
        return bytes;
    }
};

TEST_F(ClipboardTest, TextRoundTrips) {
    Clipboard()->SetAsText(u"Grüße\r\nzwei");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT)); // made from the Unicode text
    EXPECT_EQ(Clipboard()->AsText(), u"Grüße\r\nzwei");

    Char buffer[5];
    EXPECT_EQ(Clipboard()->GetTextBuf(buffer, 5), 4);
    EXPECT_EQ(String(buffer), u"Grüß");
    Clipboard()->SetTextBuf(u"short");
    EXPECT_EQ(Clipboard()->AsText(), u"short");

    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard()->AsText(), u"");
}

TEST_F(ClipboardTest, FormatsSetWhileOpenGoTogether) {
    const UINT html = RegisterClipboardFormatW(u"HTML Format");
    const UINT binary = RegisterClipboardFormatW(u"Zelmor Cells");
    const std::string markup =
        "Version:0.9\r\nStartHTML:-1\r\nEndHTML:-1\r\nStartFragment:0\r\nEndFragment:0\r\n<b>x</b>";
    const char cells[] = {1, 0, 2, 0, '\xFF'};
    Clipboard()->Open();
    Clipboard()->Open();
    Clipboard()->SetAsText(u"x");
    Clipboard()->SetBuffer(static_cast<Word>(html), markup.c_str(), static_cast<Integer>(markup.size() + 1));
    Clipboard()->Close();
    // Still open: the binary block joins the text and the HTML instead of replacing them.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof cells);
    std::memcpy(GlobalLock(block), cells, sizeof cells);
    GlobalUnlock(block);
    Clipboard()->SetAsHandle(static_cast<Word>(binary), block);
    Clipboard()->Close();
    EXPECT_FALSE(CloseClipboard()) << "left open";

    EXPECT_EQ(Clipboard()->AsText(), u"x");
    EXPECT_EQ(BlockBytes(Clipboard()->GetAsHandle(static_cast<Word>(binary))),
              std::string(cells, sizeof cells));
    std::string gotHtml = BlockBytes(Clipboard()->GetAsHandle(static_cast<Word>(html)));
    EXPECT_NE(gotHtml.find("<b>x</b>"), std::string::npos);
    EXPECT_GE(Clipboard()->FormatCount(), 3);
    EXPECT_EQ(Clipboard()->Formats(0), CF_UNICODETEXT);

    // Set again without an outer Open, a format replaces everything.
    Clipboard()->SetAsText(u"alone");
    EXPECT_FALSE(Clipboard()->HasFormat(static_cast<Word>(binary)));
    // An unbalanced Close does nothing.
    Clipboard()->Close();
    EXPECT_EQ(Clipboard()->AsText(), u"alone");
}

TEST_F(ClipboardTest, BitmapRoundTripsAndPictureWithoutOneFails) {
    TBitmap bitmap(5, 3);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(TRect(0, 0, 5, 3));
    bitmap.Canvas()->SetPixels(4, 0, clRed);
    Clipboard()->Assign(&bitmap);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));

    TPicture picture;
    picture.Assign(Clipboard());
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Height(), 3);
    EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(4, 0), clRed);
    EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(0, 2), clWhite);

    Clipboard()->SetAsText(u"no picture");
    TBitmap target;
    try {
        target.Assign(Clipboard());
        FAIL() << "no error without a picture";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), Consts::SUnknownClipboardFormat);
    }
}

TEST_F(ClipboardTest, OpenFailsWhileAnotherThreadHasIt) {
    std::promise<void> opened;
    std::promise<void> tried;
    std::thread other([&] {
        OpenClipboard(nullptr);
        opened.set_value();
        tried.get_future().wait();
        CloseClipboard();
    });
    opened.get_future().wait();
    try {
        Clipboard()->Open();
        ADD_FAILURE() << "opened a clipboard another thread holds";
        Clipboard()->Close();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), Consts::SCannotOpenClipboard);
    }
    tried.set_value();
    other.join();
    // The failed Open left no count behind: the next Open and Close really close it.
    Clipboard()->Open();
    Clipboard()->Close();
    EXPECT_FALSE(CloseClipboard());
}

} // namespace
