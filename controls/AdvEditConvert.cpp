// The typed edit's conversions between texts and numbers, and its name casing.
#include "controls/AdvEdit.h"

#include "platform/rtl/Convert.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysStrings.h"

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
