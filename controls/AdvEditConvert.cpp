// The typed edit's conversions between texts and numbers, and its name casing.
#include "controls/AdvEdit.h"

#include <cstdint>

#include "platform/rtl/Convert.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/Trace.h"

TNumericTextKind NumericTextKind(StringView text) {
    if (text.empty())
        return TNumericTextKind::Other;
    const Char ds = FormatSettings.DecimalSeparator;
    const Char ts = FormatSettings.ThousandSeparator;
    bool hex = true, integer = true, decimal = true;
    int minus = 0, separators = 0;
    std::ptrdiff_t lastThousand = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        Char c = text[i];
        bool digit = c >= u'0' && c <= u'9';
        if (c == u'-')
            ++minus;
        else if (c == ds)
            ++separators;
        if (!(c == u'-' || digit || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f')))
            hex = false;
        if (c != u'-' && !digit)
            integer = false;
        if (c != u'-' && !digit && c != ds) {
            if (c != ts || i == 0 ||
                (lastThousand >= 0 && static_cast<std::ptrdiff_t>(i) - lastThousand <= 2))
                decimal = false;
            if (c == ts)
                lastThousand = static_cast<std::ptrdiff_t>(i);
        }
    }
    if (minus > 1 || separators > 1)
        return TNumericTextKind::Other;
    if (integer)
        return TNumericTextKind::Integer;
    if (decimal)
        return TNumericTextKind::Decimal;
    if (hex)
        return TNumericTextKind::Hexadecimal;
    return TNumericTextKind::Other;
}

String StripThousandSeparators(StringView text) {
    String result;
    for (Char c : text)
        if (c != FormatSettings.ThousandSeparator)
            result += c;
    return result;
}

double TextToFloatValue(StringView text) {
    Extended value = 0;
    if (!TryStrToFloat(StripThousandSeparators(text), value, FormatSettings))
        return 0;
    return static_cast<double>(value);
}

Integer HexTextToInt(StringView text) {
    std::uint32_t result = 0, weight = 1;
    for (std::size_t i = text.size(); i-- > 0;) {
        Char c = text[i];
        std::uint32_t digit = 0;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        result += digit * weight;
        weight *= 16;
    }
    return static_cast<Integer>(result);
}

String NameCase(StringView text) {
    static const String separators = u" ,.-'\\/:*$()\"";
    String s(text);
    const std::size_t length = s.size();
    bool capitalise = true;
    for (std::size_t i = 0; i < length; ++i) {
        if (separators.find(s[i]) != String::npos) {
            capitalise = true;
        } else if (capitalise) {
            s[i] = AnsiUpperCase(StringView(&s[i], 1))[0];
            capitalise = false;
        } else {
            s[i] = AnsiLowerCase(StringView(&s[i], 1))[0];
        }
        // Position n counts from 1 here, as the rules for Mc, Mac and the roman numerals are written.
        std::size_t n = i + 1;
        StringView done(s.data(), n);
        if (done == u"Mc" || done == u"Mac")
            capitalise = true;
        std::size_t mc = s.find(u" Mc");
        if (mc != String::npos && mc + 3 == n && n > 2)
            capitalise = true;
        if (n + 3 > length) {
            if (n >= 2 && StringView(s.data() + n - 2, 2) == u" I")
                capitalise = true;
            if (n >= 3 && StringView(s.data() + n - 3, 3) == u" II")
                capitalise = true;
        }
    }
    return s;
}

// ---- Range lists ----

namespace {
const Trace::Channel TraceEdit("edit");
} // namespace

void TRangeList::Notify(void* item, TListNotification action) {
    const auto value = static_cast<Integer>(reinterpret_cast<NativeInt>(item));
    if (action == lnAdded) {
        ++FCounts[value];
    } else if (auto it = FCounts.find(value); it != FCounts.end() && --it->second == 0) {
        FCounts.erase(it);
    }
    TList::Notify(item, action);
}

bool TRangeList::InList(Integer value) const {
    // A zero is a null item, which the list does not report.
    if (value == 0)
        return IndexOf(nullptr) >= 0;
    return FCounts.contains(value);
}

void TRangeList::Add(Integer value) {
    if (!InList(value))
        TList::Add(reinterpret_cast<void*>(NativeInt{value}));
}

void TRangeList::AddMultiple(Integer value, Integer count) {
    for (Integer i = 0; i < count; ++i)
        Add(value + i);
}

bool TRangeList::StrToList(const String& text) {
    Clear();
    bool ok = true;
    Int64 expanded = 0;
    StringView rest = text;
    while (!rest.empty()) {
        std::size_t end = rest.find_first_of(u",;");
        StringView item = rest.substr(0, end);
        rest = end == StringView::npos ? StringView() : rest.substr(end + 1);
        std::size_t dash = item.find(u'-');
        if (dash == StringView::npos) {
            Integer value = 0;
            if (!TryStrToInt(item, value)) {
                ok = false;
                continue;
            }
            if (++expanded > MaxRangeValues)
                return false;
            Add(value);
            continue;
        }
        Integer first = 0, last = 0;
        const bool firstRead = TryStrToInt(item.substr(0, dash), first);
        const bool lastRead = TryStrToInt(item.substr(dash + 1), last);
        if (!firstRead || !lastRead) {
            ok = false;
            continue;
        }
        if (last < first)
            continue;
        // A range is expanded value by value: a huge one would exhaust the memory.
        expanded += Int64{last} - first + 1;
        if (expanded > MaxRangeValues)
            return false;
        for (Int64 v = first; v <= last; ++v)
            Add(static_cast<Integer>(v));
    }
    return ok;
}

void TRangeList::Show() const {
    for (Integer i = 0; i < Count(); ++i)
        ZTRACE(TraceEdit, "%d", Items(i));
}

bool TAdvEdit::RangeStrToList(TRangeList& list) {
    return list.StrToList(Text());
}

void TAdvEdit::ListToRangeStr(TRangeList& list) {
    list.Sort([](void* a, void* b) {
        auto ua = static_cast<std::uint32_t>(reinterpret_cast<NativeInt>(a));
        auto ub = static_cast<std::uint32_t>(reinterpret_cast<NativeInt>(b));
        return ua < ub ? -1 : ua > ub ? 1 : 0;
    });
    String text;
    Integer i = 0;
    const Integer n = list.Count();
    while (i < n) {
        Integer j = i;
        while (j + 1 < n &&
               static_cast<std::uint32_t>(list.Items(j + 1)) == static_cast<std::uint32_t>(list.Items(j)) + 1)
            ++j;
        if (!text.empty())
            text += u',';
        text += IntToStr(list.Items(i));
        if (j > i)
            text += u'-' + IntToStr(list.Items(j));
        i = j + 1;
    }
    SetWindowText(text);
}
