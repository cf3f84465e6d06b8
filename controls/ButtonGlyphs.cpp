// Loading and drawing the buttons' glyph bitmaps.
#include "controls/ButtonGlyphs.h"

#include <map>
#include <memory>

#include "platform/win32/winuser.h"

TBitmap* ButtonGlyph(const String& name) {
    // Glyphs are drawn on every paint of every check box; decoding them once keeps painting cheap.
    // The cache is never freed: glyphs may be drawn until the process ends.
    static auto& cache = *new std::map<String, std::unique_ptr<TBitmap>>;
    auto found = cache.find(name);
    if (found != cache.end())
        return found->second.get();
    RegisterButtonGlyphs();
    std::unique_ptr<TBitmap> glyph;
    if (HBITMAP handle = LoadBitmapW(GetModuleHandleW(nullptr), name.c_str()); handle != nullptr) {
        glyph = std::make_unique<TBitmap>();
        glyph->SetHandle(handle);
        glyph->SetTransparentMode(tmAuto);
        glyph->SetTransparent(true);
    }
    return cache.emplace(name, std::move(glyph)).first->second.get();
}

void DrawButtonGlyph(TCanvas* canvas, int x, int y, const String& name) {
    if (TBitmap* glyph = ButtonGlyph(name); glyph != nullptr)
        canvas->Draw(x, y, glyph);
}
