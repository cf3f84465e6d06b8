// The Win32 clipboard: who has it open, the blocks set for each format, synthesis among the text
// formats and between CF_BITMAP and CF_DIB, registered format names, and the trip to and from the desktop's
// clipboard at CloseClipboard and OpenClipboard.
#include "platform/win32/clipboard.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/backend/clipboard.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/Trace.h"
#include "platform/rtl/UString.h"
#include "platform/win32/codepage.h"
#include "platform/win32/wingdi.h"

namespace {

const Trace::Channel TraceClipboard("clipboard");

constexpr UINT FirstRegisteredFormat = 0xC000;
const char* const NamedMime = "application/x-qt-windows-mime;value=\"";

struct Entry {
    UINT format = 0;
    HGLOBAL memory = nullptr; // null: promised, rendered by the owner on demand
    bool synthesized = false; // made from another text format when first asked for
};

struct ClipboardState {
    std::recursive_mutex lock;
    DWORD openThread = 0; // 0: closed
    HWND openWindow = nullptr;
    HWND owner = nullptr;
    std::vector<Entry> entries;   // in the order they were set
    bool changed = false;         // set or emptied since it was opened
    std::uint64_t generation = 0; // the desktop clipboard's generation our entries stand for
    DWORD sequence = 1;
    std::vector<String> names;     // registered formats, FirstRegisteredFormat first
    std::map<String, UINT> byName; // upper-cased name to number
};

ClipboardState& State() {
    static ClipboardState state;
    return state;
}

using Guard = std::lock_guard<std::recursive_mutex>;

DWORD ThisThread() {
    return GetCurrentThreadId();
}

bool IsOpenHere(ClipboardState& state) {
    return state.openThread != 0 && state.openThread == ThisThread();
}

Entry* Find(ClipboardState& state, UINT format) {
    for (Entry& entry : state.entries)
        if (entry.format == format)
            return &entry;
    return nullptr;
}

HGLOBAL BlockOf(const void* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(size, 1));
    if (!memory)
        return nullptr;
    if (void* p = GlobalLock(memory)) {
        if (size)
            std::memcpy(p, data, size);
        else
            static_cast<char*>(p)[0] = 0;
        GlobalUnlock(memory);
    }
    return memory;
}

std::vector<std::uint8_t> BytesOf(HGLOBAL memory) {
    std::vector<std::uint8_t> bytes;
    SIZE_T size = memory ? GlobalSize(memory) : 0;
    if (!size)
        return bytes;
    if (const void* p = GlobalLock(memory)) {
        bytes.assign(static_cast<const std::uint8_t*>(p), static_cast<const std::uint8_t*>(p) + size);
        GlobalUnlock(memory);
    }
    return bytes;
}

// Text up to its first zero (or the block's end: a block need not hold the zero).
String WideTextOf(HGLOBAL memory) {
    std::vector<std::uint8_t> bytes = BytesOf(memory);
    String text(bytes.size() / sizeof(Char), u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(Char));
    text.resize(std::char_traits<Char>::length(text.c_str()));
    return text;
}

std::string NarrowTextOf(HGLOBAL memory) {
    std::vector<std::uint8_t> bytes = BytesOf(memory);
    std::string text(bytes.begin(), bytes.end());
    text.resize(std::strlen(text.c_str()));
    return text;
}

String Decode(UINT codePage, const std::string& bytes) {
    if (bytes.empty())
        return String();
    int count = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    String text(static_cast<std::size_t>(std::max(count, 0)), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), count);
    return text;
}

std::string Encode(UINT codePage, const String& text) {
    if (text.empty())
        return std::string();
    int count = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(count, 0)), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), count, nullptr,
                        nullptr);
    return bytes;
}

HGLOBAL WideBlock(const String& text) {
    return BlockOf(text.c_str(), (text.size() + 1) * sizeof(Char));
}
HGLOBAL NarrowBlock(const std::string& text) {
    return BlockOf(text.c_str(), text.size() + 1);
}

bool IsText(UINT format) {
    return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT;
}

// The text format a missing one is made from: Unicode first, then ANSI, then OEM, as Win32 prefers.
const Entry* TextSource(ClipboardState& state) {
    for (UINT format : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT})
        if (const Entry* entry = Find(state, format); entry && !entry->synthesized)
            return entry;
    return nullptr;
}

HGLOBAL Synthesize(ClipboardState& state, UINT format) {
    const Entry* source = TextSource(state);
    if (!source || !source->memory)
        return nullptr;
    String text = source->format == CF_UNICODETEXT
                      ? WideTextOf(source->memory)
                      : Decode(source->format == CF_TEXT ? CP_ACP : CP_OEMCP, NarrowTextOf(source->memory));
    if (format == CF_UNICODETEXT)
        return WideBlock(text);
    return NarrowBlock(Encode(format == CF_TEXT ? CP_ACP : CP_OEMCP, text));
}

bool IsImage(UINT format) {
    return format == CF_BITMAP || format == CF_DIB;
}

// The blocks of CF_BITMAP are GDI bitmaps; every other format's are global memory.
void FreeBlock(UINT format, HGLOBAL memory) {
    if (format == CF_BITMAP)
        DeleteObject(static_cast<HGDIOBJ>(memory));
    else
        GlobalFree(memory);
}

// The bytes of the colour table or masks that follow a DIB's header.
std::size_t DibColorBytes(const BITMAPINFOHEADER& header) {
    if (header.biCompression == BI_BITFIELDS)
        return 3 * sizeof(DWORD);
    if (header.biBitCount <= 8)
        return (header.biClrUsed != 0 ? header.biClrUsed : (1u << header.biBitCount)) * sizeof(RGBQUAD);
    return header.biClrUsed * sizeof(RGBQUAD);
}

// A 32-bit bottom-up DIB of a bitmap.
HGLOBAL DibOfBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return nullptr;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(info.bmWidth) * static_cast<DWORD>(info.bmHeight) * 4;
    std::vector<std::uint8_t> block(sizeof header + header.biSizeImage);
    std::memcpy(block.data(), &header, sizeof header);
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), block.data() + sizeof header,
                          reinterpret_cast<BITMAPINFO*>(block.data()), DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != info.bmHeight)
        return nullptr;
    return BlockOf(block.data(), block.size());
}

// A bitmap of the screen's format with a DIB's picture; null for a block that is not a whole DIB.
HBITMAP BitmapOfDib(HGLOBAL memory) {
    std::vector<std::uint8_t> block = BytesOf(memory);
    if (block.size() < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, block.data(), sizeof header);
    if (header.biSize < sizeof header || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biWidth > 0x8000 || header.biHeight > 0x8000 || header.biHeight < -0x8000)
        return nullptr;
    std::size_t height = static_cast<std::size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    std::size_t stride = ((static_cast<std::size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    std::size_t offset = header.biSize + DibColorBytes(header);
    // A compressed DIB's size is its own; an uncompressed one must hold every row.
    bool compressed = header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
    if (offset > block.size() || (!compressed && block.size() - offset < stride * height))
        return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, header.biWidth, static_cast<int>(height));
    if (bitmap && SetDIBits(screen, bitmap, 0, static_cast<UINT>(height), block.data() + offset,
                            reinterpret_cast<const BITMAPINFO*>(block.data()), DIB_RGB_COLORS) == 0) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// The image format a missing one is made from.
const Entry* ImageSource(ClipboardState& state) {
    for (UINT format : {CF_DIB, CF_BITMAP})
        if (const Entry* entry = Find(state, format); entry && !entry->synthesized && entry->memory)
            return entry;
    return nullptr;
}

HGLOBAL SynthesizeImage(ClipboardState& state, UINT format) {
    const Entry* source = ImageSource(state);
    if (!source || source->format == format)
        return nullptr;
    if (format == CF_DIB)
        return DibOfBitmap(static_cast<HBITMAP>(source->memory));
    return static_cast<HGLOBAL>(BitmapOfDib(source->memory));
}

// A DIB block as a BMP file, and back.
std::string BmpFileOfDib(HGLOBAL memory) {
    std::vector<std::uint8_t> dib = BytesOf(memory);
    if (dib.size() < sizeof(BITMAPINFOHEADER))
        return {};
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.data(), sizeof header);
    std::uint32_t offset = 14 + header.biSize + static_cast<std::uint32_t>(DibColorBytes(header));
    std::uint32_t size = 14 + static_cast<std::uint32_t>(dib.size());
    std::string file = "BM";
    auto put32 = [&file](std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put32(size);
    put32(0);
    put32(offset);
    file.append(reinterpret_cast<const char*>(dib.data()), dib.size());
    return file;
}

HGLOBAL DibOfBmpFile(const std::vector<std::uint8_t>& file) {
    if (file.size() < 14 + sizeof(BITMAPINFOHEADER) || file[0] != 'B' || file[1] != 'M')
        return nullptr;
    return BlockOf(file.data() + 14, file.size() - 14);
}

void FreeEntries(ClipboardState& state) {
    for (Entry& entry : state.entries)
        if (entry.memory)
            FreeBlock(entry.format, entry.memory);
    state.entries.clear();
}

String NameOf(ClipboardState& state, UINT format) {
    if (format < FirstRegisteredFormat || format - FirstRegisteredFormat >= state.names.size())
        return String();
    return state.names[format - FirstRegisteredFormat];
}

UINT Register(ClipboardState& state, const String& name) {
    String key = AnsiUpperCase(name);
    auto it = state.byName.find(key);
    if (it != state.byName.end())
        return it->second;
    UINT format = FirstRegisteredFormat + static_cast<UINT>(state.names.size());
    state.names.push_back(name);
    state.byName.emplace(key, format);
    return format;
}

std::string Utf8(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string WithoutCarriageReturns(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

std::string WithCarriageReturns(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

// "HTML Format" carries its markup behind a header of byte offsets; desktops carry the markup alone.
std::string HtmlOfClipboardHtml(const std::string& block) {
    auto offset = [&](const char* key) -> long {
        std::size_t at = block.find(key);
        if (at == std::string::npos)
            return -1;
        return std::strtol(block.c_str() + at + std::strlen(key), nullptr, 10);
    };
    long start = offset("StartHTML:");
    long end = offset("EndHTML:");
    if (start < 0 || end < start || static_cast<std::size_t>(start) > block.size())
        return block;
    // An end counted past the block (a header made before its last lines were) ends with the block.
    const std::size_t last = std::min(static_cast<std::size_t>(end), block.size());
    return block.substr(static_cast<std::size_t>(start), last - static_cast<std::size_t>(start));
}

// Rich text is 8-bit, but some writers put it in UTF-16 code units; those start with "{" and a zero
// byte, which no 8-bit rich text does.
std::string RtfOfClipboardRtf(HGLOBAL memory) {
    std::vector<std::uint8_t> bytes = BytesOf(memory);
    if (bytes.size() >= 2 && bytes[0] == '{' && bytes[1] == 0)
        return StringToUtf8(WideTextOf(memory));
    return NarrowTextOf(memory);
}

std::string ClipboardHtmlOfHtml(const std::string& html) {
    std::string body = html;
    if (body.find("<!--StartFragment-->") == std::string::npos) {
        body = "<html><body>\r\n<!--StartFragment-->" + html + "<!--EndFragment-->\r\n</body></html>";
    }
    const char* pattern = "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\n"
                          "EndFragment:%010zu\r\n";
    char header[160];
    std::size_t headerLength = static_cast<std::size_t>(std::snprintf(
        header, sizeof header, pattern, std::size_t{0}, std::size_t{0}, std::size_t{0}, std::size_t{0}));
    std::size_t fragmentStart = body.find("<!--StartFragment-->") + std::strlen("<!--StartFragment-->");
    std::size_t fragmentEnd = body.find("<!--EndFragment-->");
    if (fragmentEnd == std::string::npos)
        fragmentEnd = body.size();
    std::snprintf(header, sizeof header, pattern, headerLength, headerLength + body.size(),
                  headerLength + fragmentStart, headerLength + fragmentEnd);
    return header + body;
}

std::vector<std::string> DropFilesOf(HGLOBAL memory) {
    std::vector<std::string> paths;
    std::vector<std::uint8_t> bytes = BytesOf(memory);
    if (bytes.size() < sizeof(DROPFILES))
        return paths;
    DROPFILES head;
    std::memcpy(&head, bytes.data(), sizeof head);
    std::size_t at = head.pFiles;
    while (at < bytes.size()) {
        String name;
        if (head.fWide) {
            for (; at + 1 < bytes.size(); at += 2) {
                Char c = static_cast<Char>(bytes[at] | (bytes[at + 1] << 8));
                if (!c)
                    break;
                name += c;
            }
            at += 2;
        } else {
            std::string narrow;
            for (; at < bytes.size() && bytes[at]; ++at)
                narrow += static_cast<char>(bytes[at]);
            ++at;
            name = Decode(CP_ACP, narrow);
        }
        if (name.empty())
            break;
        paths.push_back(StringToUtf8(name));
    }
    return paths;
}

HGLOBAL DropFilesBlock(const std::vector<std::string>& paths) {
    String list;
    for (const std::string& path : paths) {
        list += Utf8ToString(path);
        list += u'\0';
    }
    list += u'\0';
    std::vector<std::uint8_t> bytes(sizeof(DROPFILES) + list.size() * sizeof(Char));
    DROPFILES head{};
    head.pFiles = sizeof(DROPFILES);
    head.fWide = TRUE;
    std::memcpy(bytes.data(), &head, sizeof head);
    std::memcpy(bytes.data() + sizeof head, list.data(), list.size() * sizeof(Char));
    return BlockOf(bytes.data(), bytes.size());
}

// What the desktop gets for our entries: the standard types other programs read, and each named
// format under its own name.
std::vector<backend::clipboard::Item> ExportItems(ClipboardState& state) {
    std::vector<backend::clipboard::Item> items;
    auto add = [&](const std::string& mime, const std::string& data) {
        items.push_back({mime, std::vector<std::uint8_t>(data.begin(), data.end())});
    };
    if (const Entry* text = TextSource(state); text && text->memory) {
        String value = text->format == CF_UNICODETEXT
                           ? WideTextOf(text->memory)
                           : Decode(text->format == CF_TEXT ? CP_ACP : CP_OEMCP, NarrowTextOf(text->memory));
        add("text/plain;charset=utf-8", WithoutCarriageReturns(StringToUtf8(value)));
    }
    // Pictures go to the desktop as one BMP file, made from the DIB.
    if (const Entry* image = ImageSource(state)) {
        HGLOBAL dib =
            image->format == CF_DIB ? image->memory : DibOfBitmap(static_cast<HBITMAP>(image->memory));
        if (dib) {
            add("image/bmp", BmpFileOfDib(dib));
            if (dib != image->memory)
                GlobalFree(dib);
        }
    }
    for (const Entry& entry : state.entries) {
        if (!entry.memory || entry.synthesized || IsText(entry.format) || IsImage(entry.format))
            continue;
        if (entry.format == CF_HDROP) {
            add("text/uri-list", backend::clipboard::UriListFromPaths(DropFilesOf(entry.memory)));
            continue;
        }
        String name = NameOf(state, entry.format);
        if (name.empty()) {
            ZFIXME(TraceClipboard, "format %u is not carried to the desktop", entry.format);
            continue;
        }
        std::vector<std::uint8_t> bytes = BytesOf(entry.memory);
        items.push_back({NamedMime + StringToUtf8(name) + "\"", bytes});
        if (AnsiSameText(name, u"HTML Format"))
            add("text/html", HtmlOfClipboardHtml(NarrowTextOf(entry.memory)));
        else if (AnsiSameText(name, u"Rich Text Format"))
            add("text/rtf", RtfOfClipboardRtf(entry.memory));
    }
    return items;
}

// Takes what another program put on the desktop's clipboard: named formats as they are, and the
// standard types as the formats they stand for when no named copy came along.
void Import(ClipboardState& state) {
    FreeEntries(state);
    state.owner = nullptr;
    std::vector<std::uint8_t> data;
    auto have = [&](UINT format) { return Find(state, format) != nullptr; };
    std::vector<std::string> types = backend::clipboard::Types();
    for (const std::string& type : types) {
        if (type.rfind(NamedMime, 0) != 0 || type.size() < std::strlen(NamedMime) + 1)
            continue;
        String name =
            Utf8ToString(type.substr(std::strlen(NamedMime), type.size() - std::strlen(NamedMime) - 1));
        if (name.empty() || !backend::clipboard::Read(type, data))
            continue;
        UINT format = Register(state, name);
        if (!have(format))
            state.entries.push_back({format, BlockOf(data.data(), data.size()), false});
    }
    for (const std::string& type : types) {
        if (!backend::clipboard::Read(type, data))
            continue;
        if ((type == "text/plain;charset=utf-8" || type == "text/plain") && !have(CF_UNICODETEXT))
            state.entries.push_back(
                {CF_UNICODETEXT, WideBlock(Utf8ToString(WithCarriageReturns(Utf8(data)))), false});
        else if (type == "text/html" && !have(Register(state, u"HTML Format")))
            state.entries.push_back(
                {Register(state, u"HTML Format"), NarrowBlock(ClipboardHtmlOfHtml(Utf8(data))), false});
        else if ((type == "text/rtf" || type == "application/rtf") &&
                 !have(Register(state, u"Rich Text Format")))
            state.entries.push_back({Register(state, u"Rich Text Format"), NarrowBlock(Utf8(data)), false});
        else if (type == "image/bmp" && !have(CF_DIB) && !have(CF_BITMAP)) {
            if (HGLOBAL dib = DibOfBmpFile(data))
                state.entries.push_back({CF_DIB, dib, false});
        } else if (type == "text/uri-list" && !have(CF_HDROP)) {
            std::vector<std::string> paths = backend::clipboard::PathsFromUriList(Utf8(data));
            if (!paths.empty())
                state.entries.push_back({CF_HDROP, DropFilesBlock(paths), false});
        }
    }
    state.generation = backend::clipboard::Generation();
    ++state.sequence;
}

// Brings our entries up to date with the desktop when another program changed its clipboard.
void Refresh(ClipboardState& state) {
    // A thread that cannot read the desktop keeps what the process knows.
    if (backend::clipboard::Readable() && state.generation != backend::clipboard::Generation())
        Import(state);
}

// The formats in enumeration order: set ones, then the text formats that can be made.
std::vector<UINT> Formats(ClipboardState& state) {
    std::vector<UINT> formats;
    for (const Entry& entry : state.entries)
        if (!entry.synthesized)
            formats.push_back(entry.format);
    if (TextSource(state))
        for (UINT format : {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT})
            if (std::find(formats.begin(), formats.end(), format) == formats.end())
                formats.push_back(format);
    if (ImageSource(state))
        for (UINT format : {CF_BITMAP, CF_DIB})
            if (std::find(formats.begin(), formats.end(), format) == formats.end())
                formats.push_back(format);
    return formats;
}

} // namespace

BOOL OpenClipboard(HWND newOwner) {
    ClipboardState& state = State();
    Guard guard(state.lock);
    if (state.openThread && state.openThread != ThisThread()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!state.openThread) {
        state.changed = false;
        Refresh(state);
    }
    state.openThread = ThisThread();
    state.openWindow = newOwner;
    return TRUE;
}

BOOL CloseClipboard() {
    ClipboardState& state = State();
    Guard guard(state.lock);
    if (!IsOpenHere(state)) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    state.openThread = 0;
    state.openWindow = nullptr;
    if (state.changed) {
        state.changed = false;
        backend::clipboard::Publish(ExportItems(state));
        state.generation = backend::clipboard::Generation();
    }
    return TRUE;
}

BOOL EmptyClipboard() {
    ClipboardState& state = State();
    HWND previous;
    {
        Guard guard(state.lock);
        if (!IsOpenHere(state)) {
            SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
            return FALSE;
        }
        previous = state.owner;
    }
    // The previous owner frees what it kept for delayed rendering.
    if (previous && IsWindow(previous))
        SendMessageW(previous, WM_DESTROYCLIPBOARD, 0, 0);
    Guard guard(state.lock);
    FreeEntries(state);
    state.owner = state.openWindow;
    state.changed = true;
    ++state.sequence;
    return TRUE;
}

HGLOBAL SetClipboardData(UINT format, HGLOBAL memory) {
    ClipboardState& state = State();
    Guard guard(state.lock);
    // The owner answers WM_RENDERFORMAT with SetClipboardData without opening the clipboard.
    if (!IsOpenHere(state) && !(state.owner && memory)) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    if (!format) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (Entry* entry = Find(state, format)) {
        if (entry->memory && entry->memory != memory)
            FreeBlock(entry->format, entry->memory);
        entry->memory = memory;
        entry->synthesized = false;
    } else {
        state.entries.push_back({format, memory, false});
    }
    // A text or picture format set now replaces what was made from the old one.
    if (IsText(format) || IsImage(format))
        for (Entry& entry : state.entries)
            if (entry.synthesized && entry.memory && IsImage(entry.format) == IsImage(format)) {
                FreeBlock(entry.format, entry.memory);
                entry.memory = nullptr;
            }
    std::erase_if(state.entries, [](const Entry& entry) { return entry.synthesized && !entry.memory; });
    state.changed = true;
    ++state.sequence;
    return memory;
}

HGLOBAL GetClipboardData(UINT format) {
    ClipboardState& state = State();
    HWND owner;
    {
        Guard guard(state.lock);
        if (!IsOpenHere(state)) {
            SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
            return nullptr;
        }
        Entry* entry = Find(state, format);
        if (entry && entry->memory)
            return entry->memory;
        if (!entry && (IsText(format) || IsImage(format))) {
            HGLOBAL made = IsText(format) ? Synthesize(state, format) : SynthesizeImage(state, format);
            if (made) {
                state.entries.push_back({format, made, true});
                return made;
            }
        }
        if (!entry) {
            SetLastError(ERROR_NOT_FOUND);
            return nullptr;
        }
        owner = state.owner;
    }
    // A promised format: its owner renders it now.
    if (owner && IsWindow(owner))
        SendMessageW(owner, WM_RENDERFORMAT, format, 0);
    Guard guard(state.lock);
    Entry* entry = Find(state, format);
    if (!entry || !entry->memory) {
        SetLastError(ERROR_NOT_FOUND);
        return nullptr;
    }
    return entry->memory;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    ClipboardState& state = State();
    Guard guard(state.lock);
    if (!state.openThread)
        Refresh(state);
    std::vector<UINT> formats = Formats(state);
    if (std::find(formats.begin(), formats.end(), format) != formats.end())
        return TRUE;
    SetLastError(ERROR_NOT_FOUND);
    return FALSE;
}

UINT EnumClipboardFormats(UINT format) {
    ClipboardState& state = State();
    Guard guard(state.lock);
    if (!IsOpenHere(state)) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return 0;
    }
    std::vector<UINT> formats = Formats(state);
    SetLastError(NO_ERROR);
    if (format == 0)
        return formats.empty() ? 0 : formats.front();
    auto it = std::find(formats.begin(), formats.end(), format);
    if (it == formats.end() || ++it == formats.end())
        return 0;
    return *it;
}

int CountClipboardFormats() {
    ClipboardState& state = State();
    Guard guard(state.lock);
    if (!state.openThread)
        Refresh(state);
    return static_cast<int>(Formats(state).size());
}

UINT RegisterClipboardFormatW(LPCWSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    ClipboardState& state = State();
    Guard guard(state.lock);
    return Register(state, String(name));
}

int GetClipboardFormatNameW(UINT format, LPWSTR name, int count) {
    ClipboardState& state = State();
    Guard guard(state.lock);
    String text = NameOf(state, format);
    if (text.empty() || !name || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t length = std::min(text.size(), static_cast<std::size_t>(count - 1));
    std::copy_n(text.data(), length, name);
    name[length] = 0;
    return static_cast<int>(length);
}

HWND GetClipboardOwner() {
    ClipboardState& state = State();
    Guard guard(state.lock);
    return state.owner;
}

HWND GetOpenClipboardWindow() {
    ClipboardState& state = State();
    Guard guard(state.lock);
    return state.openWindow;
}

DWORD GetClipboardSequenceNumber() {
    ClipboardState& state = State();
    Guard guard(state.lock);
    if (!state.openThread)
        Refresh(state);
    return state.sequence;
}
