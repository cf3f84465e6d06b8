// The mini-HTML renderer: draws, measures and hit-tests marked-up cell, hint and item texts, plus the
// text utilities (plain text, entities, search marks) and the form-control text routines around it.
#pragma once

#include <vector>

#include "platform/framework/Controls.h" // TBiDiMode
#include "platform/framework/Graphics.h"
#include "platform/framework/Idents.h"
#include "platform/win32/imagelist.h"
#include "platform/win32/winuser.h"

class TCustomImageList;
class TPictureContainer;
class THTMLPictureCache;

// ---- The host: everything the engine asks of the device it draws on ----

// The font state the engine carries across runs; the host turns it into a real font.
struct THTMLFont {
    String name;
    Integer size = 8; // points
    TColor color = clWindowText;
    TFontStyles style;
    Integer orientation = 0; // tenths of a degree, set by the rotation tag
    bool operator==(const THTMLFont&) const = default;
};

// A narrow interface between the layout engine and a device, so that layout can be tested on fixed
// metrics. Colours are framework colours; clNone means "nothing" (no fill, transparent text).
class THTMLHost {
public:
    virtual ~THTMLHost() = default;

    // DrawTextEx on one line: with DT_CALCRECT, rect's right and bottom become the text's extent and
    // nothing is drawn; otherwise the text is drawn, on background unless that is clNone.
    virtual void DrawText(const THTMLFont& font, const String& text, TRect& rect, UINT format,
                          TColor background) = 0;
    virtual Integer TextHeight(const THTMLFont& font, const String& text) = 0;
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    // A framed box: pen colour around, fill inside (clNone: no fill), right and bottom exclusive.
    virtual void Rectangle(const TRect& rect, TColor pen, TColor fill) = 0;
    virtual void Polyline(const std::vector<TPoint>& points, TColor pen, Integer penWidth) = 0;
    virtual void DrawFocusRect(const TRect& rect) = 0;
    // A picture by its source as written in the markup ("IDX:3", a container name, a URL); false when
    // nothing is found or the picture is empty. The size is the device-independent size at 96 dpi.
    virtual bool PictureSize(const String& source, TSize& size) = 0;
    virtual void DrawPicture(const String& source, const TRect& rect, bool stretch) = 0;
    // Pixels per logical inch of the device; pictures are scaled by it over 96.
    virtual Integer PixelsPerInch() = 0;
    // Visual styles are active for the form controls.
    virtual bool Themed() = 0;
    virtual void DrawThemedPart(const String& themeClass, Integer part, Integer state, const TRect& rect) = 0;
    virtual void DrawFrameControl(const TRect& rect, UINT type, UINT state) = 0;
    // The system locale reads right to left.
    virtual bool RightToLeftLocale() = 0;
    virtual void PushClip(const TRect& rect) = 0;
    virtual void PopClip() = 0;
};

// ---- The renderer ----

// Everything a call takes besides the host and the text: RenderMiniHTML's arguments in record form,
// with the canvas's font, brush and pen at entry. The outputs come back in THTMLRenderResult.
struct THTMLRenderParams {
    TRect bounds;
    Integer pointX = -1;
    Integer pointY = -1;
    Integer focusIndex = -1; // 0-based anchor with the focus rectangle
    Integer hoverIndex = -1; // 1-based anchor in hover style when hoverOnly
    Integer shadowOffset = 0;
    bool hitTestOnly = false;
    bool measureOnly = false;
    bool printing = false;
    bool selected = false;
    bool blinkVisible = true;
    bool hoverOnly = true;
    bool wordWrap = true;
    bool controlPressed = false;
    String pressedControlID;
    double scale = 1.0;
    TColor anchorColor = clBlue;
    TColor hoverBrushColor = clNone;
    TColor hoverFontColor = clNone;
    TColor shadowColor = clGray;
    TBiDiMode biDiMode = bdLeftToRight;
    THTMLFont font;             // the canvas font at entry
    TColor brushColor = clNone; // the canvas brush at entry (clNone: clear)
    TColor penColor = clBlack;
    Integer penWidth = 1;
};

struct THTMLRenderResult {
    bool hit = false;
    String anchorValue; // in: kept when nothing is hit
    String plainText;
    String focusAnchor;
    String anchorTitle;
    Integer textWidth = 0;
    Integer textHeight = 0;
    Integer anchorCount = 0;
    Integer mouseAnchor = -1;
    TRect hoverRect;
    TRect controlRect;
    String controlID; // in: the control to locate in hit-test-only calls
    String controlValue;
    String controlType;
};

// One call of the renderer on a host; params.hitTestOnly and measureOnly choose the mode.
void RenderMiniHTMLOnHost(THTMLHost& host, const String& text, const THTMLRenderParams& params,
                          THTMLRenderResult& result);

// The boxes of the second pass of every line (as a hit-test-only call lays them out), one line of
// text per line box and per run, picture and control, for layout tests.
String DumpMiniHTMLLayout(THTMLHost& host, const String& text, const THTMLRenderParams& params);

// Draws, measures or hit-tests text inside bounds of canvas. Returns true when the point lies on
// anchor text, on a picture inside an anchor or on a form control.
bool RenderMiniHTML(TCanvas* Canvas, const String& Text, TRect Bounds, TCustomImageList* Images,
                    Integer PointX, Integer PointY, Integer FocusIndex, Integer HoverIndex,
                    Integer ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected,
                    bool BlinkVisible, bool HoverOnly, bool WordWrap, bool ControlPressed,
                    const String& PressedControlID, double Scale, TColor AnchorColor, TColor HoverBrushColor,
                    TColor HoverFontColor, TColor ShadowColor, String& AnchorValue, String& PlainText,
                    String& FocusAnchor, String& AnchorTitle, Integer& TextWidth, Integer& TextHeight,
                    Integer& AnchorCount, Integer& MouseAnchor, TRect& HoverRect, TRect& ControlRect,
                    String& ControlID, String& ControlValue, String& ControlType,
                    THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, HWND ThemeWindow,
                    TBiDiMode BiDiMode);

// The same with every answer in Result; its anchorValue and controlID go in as above.
bool RenderMiniHTML(TCanvas* Canvas, const String& Text, TRect Bounds, TCustomImageList* Images,
                    Integer PointX, Integer PointY, Integer FocusIndex, Integer HoverIndex,
                    Integer ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected,
                    bool BlinkVisible, bool HoverOnly, bool WordWrap, bool ControlPressed,
                    const String& PressedControlID, double Scale, TColor AnchorColor, TColor HoverBrushColor,
                    TColor HoverFontColor, TColor ShadowColor, THTMLRenderResult& Result,
                    THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, HWND ThemeWindow,
                    TBiDiMode BiDiMode);

// The brush and font colours of the HI tag, renderer-wide; clHighlight and clHighlightText until set.
void SetHTMLHighlightColors(TColor Background, TColor TextColor);

// A colour value of the markup: "#RRGGBB" or "cl" + one of the 40 names (lower case); else black.
TColor ParseHTMLColor(const String& Value);

// ---- Text utilities ----

String DecodeHTMLEntities(const String& Text, bool WithTable);
String EncodeHTMLEntities(const String& Text, bool WithTable);
String SpacesToNbsp(const String& Text);
// Tags removed, BR and HR as line breaks; entities left as they are.
String MiniHTMLToPlainText(const String& Text);
String StripHTMLTags(const String& Text);
// Wraps the matches of Search in <MARKNAME>...</MARKNAME>, old marks of that name removed first.
String MarkTextMatches(const String& Text, const String& Search, const String& MarkName, bool FullText,
                       bool CaseSensitive);
String RemoveTextMarks(const String& Text, const String& MarkName);

// The string primitives of the renderer; positions from 1, 0 when absent.
Integer PosText(StringView Sub, StringView Text);
Integer PosUpper(StringView Sub, StringView Text, Integer& Position);
bool ReplaceFirstText(StringView Pattern, StringView Replacement, String& Text);
// Leading blanks, a sign, then decimal digits (hexadecimal after "$" or "0x"); never raises.
Integer StrToIntLoose(StringView Text);
Byte HexPairUnchecked(Char High, Char Low);
bool IsFolderPath(const String& Path);
void StretchBitmapToRect(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap);
// The system image list and icon of a shell-icon source: "SSYS:" (small icons) or "LSYS:" (large) and a
// path, or a number that is the index itself. A path that names no existing file or folder is looked up
// by its name alone. False for any other source and for an index the list does not hold.
bool ShellIconSource(const String& Source, HIMAGELIST& List, Integer& Index);
// Draws icon Index of List transparently at Rect's top-left; with Stretch it is drawn into a bitmap of the
// icon's size first and that is stretched into Rect.
void DrawShellIcon(TCanvas* Canvas, HIMAGELIST List, Integer Index, const TRect& Rect, bool Stretch);
String PasswordMask(const String& Text);

// ---- Form controls in the text ----

struct THTMLControlTag {
    String type; // upper case
    String id;
    String value; // entity-decoded
    String width;
    String height;
    String prop; // entity-decoded
    String maxLen;
    bool hasHeight = false;
    bool hasProp = false;
    bool hasMaxLen = false;
};

THTMLControlTag ParseControlTag(StringView TagBody);
bool ContainsControlTag(const String& Text);
String NextEditableControlID(const String& Text, const String& AfterID);
bool ReadControlValue(const String& Text, const String& ID, String& Value);
String ReadControlProp(const String& Text, const String& ID);
Integer ReadControlMaxLen(const String& Text, const String& ID);
bool WriteControlValue(String& Text, const String& ID, const String& Value);
String UncheckAllRadioControls(const String& Text);
