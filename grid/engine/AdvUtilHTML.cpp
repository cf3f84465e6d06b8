// The grid's HTML helpers: the clipboard's "HTML Format" text around a fragment, line breaks and
// colours for the grid's HTML output, and links around URLs in cell text.
#include "grid/engine/AdvUtil.h"

#include "platform/rtl/Convert.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"

namespace {

// The fixed parts of the page. Their lengths make the offsets in the header: the header itself is 97
// characters, the document type 62 and the page start 115, so the fragment starts at 274 and the page
// ends 32 characters after it. All ASCII, so characters are bytes.
constexpr const Char* DocumentType = u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
constexpr const Char* PageStart = u"<html><head><META http-equiv=Content-Type content=\"text/html; "
                                  u"charset=iso-8859-1\"></head><body><!--StartFragment-->";
constexpr const Char* PageEnd = u"<!--EndFragment--></body></html>";
constexpr Integer HeaderLength = 97;
constexpr Integer FragmentStart = 274;
constexpr Integer PageEndLength = 32;

String HeaderLine(const Char* name, Integer value) {
    return Format(u"%s%.8d", {name, value}) + u"\r\n";
}

bool IsURLChar(Char c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
        return true;
    switch (c) {
    case u'%':
    case u'(':
    case u')':
    case u'-':
    case u'.':
    case u'/':
    case u':':
    case u'@':
    case u'\\':
    case u'_':
    case u'{':
    case u'}':
        return true;
    default:
        return false;
    }
}

} // namespace

void MakeClipboardHTML(String& fragment) {
    const Integer fragmentBytes = static_cast<Integer>(StringToUtf8(fragment).size());
    String text = u"Version:1.0\r\n";
    text += HeaderLine(u"StartHTML:", HeaderLength);
    text += HeaderLine(u"EndHTML:", FragmentStart + fragmentBytes + PageEndLength);
    text += HeaderLine(u"StartFragment:", FragmentStart);
    text += HeaderLine(u"EndFragment:", FragmentStart + fragmentBytes);
    text += DocumentType;
    text += PageStart;
    text += fragment;
    text += PageEnd;
    fragment = std::move(text);
}

String CRToBreakTag(StringView text) {
    if (text.find(u'\r') == StringView::npos)
        return String(text);
    String out;
    out.reserve(text.size() + 8);
    for (Char c : text) {
        if (c == u'\r')
            out += u"<br>";
        else
            out += c;
    }
    return out;
}

String ColorToHexRGB(Integer color) {
    const Integer red = color & 0xFF;
    const Integer green = (color >> 8) & 0xFF;
    const Integer blue = (color >> 16) & 0xFF;
    return IntToHex(red, 2) + IntToHex(green, 2) + IntToHex(blue, 2);
}

bool InsertURLAnchor(StringView text, StringView upperPrefix, String& html) {
    if (PosInUpperCase(upperPrefix, text) == 0)
        return false;
    String escaped = StringReplace(text, u"<", u"&lt;", rfReplaceAll);
    escaped = StringReplace(escaped, u">", u"&gt;", rfReplaceAll);
    html = escaped;
    // Escaping cannot take the prefix away unless the prefix itself holds "<" or ">".
    const Integer start = PosInUpperCase(upperPrefix, escaped);
    if (start == 0)
        return true;
    size_t end = static_cast<size_t>(start - 1) + upperPrefix.size();
    while (end < escaped.size() && IsURLChar(escaped[end]))
        ++end;
    const String url = escaped.substr(static_cast<size_t>(start - 1), end - static_cast<size_t>(start - 1));
    html.insert(end, u"</a>");
    html.insert(static_cast<size_t>(start - 1), u"<a href=\"" + url + u"\">");
    return true;
}
