// What the GDI files share and nothing else sees: the object kinds, the handle table, the DC and its
// saved states, coordinate mapping and the conversion of objects into what the device draws with.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/backend/device.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wingdi.h"

namespace gdi {

struct Object {
    virtual ~Object() = default;
    DWORD type = 0;     // OBJ_ value
    bool stock = false; // never freed
};

struct Pen : Object {
    UINT style = PS_SOLID; // whole style word, with type, cap and join bits for extended pens
    int width = 0;         // logical units; 0 is one pixel
    COLORREF color = 0;
    bool extended = false;
    bool dcPen = false; // the stock DC_PEN: its colour is the DC's pen colour
    LOGBRUSH brush{};   // extended pens
    std::vector<DWORD> styleEntries;
};

struct Brush : Object {
    LOGBRUSH logBrush{};
    bool dcBrush = false; // the stock DC_BRUSH
    std::shared_ptr<const backend::Pattern> pattern;
};

struct Font : Object {
    LOGFONTW logFont{};
    // The font last realised from logFont, at the device height and escapement it was realised for; the
    // logical font never changes after it is created, so only the DC's scale can make it miss. Weak, so
    // that the platform can still free every realised font before it stops.
    std::mutex realizedMutex;
    std::weak_ptr<const backend::Font> realized;
    int realizedHeight = 0;
    int realizedEscapement = 0;
};

struct Palette : Object {
    std::vector<PALETTEENTRY> entries;
};

struct Region : Object {
    backend::Region region;
};

struct DC;

struct Bitmap : Object {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32; // 1 or 32 for device-dependent bitmaps; the format of a DIB section
    SIZE dimension{0, 0};  // SetBitmapDimensionEx, in 0.1 mm
    DC* selectedInto = nullptr;

    // The 32-bit pixels the surface draws on: owned storage, or the memory of a 32-bit DIB section.
    std::vector<std::uint32_t> storage;
    backend::PixelBuffer pixels;

    // DIB sections.
    bool dibSection = false;
    bool direct = false;       // the surface draws on the DIB memory itself
    BITMAPINFOHEADER header{}; // with biHeight as created
    std::vector<RGBQUAD> colors;
    DWORD masks[3] = {0, 0, 0};
    std::unique_ptr<std::uint8_t[]> memory;
    size_t memorySize = 0;
    int stride = 0; // bytes per DIB row

    // The device drawing on the pixels, made at first use; a reference, as every drawing call asks.
    const std::shared_ptr<backend::Device>& Surface();
    bool Monochrome() const { return !dibSection && bitsPerPixel == 1; }
    // A DIB section in a format other than 32 bits is drawn on a 32-bit copy: these bring the copy up to
    // date before drawing and write it back after.
    void SyncFromDib();
    void SyncToDib();

private:
    std::shared_ptr<backend::Device> FSurface;
};

// Everything SaveDC keeps.
struct DCState {
    std::shared_ptr<Pen> pen;
    std::shared_ptr<Brush> brush;
    std::shared_ptr<Font> font;
    std::shared_ptr<Bitmap> bitmap;
    std::shared_ptr<Palette> palette;
    HGDIOBJ penHandle = nullptr;
    HGDIOBJ brushHandle = nullptr;
    HGDIOBJ fontHandle = nullptr;
    HGDIOBJ bitmapHandle = nullptr;
    HGDIOBJ paletteHandle = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    int arcDirection = AD_COUNTERCLOCKWISE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int charExtra = 0;
    int mapMode = MM_TEXT;
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    POINT brushOrg{0, 0};
    POINT position{0, 0};
    std::optional<backend::Region> clip; // device units, relative to the DC origin
};

struct DC : Object {
    DCState state;
    std::vector<DCState> saved;
    bool memory = false;
    std::shared_ptr<backend::Device> fixedDevice; // window, printer and recorder DCs
    POINT origin{0, 0};                           // where the DC's (0, 0) is on the device
    std::optional<backend::Region> visible;       // device units, absolute; none for the whole device

    ~DC() override;
    backend::Device* Device();
    backend::DeviceCaps Caps();
    // The clip of drawing calls in absolute device pixels, or null for the whole device.
    const backend::Region* EffectiveClip();
    void ClipChanged() { FClipValid = false; }

    // Logical to device, relative to the DC origin (as LPtoDP answers), and back.
    POINT ToDevice(double x, double y) const;
    POINT ToLogical(double x, double y) const;
    // Logical point to absolute device pixel.
    backend::Point Map(int x, int y) const {
        // Without scaling, whole logical units are whole pixels, as ToDevice would round them.
        if (Identity())
            return backend::Point{x - state.windowOrg.x + state.viewportOrg.x + origin.x,
                                  y - state.windowOrg.y + state.viewportOrg.y + origin.y};
        POINT p = ToDevice(x, y);
        return backend::Point{p.x + origin.x, p.y + origin.y};
    }
    backend::Rect MapRect(int left, int top, int right, int bottom) const;
    double ScaleX() const;
    double ScaleY() const;
    bool Identity() const;

private:
    std::optional<backend::Region> FEffectiveClip;
    bool FClipValid = false;
};

// ---- The handle table ----
HGDIOBJ AddObject(std::shared_ptr<Object> object);
std::shared_ptr<Object> FindObject(HGDIOBJ handle);
void RemoveObject(HGDIOBJ handle);
// The object of the given type, or null with ERROR_INVALID_HANDLE.
template <class T> std::shared_ptr<T> Find(HGDIOBJ handle, DWORD type) {
    std::shared_ptr<Object> object = FindObject(handle);
    if (!object || object->type != type) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return std::static_pointer_cast<T>(std::move(object));
}
std::shared_ptr<DC> FindDC(HDC handle);

// The handle table held locked, for calls that find several handles at once or change a DC in place
// without taking a reference to it: nothing found through it is freed before it goes out of scope. It
// must not be held across another call that finds a handle.
class LockedTable {
public:
    LockedTable();
    LockedTable(const LockedTable&) = delete;
    LockedTable& operator=(const LockedTable&) = delete;
    // The object of a handle, or null.
    const std::shared_ptr<Object>* Find(HGDIOBJ handle) const;
    // The DC of a handle, or null with ERROR_INVALID_HANDLE.
    DC* FindDC(HDC handle) const;
    void Unlock() { FLock.unlock(); }

private:
    std::unique_lock<std::mutex> FLock;
};
inline HDC ToHDC(HGDIOBJ handle) {
    return reinterpret_cast<HDC>(handle);
}
inline HGDIOBJ ToHandle(HDC handle) {
    return reinterpret_cast<HGDIOBJ>(handle);
}

// Stock objects, created at first use.
HGDIOBJ StockObject(int index);
std::shared_ptr<Bitmap> DefaultBitmap();
void ResetDCState(DC& dc);

// ---- What the device draws with ----
inline backend::Pixel ToPixel(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF ToColorRef(backend::Pixel p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
backend::PenSpec PenSpecOf(const DC& dc);
backend::BrushSpec BrushSpecOf(const DC& dc, const Brush& brush);
backend::BrushSpec CurrentBrushSpec(const DC& dc);

// One drawing call on a DC: finds it, brings a DIB section's copy up to date, and writes it back at
// the end. False (with ERROR_INVALID_HANDLE) for a handle that is not a DC.
class Drawing {
public:
    explicit Drawing(HDC handle);
    // For a call that has found its DC already.
    explicit Drawing(std::shared_ptr<DC> dc);
    ~Drawing();
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;
    explicit operator bool() const { return FDC && FDevice; }
    DC& Dc() { return *FDC; }
    backend::Device& Device() { return *FDevice; }
    const backend::DrawState& State() const { return FState; }
    // Marks a call that only reads, so nothing is written back.
    void ReadOnly() { FWrites = false; }

private:
    std::shared_ptr<DC> FDC;
    backend::Device* FDevice = nullptr;
    backend::DrawState FState;
    bool FWrites = true;
};

// ---- Text (text.cpp) ----
// The DC's font realised at the DC's scale.
backend::FontRef FontOf(const DC& dc);

// ---- DIBs (bitblt.cpp) ----
// Decodes rows of a DIB into 32-bit pixels, top row first; false for a format it cannot read.
bool ReadDib(const BITMAPINFO* info, UINT usage, const void* bits, const Palette* palette,
             std::vector<std::uint32_t>& pixels, int& width, int& height);
int DibStride(int width, int bitsPerPixel);
size_t ColorTableSize(const BITMAPINFOHEADER& header);

} // namespace gdi
