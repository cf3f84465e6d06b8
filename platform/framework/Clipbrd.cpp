// TClipboard over the Win32 clipboard: nested opening, text, blocks and pictures.
#include "platform/framework/Clipbrd.h"

#include <cstring>
#include <memory>

#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"

DEFINE_CLASS(TClipboard)

namespace {

std::unique_ptr<TClipboard>& TheClipboard() {
    static std::unique_ptr<TClipboard> clipboard;
    return clipboard;
}

// Closes what an Open in a scope opened, also when the scope is left by an exception.
class OpenScope {
public:
    explicit OpenScope(TClipboard* clipboard) : FClipboard(clipboard) { FClipboard->Open(); }
    ~OpenScope() { FClipboard->Close(); }

private:
    TClipboard* FClipboard;
};

constexpr std::size_t BmpFileHeaderSize = 14;

} // namespace

TClipboard* Clipboard() {
    if (!TheClipboard())
        TheClipboard() = std::make_unique<TClipboard>();
    return TheClipboard().get();
}

TClipboard* SetClipboard(TClipboard* clipboard) {
    TClipboard* previous = TheClipboard().release();
    TheClipboard().reset(clipboard);
    return previous;
}

TClipboard::~TClipboard() {
    // An object freed while open gives the clipboard back.
    if (FOpenRefCount > 0)
        CloseClipboard();
}

void TClipboard::Open() {
    if (FOpenRefCount == 0) {
        if (!OpenClipboard(nullptr))
            throw Exception(Consts::SCannotOpenClipboard);
        FEmptied = false;
    }
    ++FOpenRefCount;
}

void TClipboard::Close() {
    if (FOpenRefCount == 0)
        return;
    if (--FOpenRefCount == 0)
        CloseClipboard();
}

void TClipboard::Clear() {
    OpenScope scope(this);
    EmptyClipboard();
}

void TClipboard::Adding() {
    if (FOpenRefCount != 0 && !FEmptied) {
        Clear();
        FEmptied = true;
    }
}

bool TClipboard::HasFormat(Word format) const {
    return IsClipboardFormatAvailable(format) != FALSE;
}

Integer TClipboard::FormatCount() const {
    return CountClipboardFormats();
}

Word TClipboard::Formats(Integer index) const {
    auto* self = const_cast<TClipboard*>(this);
    OpenScope scope(self);
    UINT format = 0;
    for (Integer i = 0; i <= index; ++i) {
        format = EnumClipboardFormats(format);
        if (format == 0)
            break;
    }
    return static_cast<Word>(format);
}

String ClipboardBlockText(HGLOBAL data) {
    String text;
    if (data == nullptr)
        return text;
    if (const auto* chars = static_cast<const Char*>(GlobalLock(data))) {
        // The block need not end in a zero: the text stops at the zero or at the block's end.
        std::size_t count = GlobalSize(data) / sizeof(Char);
        std::size_t length = 0;
        while (length < count && chars[length] != 0)
            ++length;
        text.assign(chars, length);
        GlobalUnlock(data);
    }
    return text;
}

String TClipboard::AsText() {
    OpenScope scope(this);
    return ClipboardBlockText(GetClipboardData(CF_UNICODETEXT));
}

void TClipboard::SetAsText(const String& value) {
    SetBuffer(CF_UNICODETEXT, value.c_str(), static_cast<Integer>((value.size() + 1) * sizeof(Char)));
}

Integer TClipboard::GetTextBuf(Char* buffer, Integer bufSize) {
    if (buffer == nullptr || bufSize <= 0)
        return 0;
    String text = AsText();
    auto count =
        static_cast<Integer>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(bufSize - 1)));
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(count) * sizeof(Char));
    buffer[count] = 0;
    return count;
}

void TClipboard::SetTextBuf(const Char* buffer) {
    SetAsText(buffer != nullptr ? String(buffer) : String());
}

HGLOBAL TClipboard::GetAsHandle(Word format) {
    OpenScope scope(this);
    return GetClipboardData(format);
}

void TClipboard::SetAsHandle(Word format, HGLOBAL value) {
    OpenScope scope(this);
    Adding();
    SetClipboardData(format, value);
}

void TClipboard::SetBuffer(Word format, const void* buffer, Integer size) {
    OpenScope scope(this);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(std::max(size, 0)));
    if (data == nullptr)
        throw EOutOfMemory(Consts::SOutOfMemory);
    if (size > 0) {
        std::memcpy(GlobalLock(data), buffer, static_cast<std::size_t>(size));
        GlobalUnlock(data);
    }
    Adding();
    if (SetClipboardData(format, data) == nullptr)
        GlobalFree(data);
}

void TClipboard::Assign(TPersistent* source) {
    if (auto* picture = dynamic_cast<TPicture*>(source);
        picture != nullptr && picture->Graphic() != nullptr) {
        AssignGraphic(picture->Graphic());
        return;
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(source); graphic != nullptr) {
        AssignGraphic(graphic);
        return;
    }
    TPersistent::Assign(source);
}

void TClipboard::AssignGraphic(TGraphic* graphic) {
    // Any picture goes as the DIB of its bitmap: the BMP file without its file header.
    TBitmap bitmap;
    bitmap.Assign(graphic);
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    if (stream.Size() <= static_cast<Int64>(BmpFileHeaderSize))
        throw EInvalidGraphic(Consts::SUnknownClipboardFormat);
    const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
    SetBuffer(CF_DIB, bytes + BmpFileHeaderSize, static_cast<Integer>(stream.Size() - BmpFileHeaderSize));
}

void TClipboard::AssignTo(TPersistent* dest) {
    auto* picture = dynamic_cast<TPicture*>(dest);
    auto* bitmap = dynamic_cast<TBitmap*>(dest);
    if (picture == nullptr && bitmap == nullptr) {
        TPersistent::AssignTo(dest);
        return;
    }
    OpenScope scope(this);
    HGLOBAL dib = GetClipboardData(CF_DIB);
    if (dib == nullptr)
        throw EInvalidGraphic(Consts::SUnknownClipboardFormat);
    // The DIB read as a BMP file: a file header in front, pointing past the header and colours.
    std::vector<std::uint8_t> file(BmpFileHeaderSize + GlobalSize(dib));
    const auto* block = static_cast<const std::uint8_t*>(GlobalLock(dib));
    std::memcpy(file.data() + BmpFileHeaderSize, block, GlobalSize(dib));
    GlobalUnlock(dib);
    BITMAPINFOHEADER header{};
    if (file.size() >= BmpFileHeaderSize + sizeof header)
        std::memcpy(&header, file.data() + BmpFileHeaderSize, sizeof header);
    std::uint32_t colours = 0;
    if (header.biCompression == BI_BITFIELDS)
        colours = 12;
    else if (header.biBitCount <= 8)
        colours = (header.biClrUsed != 0 ? header.biClrUsed : (1u << header.biBitCount)) * 4;
    else
        colours = header.biClrUsed * 4;
    auto put32 = [&file](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(6, 0);
    put32(10, static_cast<std::uint32_t>(BmpFileHeaderSize) + header.biSize + colours);
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<Integer>(file.size()));
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    if (bitmap != nullptr)
        bitmap->Assign(&loaded);
    else
        picture->SetGraphic(&loaded);
}
