// Device contexts: the handle table of GDI objects, creating and deleting DCs, SaveDC and RestoreDC,
// GetDeviceCaps, the DC's attributes, and map modes with window and viewport origins and extents.
#include <bit>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/win32/gdi_private.h"
#include "platform/win32/gdidevice.h"

namespace gdi {

namespace {

// Every drawing call looks its DC up, and most look up a pen, brush or font as well, so the table is
// open addressing with linear probing, at most half full, so a lookup is one or two probes. Handles
// are never given out twice.
class HandleTable {
public:
    std::mutex mutex;

    HGDIOBJ Add(std::shared_ptr<Object> object) {
        if ((FCount + 1) * 2 > FSlots.size())
            Grow();
        std::uintptr_t id = FNext;
        FNext += 4;
        size_t i = Home(id);
        while (FSlots[i].id != 0)
            i = (i + 1) & FMask;
        FSlots[i] = Slot{id, std::move(object)};
        ++FCount;
        return reinterpret_cast<HGDIOBJ>(id);
    }

    const std::shared_ptr<Object>* Find(std::uintptr_t id) const {
        if (FSlots.empty() || id == 0)
            return nullptr;
        for (size_t i = Home(id); FSlots[i].id != 0; i = (i + 1) & FMask)
            if (FSlots[i].id == id)
                return &FSlots[i].object;
        return nullptr;
    }

    // Takes the object out; the caller frees it outside the lock.
    std::shared_ptr<Object> Remove(std::uintptr_t id) {
        if (FSlots.empty() || id == 0)
            return nullptr;
        size_t i = Home(id);
        while (FSlots[i].id != id) {
            if (FSlots[i].id == 0)
                return nullptr;
            i = (i + 1) & FMask;
        }
        std::shared_ptr<Object> removed = std::move(FSlots[i].object);
        // Closes the gap: later entries of the same probe run move back, so lookups need no markers.
        for (size_t j = (i + 1) & FMask; FSlots[j].id != 0; j = (j + 1) & FMask) {
            size_t home = Home(FSlots[j].id);
            bool movable = i <= j ? (home <= i || home > j) : (home <= i && home > j);
            if (movable) {
                FSlots[i] = std::move(FSlots[j]);
                i = j;
            }
        }
        FSlots[i] = Slot{};
        --FCount;
        return removed;
    }

private:
    struct Slot {
        std::uintptr_t id = 0; // 0 for a free slot
        std::shared_ptr<Object> object;
    };

    // Scattered by a multiplicative hash: handles come in order, and long-lived ones would otherwise
    // sit in one run of slots that every later handle wrapping onto it has to walk past.
    size_t Home(std::uintptr_t id) const {
        return static_cast<size_t>(((static_cast<std::uint64_t>(id) >> 2) * 0x9E3779B97F4A7C15ull) >> FShift);
    }

    void Grow() {
        std::vector<Slot> old = std::move(FSlots);
        FSlots.assign(old.empty() ? 256 : old.size() * 2, Slot{});
        FMask = FSlots.size() - 1;
        FShift = 64 - std::countr_zero(FSlots.size());
        for (Slot& slot : old)
            if (slot.id != 0) {
                size_t i = Home(slot.id);
                while (FSlots[i].id != 0)
                    i = (i + 1) & FMask;
                FSlots[i] = std::move(slot);
            }
    }

    std::vector<Slot> FSlots; // a power of two in size, at most half full
    size_t FMask = 0;
    int FShift = 64; // 64 less the bits of a slot index
    size_t FCount = 0;
    std::uintptr_t FNext = 0x10000;
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

// GDI rounds mapped coordinates to the nearest integer, halves upwards.
LONG RoundCoordinate(double v) {
    return static_cast<LONG>(std::floor(v + 0.5));
}

} // namespace

HGDIOBJ AddObject(std::shared_ptr<Object> object) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    return table.Add(std::move(object));
}

std::shared_ptr<Object> FindObject(HGDIOBJ handle) {
    if (!handle)
        return nullptr;
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    const std::shared_ptr<Object>* found = table.Find(reinterpret_cast<std::uintptr_t>(handle));
    return found ? *found : nullptr;
}

void RemoveObject(HGDIOBJ handle) {
    std::shared_ptr<Object> removed; // freed outside the lock
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    removed = table.Remove(reinterpret_cast<std::uintptr_t>(handle));
}

std::shared_ptr<DC> FindDC(HDC handle) {
    std::shared_ptr<Object> object = FindObject(ToHandle(handle));
    if (!object || (object->type != OBJ_DC && object->type != OBJ_MEMDC)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return std::static_pointer_cast<DC>(std::move(object));
}

LockedTable::LockedTable() : FLock(Table().mutex) {}

const std::shared_ptr<Object>* LockedTable::Find(HGDIOBJ handle) const {
    return Table().Find(reinterpret_cast<std::uintptr_t>(handle));
}

DC* LockedTable::FindDC(HDC handle) const {
    const std::shared_ptr<Object>* found = Find(ToHandle(handle));
    if (!found || ((*found)->type != OBJ_DC && (*found)->type != OBJ_MEMDC)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return static_cast<DC*>(found->get());
}

void ResetDCState(DC& dc) {
    DCState& s = dc.state;
    s.penHandle = StockObject(BLACK_PEN);
    s.pen = std::static_pointer_cast<Pen>(FindObject(s.penHandle));
    s.brushHandle = StockObject(WHITE_BRUSH);
    s.brush = std::static_pointer_cast<Brush>(FindObject(s.brushHandle));
    s.fontHandle = StockObject(SYSTEM_FONT);
    s.font = std::static_pointer_cast<Font>(FindObject(s.fontHandle));
    s.paletteHandle = StockObject(DEFAULT_PALETTE);
    s.palette = std::static_pointer_cast<Palette>(FindObject(s.paletteHandle));
}

// ---- DC ----

DC::~DC() {
    if (state.bitmap && state.bitmap->selectedInto == this)
        state.bitmap->selectedInto = nullptr;
}

backend::Device* DC::Device() {
    if (fixedDevice)
        return fixedDevice.get();
    return state.bitmap ? state.bitmap->Surface().get() : nullptr;
}

backend::DeviceCaps DC::Caps() {
    backend::Device* device = Device();
    return device ? device->Caps() : backend::DeviceCaps{};
}

const backend::Region* DC::EffectiveClip() {
    if (!FClipValid) {
        FEffectiveClip.reset();
        if (state.clip || visible) {
            backend::DeviceCaps caps = Caps();
            backend::Region area(backend::Rect{0, 0, caps.width, caps.height});
            if (visible)
                area = area.Intersected(*visible);
            if (state.clip) {
                backend::Region clip = *state.clip;
                clip.Offset(origin.x, origin.y);
                area = area.Intersected(clip);
            }
            FEffectiveClip = std::move(area);
        }
        FClipValid = true;
    }
    return FEffectiveClip ? &*FEffectiveClip : nullptr;
}

bool DC::Identity() const {
    return state.windowExt.cx == state.viewportExt.cx && state.windowExt.cy == state.viewportExt.cy;
}

double DC::ScaleX() const {
    return static_cast<double>(state.viewportExt.cx) / state.windowExt.cx;
}
double DC::ScaleY() const {
    return static_cast<double>(state.viewportExt.cy) / state.windowExt.cy;
}

POINT DC::ToDevice(double x, double y) const {
    const DCState& s = state;
    if (Identity())
        return POINT{RoundCoordinate(x - s.windowOrg.x + s.viewportOrg.x),
                     RoundCoordinate(y - s.windowOrg.y + s.viewportOrg.y)};
    return POINT{RoundCoordinate((x - s.windowOrg.x) * ScaleX() + s.viewportOrg.x),
                 RoundCoordinate((y - s.windowOrg.y) * ScaleY() + s.viewportOrg.y)};
}

POINT DC::ToLogical(double x, double y) const {
    const DCState& s = state;
    return POINT{RoundCoordinate((x - s.viewportOrg.x) / ScaleX() + s.windowOrg.x),
                 RoundCoordinate((y - s.viewportOrg.y) / ScaleY() + s.windowOrg.y)};
}

backend::Rect DC::MapRect(int left, int top, int right, int bottom) const {
    backend::Point a = Map(left, top), b = Map(right, bottom);
    return backend::Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// ---- Drawing ----

Drawing::Drawing(HDC handle) : Drawing(FindDC(handle)) {}

Drawing::Drawing(std::shared_ptr<DC> dc) : FDC(std::move(dc)) {
    if (!FDC)
        return;
    FDevice = FDC->Device();
    if (!FDevice) {
        SetLastError(ERROR_INVALID_HANDLE);
        return;
    }
    if (FDC->state.bitmap && FDC->state.bitmap->dibSection && !FDC->state.bitmap->direct)
        FDC->state.bitmap->SyncFromDib();
    const DCState& s = FDC->state;
    FState.clip = FDC->EffectiveClip();
    FState.rop2 = s.rop2;
    FState.opaqueBackground = s.bkMode == OPAQUE;
    FState.backgroundColor = ToPixel(s.bkColor);
    FState.textColor = ToPixel(s.textColor);
    FState.brushOrigin = backend::Point{s.brushOrg.x + FDC->origin.x, s.brushOrg.y + FDC->origin.y};
    FState.windingFill = s.polyFillMode == WINDING;
    FState.stretchMode = s.stretchMode;
}

Drawing::~Drawing() {
    if (FWrites && FDevice && FDC->state.bitmap && FDC->state.bitmap->dibSection &&
        !FDC->state.bitmap->direct)
        FDC->state.bitmap->SyncToDib();
}

} // namespace gdi

using namespace gdi;

// ---- Creating and deleting ----

HDC CreateCompatibleDC(HDC dc) {
    if (dc && !FindDC(dc))
        return nullptr;
    auto created = std::make_shared<DC>();
    created->type = OBJ_MEMDC;
    created->memory = true;
    ResetDCState(*created);
    created->state.bitmap = DefaultBitmap();
    created->state.bitmapHandle = StockObject(-1);
    return ToHDC(AddObject(created));
}

HDC CreateDeviceDC(std::shared_ptr<backend::Device> device, POINT origin, const backend::Region* visible) {
    if (!device) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto created = std::make_shared<DC>();
    created->type = OBJ_DC;
    created->fixedDevice = std::move(device);
    created->origin = origin;
    if (visible)
        created->visible = *visible;
    ResetDCState(*created);
    return ToHDC(AddObject(created));
}

BOOL SetDeviceDCArea(HDC handle, POINT origin, const backend::Region* visible) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !dc->fixedDevice)
        return FALSE;
    dc->origin = origin;
    if (visible)
        dc->visible = *visible;
    else
        dc->visible.reset();
    dc->ClipChanged();
    return TRUE;
}

BOOL DeleteDC(HDC handle) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    if (dc->state.bitmap && dc->state.bitmap->selectedInto == dc.get())
        dc->state.bitmap->selectedInto = nullptr;
    RemoveObject(ToHandle(handle));
    return TRUE;
}

int SaveDC(HDC handle) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return 0;
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int savedDC) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    int count = static_cast<int>(dc->saved.size());
    int level = savedDC < 0 ? count + 1 + savedDC : savedDC;
    if (level < 1 || level > count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::shared_ptr<Bitmap> previous = dc->state.bitmap;
    dc->state = dc->saved[static_cast<size_t>(level - 1)];
    dc->saved.resize(static_cast<size_t>(level - 1));
    if (previous != dc->state.bitmap) {
        if (previous && previous->selectedInto == dc.get())
            previous->selectedInto = nullptr;
        if (dc->state.bitmap && !dc->state.bitmap->stock)
            dc->state.bitmap->selectedInto = dc.get();
    }
    dc->ClipChanged();
    return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return 0;
    backend::DeviceCaps caps = dc->Caps();
    switch (index) {
    case DRIVERVERSION:
        return 0x4000;
    case TECHNOLOGY:
        return caps.printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZSIZE:
        return static_cast<int>(std::lround(caps.width * 25.4 / caps.dpiX));
    case VERTSIZE:
        return static_cast<int>(std::lround(caps.height * 25.4 / caps.dpiY));
    case HORZRES:
        return caps.width;
    case VERTRES:
        return caps.height;
    case DESKTOPHORZRES:
        return caps.width;
    case DESKTOPVERTRES:
        return caps.height;
    case BITSPIXEL:
        return caps.bitsPerPixel;
    case PLANES:
        return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS:
        return -1;
    case NUMFONTS:
        return 0;
    case ASPECTX:
    case ASPECTY:
        return 36;
    case ASPECTXY:
        return 51;
    case LOGPIXELSX:
        return caps.dpiX;
    case LOGPIXELSY:
        return caps.dpiY;
    case SIZEPALETTE:
    case NUMRESERVED:
        return 0;
    case COLORRES:
        return 24;
    case PHYSICALWIDTH:
        return caps.printer ? caps.physicalWidth : 0;
    case PHYSICALHEIGHT:
        return caps.printer ? caps.physicalHeight : 0;
    case PHYSICALOFFSETX:
        return caps.printer ? caps.physicalOffsetX : 0;
    case PHYSICALOFFSETY:
        return caps.printer ? caps.physicalOffsetY : 0;
    case VREFRESH:
        return caps.printer ? 0 : 60;
    case RASTERCAPS:
        return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHDIB;
    case SHADEBLENDCAPS:
        return SB_CONST_ALPHA | SB_PIXEL_ALPHA;
    default:
        return 0;
    }
}

BOOL GetDCOrgEx(HDC handle, LPPOINT origin) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !origin)
        return FALSE;
    *origin = dc->origin;
    return TRUE;
}

// ---- Attributes ----

namespace {

// Sets one attribute of a DC and answers the previous value, or failure for a bad handle or value.
// Painters set colours and modes around every drawing call, so these work on the DC in place, under the
// table's lock.
template <class T, class Check> T Exchange(HDC handle, T DCState::*field, T value, T failure, Check valid) {
    LockedTable table;
    DC* dc = table.FindDC(handle);
    if (!dc)
        return failure;
    if (!valid(value)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return failure;
    }
    T previous = dc->state.*field;
    dc->state.*field = value;
    return previous;
}

template <class T> T Read(HDC handle, T DCState::*field, T failure) {
    LockedTable table;
    const DC* dc = table.FindDC(handle);
    return dc ? dc->state.*field : failure;
}

auto Any = [](auto) { return true; };

} // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return Exchange(dc, &DCState::textColor, color, CLR_INVALID, Any);
}
COLORREF GetTextColor(HDC dc) {
    return Read(dc, &DCState::textColor, CLR_INVALID);
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
    return Exchange(dc, &DCState::bkColor, color, CLR_INVALID, Any);
}
COLORREF GetBkColor(HDC dc) {
    return Read(dc, &DCState::bkColor, CLR_INVALID);
}
int SetBkMode(HDC dc, int mode) {
    return Exchange(dc, &DCState::bkMode, mode, 0, [](int m) { return m == TRANSPARENT || m == OPAQUE; });
}
int GetBkMode(HDC dc) {
    return Read(dc, &DCState::bkMode, 0);
}
int SetROP2(HDC dc, int rop2) {
    return Exchange(dc, &DCState::rop2, rop2, 0, [](int r) { return r >= R2_BLACK && r <= R2_WHITE; });
}
int GetROP2(HDC dc) {
    return Read(dc, &DCState::rop2, 0);
}
int SetPolyFillMode(HDC dc, int mode) {
    return Exchange(dc, &DCState::polyFillMode, mode, 0,
                    [](int m) { return m == ALTERNATE || m == WINDING; });
}
int GetPolyFillMode(HDC dc) {
    return Read(dc, &DCState::polyFillMode, 0);
}
int SetStretchBltMode(HDC dc, int mode) {
    return Exchange(dc, &DCState::stretchMode, mode, 0,
                    [](int m) { return m >= BLACKONWHITE && m <= HALFTONE; });
}
int GetStretchBltMode(HDC dc) {
    return Read(dc, &DCState::stretchMode, 0);
}
UINT SetTextAlign(HDC dc, UINT align) {
    return Exchange(dc, &DCState::textAlign, align, GDI_ERROR, Any);
}
UINT GetTextAlign(HDC dc) {
    return Read(dc, &DCState::textAlign, GDI_ERROR);
}
int SetTextCharacterExtra(HDC dc, int extra) {
    return Exchange(dc, &DCState::charExtra, extra, static_cast<int>(0x80000000), Any);
}
int GetTextCharacterExtra(HDC dc) {
    return Read(dc, &DCState::charExtra, static_cast<int>(0x80000000));
}
int SetArcDirection(HDC dc, int direction) {
    return Exchange(dc, &DCState::arcDirection, direction, 0,
                    [](int d) { return d == AD_CLOCKWISE || d == AD_COUNTERCLOCKWISE; });
}
int GetArcDirection(HDC dc) {
    return Read(dc, &DCState::arcDirection, 0);
}
COLORREF SetDCBrushColor(HDC dc, COLORREF color) {
    return Exchange(dc, &DCState::dcBrushColor, color, CLR_INVALID, Any);
}
COLORREF GetDCBrushColor(HDC dc) {
    return Read(dc, &DCState::dcBrushColor, CLR_INVALID);
}
COLORREF SetDCPenColor(HDC dc, COLORREF color) {
    return Exchange(dc, &DCState::dcPenColor, color, CLR_INVALID, Any);
}
COLORREF GetDCPenColor(HDC dc) {
    return Read(dc, &DCState::dcPenColor, CLR_INVALID);
}

BOOL SetBrushOrgEx(HDC handle, int x, int y, LPPOINT previous) {
    LockedTable table;
    DC* dc = table.FindDC(handle);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->state.brushOrg;
    dc->state.brushOrg = POINT{x, y};
    return TRUE;
}

BOOL GetBrushOrgEx(HDC handle, LPPOINT origin) {
    LockedTable table;
    const DC* dc = table.FindDC(handle);
    if (!dc || !origin)
        return FALSE;
    *origin = dc->state.brushOrg;
    return TRUE;
}

// ---- Map modes ----

namespace {

// Fixed map modes at 96 pixels per inch, y upwards: window extent in the mode's units per inch, viewport
// extent in pixels per inch.
bool FixedExtents(int mode, int dpiX, int dpiY, SIZE& window, SIZE& viewport) {
    int unitsPerInch;
    switch (mode) {
    case MM_LOMETRIC:
        unitsPerInch = 254;
        break;
    case MM_HIMETRIC:
        unitsPerInch = 2540;
        break;
    case MM_LOENGLISH:
        unitsPerInch = 100;
        break;
    case MM_HIENGLISH:
        unitsPerInch = 1000;
        break;
    case MM_TWIPS:
        unitsPerInch = 1440;
        break;
    default:
        return false;
    }
    window = SIZE{unitsPerInch, unitsPerInch};
    viewport = SIZE{dpiX, -dpiY};
    return true;
}

// MM_ISOTROPIC keeps one unit the same size on both axes by shrinking the larger viewport extent.
void MakeIsotropic(DCState& s) {
    double sx = std::abs(static_cast<double>(s.viewportExt.cx) / s.windowExt.cx);
    double sy = std::abs(static_cast<double>(s.viewportExt.cy) / s.windowExt.cy);
    auto withSign = [](LONG magnitude, LONG like) {
        return std::max<LONG>(1, magnitude) * (like < 0 ? -1 : 1);
    };
    if (sx < sy)
        s.viewportExt.cy = withSign(RoundCoordinate(std::abs(s.windowExt.cy) * sx), s.viewportExt.cy);
    else if (sy < sx)
        s.viewportExt.cx = withSign(RoundCoordinate(std::abs(s.windowExt.cx) * sy), s.viewportExt.cx);
}

BOOL SetPoint(HDC handle, POINT DCState::*field, POINT value, LPPOINT previous) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->state.*field;
    dc->state.*field = value;
    return TRUE;
}

BOOL GetPoint(HDC handle, POINT DCState::*field, LPPOINT out) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !out)
        return FALSE;
    *out = dc->state.*field;
    return TRUE;
}

BOOL SetExtent(HDC handle, bool window, int x, int y, LPSIZE previous) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    DCState& s = dc->state;
    SIZE& extent = window ? s.windowExt : s.viewportExt;
    if (previous)
        *previous = extent;
    // Only the scalable modes take extents; the others keep theirs and still answer TRUE.
    if (s.mapMode != MM_ISOTROPIC && s.mapMode != MM_ANISOTROPIC)
        return TRUE;
    if (x == 0 || y == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    extent = SIZE{x, y};
    if (s.mapMode == MM_ISOTROPIC)
        MakeIsotropic(s);
    return TRUE;
}

} // namespace

int SetMapMode(HDC handle, int mode) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return 0;
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    DCState& s = dc->state;
    int previous = s.mapMode;
    backend::DeviceCaps caps = dc->Caps();
    if (mode == MM_TEXT) {
        s.windowExt = SIZE{1, 1};
        s.viewportExt = SIZE{1, 1};
    } else if (mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC) {
        FixedExtents(mode, caps.dpiX, caps.dpiY, s.windowExt, s.viewportExt);
    }
    // The scalable modes start from the extents of the mode before them.
    s.mapMode = mode;
    return previous;
}

int GetMapMode(HDC dc) {
    return Read(dc, &DCState::mapMode, 0);
}

BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetPoint(dc, &DCState::windowOrg, POINT{x, y}, previous);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) {
    return GetPoint(dc, &DCState::windowOrg, origin);
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetPoint(dc, &DCState::viewportOrg, POINT{x, y}, previous);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) {
    return GetPoint(dc, &DCState::viewportOrg, origin);
}

BOOL OffsetWindowOrgEx(HDC handle, int dx, int dy, LPPOINT previous) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    POINT p = dc->state.windowOrg;
    return SetPoint(handle, &DCState::windowOrg, POINT{p.x + dx, p.y + dy}, previous);
}

BOOL OffsetViewportOrgEx(HDC handle, int dx, int dy, LPPOINT previous) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    POINT p = dc->state.viewportOrg;
    return SetPoint(handle, &DCState::viewportOrg, POINT{p.x + dx, p.y + dy}, previous);
}

BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE previous) {
    return SetExtent(dc, true, x, y, previous);
}
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE previous) {
    return SetExtent(dc, false, x, y, previous);
}

BOOL GetWindowExtEx(HDC handle, LPSIZE extent) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !extent)
        return FALSE;
    *extent = dc->state.windowExt;
    return TRUE;
}

BOOL GetViewportExtEx(HDC handle, LPSIZE extent) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !extent)
        return FALSE;
    *extent = dc->state.viewportExt;
    return TRUE;
}

BOOL LPtoDP(HDC handle, LPPOINT points, int count) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || (count > 0 && !points))
        return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = dc->ToDevice(points[i].x, points[i].y);
    return TRUE;
}

BOOL DPtoLP(HDC handle, LPPOINT points, int count) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || (count > 0 && !points))
        return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = dc->ToLogical(points[i].x, points[i].y);
    return TRUE;
}
