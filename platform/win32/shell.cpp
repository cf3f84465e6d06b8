// SHGetFileInfo and the system image lists: the kind of a path, and the file icons we draw for each kind;
// ShellExecute through the desktop's opener.
#include "platform/win32/shell.h"

#include <algorithm>
#include <initializer_list>
#include <mutex>

#include "platform/backend/file.h"
#include "platform/backend/process.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"

namespace {

// The icons of the system lists, in index order.
enum IconKind { IconDocument, IconFolder, IconDrive, IconApplication, IconText, IconPicture, IconKindCount };

// ---- Painting the icons ----

// The icons are designed on a 16 by 16 grid and painted at scale times that size.
class IconPainter {
public:
    IconPainter(HDC dc, int scale) : FDc(dc), FScale(scale) {}

    void SetOrigin(int x) { FOrigin = x; }

    void Box(int left, int top, int right, int bottom, COLORREF pen, COLORREF fill) {
        Select(pen, fill);
        Rectangle(FDc, X(left), Y(top), X(right), Y(bottom));
        Release();
    }

    void Shape(std::initializer_list<POINT> grid, COLORREF pen, COLORREF fill) {
        POINT points[8];
        int count = 0;
        for (POINT p : grid)
            if (count < 8)
                points[count++] = POINT{X(p.x), Y(p.y)};
        Select(pen, fill);
        Polygon(FDc, points, count);
        Release();
    }

private:
    int X(LONG x) const { return FOrigin + int(x) * FScale; }
    int Y(LONG y) const { return int(y) * FScale; }

    void Select(COLORREF pen, COLORREF fill) {
        FPen = CreatePen(PS_SOLID, 1, pen);
        FBrush = CreateSolidBrush(fill);
        FOldPen = SelectObject(FDc, FPen);
        FOldBrush = SelectObject(FDc, FBrush);
    }

    void Release() {
        SelectObject(FDc, FOldPen);
        SelectObject(FDc, FOldBrush);
        DeleteObject(FPen);
        DeleteObject(FBrush);
    }

    HDC FDc;
    int FScale;
    int FOrigin = 0;
    HPEN FPen = nullptr;
    HBRUSH FBrush = nullptr;
    HGDIOBJ FOldPen = nullptr;
    HGDIOBJ FOldBrush = nullptr;
};

// The background of the icon strip; no icon uses this colour, so it marks what is transparent.
constexpr COLORREF TransparentKey = RGB(255, 0, 255);

constexpr COLORREF Outline = RGB(96, 96, 96);
constexpr COLORREF Paper = RGB(255, 255, 255);

void PaintPage(IconPainter& painter) {
    painter.Shape({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, Outline, Paper);
    painter.Shape({{10, 1}, {10, 4}, {13, 4}}, Outline, RGB(208, 208, 208));
}

void PaintIcon(IconPainter& painter, IconKind kind) {
    switch (kind) {
    case IconDocument:
        PaintPage(painter);
        break;
    case IconFolder:
        painter.Shape({{1, 3}, {6, 3}, {8, 5}, {1, 5}}, RGB(160, 120, 30), RGB(224, 176, 64));
        painter.Box(1, 5, 15, 14, RGB(160, 120, 30), RGB(248, 208, 96));
        break;
    case IconDrive:
        painter.Box(1, 6, 15, 12, RGB(80, 80, 80), RGB(192, 192, 192));
        painter.Box(3, 9, 8, 10, RGB(112, 112, 112), RGB(112, 112, 112));
        painter.Box(11, 8, 13, 10, RGB(40, 176, 64), RGB(40, 176, 64));
        break;
    case IconApplication:
        painter.Box(1, 2, 15, 14, RGB(40, 64, 128), Paper);
        painter.Box(1, 2, 15, 5, RGB(40, 64, 128), RGB(64, 104, 200));
        break;
    case IconText:
        PaintPage(painter);
        for (int y = 6; y <= 10; y += 2)
            painter.Box(5, y, 11, y + 1, RGB(128, 128, 128), RGB(128, 128, 128));
        painter.Box(5, 12, 9, 13, RGB(128, 128, 128), RGB(128, 128, 128));
        break;
    case IconPicture:
        PaintPage(painter);
        painter.Box(4, 6, 12, 13, RGB(120, 176, 232), RGB(120, 176, 232));
        painter.Shape({{4, 13}, {7, 9}, {10, 13}}, RGB(56, 152, 64), RGB(56, 152, 64));
        painter.Box(9, 7, 11, 9, RGB(248, 208, 56), RGB(248, 208, 56));
        break;
    case IconKindCount:
        break;
    }
}

// Paints every icon side by side at size by size pixels and adds the strip to list.
void FillSystemList(HIMAGELIST list, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size * IconKindCount;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP strip = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!strip || !dc) {
        if (strip)
            DeleteObject(strip);
        if (dc)
            DeleteDC(dc);
        return;
    }
    HGDIOBJ old = SelectObject(dc, strip);
    HBRUSH key = CreateSolidBrush(TransparentKey);
    RECT all{0, 0, size * IconKindCount, size};
    FillRect(dc, &all, key);
    DeleteObject(key);
    IconPainter painter(dc, std::max(1, size / 16));
    for (int kind = 0; kind < IconKindCount; ++kind) {
        painter.SetOrigin(kind * size);
        PaintIcon(painter, IconKind(kind));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(list, strip, TransparentKey);
    DeleteObject(strip);
}

struct SystemLists {
    std::once_flag made;
    HIMAGELIST small = nullptr;
    HIMAGELIST large = nullptr;
};

HIMAGELIST SystemList(bool small) {
    static SystemLists lists;
    std::call_once(lists.made, [] {
        auto make = [](int cx, int cy) {
            HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, IconKindCount, 0);
            FillSystemList(list, std::min(cx, cy));
            win32::KeepImageList(list);
            return list;
        };
        lists.small = make(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
        lists.large = make(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    });
    return small ? lists.small : lists.large;
}

// ---- Paths ----

bool IsSeparator(Char c) {
    return c == u'/' || c == u'\\';
}

// "/", "C:", "C:\" and "C:/" name the root of a drive.
bool IsRoot(StringView path) {
    if (!path.empty() && std::all_of(path.begin(), path.end(), IsSeparator))
        return true;
    bool letter = path.size() >= 2 &&
                  ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) &&
                  path[1] == u':';
    return letter && (path.size() == 2 || (path.size() == 3 && IsSeparator(path[2])));
}

// The last part of the path, trailing separators ignored.
StringView LastPart(StringView path) {
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    size_t start = path.size();
    while (start > 0 && !IsSeparator(path[start - 1]))
        --start;
    return path.substr(start);
}

// The extension of the name in lower case, without its dot; empty when it has none.
String Extension(StringView name) {
    size_t dot = name.rfind(u'.');
    if (dot == StringView::npos || dot == 0)
        return String();
    String extension(name.substr(dot + 1));
    for (Char& c : extension)
        if (c >= u'A' && c <= u'Z')
            c = Char(c + 32);
    return extension;
}

bool OneOf(const String& extension, std::initializer_list<const char16_t*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char16_t* item) { return extension == item; });
}

IconKind KindOfFile(const String& extension) {
    if (OneOf(extension, {u"exe", u"com", u"bat", u"cmd", u"sh", u"msi", u"appimage"}))
        return IconApplication;
    if (OneOf(extension,
              {u"txt", u"log", u"csv", u"ini", u"cfg", u"conf", u"md", u"xml", u"json", u"htm", u"html"}))
        return IconText;
    if (OneOf(extension, {u"bmp", u"png", u"jpg", u"jpeg", u"gif", u"ico", u"tif", u"tiff", u"svg", u"webp"}))
        return IconPicture;
    return IconDocument;
}

String TypeName(IconKind kind, const String& extension) {
    switch (kind) {
    case IconFolder:
        return u"File folder";
    case IconDrive:
        return u"Local Disk";
    case IconApplication:
        return u"Application";
    default:
        break;
    }
    if (extension == u"txt")
        return u"Text Document";
    if (extension.empty())
        return u"File";
    String upper = extension;
    for (Char& c : upper)
        if (c >= u'a' && c <= u'z')
            c = Char(c - 32);
    return upper + u" File";
}

template <size_t N> void CopyText(WCHAR (&target)[N], StringView text) {
    size_t count = std::min(text.size(), N - 1);
    std::copy_n(text.begin(), count, target);
    target[count] = 0;
}

} // namespace

DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT infoSize, UINT flags) {
    if (flags & SHGFI_PIDL) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    constexpr UINT filled = SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME;
    bool badInfo =
        info ? infoSize < sizeof(SHFILEINFOW) : (flags & filled) != 0 || !(flags & SHGFI_SYSICONINDEX);
    if (!path || !*path || badInfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    String name(path);
    bool folder;
    if (flags & SHGFI_USEFILEATTRIBUTES) {
        folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } else {
        std::string local = StringToUtf8(name);
        folder = backend::DirectoryExists(local);
        if (!folder && !backend::FileExists(local)) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return 0;
        }
    }
    StringView last = LastPart(name);
    String extension = folder ? String() : Extension(last);
    IconKind kind = IsRoot(name) ? IconDrive : folder ? IconFolder : KindOfFile(extension);
    HIMAGELIST list = SystemList((flags & SHGFI_SMALLICON) != 0);

    if (info) {
        if (flags & (SHGFI_SYSICONINDEX | SHGFI_ICON))
            info->iIcon = kind;
        if (flags & SHGFI_ICON) {
            info->hIcon = ImageList_GetIcon(list, kind, ILD_NORMAL);
            if (!info->hIcon)
                return 0;
        }
        if (flags & SHGFI_DISPLAYNAME)
            CopyText(info->szDisplayName, IsRoot(name) || last.empty() ? StringView(name) : last);
        if (flags & SHGFI_TYPENAME)
            CopyText(info->szTypeName, TypeName(kind, extension));
    }
    return (flags & SHGFI_SYSICONINDEX) ? reinterpret_cast<DWORD_PTR>(list) : 1;
}

// ---- ShellExecute ----

namespace {

std::mutex OpenerLock;
win32::ShellOpener& Opener() {
    static win32::ShellOpener opener;
    return opener;
}

HINSTANCE Answer(LONG_PTR code) {
    return reinterpret_cast<HINSTANCE>(code);
}

} // namespace

void win32::SetShellOpener(ShellOpener opener) {
    std::lock_guard<std::mutex> lock(OpenerLock);
    Opener() = std::move(opener);
}

HINSTANCE ShellExecuteW(HWND, LPCWSTR operation, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    if (operation != nullptr && *operation != 0 && String(operation) != u"open")
        return Answer(SE_ERR_NOASSOC);
    if (file == nullptr || *file == 0 || *file == u'-')
        return Answer(SE_ERR_FNF);
    const String target(file);
    win32::ShellOpener opener;
    {
        std::lock_guard<std::mutex> lock(OpenerLock);
        opener = Opener();
    }
    const bool started = opener ? opener(target) : backend::OpenWithDesktop(StringToUtf8(target));
    return Answer(started ? 42 : SE_ERR_NOASSOC);
}
