// Colours and their names, and the objects a canvas draws with: fonts, pens and brushes.
#include "platform/framework/Graphics.h"

#include <algorithm>
#include <cstdint>

#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/windraw.h"

// ---- Colours ----

COLORREF ColorToRGB(TColor color) {
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color);
}

bool IdentToColor(StringView ident, TColor& color) {
    Int64 value = 0;
    if (!IdentToColor(ident, value))
        return false;
    color = static_cast<TColor>(value);
    return true;
}

bool ColorToIdent(TColor color, String& ident) {
    return ColorToIdent(static_cast<Int64>(color), ident);
}

String ColorToString(TColor color) {
    String ident;
    if (ColorToIdent(color, ident))
        return ident;
    return u"$" + IntToHex(static_cast<Cardinal>(color), 8);
}

TColor StringToColor(StringView text) {
    TColor color = 0;
    if (IdentToColor(text, color))
        return color;
    return StrToInt(text);
}

namespace {

struct TCharsetName {
    Int64 value;
    const Char* name;
};

const TCharsetName kCharsets[] = {
    {0, u"ANSI_CHARSET"},      {1, u"DEFAULT_CHARSET"},    {2, u"SYMBOL_CHARSET"},
    {77, u"MAC_CHARSET"},      {128, u"SHIFTJIS_CHARSET"}, {129, u"HANGEUL_CHARSET"},
    {130, u"JOHAB_CHARSET"},   {134, u"GB2312_CHARSET"},   {136, u"CHINESEBIG5_CHARSET"},
    {161, u"GREEK_CHARSET"},   {162, u"TURKISH_CHARSET"},  {163, u"VIETNAMESE_CHARSET"},
    {177, u"HEBREW_CHARSET"},  {178, u"ARABIC_CHARSET"},   {186, u"BALTIC_CHARSET"},
    {204, u"RUSSIAN_CHARSET"}, {222, u"THAI_CHARSET"},     {238, u"EASTEUROPE_CHARSET"},
    {255, u"OEM_CHARSET"},
};

bool CharsetToIdent(Int64 value, String& ident) {
    for (const TCharsetName& entry : kCharsets)
        if (entry.value == value) {
            ident = entry.name;
            return true;
        }
    return false;
}

bool IdentToCharset(StringView ident, Int64& value) {
    for (const TCharsetName& entry : kCharsets)
        if (SameText(entry.name, ident)) {
            value = entry.value;
            return true;
        }
    return false;
}

// The font every new TFont starts as.
constexpr const Char* kDefaultFontName = u"Tahoma";
constexpr Integer kDefaultFontHeight = -11; // 8 points at 96 pixels per inch

} // namespace

const TTypeInfo* TypeInfoFontCharset() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.kind = tkInteger;
        t.name = u"TFontCharset";
        t.minValue = 0;
        t.maxValue = 255;
        t.intToIdent = CharsetToIdent;
        t.identToInt = IdentToCharset;
        return t;
    }();
    return &info;
}

// ---- TGraphicsObject ----

DEFINE_CLASS(TGraphicsObject)

void TGraphicsObject::Changed() {
    if (OnChange)
        OnChange(this);
}

// ---- TFont ----

// As in the framework, Charset, Color, Height, Name and Style have no default, so forms always state
// them; Size is Height seen in points and is not stored.
DEFINE_CLASS(TFont, PROPERTY(Charset).Type(TypeInfoFontCharset()), PROPERTY(Color).Type(TypeInfoColor()),
             PROPERTY(Height), PROPERTY(Name), PROPERTY(Orientation).Default(0),
             PROPERTY(Pitch).Default(fpDefault), PROPERTY(Size).Stored(false), PROPERTY(Style))

TFont::TFont() : FName(kDefaultFontName), FHeight(kDefaultFontHeight) {}

TFont::~TFont() {
    FreeHandle();
    for (TKeptFont& kept : FKept)
        if (kept.handle != nullptr)
            DeleteObject(kept.handle);
}

void TFont::FreeHandle() {
    if (FHandle != nullptr) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
    FMadeHere = false;
}

void TFont::KeepHandle() {
    if (FHandle == nullptr || !FMadeHere) {
        FreeHandle();
        return;
    }
    TKeptFont& slot = FKept[FKeptNext];
    FKeptNext = (FKeptNext + 1) % KeptFonts;
    if (slot.handle != nullptr)
        DeleteObject(slot.handle);
    slot = std::move(FMade);
    FMade = TKeptFont();
    FHandle = nullptr;
    FMadeHere = false;
}

void TFont::Modify() {
    KeepHandle();
    Changed();
}

bool TFont::Describes(const TKeptFont& kept) const {
    return kept.handle != nullptr && kept.height == FHeight && kept.orientation == FOrientation &&
           kept.style == FStyle && kept.pitch == FPitch && kept.charset == FCharset && kept.name == FName;
}

void TFont::Assign(TPersistent* source) {
    auto* font = dynamic_cast<TFont*>(source);
    if (font == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (font == this)
        return;
    // The source's pixel height is kept in points when the two fonts are for different resolutions.
    const Integer height =
        font->FPixelsPerInch == FPixelsPerInch ? font->FHeight : -MulDiv(font->Size(), FPixelsPerInch, 72);
    // A font object stays while the description is the same: painters assign a font per cell, and most
    // cells share one, so they must not make and free a font object each.
    const bool sameObject = FName == font->FName && FHeight == height && FOrientation == font->FOrientation &&
                            FStyle == font->FStyle && FPitch == font->FPitch && FCharset == font->FCharset;
    // The name is copied only when it differs: a copy of even a short name goes through the library's
    // block copy, and this runs several times per painted cell.
    if (FName != font->FName)
        FName = font->FName;
    FHeight = height;
    FOrientation = font->FOrientation;
    FColor = font->FColor;
    FStyle = font->FStyle;
    FPitch = font->FPitch;
    FCharset = font->FCharset;
    if (sameObject)
        Changed();
    else
        Modify();
}

HFONT TFont::Handle() {
    if (FHandle == nullptr) {
        for (TKeptFont& kept : FKept) {
            if (Describes(kept)) {
                FHandle = kept.handle;
                FMade = std::move(kept);
                kept = TKeptFont();
                FMadeHere = true;
                return FHandle;
            }
        }
        LOGFONTW lf{};
        lf.lfHeight = FHeight;
        lf.lfEscapement = FOrientation;
        lf.lfOrientation = FOrientation;
        lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = FStyle.Contains(fsItalic);
        lf.lfUnderline = FStyle.Contains(fsUnderline);
        lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
        lf.lfCharSet = FCharset;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = FPitch == fpFixed      ? FIXED_PITCH
                              : FPitch == fpVariable ? VARIABLE_PITCH
                                                     : DEFAULT_PITCH;
        // "Default" is the name of whatever the default font is.
        String face = SameText(FName, u"Default") ? String(kDefaultFontName) : FName;
        size_t n = std::min<size_t>(face.size(), LF_FACESIZE - 1);
        std::copy_n(face.begin(), n, lf.lfFaceName);
        FHandle = CreateFontIndirectW(&lf);
        FMadeHere = true;
        FMade = TKeptFont{FHandle, FName, FHeight, FOrientation, FStyle, FPitch, FCharset};
    }
    return FHandle;
}

void TFont::SetHandle(HFONT handle) {
    if (handle == FHandle)
        return;
    LOGFONTW lf{};
    if (handle == nullptr || GetObjectW(handle, sizeof lf, &lf) == 0) {
        Modify();
        return;
    }
    KeepHandle();
    // A kept object handed back is this font's again, no longer kept.
    for (TKeptFont& kept : FKept)
        if (kept.handle == handle)
            kept = TKeptFont();
    FHandle = handle;
    FHeight = lf.lfHeight;
    FOrientation = lf.lfEscapement;
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD)
        style.Include(fsBold);
    if (lf.lfItalic)
        style.Include(fsItalic);
    if (lf.lfUnderline)
        style.Include(fsUnderline);
    if (lf.lfStrikeOut)
        style.Include(fsStrikeOut);
    FStyle = style;
    FCharset = lf.lfCharSet;
    FPitch = (lf.lfPitchAndFamily & 3) == FIXED_PITCH      ? fpFixed
             : (lf.lfPitchAndFamily & 3) == VARIABLE_PITCH ? fpVariable
                                                           : fpDefault;
    FName = String(lf.lfFaceName);
    Changed();
}

void TFont::SetCharset(TFontCharset value) {
    if (value != FCharset) {
        FCharset = value;
        Modify();
    }
}

void TFont::SetColor(TColor value) {
    // Only the canvas uses the colour; the font object stays.
    if (value != FColor) {
        FColor = value;
        Changed();
    }
}

void TFont::SetHeight(Integer value) {
    if (value != FHeight) {
        FHeight = value;
        Modify();
    }
}

void TFont::SetName(const String& value) {
    if (!value.empty() && value != FName) {
        FName = value;
        Modify();
    }
}

void TFont::SetOrientation(Integer value) {
    if (value != FOrientation) {
        FOrientation = value;
        Modify();
    }
}

void TFont::SetPitch(TFontPitch value) {
    if (value != FPitch) {
        FPitch = value;
        Modify();
    }
}

Integer TFont::Size() const {
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(Integer value) {
    SetHeight(-MulDiv(value, FPixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles value) {
    if (value != FStyle) {
        FStyle = value;
        Modify();
    }
}

// ---- TPen ----

namespace {

// Where the kept object of a description is looked for first; it may be in any of the KeptProbes places
// from there on.
int KeptHome(TColor color, int style, Integer width) {
    const std::uint32_t key = static_cast<std::uint32_t>(color) ^ (static_cast<std::uint32_t>(style) << 25) ^
                              (static_cast<std::uint32_t>(width) * 0x9E3779B1u);
    return static_cast<int>((key * 0x85EBCA77u) >> 26) & (KeptObjects - 1);
}

// The place a newly kept object takes: the first free one of its places, else its home (whose object is
// then let go).
template <class Kept> int KeptPlace(const Kept (&kept)[KeptObjects], int home) {
    for (int probe = 0; probe < KeptProbes; ++probe) {
        const int place = (home + probe) & (KeptObjects - 1);
        if (kept[place].handle == nullptr)
            return place;
    }
    return home;
}

} // namespace

DEFINE_CLASS(TPen, PROPERTY(Color).Type(TypeInfoColor()).Default(clBlack), PROPERTY(Mode).Default(pmCopy),
             PROPERTY(Style).Default(psSolid), PROPERTY(Width).Default(1))

TPen::~TPen() {
    if (FHandle != nullptr)
        DeleteObject(FHandle);
    for (TKeptPen& kept : FKept)
        if (kept.handle != nullptr)
            DeleteObject(kept.handle);
}

void TPen::Modify() {
    if (FHandle != nullptr) {
        if (FMadeHere) {
            TKeptPen& slot = FKept[KeptPlace(FKept, KeptHome(FMade.color, FMade.style, FMade.width))];
            if (slot.handle != nullptr)
                DeleteObject(slot.handle);
            slot = FMade;
        } else {
            DeleteObject(FHandle);
        }
        FHandle = nullptr;
        FMadeHere = false;
    }
    Changed();
}

void TPen::Assign(TPersistent* source) {
    auto* pen = dynamic_cast<TPen*>(source);
    if (pen == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (pen == this)
        return;
    FColor = pen->FColor;
    FMode = pen->FMode;
    FStyle = pen->FStyle;
    FWidth = pen->FWidth;
    Modify();
}

HPEN TPen::Handle() {
    if (FHandle == nullptr) {
        const int home = KeptHome(FColor, FStyle, FWidth);
        for (int probe = 0; probe < KeptProbes; ++probe) {
            TKeptPen& kept = FKept[(home + probe) & (KeptObjects - 1)];
            if (kept.handle != nullptr && kept.color == FColor && kept.style == FStyle &&
                kept.width == FWidth) {
                FHandle = kept.handle;
                FMade = kept;
                FMadeHere = true;
                kept.handle = nullptr;
                return FHandle;
            }
        }
    }
    if (FHandle == nullptr) {
        static constexpr int kStyles[] = {PS_SOLID, PS_DASH,        PS_DOT,       PS_DASHDOT,  PS_DASHDOTDOT,
                                          PS_NULL,  PS_INSIDEFRAME, PS_USERSTYLE, PS_ALTERNATE};
        COLORREF color = ColorToRGB(FColor);
        if (FStyle == psAlternate) {
            // Only a cosmetic extended pen can draw every other pixel.
            LOGBRUSH brush{BS_SOLID, color, 0};
            FHandle = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
        } else if (FStyle == psUserStyle) {
            FHandle = CreatePen(PS_SOLID, FWidth, color);
        } else {
            FHandle = CreatePen(kStyles[FStyle], FWidth, color);
        }
        FMadeHere = true;
        FMade = TKeptPen{FHandle, FColor, FStyle, FWidth};
    }
    return FHandle;
}

void TPen::SetHandle(HPEN handle) {
    if (handle == FHandle)
        return;
    LOGPEN lp{};
    if (FHandle != nullptr)
        DeleteObject(FHandle);
    FHandle = nullptr;
    FMadeHere = false;
    if (handle != nullptr && GetObjectW(handle, sizeof lp, &lp) == sizeof lp) {
        FHandle = handle;
        FColor = static_cast<TColor>(lp.lopnColor);
        FWidth = lp.lopnWidth.x;
        UINT style = lp.lopnStyle & PS_STYLE_MASK;
        FStyle = style <= PS_ALTERNATE ? static_cast<TPenStyle>(style) : psSolid;
    }
    Changed();
}

void TPen::SetColor(TColor value) {
    if (value != FColor) {
        FColor = value;
        Modify();
    }
}

void TPen::SetMode(TPenMode value) {
    // The mode is the DC's raster operation, not part of the pen object.
    if (value != FMode) {
        FMode = value;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle value) {
    if (value != FStyle) {
        FStyle = value;
        Modify();
    }
}

void TPen::SetWidth(Integer value) {
    if (value >= 0 && value != FWidth) {
        FWidth = value;
        Modify();
    }
}

// ---- TBrush ----

DEFINE_CLASS(TBrush, PROPERTY(Color).Type(TypeInfoColor()).Default(clWhite), PROPERTY(Style).Default(bsSolid))

TBrush::TBrush() = default;

TBrush::~TBrush() {
    if (FHandle != nullptr)
        DeleteObject(FHandle);
    for (TKeptBrush& kept : FKept)
        if (kept.handle != nullptr)
            DeleteObject(kept.handle);
}

void TBrush::Modify() {
    if (FHandle != nullptr) {
        if (FMadeHere) {
            TKeptBrush& slot = FKept[KeptPlace(FKept, KeptHome(FMade.color, FMade.style, 0))];
            if (slot.handle != nullptr)
                DeleteObject(slot.handle);
            slot = FMade;
        } else {
            DeleteObject(FHandle);
        }
        FHandle = nullptr;
        FMadeHere = false;
    }
    Changed();
}

void TBrush::Assign(TPersistent* source) {
    auto* brush = dynamic_cast<TBrush*>(source);
    if (brush == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (brush == this)
        return;
    FBitmap = brush->FBitmap;
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    Modify();
}

HBRUSH TBrush::Handle() {
    const bool pattern = FBitmap != nullptr && !FBitmap->Empty();
    if (FHandle == nullptr && !pattern) {
        const int home = KeptHome(FColor, FStyle, 0);
        for (int probe = 0; probe < KeptProbes; ++probe) {
            TKeptBrush& kept = FKept[(home + probe) & (KeptObjects - 1)];
            if (kept.handle != nullptr && kept.color == FColor && kept.style == FStyle) {
                FHandle = kept.handle;
                FMade = kept;
                FMadeHere = true;
                kept.handle = nullptr;
                return FHandle;
            }
        }
    }
    if (FHandle == nullptr) {
        COLORREF color = ColorToRGB(FColor);
        if (pattern)
            FHandle = CreatePatternBrush(FBitmap->Handle());
        else if (FStyle == bsSolid)
            FHandle = CreateSolidBrush(color);
        else if (FStyle == bsClear) {
            LOGBRUSH lb{BS_NULL, 0, 0};
            FHandle = CreateBrushIndirect(&lb);
        } else
            FHandle = CreateHatchBrush(static_cast<int>(FStyle) - bsHorizontal + HS_HORIZONTAL, color);
        // A pattern brush follows its bitmap, so it is never kept.
        FMadeHere = !pattern;
        FMade = TKeptBrush{FHandle, FColor, FStyle};
    }
    return FHandle;
}

void TBrush::SetHandle(HBRUSH handle) {
    if (handle == FHandle)
        return;
    if (FHandle != nullptr)
        DeleteObject(FHandle);
    FHandle = nullptr;
    FMadeHere = false;
    LOGBRUSH lb{};
    if (handle != nullptr && GetObjectW(handle, sizeof lb, &lb) == sizeof lb) {
        FHandle = handle;
        FBitmap = nullptr;
        FColor = static_cast<TColor>(lb.lbColor);
        if (lb.lbStyle == BS_NULL)
            FStyle = bsClear;
        else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= HS_DIAGCROSS)
            FStyle = static_cast<TBrushStyle>(bsHorizontal + static_cast<int>(lb.lbHatch));
        else
            FStyle = bsSolid;
    }
    Changed();
}

void TBrush::SetBitmap(TBitmap* value) {
    FBitmap = value;
    Modify();
}

void TBrush::SetColor(TColor value) {
    if (value != FColor) {
        FColor = value;
        // A clear brush that gets a colour paints again, as the framework's brushes do.
        if (FStyle == bsClear)
            FStyle = bsSolid;
        Modify();
    }
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value != FStyle) {
        FStyle = value;
        Modify();
    }
}
