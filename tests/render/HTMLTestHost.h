// A mini-HTML host with fixed metrics that records what the renderer draws, for layout tests and fuzzing.
#pragma once

#include <map>
#include <vector>

#include "platform/win32/windraw.h"
#include "render/AsgHTMLE.h"

// Metrics: every character is size * 3 / 4 pixels wide (6 at 8 points), one more when bold; a line of
// text is 2 * size pixels high (16 at 8 points). Drawing follows DrawText's prefix rule ("&&" is one
// "&", a single "&" vanishes).
class THTMLTestHost : public THTMLHost {
public:
    struct TTextCall {
        String text;
        TRect rect;
        UINT format;
        THTMLFont font;
        TColor background;
    };
    struct TShapeCall {
        String kind; // "fill", "rect", "line", "focus", "picture", "theme", "frame"
        TRect rect;
        TColor color = clNone;
        String name;   // picture source or theme class
        Integer a = 0; // theme part, frame type, or line point count
        Integer b = 0; // theme state or frame state
    };

    std::vector<TTextCall> texts;
    std::vector<TShapeCall> shapes;
    std::map<String, TSize> pictures; // by source
    bool themed = false;
    bool rtlLocale = false;
    Integer clipDepth = 0;

    static String Displayed(const String& text) {
        String result;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'&' && i + 1 < text.size())
                ++i;
            else if (text[i] == u'&')
                continue;
            result += text[i];
        }
        return result;
    }
    static Integer CharWidth(const THTMLFont& font) {
        return font.size * 3 / 4 + (font.style.Contains(fsBold) ? 1 : 0);
    }

    void DrawText(const THTMLFont& font, const String& text, TRect& rect, UINT format,
                  TColor background) override {
        Integer width = Integer(Displayed(text).size()) * CharWidth(font);
        if (format & DT_CALCRECT) {
            rect.Right = rect.Left + width;
            rect.Bottom = rect.Top + 2 * font.size;
            return;
        }
        texts.push_back({text, rect, format, font, background});
    }
    Integer TextHeight(const THTMLFont& font, const String&) override { return 2 * font.size; }
    void FillRect(const TRect& rect, TColor color) override {
        shapes.push_back({u"fill", rect, color, String(), 0, 0});
    }
    void Rectangle(const TRect& rect, TColor pen, TColor fill) override {
        shapes.push_back({u"rect", rect, pen, String(), Integer(fill), 0});
    }
    void Polyline(const std::vector<TPoint>& points, TColor pen, Integer) override {
        TRect bounds(points.front().X, points.front().Y, points.back().X, points.back().Y);
        shapes.push_back({u"line", bounds, pen, String(), Integer(points.size()), 0});
    }
    void DrawFocusRect(const TRect& rect) override {
        shapes.push_back({u"focus", rect, clNone, String(), 0, 0});
    }
    bool PictureSize(const String& source, TSize& size) override {
        auto it = pictures.find(source);
        if (it == pictures.end())
            return false;
        size = it->second;
        return true;
    }
    void DrawPicture(const String& source, const TRect& rect, bool stretch) override {
        shapes.push_back({u"picture", rect, clNone, source, stretch ? 1 : 0, 0});
    }
    Integer PixelsPerInch() override { return 96; }
    bool Themed() override { return themed; }
    void DrawThemedPart(const String& themeClass, Integer part, Integer state, const TRect& rect) override {
        shapes.push_back({u"theme", rect, clNone, themeClass, part, state});
    }
    void DrawFrameControl(const TRect& rect, UINT type, UINT state) override {
        shapes.push_back({u"frame", rect, clNone, String(), Integer(type), Integer(state)});
    }
    bool RightToLeftLocale() override { return rtlLocale; }
    void PushClip(const TRect&) override { ++clipDepth; }
    void PopClip() override { --clipDepth; }

    std::vector<TShapeCall> Shapes(StringView kind) const {
        std::vector<TShapeCall> result;
        for (const TShapeCall& shape : shapes)
            if (shape.kind == kind)
                result.push_back(shape);
        return result;
    }
    const TTextCall* Text(StringView text) const {
        for (const TTextCall& call : texts)
            if (call.text == text)
                return &call;
        return nullptr;
    }
};
