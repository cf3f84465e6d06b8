// The caption renderer of the collapsible panel and the Office-style check box and radio button: the
// mini-HTML dialect of those captions (line spacing, offsets, ordered lists and drawn bullets, gradient
// backgrounds, coloured rules), its plain-text routine and the small drawing helpers around it.
#pragma once

#include <map>
#include <tuple>

#include "platform/framework/Graphics.h"
#include "platform/framework/ImgList.h"
#include "platform/win32/winuser.h"
#include "render/AsgHTMLE.h"

// Text measurements of the caption renderer, kept by a control that draws the same caption again so that
// a repaint measures nothing anew: widths and heights by font object, DrawText format and text. A font
// object stands for its description (a changed font gets a new object, and handles are never given out
// twice), so no entry goes stale; the renderer keeps and reads entries only on device contexts where a
// measurement depends on nothing else (no scaling map mode, no extra character spacing).
struct CaptionMeasures {
    using Key = std::tuple<HFONT, UINT, bool, String>; // font, format, height (else width), text
    std::map<Key, Integer> measured;
};

// The height of Text in Canvas's font, as the caption renderer measures it; served from and kept in
// Measures (when given) as the renderer does.
Integer CaptionTextHeight(TCanvas* Canvas, const String& Text, CaptionMeasures* Measures);

// Draws, measures or hit-tests a caption inside Bounds of Canvas; the arguments mean what they mean for
// RenderMiniHTML, with these differences: there are no form controls; AnchorDetail receives the HREF
// of anchor FocusIndex while painting and the TITLE of the anchor under the point; LineSpacing pixels
// are added to every line. Returns true when the point lies on anchor text or on a picture inside an
// anchor. Pictures come from Images ("IDX:n"), the system image lists ("SSYS:", "LSYS:"),
// PictureContainer (a name) or PictureCache (an address); with Printing, image-list pictures and system
// icons are enlarged by Scale. BiDiMode changes nothing while the system locale reads left to right.
// Measures, when given, serves and keeps the call's text measurements.
bool RenderCaptionHTML(TCanvas* Canvas, const String& Text, TRect Bounds, TCustomImageList* Images,
                       Integer PointX, Integer PointY, Integer FocusIndex, Integer HoverIndex,
                       Integer ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected,
                       bool BlinkVisible, bool HoverOnly, bool WordWrap, double Scale, TColor AnchorColor,
                       TColor HoverBrushColor, TColor HoverFontColor, TColor ShadowColor, String& AnchorValue,
                       String& PlainText, String& AnchorDetail, Integer& TextWidth, Integer& TextHeight,
                       Integer& AnchorCount, Integer& MouseAnchor, TRect& HoverRect,
                       THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer,
                       Integer LineSpacing, TBiDiMode BiDiMode, CaptionMeasures* Measures = nullptr);

// The caption without its tags: hidden sections ("<z>...</z>", then "<Z>...</Z>") are removed with their
// tags first; BR and HR become line breaks; entities stay as they are.
String CaptionHTMLToPlainText(const String& Text);

// Fills Rect with Steps bands (1 when 0) from FromColor to ToColor, side by side from left to right when
// Horizontal, else from top to bottom; then outlines Rect in BorderColor unless that is clNone.
void DrawGradientRect(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect Rect,
                      Integer Steps, TColor BorderColor);

// The caption dialect's colour names: the whole lower-cased value compared with "cl" + each name; any
// other value is black.
TColor CaptionHTMLColor(const String& Value);

// ---- Helpers of the Office-style buttons ----
// True when GetVersion reports a major version above 5, or 5 with a non-zero minor version.
bool IsXPOrLater();
// Outlines Rect, bottom-right corner included, with a cosmetic pen of alternate pixels in Color.
void DrawDottedFrame(TCanvas* Canvas, TRect Rect, TColor Color);
// The high 32 bits of the file version (major in the high word, minor in the low word), or -1 when the
// file has no valid version resource.
Integer FileVersionMS(const String& FileName);
