// The framework's graphics classes: colours, fonts, pens and brushes, the canvas that draws with them,
// and pictures (TGraphic, TBitmap, TIcon and TPicture, which loads any registered format).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/framework/Idents.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/wingdi.h"

struct HICON__;
using HICON = HICON__*;

class TStream;
class TCanvas;
class TBitmap;
class TIcon;
class TGraphic;

namespace codecs {
struct Image;
}

// ---- Geometry records ----
struct TPoint {
    LONG X = 0;
    LONG Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(LONG x, LONG y) : X(x), Y(y) {}
    constexpr TPoint(const POINT& p) : X(p.x), Y(p.y) {}
    constexpr operator POINT() const { return POINT{X, Y}; }
    constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
    LONG cx = 0;
    LONG cy = 0;
    constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
    LONG Left = 0;
    LONG Top = 0;
    LONG Right = 0;
    LONG Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(LONG left, LONG top, LONG right, LONG bottom)
        : Left(left), Top(top), Right(right), Bottom(bottom) {}
    constexpr TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
    constexpr operator RECT() const { return RECT{Left, Top, Right, Bottom}; }
    constexpr LONG Width() const { return Right - Left; }
    constexpr LONG Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(LONG x, LONG y) {
    return TPoint(x, y);
}
constexpr TRect Rect(LONG left, LONG top, LONG right, LONG bottom) {
    return TRect(left, top, right, bottom);
}
constexpr TRect Bounds(LONG left, LONG top, LONG width, LONG height) {
    return TRect(left, top, left + width, top + height);
}

// ---- Errors ----
ZELMOR_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
ZELMOR_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)

// ---- Colours ----
// The RGB value of a colour: system colours ($FF0000xx) become the current scheme's colour; other
// values, clNone and clDefault included, come back as they are.
COLORREF ColorToRGB(TColor color);
// "clRed" for a named colour, "$00BBGGRR" for the others.
String ColorToString(TColor color);
// A colour name or a number ("$00FF00", "255"); EConvertError when it is neither.
TColor StringToColor(StringView text);
bool IdentToColor(StringView ident, TColor& color);
bool ColorToIdent(TColor color, String& ident);

// ---- Enumerations ----
ZELMOR_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
ZELMOR_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
using TFontCharset = Byte;
using TFontName = String;
ZELMOR_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle,
            psAlternate)
ZELMOR_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
            pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)
ZELMOR_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
            bsDiagCross)
enum TFillStyle { fsSurface, fsBorder };
enum TFillMode { fmAlternate, fmWinding };

using TCopyMode = LongInt;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

// The options of TCanvas::TextRect; each stands for the DT_ flag of the same name.
enum TTextFormats {
    tfBottom,
    tfCalcRect,
    tfCenter,
    tfEditControl,
    tfEndEllipsis,
    tfPathEllipsis,
    tfExpandTabs,
    tfExternalLeading,
    tfLeft,
    tfModifyString,
    tfNoClip,
    tfNoPrefix,
    tfRight,
    tfRtlReading,
    tfSingleLine,
    tfTop,
    tfVerticalCenter,
    tfWordBreak,
    tfHidePrefix,
    tfNoFullWidthCharBreak,
    tfPrefixOnly,
    tfTabStop,
    tfWordEllipsis,
    tfComposited
};
using TTextFormat = TSet<TTextFormats>;

ZELMOR_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
ZELMOR_ENUM(TTransparentMode, tmAuto, tmFixed)
ZELMOR_ENUM(TBitmapHandleType, bmDIB, bmDDB)
ZELMOR_ENUM(TAlphaFormat, afIgnored, afDefined, afPremultiplied)

// For PROPERTY(Charset).Type(...): written as ANSI_CHARSET, DEFAULT_CHARSET ... where it has a name.
const TTypeInfo* TypeInfoFontCharset();

// ---- Fonts, pens and brushes ----

// What a canvas draws with; tells its canvas when it changes.
class TGraphicsObject : public TPersistent {
    DECLARE_CLASS(TGraphicsObject, TPersistent)

public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

class TFont : public TGraphicsObject {
    DECLARE_CLASS(TFont, TGraphicsObject)

public:
    TFont();
    ~TFont() override;

    void Assign(TPersistent* source) override;
    // The font object, created at first use; the font keeps it until it changes. SetHandle adopts a
    // font object and takes its attributes.
    HFONT Handle();
    void SetHandle(HFONT handle);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Negative: the character height in pixels; positive: the cell height.
    Integer Height() const { return FHeight; }
    void SetHeight(Integer value);
    String Name() const { return FName; }
    void SetName(const String& value);
    // Tenths of a degree, counter-clockwise.
    Integer Orientation() const { return FOrientation; }
    void SetOrientation(Integer value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    // Points at PixelsPerInch: -MulDiv(Height, 72, PixelsPerInch).
    Integer Size() const;
    void SetSize(Integer value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    Integer PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(Integer value) { FPixelsPerInch = value; }

private:
    // A painter switches its canvas's font between a few descriptions for every cell (a header's and a
    // cell's): the last font objects made stay at hand, found by their description.
    struct TKeptFont {
        HFONT handle = nullptr;
        String name;
        Integer height = 0;
        Integer orientation = 0;
        TFontStyles style;
        TFontPitch pitch = fpDefault;
        TFontCharset charset = DEFAULT_CHARSET;
    };
    static constexpr int KeptFonts = 4;

    void FreeHandle();
    // Lets go of the font object, keeping it at hand when it was made here.
    void KeepHandle();
    void Modify();
    bool Describes(const TKeptFont& kept) const;

    HFONT FHandle = nullptr;
    bool FMadeHere = false; // FHandle was made by Handle(), for the description in FMade
    TKeptFont FMade;
    TKeptFont FKept[KeptFonts];
    int FKeptNext = 0; // the place the next kept object takes
    String FName;
    Integer FHeight;
    Integer FOrientation = 0;
    Integer FPixelsPerInch = 96;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontPitch FPitch = fpDefault;
    TFontCharset FCharset = DEFAULT_CHARSET;
};

// How many objects a pen or a brush keeps (a power of two), and how many places one may take among them.
constexpr int KeptObjects = 64;
constexpr int KeptProbes = 4;

class TPen : public TGraphicsObject {
    DECLARE_CLASS(TPen, TGraphicsObject)

public:
    TPen() = default;
    ~TPen() override;

    void Assign(TPersistent* source) override;
    HPEN Handle();
    void SetHandle(HPEN handle);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    Integer Width() const { return FWidth; }
    void SetWidth(Integer value);

private:
    void Modify();
    // Painters switch a canvas's pen between a few colours for every cell, and gradients between as
    // many as they have bands: the pen objects made stay at hand, found by their description, so that
    // switching back makes no new one.
    struct TKeptPen {
        HPEN handle = nullptr;
        TColor color = clBlack;
        TPenStyle style = psSolid;
        Integer width = 1;
    };

    HPEN FHandle = nullptr;
    bool FMadeHere = false; // FHandle was made by Handle(), for the description in FMade
    TKeptPen FMade;
    TKeptPen FKept[KeptObjects];
    TColor FColor = clBlack;
    TPenMode FMode = pmCopy;
    TPenStyle FStyle = psSolid;
    Integer FWidth = 1;
};

class TBrush : public TGraphicsObject {
    DECLARE_CLASS(TBrush, TGraphicsObject)

public:
    TBrush();
    ~TBrush() override;

    void Assign(TPersistent* source) override;
    HBRUSH Handle();
    void SetHandle(HBRUSH handle);

    // A pattern bitmap the brush paints with (not owned); null for none.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);

private:
    void Modify();

    // As the pen keeps its last objects, for solid and clear brushes.
    struct TKeptBrush {
        HBRUSH handle = nullptr;
        TColor color = clWhite;
        TBrushStyle style = bsSolid;
    };

    HBRUSH FHandle = nullptr;
    bool FMadeHere = false;
    TKeptBrush FMade;
    TKeptBrush FKept[KeptObjects];
    TBitmap* FBitmap = nullptr;
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// ---- The canvas ----
class TCanvas : public TPersistent {
    DECLARE_CLASS(TCanvas, TPersistent)

public:
    TCanvas();
    ~TCanvas() override;

    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void RoundRect(const TRect& rect, int cx, int cy) {
        RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, cx, cy);
    }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    void Polyline(std::initializer_list<TPoint> points) {
        Polyline(std::span<const TPoint>(points.begin(), points.size()));
    }
    void Polygon(std::span<const TPoint> points);
    void Polygon(std::initializer_list<TPoint> points) {
        Polygon(std::span<const TPoint>(points.begin(), points.size()));
    }
    void PolyBezier(std::span<const TPoint> points);
    void PolyBezier(std::initializer_list<TPoint> points) {
        PolyBezier(std::span<const TPoint>(points.begin(), points.size()));
    }
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void DrawFocusRect(const TRect& rect);
    void FloodFill(int x, int y, TColor color, TFillStyle fillStyle);
    // Copies source of canvas into dest with CopyMode, stretching when the sizes differ.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    // Copies source of bitmap into dest, stretching when the sizes differ, with every pixel of color
    // replaced by the canvas's brush (a clear brush leaves the canvas's own pixels there).
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);

    void TextOut(int x, int y, const String& text);
    // Draws text at (x, y) clipped to rect, filling rect with the brush unless the brush is clear.
    void TextRect(const TRect& rect, int x, int y, const String& text);
    // DrawText with the formats; tfCalcRect changes rect to the text's extent and draws nothing, and
    // tfModifyString writes the shortened text back.
    void TextRect(TRect& rect, String& text, TTextFormat textFormat = {});
    TSize TextExtent(const String& text);
    int TextWidth(const String& text) { return TextExtent(text).cx; }
    int TextHeight(const String& text) { return TextExtent(text).cy; }
    // ETO_ options TextOut and TextRect add (ETO_OPAQUE, ETO_CLIPPED, ETO_RTLREADING).
    Integer TextFlags() const { return FTextFlags; }
    void SetTextFlags(Integer value) { FTextFlags = value; }

    // Selects the default objects again, so that the canvas selects its font, pen and brush anew.
    void Refresh();
    // Serialises drawing from several threads; Lock may be nested on one thread.
    void Lock();
    void Unlock();
    bool TryLock();
    Integer LockCount() const { return FLockCount; }

    // The DC, with the canvas's font, pen and brush selected. A canvas without one raises
    // EInvalidOperation "Canvas does not allow drawing".
    HDC Handle();
    void SetHandle(HDC value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* value) { FBrush->Assign(value); }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* value) { FPen->Assign(value); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode value) { FCopyMode = value; }
    TPoint PenPos();
    void SetPenPos(TPoint value) { MoveTo(value.X, value.Y); }
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);
    TRect ClipRect();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    enum StateBit : unsigned {
        csHandleValid = 1,
        csFontValid = 2,
        csPenValid = 4,
        csBrushValid = 8,
        csAllValid = 15
    };
    virtual void Changed();
    virtual void Changing();
    // Makes a DC for a canvas that has none; the base class has no way to.
    virtual void CreateHandle() {}
    void RequiredState(unsigned required);

private:
    void DeselectHandles();
    void SelectFont();
    void SelectPen();
    void SelectBrush();

    HDC FHandle = nullptr;
    unsigned FState = 0;
    unsigned FSelected = 0; // the csFontValid, csPenValid and csBrushValid objects selected into FHandle
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
    Integer FTextFlags = 0;
    std::recursive_mutex FLock;
    Integer FLockCount = 0;
};

// ---- Pictures ----

// A picture of any format. The picture's data is stored in component streams as the binary "Data"
// property.
class TGraphic : public TPersistent {
    DECLARE_CLASS(TGraphic, TPersistent)
    friend class TCanvas;
    friend class TPicture;

public:
    TGraphic() = default;

    virtual bool Empty() const = 0;
    virtual Integer Width() const = 0;
    virtual void SetWidth(Integer value) = 0;
    virtual Integer Height() const = 0;
    virtual void SetHeight(Integer value) = 0;
    virtual void SetSize(Integer width, Integer height);
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return FModified; }
    void SetModified(bool value);
    virtual HPALETTE Palette() const { return nullptr; }
    virtual void SetPalette(HPALETTE) {}

    // Bad or cut data raise EInvalidGraphic (or the format's own error class) with the format's text.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);

    void DefineProperties(TFiler* filer) override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed(TObject* sender);
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    // The form of the picture inside a component stream; the whole file unless a class says otherwise.
    virtual void ReadData(TStream& stream) { LoadFromStream(stream); }
    virtual void WriteData(TStream& stream) { SaveToStream(stream); }

private:
    bool FModified = false;
    bool FTransparent = false;
};

// The class of a picture format, for TPicture's registry.
using TGraphicClass = TClass;

class TBitmapCanvas;

// A bitmap held as a DIB section of its pixel format (32 bits for pfDevice), rows bottom-up as the
// framework keeps them.
class TBitmap : public TGraphic {
    DECLARE_CLASS(TBitmap, TGraphic)
    friend class TBitmapCanvas;

public:
    TBitmap();
    TBitmap(Integer width, Integer height);
    ~TBitmap() override;

    void Assign(TPersistent* source) override;

    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    Integer Width() const override { return FWidth; }
    void SetWidth(Integer value) override { SetSize(value, FHeight); }
    Integer Height() const override { return FHeight; }
    void SetHeight(Integer value) override { SetSize(FWidth, value); }
    // Keeps what fits of the picture; new parts are filled with the canvas's brush.
    void SetSize(Integer width, Integer height) override;

    TCanvas* Canvas();
    HBITMAP Handle();
    // Adopts a bitmap object; its size and depth become the bitmap's.
    void SetHandle(HBITMAP value);
    // Gives the bitmap object to the caller, who must delete it; the bitmap keeps a copy of its picture.
    HBITMAP ReleaseHandle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // A device-dependent bitmap is one of pfDevice; the others are DIBs.
    TBitmapHandleType HandleType() const { return FPixelFormat == pfDevice ? bmDDB : bmDIB; }
    void SetHandleType(TBitmapHandleType value);
    // 1 bit per pixel with a black and white colour table.
    bool Monochrome() const;
    void SetMonochrome(bool value);
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the picture to the format; pfCustom raises EInvalidGraphic "Invalid pixel format".
    void SetPixelFormat(TPixelFormat value);
    TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
    void SetAlphaFormat(TAlphaFormat value);
    // The memory of row (0 is the top row); EInvalidGraphic "Scan line index out of range" for another.
    void* ScanLine(Integer row);
    // tmAuto: the bottom-left pixel's colour; tmFixed: the colour set.
    TColor TransparentColor();
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode value);
    // Frees the DC of the canvas; the bitmap keeps its picture.
    void Dormant();
    void FreeImage() {}

    // The program's bitmap resource (RT_BITMAP) of that name, a packed DIB or a whole BMP file;
    // EResNotFound "Resource %s not found" when there is none. instance is the module's HINSTANCE.
    void LoadFromResourceName(NativeUInt instance, const String& resName);
    // A BMP file of any depth; bad data raise EInvalidGraphic "Bitmap image is not valid".
    void LoadFromStream(TStream& stream) override;
    // A BMP file at the pixel format's depth (32 bits for pfDevice).
    void SaveToStream(TStream& stream) override;

    // Plain pixels for the other picture classes: 0xAARRGGBB, top row first.
    void LoadFromImage(const codecs::Image& image);
    codecs::Image ToImage();

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

private:
    void Recreate(Integer width, Integer height, TPixelFormat format, const std::vector<RGBQUAD>* colors);
    void FreeContext();
    void FreeHandle();
    int BitCount() const;
    void ReadPixels(std::vector<std::uint32_t>& argb);
    void WritePixels(const std::vector<std::uint32_t>& argb);

    HBITMAP FHandle = nullptr;
    Byte* FBits = nullptr;
    int FStride = 0;
    Integer FWidth = 0;
    Integer FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    TAlphaFormat FAlphaFormat = afIgnored;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    std::vector<RGBQUAD> FColors; // the colour table at 8 bits and less
    std::unique_ptr<TBitmapCanvas> FCanvas;
};

// An icon or cursor file with all its images; it shows the image closest to 32 by 32 pixels.
class TIcon : public TGraphic {
    DECLARE_CLASS(TIcon, TGraphic)

public:
    TIcon();
    ~TIcon() override;

    void Assign(TPersistent* source) override;
    bool Empty() const override;
    Integer Width() const override;
    // An icon's size comes from its file: EInvalidGraphicOperation "Cannot change the size of an icon".
    void SetWidth(Integer value) override;
    Integer Height() const override;
    void SetHeight(Integer value) override;
    // Bad data raise EInvalidGraphic "Icon image is not valid".
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // The icon object of the shown image, made at first use; the icon keeps it until it changes.
    // SetHandle adopts an icon object (ReleaseHandle gives it away).
    HICON Handle();
    void SetHandle(HICON value);
    HICON ReleaseHandle();
    bool HandleAllocated() const;
    // The images of the file.
    Integer ImageCount() const;
    // Makes the icon one image of the picture (its alpha is the mask).
    void LoadFromImage(const codecs::Image& image);
    // The shown image's pixels.
    const codecs::Image* CurrentImage() const;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    struct Data;
    std::unique_ptr<Data> FData;
};

// Holds a picture of any registered format and creates the right class for a file.
class TPicture : public TPersistent {
    DECLARE_CLASS(TPicture, TPersistent)

public:
    TPicture();
    ~TPicture() override;

    void Assign(TPersistent* source) override;
    // The picture (null when empty). Setting takes a copy of value.
    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(TGraphic* value);
    // The picture as a bitmap or icon; when it is something else it is replaced by an empty one.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* value) { SetGraphic(value); }
    TIcon* Icon();
    void SetIcon(TIcon* value) { SetGraphic(value); }
    Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
    Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // Chooses the class by the file's extension: EInvalidGraphic "Unknown picture file extension (.%s)"
    // when no format is registered for it.
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);
    // Chooses the class by the data's signature: EInvalidGraphic "Invalid image" when none matches.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);

    // Formats by extension (without the dot, any case); a later registration of an extension wins.
    static void RegisterFileFormat(const String& extension, const String& description,
                                   TGraphicClass graphicClass);
    static void UnregisterGraphicClass(TGraphicClass graphicClass);
    // "All (*.bmp;*.ico)|*.bmp;*.ico|Bitmaps (*.bmp)|*.bmp|..." for the file dialogs.
    static String GraphicFilter(TGraphicClass graphicClass);

    void DefineProperties(TFiler* filer) override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed(TObject* sender);

private:
    void Adopt(std::unique_ptr<TGraphic> graphic);
    std::unique_ptr<TGraphic> FGraphic;
};

// Creates a new graphic of the class (which must derive from TGraphic).
std::unique_ptr<TGraphic> NewGraphic(TGraphicClass graphicClass);
