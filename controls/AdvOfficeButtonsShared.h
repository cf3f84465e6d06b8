// What the Office-style check box and radio button share inside the unit: the themed-glyph test, the
// caption renderer's call, the parent's background beneath a button and the opening of links.
#pragma once

#include "controls/AdvOfficeButtons.h"

namespace OfficeButtons {

inline constexpr Integer VersionNumber = 0x01030808;

// Whether a button with Themed set draws its glyph through visual styles now.
bool ThemedGlyphs(bool themed);
// The point lies on the control or on its right or bottom edge.
bool InsideEdges(TControl* control, int x, int y);

// The caption through the caption renderer, with the settings both buttons pass.
struct CaptionCall {
    TCanvas* canvas;
    const String& text;
    TCustomImageList* images;
    TPictureContainer* container;
    THTMLPictureCache* cache;
    Integer shadowOffset;
    TColor shadowColor;
    bool wordWrap;
    TBiDiMode biDiMode;
    CaptionMeasures* measures; // the button's own, kept from one call to the next

    // Paints (or with measure only measures) in rect; answers whether (x, y) lies on an anchor, whose
    // value goes to anchor, when hit-testing.
    bool Run(TRect rect, bool hitTest, bool measure, TColor anchorColor, int x, int y, Integer& width,
             Integer& height, String& anchor) const;
};

// Draws the parent's background beneath control into canvas, straight or through the cached bitmap.
void PaintButtonBackground(TCustomControl* control, TCanvas* canvas, bool caching, TBitmap& cacheBitmap,
                           bool& cacheValid);
// Gives the canvas the control's font; nothing when it has it already, so that a paint makes no new
// font object.
void TakeFont(TCanvas* canvas, TFont* font);
// Opens an anchor that is a link with the desktop's opener; answers false for other anchors.
bool OpenLink(HWND hwnd, const String& anchor);
// The character of a dialog-char message.
inline Word DialogCharCode(const TMessage& message) {
    return static_cast<Word>(message.WParam);
}

} // namespace OfficeButtons
