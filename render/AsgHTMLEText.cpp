// Text utilities of the mini-HTML unit: entities, plain text, search marks, string primitives and the
// routines that read and rewrite form-control tags inside a text.
#include "render/AsgHTMLE.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "platform/rtl/Convert.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"
#include "platform/win32/comm.h"
#include "platform/win32/shell.h"
#include "render/AsgHTMLEPrivate.h"

namespace asghtmle {

// Names and characters of the named entities, in search order.
const TEntity kEntities[kEntityCount] = {
    {u"&eacute;", u'\u00E9'}, {u"&egrave;", u'\u00E8'}, {u"&euml;", u'\u00EB'},   {u"&ecirc;", u'\u00EA'},
    {u"&oacute;", u'\u00F3'}, {u"&ograve;", u'\u00F2'}, {u"&ouml;", u'\u00F6'},   {u"&ocirc;", u'\u00F4'},
    {u"&iacute;", u'\u00ED'}, {u"&igrave;", u'\u00EC'}, {u"&iuml;", u'\u00EF'},   {u"&icirc;", u'\u00EE'},
    {u"&uacute;", u'\u00FA'}, {u"&ugrave;", u'\u00F9'}, {u"&uuml;", u'\u00FC'},   {u"&ucirc;", u'\u00FB'},
    {u"&aacute;", u'\u00E1'}, {u"&agrave;", u'\u00E0'}, {u"&auml;", u'\u00E4'},   {u"&acirc;", u'\u00E2'},
    {u"&Eacute;", u'\u00C9'}, {u"&Egrave;", u'\u00C8'}, {u"&Euml;", u'\u00CB'},   {u"&Ecirc;", u'\u00CA'},
    {u"&Oacute;", u'\u00D3'}, {u"&Ograve;", u'\u00D2'}, {u"&Ouml;", u'\u00D6'},   {u"&Ocirc;", u'\u00D4'},
    {u"&Iacute;", u'\u00CD'}, {u"&Igrave;", u'\u00CC'}, {u"&Iuml;", u'\u00CF'},   {u"&Icirc;", u'\u00CE'},
    {u"&Uacute;", u'\u00DA'}, {u"&Ugrave;", u'\u00D9'}, {u"&Uuml;", u'\u00DC'},   {u"&Ucirc;", u'\u00DB'},
    {u"&Aacute;", u'\u00C1'}, {u"&Agrave;", u'\u00C0'}, {u"&Auml;", u'\u00C4'},   {u"&Acirc;", u'\u00C2'},
    {u"&ccedil;", u'\u00E7'}, {u"&Ccedil;", u'\u00C7'}, {u"&oslash;", u'\u00F8'}, {u"&Oslash;", u'\u00D8'},
    {u"&aring;", u'\u00E5'},  {u"&Aring;", u'\u00C5'},  {u"&copy;", u'\u00A9'},   {u"&reg;", u'\u00AE'},
    {u"&euro;", u'\u20AC'},   {u"&laquo;", u'\u00AB'},  {u"&raquo;", u'\u00BB'},
};

Char UpAscii(Char c) {
    return c >= u'a' && c <= u'z' ? Char(c - 32) : c;
}

String UpperAscii(StringView s) {
    String result(s);
    for (Char& c : result)
        c = UpAscii(c);
    return result;
}

// Replaces every occurrence in one scan from the left. A replacement is never searched again, so
// encoding and decoding are exact inverses (the text "&amp;amp;" decodes to "&amp;", and a literal
// "*amp;" in the text is left alone).
String ReplaceAll(StringView text, StringView pattern, StringView replacement) {
    String result;
    size_t from = 0;
    for (;;) {
        size_t at = text.find(pattern, from);
        if (at == StringView::npos)
            break;
        result.append(text.substr(from, at - from));
        result.append(replacement);
        from = at + pattern.size();
    }
    if (from == 0)
        return String(text);
    result.append(text.substr(from));
    return result;
}

// Removes every "<NAME>" and "</NAME>", found without regard to case.
String RemoveMarks(StringView text, StringView upperName) {
    String open(u"<");
    open.append(upperName).append(u">");
    String close(u"</");
    close.append(upperName).append(u">");
    String upper = UpperAscii(text);
    String result;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == u'<') {
            StringView rest = StringView(upper).substr(i);
            if (rest.starts_with(open)) {
                i += open.size();
                continue;
            }
            if (rest.starts_with(close)) {
                i += close.size();
                continue;
            }
        }
        result += text[i++];
    }
    return result;
}

bool IsCleanNumber(StringView text, Integer& value) {
    return TryStrToInt(text, value);
}

} // namespace asghtmle

using namespace asghtmle;

// ---- String primitives ----

Integer PosText(StringView Sub, StringView Text) {
    if (Sub.empty())
        return 0;
    String upperText = UpperAscii(Text);
    String upperSub = UpperAscii(Sub);
    size_t at = upperText.find(upperSub);
    return at == String::npos ? 0 : Integer(at + 1);
}

Integer PosUpper(StringView Sub, StringView Text, Integer& Position) {
    Position = Sub.empty() ? 0 : Pos(Sub, UpperAscii(Text));
    return Position;
}

bool ReplaceFirstText(StringView Pattern, StringView Replacement, String& Text) {
    Integer at = PosText(Pattern, Text);
    if (at == 0)
        return false;
    Text.replace(size_t(at - 1), Pattern.size(), Replacement);
    return true;
}

Integer StrToIntLoose(StringView Text) {
    size_t i = 0;
    while (i < Text.size() && (Text[i] == u' ' || Text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < Text.size() && (Text[i] == u'-' || Text[i] == u'+'))
        negative = Text[i++] == u'-';
    int base = 10;
    if (i < Text.size() && Text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < Text.size() && Text[i] == u'0' && (Text[i + 1] == u'x' || Text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    // Accumulates with saturation: attribute values come from untrusted markup.
    Int64 value = 0;
    for (; i < Text.size(); ++i) {
        Char c = UpAscii(Text[i]);
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            break;
        value = std::min<Int64>(value * base + digit, Int64(std::numeric_limits<Integer>::max()));
    }
    return Integer(negative ? -value : value);
}

Byte HexPairUnchecked(Char High, Char Low) {
    auto digit = [](Char c) -> int { return c >= u'A' ? (c - u'A' + 10) & 0xF : (c - u'0') & 0xF; };
    return Byte(digit(High) * 16 + digit(Low));
}

bool IsFolderPath(const String& Path) {
    std::error_code error;
    return !Path.empty() && std::filesystem::is_directory(StringToUtf8(Path), error);
}

void StretchBitmapToRect(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap) {
    if (Canvas == nullptr || Bitmap == nullptr || Bitmap->Empty())
        return;
    Canvas->StretchDraw(Rect, Bitmap);
}

bool ShellIconSource(const String& Source, HIMAGELIST& List, Integer& Index) {
    UINT size;
    if (PosText(u"SSYS:", Source) == 1)
        size = SHGFI_SMALLICON;
    else if (PosText(u"LSYS:", Source) == 1)
        size = SHGFI_LARGEICON;
    else
        return false;
    String path = Source.substr(5);
    Integer number;
    if (IsCleanNumber(path, number)) {
        // Any name gives the list itself.
        List = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
            u"x", FILE_ATTRIBUTE_NORMAL, nullptr, 0, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | size));
        Index = number;
        return List != nullptr && number >= 0 && number < ImageList_GetImageCount(List);
    }
    if (path.empty())
        return false;
    UINT flags = SHGFI_SYSICONINDEX | size;
    if (!FileExists(path) && !DirectoryExists(path))
        flags |= SHGFI_USEFILEATTRIBUTES;
    SHFILEINFOW info{};
    List = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags));
    Index = info.iIcon;
    return List != nullptr;
}

void DrawShellIcon(TCanvas* Canvas, HIMAGELIST List, Integer Index, const TRect& Rect, bool Stretch) {
    if (Canvas == nullptr)
        return;
    if (!Stretch) {
        ImageList_Draw(List, Index, Canvas->Handle(), Rect.Left, Rect.Top, ILD_TRANSPARENT);
        return;
    }
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(List, &cx, &cy))
        return;
    // As image-list pictures are: on the bitmap's own white, then stretched.
    TBitmap bitmap;
    bitmap.SetSize(cx, cy);
    bitmap.Canvas()->FillRect(TRect(0, 0, cx, cy));
    if (ImageList_Draw(List, Index, bitmap.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT))
        StretchBitmapToRect(Canvas, Rect, &bitmap);
}

String PasswordMask(const String& Text) {
    return String(Text.size(), u'*');
}

// ---- Entities ----

// One scan from the left, so that decoding is the exact inverse of EncodeHTMLEntities: replacing
// entity by entity would turn an encoded "&quot;" (written "&amp;quot;") into a double quote.
String DecodeHTMLEntities(const String& Text, bool WithTable) {
    if (Text.find(u'&') == String::npos)
        return Text;
    static const TEntity kBasic[] = {{u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&amp;", u'&'}, {u"&quot;", u'"'}};
    String result;
    result.reserve(Text.size());
    size_t i = 0;
    while (i < Text.size()) {
        if (Text[i] == u'&') {
            StringView rest = StringView(Text).substr(i);
            const TEntity* found = nullptr;
            for (const TEntity& entity : kBasic)
                if (rest.starts_with(entity.name))
                    found = &entity;
            if (found == nullptr && WithTable)
                for (const TEntity& entity : kEntities)
                    if (rest.starts_with(entity.name)) {
                        found = &entity;
                        break;
                    }
            if (found != nullptr) {
                result += found->character;
                i += StringView(found->name).size();
                continue;
            }
        }
        result += Text[i++];
    }
    return result;
}

String EncodeHTMLEntities(const String& Text, bool WithTable) {
    String result = ReplaceAll(Text, u"&", u"&amp;");
    result = ReplaceAll(result, u"\"", u"&quot;");
    result = ReplaceAll(result, u"<", u"&lt;");
    result = ReplaceAll(result, u">", u"&gt;");
    if (WithTable)
        for (const TEntity& entity : kEntities)
            result = ReplaceAll(result, StringView(&entity.character, 1), entity.name);
    return result;
}

String SpacesToNbsp(const String& Text) {
    return ReplaceAll(Text, u" ", u"&nbsp;");
}

// ---- Plain text ----

String MiniHTMLToPlainText(const String& Text) {
    String text = Text;
    for (StringView tag : {StringView(u"<BR>"), StringView(u"<HR>")}) {
        String upper = UpperAscii(text);
        String replaced;
        size_t from = 0;
        for (size_t at; (at = upper.find(tag, from)) != String::npos; from = at + tag.size()) {
            replaced.append(text, from, at - from);
            replaced.append(u"\r\n");
        }
        replaced.append(text, from);
        text = std::move(replaced);
    }
    String result;
    size_t i = 0;
    while (i < text.size()) {
        size_t open = text.find(u'<', i);
        if (open == String::npos) {
            result.append(text, i);
            break;
        }
        size_t close = text.find(u'>', open);
        if (close == String::npos) {
            result.append(text, i);
            break;
        }
        result.append(text, i, open - i);
        i = close + 1;
    }
    return result;
}

String StripHTMLTags(const String& Text) {
    String result;
    size_t i = 0;
    for (;;) {
        size_t open = Text.find(u'<', i);
        size_t close = Text.find(u'>', i);
        if (open == String::npos || close == String::npos || close < open)
            break;
        result.append(Text, i, open - i);
        i = close + 1;
    }
    result.append(Text, i);
    return result;
}

// ---- Search marks ----

namespace {

String UpperLocale(const String& text) {
    return AnsiUpperCase(text);
}

// The HTML path of MarkTextMatches: plain positions count a tag as nothing and an entity as one
// character; matches are marked without breaking tags.
String MarkHTMLMatches(const String& text, const String& compare, const String& search, const String& open,
                       const String& close) {
    std::vector<size_t> matches;
    for (size_t at = compare.find(search); at != String::npos; at = compare.find(search, at + search.size()))
        matches.push_back(at);
    if (matches.empty())
        return text;
    String result;
    size_t i = 0;     // position in text
    size_t plain = 0; // plain characters passed
    // Copies one markup item (a tag, an entity or a character) and tells whether it was a character.
    auto copyItem = [&](bool& closedFont) {
        closedFont = false;
        if (text[i] == u'<') {
            size_t end = text.find(u'>', i);
            end = end == String::npos ? text.size() : end + 1;
            StringView tag(text.data() + i, end - i);
            closedFont = UpperAscii(tag.substr(0, std::min<size_t>(tag.size(), 6))) == u"</FONT";
            result.append(tag);
            i = end;
            return false;
        }
        if (text[i] == u'&') {
            size_t end = text.find(u';', i);
            end = end == String::npos ? text.size() : end + 1;
            result.append(text, i, end - i);
            i = end;
            return true;
        }
        result += text[i++];
        return true;
    };
    bool closedFont = false;
    for (size_t match : matches) {
        while (i < text.size() && plain < match)
            if (copyItem(closedFont))
                ++plain;
        // Tags right before the match stay outside the mark.
        while (i < text.size() && text[i] == u'<')
            copyItem(closedFont);
        result += open;
        size_t end = match + search.size();
        while (i < text.size() && plain < end) {
            if (copyItem(closedFont))
                ++plain;
            else if (closedFont)
                result += close + open;
        }
        result += close;
    }
    result.append(text, i);
    return result;
}

} // namespace

String MarkTextMatches(const String& Text, const String& Search, const String& MarkName, bool FullText,
                       bool CaseSensitive) {
    String name = UpperAscii(MarkName);
    String open = u"<" + name + u">";
    String close = u"</" + name + u">";
    // Old marks come off as RemoveTextMarks takes them, so that a text left without markup is plain
    // again and is not encoded a second time below.
    String text = RemoveTextMarks(Text, MarkName);
    bool isHTML = text.find(u"</") != String::npos;
    String compare = isHTML ? DecodeHTMLEntities(StripHTMLTags(text), true) : text;
    String search = Search;
    if (!CaseSensitive) {
        compare = UpperLocale(compare);
        search = UpperLocale(search);
    }
    if (FullText) {
        if (compare != search)
            return text;
        return open + (isHTML ? text : EncodeHTMLEntities(text, true)) + close;
    }
    if (search.empty())
        return text;
    if (isHTML)
        return MarkHTMLMatches(text, compare, search, open, close);
    size_t at = compare.find(search);
    if (at == String::npos)
        return text;
    String result;
    size_t from = 0;
    for (; at != String::npos; at = compare.find(search, from)) {
        result += EncodeHTMLEntities(text.substr(from, at - from), false);
        result += open + EncodeHTMLEntities(text.substr(at, search.size()), false) + close;
        from = at + search.size();
    }
    result += EncodeHTMLEntities(text.substr(from), false);
    return result;
}

String RemoveTextMarks(const String& Text, const String& MarkName) {
    bool hadHTML = Text.find(u"</") != String::npos;
    String text = RemoveMarks(Text, UpperAscii(MarkName));
    // A whole-text mark encodes with the named entities, so they are decoded too.
    if (hadHTML && text.find(u"</") == String::npos)
        return DecodeHTMLEntities(text, true);
    return text;
}

// ---- Form controls ----

namespace {

// The value after NAME= in the upper-cased body: the text between the next two double quotes.
bool ControlAttribute(StringView body, StringView upperBody, StringView name, String& value) {
    String key = String(name) + u"=";
    size_t at = upperBody.find(key);
    if (at == StringView::npos)
        return false;
    size_t q1 = body.find(u'"', at + key.size());
    size_t q2 = q1 == StringView::npos ? q1 : body.find(u'"', q1 + 1);
    value = q2 == StringView::npos ? String() : String(body.substr(q1 + 1, q2 - q1 - 1));
    return true;
}

// Every control tag of a text: where its body starts (after "<CONTROL") and ends (before ">").
struct TControlSpan {
    size_t tagStart; // the "<"
    size_t bodyStart;
    size_t bodyEnd;
    size_t tagEnd; // after ">"
};

std::vector<TControlSpan> ControlSpans(const String& text) {
    std::vector<TControlSpan> spans;
    String upper = UpperAscii(text);
    for (size_t at = upper.find(u"<CONTROL "); at != String::npos; at = upper.find(u"<CONTROL ", at + 1)) {
        size_t close = text.find(u'>', at);
        size_t bodyEnd = close == String::npos ? text.size() : close;
        spans.push_back({at, at + 8, bodyEnd, close == String::npos ? text.size() : close + 1});
    }
    return spans;
}

const TControlSpan* FindControl(const String& text, const std::vector<TControlSpan>& spans, const String& id,
                                THTMLControlTag& tag) {
    for (const TControlSpan& span : spans) {
        tag = ParseControlTag(StringView(text).substr(span.bodyStart, span.bodyEnd - span.bodyStart));
        if (tag.id == id)
            return &span;
    }
    return nullptr;
}

} // namespace

THTMLControlTag ParseControlTag(StringView TagBody) {
    String upper = UpperAscii(TagBody);
    THTMLControlTag tag;
    ControlAttribute(TagBody, upper, u"TYPE", tag.type);
    tag.type = UpperAscii(tag.type);
    ControlAttribute(TagBody, upper, u"WIDTH", tag.width);
    tag.hasHeight = ControlAttribute(TagBody, upper, u"HEIGHT", tag.height);
    ControlAttribute(TagBody, upper, u"ID", tag.id);
    ControlAttribute(TagBody, upper, u"VALUE", tag.value);
    tag.value = DecodeHTMLEntities(tag.value, true);
    tag.hasProp = ControlAttribute(TagBody, upper, u"PROP", tag.prop);
    tag.prop = DecodeHTMLEntities(tag.prop, true);
    tag.hasMaxLen = ControlAttribute(TagBody, upper, u"MAXLEN", tag.maxLen);
    return tag;
}

bool ContainsControlTag(const String& Text) {
    return UpperAscii(Text).find(u"<CONTROL") != String::npos;
}

String NextEditableControlID(const String& Text, const String& AfterID) {
    bool passed = AfterID.empty();
    for (const TControlSpan& span : ControlSpans(Text)) {
        THTMLControlTag tag =
            ParseControlTag(StringView(Text).substr(span.bodyStart, span.bodyEnd - span.bodyStart));
        if (!passed) {
            passed = tag.id == AfterID;
            continue;
        }
        if (tag.type != u"BUTTON" && tag.type != u"CHECK" && tag.type != u"RADIO")
            return tag.id;
    }
    return String();
}

bool ReadControlValue(const String& Text, const String& ID, String& Value) {
    THTMLControlTag tag;
    if (FindControl(Text, ControlSpans(Text), ID, tag) == nullptr)
        return false;
    Value = tag.value;
    return true;
}

String ReadControlProp(const String& Text, const String& ID) {
    THTMLControlTag tag;
    return FindControl(Text, ControlSpans(Text), ID, tag) ? tag.prop : String();
}

Integer ReadControlMaxLen(const String& Text, const String& ID) {
    THTMLControlTag tag;
    if (FindControl(Text, ControlSpans(Text), ID, tag) == nullptr)
        return 0;
    // Leading digits only.
    Integer value = 0;
    for (Char c : tag.maxLen) {
        if (c < u'0' || c > u'9')
            break;
        value = value >= 100000000 ? 1000000000 : value * 10 + (c - u'0');
    }
    return value;
}

bool WriteControlValue(String& Text, const String& ID, const String& Value) {
    std::vector<TControlSpan> spans = ControlSpans(Text);
    THTMLControlTag tag;
    const TControlSpan* span = FindControl(Text, spans, ID, tag);
    if (span == nullptr)
        return false;
    const String q = u"\"";
    String body = u"CONTROL ID=" + q + ID + q + u" VALUE=" + q + EncodeHTMLEntities(Value, true) + q +
                  u" WIDTH=" + q + tag.width + q + u" TYPE=" + q + tag.type + q;
    if (tag.hasProp)
        body += u" PROP=" + q + EncodeHTMLEntities(tag.prop, true) + q;
    if (tag.hasMaxLen)
        body += u" MAXLEN=" + q + tag.maxLen + q;
    if (tag.hasHeight)
        body += u" HEIGHT=" + q + tag.height + q;
    body += u">";
    Text.replace(span->tagStart + 1, span->tagEnd - span->tagStart - 1, body);
    return true;
}

String UncheckAllRadioControls(const String& Text) {
    String text = Text;
    std::vector<String> ids;
    for (const TControlSpan& span : ControlSpans(Text)) {
        THTMLControlTag tag =
            ParseControlTag(StringView(Text).substr(span.bodyStart, span.bodyEnd - span.bodyStart));
        if (tag.type == u"RADIO")
            ids.push_back(tag.id);
    }
    for (const String& id : ids)
        WriteControlValue(text, id, u"FALSE");
    return text;
}
