// Tests of the Win32 clipboard: text round trips with the synthesis among the text formats, HTML and
// registered binary formats, file lists, pictures as bitmaps and DIBs, promised formats, errors, and
// what the desktop sees and gives.
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "platform/backend/clipboard.h"
#include "platform/rtl/UString.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/codepage.h"
#include "platform/win32/wingdi.h"
#include "tests/platform/win32/win_testing.h"

namespace {

HGLOBAL Block(const void* data, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    return memory;
}

std::string Bytes(HGLOBAL memory) {
    if (!memory)
        return "<null>";
    std::string bytes(static_cast<const char*>(GlobalLock(memory)), GlobalSize(memory));
    GlobalUnlock(memory);
    return bytes;
}

// The text of a block, up to its zero.
std::string NarrowText(HGLOBAL memory) {
    return std::string(Bytes(memory).c_str());
}
String WideText(HGLOBAL memory) {
    std::string bytes = Bytes(memory);
    return String(reinterpret_cast<const Char*>(bytes.data()));
}

std::string Desktop(const std::string& type) {
    std::vector<std::uint8_t> data;
    if (!backend::clipboard::Read(type, data))
        return "<missing>";
    return std::string(data.begin(), data.end());
}

std::vector<UINT> Formats() {
    std::vector<UINT> formats;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        formats.push_back(f);
    return formats;
}

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
    }
    void TearDown() override {
        // A failed test may leave it open.
        CloseClipboard();
        wintest::ResetWindowManager();
    }
    static void Put(UINT format, const void* data, size_t size) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(format, Block(data, size));
        CloseClipboard();
    }
};

TEST_F(Clipboard, UnicodeTextGivesAnsiAndOemText) {
    const String text = u"Grüße €\r\nzwei";
    Put(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(Char));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), text);
    // The ANSI code page is UTF-8 here; code page 437 has no euro sign.
    EXPECT_EQ(NarrowText(GetClipboardData(CF_TEXT)), "Gr\xC3\xBC\xC3\x9F"
                                                     "e \xE2\x82\xAC\r\nzwei");
    EXPECT_EQ(NarrowText(GetClipboardData(CF_OEMTEXT)), "Gr\x81\xE1"
                                                        "e ?\r\nzwei");
    // Set formats first, then those that can be made.
    EXPECT_EQ(Formats(), (std::vector<UINT>{CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT}));
    EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_FOUND);
    CloseClipboard();
    EXPECT_EQ(CountClipboardFormats(), 3);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
    // Other programs get plain text with their line ends.
    EXPECT_EQ(Desktop("text/plain;charset=utf-8"), "Grüße €\nzwei");
}

TEST_F(Clipboard, AnsiTextGivesUnicodeText) {
    const char text[] = "caf\xC3\xA9";
    Put(CF_TEXT, text, sizeof text);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), u"café");
    // Setting Unicode text later replaces what was made from the ANSI text.
    const String other = u"neu";
    SetClipboardData(CF_UNICODETEXT, Block(other.c_str(), (other.size() + 1) * sizeof(Char)));
    EXPECT_EQ(NarrowText(GetClipboardData(CF_TEXT)), text);
    CloseClipboard();
}

TEST_F(Clipboard, CallsNeedTheClipboardOpen) {
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    HGLOBAL block = Block("x", 2);
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    GlobalFree(block);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    EXPECT_EQ(EnumClipboardFormats(0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);

    // Another thread cannot open it meanwhile.
    ASSERT_TRUE(OpenClipboard(nullptr));
    BOOL opened = TRUE;
    DWORD error = 0;
    std::thread([&] {
        opened = OpenClipboard(nullptr);
        error = GetLastError();
    }).join();
    EXPECT_FALSE(opened);
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, RegisteredFormatsByName) {
    UINT first = RegisterClipboardFormatW(u"Zelmor Cells");
    EXPECT_GE(first, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatW(u"ZELMOR cells"), first);
    EXPECT_NE(RegisterClipboardFormatW(u"Zelmor Rows"), first);
    EXPECT_EQ(RegisterClipboardFormatW(u""), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    Char name[64];
    EXPECT_EQ(GetClipboardFormatNameW(first, name, 64), 12);
    EXPECT_EQ(String(name), u"Zelmor Cells");
    // Cut to fit, with its zero.
    EXPECT_EQ(GetClipboardFormatNameW(first, name, 4), 3);
    EXPECT_EQ(String(name), u"Zel");
    EXPECT_EQ(GetClipboardFormatNameW(CF_TEXT, name, 64), 0);
}

TEST_F(Clipboard, BinaryFormatRoundTrip) {
    UINT format = RegisterClipboardFormatW(u"Zelmor Binary");
    const unsigned char data[] = {0, 1, 2, 0xFF, 0, 0x80, 'z'};
    Put(format, data, sizeof data);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(Bytes(GetClipboardData(format)), std::string(reinterpret_cast<const char*>(data), sizeof data));
    EXPECT_EQ(Formats(), std::vector<UINT>{format});
    CloseClipboard();
    EXPECT_EQ(Desktop("application/x-qt-windows-mime;value=\"Zelmor Binary\""),
              std::string(reinterpret_cast<const char*>(data), sizeof data));
}

TEST_F(Clipboard, HtmlFormatRoundTripAndTheDesktopsMarkup) {
    UINT html = RegisterClipboardFormatW(u"HTML Format");
    const std::string body =
        "<html><body>\r\n<!--StartFragment--><b>bold</b><!--EndFragment-->\r\n</body></html>";
    char header[200];
    int length = std::snprintf(header, sizeof header,
                               "Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010d\r\nStartFragment:%010d\r\n"
                               "EndFragment:%010d\r\n",
                               0, 0, 0, 0);
    std::snprintf(
        header, sizeof header,
        "Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010d\r\nStartFragment:%010d\r\nEndFragment:%010d\r\n",
        length, length + static_cast<int>(body.size()), length + static_cast<int>(body.find("<b>")),
        length + static_cast<int>(body.find("<!--End")));
    std::string block = std::string(header) + body;
    Put(html, block.c_str(), block.size() + 1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(NarrowText(GetClipboardData(html)), block);
    CloseClipboard();
    EXPECT_EQ(Desktop("text/html"), body);
}

// Eight-digit offsets, no closing zero and an end counted past the block; rich text in UTF-16 units.
TEST_F(Clipboard, MarkupAndRichTextInOtherLayoutsReachTheDesktop) {
    const std::string body = "<html><body><!--StartFragment-->\xC3\xA9<!--EndFragment--></body></html>";
    char header[120];
    const int length = std::snprintf(header, sizeof header,
                                     "Version:1.0\r\nStartHTML:%08d\r\nEndHTML:%08d\r\nStartFragment:%08d\r\n"
                                     "EndFragment:%08d\r\n",
                                     97, 97 + static_cast<int>(body.size()) + 5, 0, 0);
    ASSERT_EQ(length, 97);
    const std::string block = std::string(header) + body;
    Put(RegisterClipboardFormatW(u"HTML Format"), block.data(), block.size());
    EXPECT_EQ(Desktop("text/html"), body);

    const String rtf = u"{\\rtf1 \u00E9}";
    Put(RegisterClipboardFormatW(u"Rich Text Format"), rtf.c_str(), (rtf.size() + 1) * sizeof(Char));
    EXPECT_EQ(Desktop("text/rtf"), "{\\rtf1 \xC3\xA9}");
    const std::string narrow = "{\\rtf1 x}";
    Put(RegisterClipboardFormatW(u"Rich Text Format"), narrow.c_str(), narrow.size() + 1);
    EXPECT_EQ(Desktop("text/rtf"), narrow);
}

TEST_F(Clipboard, FileListGoesAsUrls) {
    String files = String(u"/tmp/a b.txt") + u'\0' + u"/tmp/c" + u'\0' + u'\0';
    std::vector<char> block(sizeof(DROPFILES) + files.size() * sizeof(Char));
    DROPFILES head{};
    head.pFiles = sizeof head;
    head.fWide = TRUE;
    std::memcpy(block.data(), &head, sizeof head);
    std::memcpy(block.data() + sizeof head, files.data(), files.size() * sizeof(Char));
    Put(CF_HDROP, block.data(), block.size());
    EXPECT_EQ(Desktop("text/uri-list"), "file:///tmp/a%20b.txt\r\nfile:///tmp/c\r\n");
}

// What another program put on the desktop's clipboard comes in as the formats it stands for.
TEST_F(Clipboard, DesktopContentComesIn) {
    auto item = [](const std::string& type, const std::string& data) {
        return backend::clipboard::Item{type, std::vector<std::uint8_t>(data.begin(), data.end())};
    };
    backend::clipboard::Publish(
        {item("text/plain;charset=utf-8", "eins\nzwei"), item("text/html", "<i>x</i>"),
         item("text/uri-list", "file:///tmp/d%C3%A9j%C3%A0\r\nhttp://example.invalid/\r\n")});
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_EQ(WideText(GetClipboardData(CF_UNICODETEXT)), u"eins\r\nzwei");
    EXPECT_EQ(NarrowText(GetClipboardData(CF_TEXT)), "eins\r\nzwei");

    // The markup gets the header of offsets, which point at the fragment.
    std::string html = NarrowText(GetClipboardData(RegisterClipboardFormatW(u"HTML Format")));
    auto offset = [&](const char* key) {
        return std::stoul(html.substr(html.find(key) + std::strlen(key), 10));
    };
    EXPECT_EQ(html.substr(offset("StartFragment:"), offset("EndFragment:") - offset("StartFragment:")),
              "<i>x</i>");
    EXPECT_EQ(html.substr(offset("StartHTML:"), 6), "<html>");
    EXPECT_EQ(offset("EndHTML:"), html.size());

    // Only local files make the file list.
    std::string drop = Bytes(GetClipboardData(CF_HDROP));
    ASSERT_GE(drop.size(), sizeof(DROPFILES));
    DROPFILES head;
    std::memcpy(&head, drop.data(), sizeof head);
    EXPECT_TRUE(head.fWide);
    EXPECT_EQ(String(reinterpret_cast<const Char*>(drop.data() + head.pFiles)), u"/tmp/déjà");
    EXPECT_EQ(drop.size(), head.pFiles + (std::u16string(u"/tmp/déjà").size() + 2) * sizeof(Char));
    CloseClipboard();
}

TEST_F(Clipboard, PromisedFormatIsRenderedByTheOwner) {
    UINT format = RegisterClipboardFormatW(u"Zelmor Later");
    int renders = 0;
    int destroys = 0;
    wintest::Options options;
    options.handler = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_RENDERFORMAT) {
            ++renders;
            SetClipboardData(static_cast<UINT>(wParam), Block("late", 5));
            return 0;
        }
        if (message == WM_DESTROYCLIPBOARD)
            ++destroys;
        return std::nullopt;
    };
    HWND owner = wintest::Create(options);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    EXPECT_EQ(SetClipboardData(format, nullptr), nullptr);
    EXPECT_TRUE(IsClipboardFormatAvailable(format));
    EXPECT_EQ(NarrowText(GetClipboardData(format)), "late");
    EXPECT_EQ(NarrowText(GetClipboardData(format)), "late");
    EXPECT_EQ(renders, 1);
    EXPECT_EQ(GetClipboardOwner(), owner);
    CloseClipboard();
    // The next one to empty it tells the owner.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(destroys, 1);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
}

// A 32-bit bottom-up DIB of width x height whose pixel (x, y) is colour.
std::vector<std::uint8_t> Dib(int width, int height, int x, int y, std::uint32_t colour) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::vector<std::uint8_t> dib(sizeof header + static_cast<size_t>(width * height) * 4, 0xFF);
    std::memcpy(dib.data(), &header, sizeof header);
    std::memcpy(dib.data() + sizeof header + static_cast<size_t>((height - 1 - y) * width + x) * 4, &colour,
                4);
    return dib;
}

TEST_F(Clipboard, BitmapAndDibAreMadeFromEachOther) {
    // A DIB set gives a bitmap with its picture, and the desktop a BMP file.
    std::vector<std::uint8_t> dib = Dib(3, 2, 2, 0, 0x000000FF); // blue at the top right
    Put(CF_DIB, dib.data(), dib.size());
    EXPECT_EQ(Desktop("image/bmp").substr(0, 2), "BM");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(Formats(), (std::vector<UINT>{CF_DIB, CF_BITMAP}));
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(bitmap, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));

    // A bitmap set (the clipboard takes it) gives a DIB of the same picture.
    SetPixel(dc, 0, 1, RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, 3, 2);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HGDIOBJ oldFrom = SelectObject(from, bitmap);
    HGDIOBJ oldTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, 3, 2, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, copy);
    HGLOBAL made = GetClipboardData(CF_DIB);
    ASSERT_NE(made, nullptr);
    std::string bytes = Bytes(made);
    ASSERT_EQ(bytes.size(), sizeof(BITMAPINFOHEADER) + 3 * 2 * 4);
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 3);
    EXPECT_EQ(header.biHeight, 2);
    std::uint32_t bottomLeft;
    std::memcpy(&bottomLeft, bytes.data() + sizeof header, 4);
    EXPECT_EQ(bottomLeft & 0xFFFFFF, 0xFF0000u); // red, as BGRA
    CloseClipboard();
}

TEST_F(Clipboard, CutDibGivesNoBitmap) {
    std::vector<std::uint8_t> dib = Dib(4, 4, 0, 0, 0);
    dib.resize(dib.size() - 8);
    Put(CF_DIB, dib.data(), dib.size());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_FOUND));
    CloseClipboard();
}

} // namespace
