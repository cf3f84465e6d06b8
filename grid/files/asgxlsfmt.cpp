// The spreadsheet number-format renderer: section choice, then a scan of the chosen section by small
// renderers, each taking what it recognises at the current position.
#include "grid/files/asgxlsfmt.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysStrings.h"

namespace {

const String kNoSection(19, u'#');

enum class Comparison { None, Less, LessEqual, NotEqual, Equal, Greater, GreaterEqual };

struct Section {
    String text;
    Comparison comparison = Comparison::None;
    double bound = 0;
    bool holds = false; // the condition holds for the value
};

bool IsLessKind(Comparison c) {
    return c == Comparison::Less || c == Comparison::LessEqual || c == Comparison::NotEqual;
}

bool IsGreaterKind(Comparison c) {
    return c == Comparison::Greater || c == Comparison::GreaterEqual;
}

// A bracket's text (without its brackets) as a condition; false when it is none.
bool ParseCondition(StringView inside, Comparison& comparison, double& bound) {
    static const std::pair<StringView, Comparison> kOperators[] = {
        {u"<=", Comparison::LessEqual}, {u"<>", Comparison::NotEqual}, {u">=", Comparison::GreaterEqual},
        {u"<", Comparison::Less},       {u"=", Comparison::Equal},     {u">", Comparison::Greater}};
    for (const auto& [text, kind] : kOperators) {
        if (inside.substr(0, text.size()) != text)
            continue;
        TFormatSettings point = DefaultFormatSettings();
        point.DecimalSeparator = u'.';
        Extended value = 0;
        if (!TryStrToFloat(inside.substr(text.size()), value, point))
            return false;
        comparison = kind;
        bound = value;
        return true;
    }
    return false;
}

bool Holds(Comparison comparison, double x, double bound) {
    switch (comparison) {
    case Comparison::Less:
        return x < bound;
    case Comparison::LessEqual:
        return x <= bound;
    case Comparison::NotEqual:
        return x != bound;
    case Comparison::Equal:
        return x == bound;
    case Comparison::Greater:
        return x > bound;
    case Comparison::GreaterEqual:
        return x >= bound;
    case Comparison::None:
        break;
    }
    return false;
}

// At most four sections, split at ";" outside quotes, escapes and brackets; each bracket is examined as a
// condition on x.
std::vector<Section> SplitSections(const String& format, double x) {
    std::vector<Section> sections(1);
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        const Char c = format[i];
        Section& current = sections.back();
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted) {
        } else if (c == u'\\') {
            current.text += c;
            if (++i < format.size())
                current.text += format[i];
            continue;
        } else if (c == u'[') {
            const size_t end = format.find(u']', i);
            const size_t stop = end == String::npos ? format.size() : end + 1;
            Comparison comparison = Comparison::None;
            double bound = 0;
            if (end != String::npos &&
                ParseCondition(StringView(format).substr(i + 1, end - i - 1), comparison, bound)) {
                current.comparison = comparison;
                current.bound = bound;
                current.holds = Holds(comparison, x, bound);
            }
            current.text.append(format, i, stop - i);
            i = stop - 1;
            continue;
        } else if (c == u';') {
            if (sections.size() == 4)
                break;
            sections.emplace_back();
            continue;
        }
        current.text += c;
    }
    return sections;
}

// The section for x (an index, possibly beyond the sections present) and whether its minus sign goes.
size_t ChooseSection(const std::vector<Section>& sections, double x, bool& dropSign) {
    dropSign = false;
    for (size_t i = 0; i < sections.size(); ++i)
        if (sections[i].comparison != Comparison::None && sections[i].holds) {
            const Section& s = sections[i];
            dropSign = s.comparison == Comparison::Equal || (IsLessKind(s.comparison) && s.bound <= 0);
            return i;
        }
    const size_t count = sections.size();
    const bool firstConditional = sections[0].comparison != Comparison::None;
    if (firstConditional || (x <= 0 && count >= 2 && (x != 0 || count >= 3))) {
        const bool secondPlain = count >= 2 && sections[1].comparison == Comparison::None;
        if ((count < 2 || secondPlain) && (x < 0 || count <= 2)) {
            dropSign = true;
            if (count == 2 && firstConditional) {
                const Section& first = sections[0];
                dropSign =
                    IsLessKind(first.comparison) || (IsGreaterKind(first.comparison) && first.bound <= 0);
            }
            return 1;
        }
        return count >= 3 && sections[2].comparison != Comparison::None ? 3 : 2;
    }
    return 0;
}

struct ColorWord {
    StringView name;
    TColor color;
};

constexpr ColorWord kColorWords[] = {{u"Black", 0x000000}, {u"Blue", 0xFF0000},    {u"Cyan", 0xFFFF00},
                                     {u"Green", 0x008000}, {u"Magenta", 0xFF00FF}, {u"Red", 0x0000FF},
                                     {u"White", 0xFFFFFF}, {u"Yellow", 0x00FFFF}};

// A colour word opening the section: its colour, and p past it.
bool ReadColorWord(const String& section, size_t& p, TColor& color) {
    if (section.empty() || section[0] != u'[')
        return false;
    const size_t end = section.find(u']');
    if (end == String::npos)
        return false;
    const StringView word = StringView(section).substr(1, end - 1);
    for (const ColorWord& entry : kColorWords)
        if (entry.name == word) {
            color = entry.color;
            p = end + 1;
            return true;
        }
    return false;
}

bool IsHexDigit(Char c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

Char Upper(Char c) {
    return c >= u'a' && c <= u'z' ? Char(c - 32) : c;
}

// What renders one section: the value, the settings and what the codes found.
class SectionRenderer {
public:
    SectionRenderer(const String& section, double value, double dateValue, bool dropSign,
                    const TFormatSettings& dateSettings, bool& hasDate, bool& hasTime)
        : FSection(section), FValue(value), FDateValue(dateValue), FDropSign(dropSign),
          FDateSettings(dateSettings), FHasDate(hasDate), FHasTime(hasTime) {}

    // "[$" currency "-" locale "]": the currency text.
    bool LocaleBracket() {
        if (!At(u"[$"))
            return false;
        const size_t dash = FSection.find(u'-', FP + 2);
        if (dash == String::npos)
            return false;
        size_t q = dash + 1;
        while (q < FSection.size() && q - dash - 1 < 4 && IsHexDigit(FSection[q]))
            ++q;
        if (q >= FSection.size() || FSection[q] != u']')
            return false;
        FResult.append(FSection, FP + 2, dash - FP - 2);
        FP = q + 1;
        return true;
    }

    // "[h]", "[mm]", "[ss]": the value as elapsed hours, minutes or seconds.
    bool ElapsedBracket() {
        if (!At(u"["))
            return false;
        const size_t end = FSection.find(u']', FP);
        if (end == String::npos || end == FP + 1)
            return false;
        const Char kind = Upper(FSection[FP + 1]);
        if (kind != u'H' && kind != u'M' && kind != u'S')
            return false;
        for (size_t q = FP + 1; q < end; ++q)
            if (Upper(FSection[q]) != kind)
                return false;
        const double scale = kind == u'H' ? 24 : kind == u'M' ? 1440 : 86400;
        const double elapsed = std::trunc(FValue * scale);
        String digits = FloatToStrF(std::fabs(elapsed), ffFixed, 18, 0);
        while (digits.size() < end - FP - 1)
            digits.insert(digits.begin(), u'0');
        FResult += (elapsed < 0 ? u"-" : u"") + digits;
        FAfterHour = kind == u'H';
        FHasTime = true;
        FP = end + 1;
        return true;
    }

    // "[$text-...]" or "[$text]" appends the text; any other bracket is skipped.
    bool OtherBracket() {
        if (!At(u"["))
            return false;
        const size_t end = FSection.find(u']', FP);
        const size_t stop = end == String::npos ? FSection.size() : end;
        if (At(u"[$")) {
            size_t q = FP + 2;
            while (q < stop && FSection[q] != u'-')
                ++q;
            FResult.append(FSection, FP + 2, q - FP - 2);
        }
        FP = end == String::npos ? FSection.size() : end + 1;
        return true;
    }

    bool Literal() {
        if (FP >= FSection.size())
            return false;
        const Char c = FSection[FP];
        if (c == u' ' || StringView(u"!$&'()<=>^{}~\u00B4").find(c) != StringView::npos) {
            FResult += c;
            ++FP;
        } else if (c == u'\\' || c == u'*') {
            if (FP + 1 < FSection.size())
                FResult += FSection[FP + 1];
            FP += 2;
        } else if (c == u'_') {
            FResult += u' ';
            FP += 2;
        } else if (c == u'"') {
            const size_t end = FSection.find(u'"', FP + 1);
            const size_t stop = end == String::npos ? FSection.size() : end;
            FResult.append(FSection, FP + 1, stop - FP - 1);
            FP = end == String::npos ? FSection.size() : end + 1;
        } else {
            return false;
        }
        FP = std::min(FP, FSection.size());
        return true;
    }

    bool AtSign(const String& text) {
        if (!At(u"@"))
            return false;
        FResult += text;
        ++FP;
        return true;
    }

    bool DateCodes() {
        static constexpr StringView kCodes = u"./:ACDHMNPQSTWY";
        String mask;
        size_t q = FP;
        while (q < FSection.size()) {
            const Char c = FSection[q];
            if (c == u'\\' && q + 1 < FSection.size()) {
                mask += u'"';
                mask += FSection[q + 1];
                mask += u'"';
                q += 2;
                continue;
            }
            const Char upper = Upper(c);
            if (kCodes.find(upper) == StringView::npos)
                break;
            if (SameText(StringView(FSection).substr(q, 5), u"AM/PM")) {
                mask += u"ampm";
                q += 5;
                continue;
            }
            if (upper == u'M') {
                size_t end = q;
                while (end < FSection.size() && Upper(FSection[end]) == u'M')
                    ++end;
                if (FAfterHour) {
                    mask.append(end - q, u'n');
                    FHasTime = true;
                    FAfterHour = false;
                } else {
                    mask.append(end - q, u'm');
                    FHasDate = true;
                }
                q = end;
                continue;
            }
            if (upper == u'H') {
                FAfterHour = true;
                FHasTime = true;
            } else if (upper == u'N' || upper == u'S') {
                FHasTime = true;
            } else if (upper == u'D' || upper == u'C' || upper == u'Y') {
                FHasDate = true;
                FAfterHour = false;
            }
            mask += upper == u'A' || upper == u'P' ? c : Char(c | 0x20);
            ++q;
        }
        if (q == FP)
            return false;
        FP = q;
        double dateValue = FDateValue;
        // "h:mm AM/PM" is collected as two runs; the hour of the first still follows the marker's
        // 12-hour clock.
        if (mask.find(u'h') != String::npos && mask.find(u"ampm") == String::npos && AmPmFollows(q))
            dateValue = TwelveHourClock(dateValue);
        try {
            TFormatSettings settings = FDateSettings;
            if (settings.TimeAMString.empty())
                settings.TimeAMString = u"AM";
            if (settings.TimePMString.empty())
                settings.TimePMString = u"PM";
            FResult += FormatDateTime(mask, dateValue, settings);
        } catch (const Exception&) {
            FResult += u"##";
        }
        return true;
    }

    bool NumberMask() {
        static constexpr StringView kMaskChars = u" \"#%*+,-.0?E\\e";
        String mask;
        double value = FValue;
        size_t q = FP;
        while (q < FSection.size() && kMaskChars.find(FSection[q]) != StringView::npos) {
            const Char c = FSection[q];
            if (c == u'%') {
                value *= 100;
                mask += u"\"%\"";
                ++q;
            } else if (c == u'?') {
                mask += u'#';
                ++q;
            } else if (c == u'\\' || c == u'*') {
                if (q + 1 < FSection.size()) {
                    mask += u'"';
                    mask += FSection[q + 1];
                    mask += u'"';
                }
                q += 2;
            } else if (c == u'"') {
                const size_t end = FSection.find(u'"', q + 1);
                const size_t stop = end == String::npos ? FSection.size() : end;
                String quoted = FSection.substr(q + 1, stop - q - 1);
                quoted.erase(std::remove(quoted.begin(), quoted.end(), u'\\'), quoted.end());
                mask += u'"' + quoted + u'"';
                q = end == String::npos ? FSection.size() : end + 1;
            } else {
                mask += c;
                ++q;
            }
        }
        if (q == FP)
            return false;
        FP = std::min(q, FSection.size());
        if (FDropSign && value < 0)
            value = -value;
        FResult += FormatFloat(mask, value);
        return true;
    }

    // original is the value as given, whose plain text stands in for a section the renderers cannot read.
    String Render(const Variant& original) {
        while (FP < FSection.size()) {
            const size_t before = FP;
            LocaleBracket();
            ElapsedBracket();
            OtherBracket();
            Literal();
            DateCodes();
            NumberMask();
            if (FP == before)
                return FDropSign && FValue < 0 ? FloatToStr(-FValue) : VarToStr(original);
        }
        return FResult;
    }

    String RenderText(const String& text) {
        while (FP < FSection.size()) {
            const size_t before = FP;
            LocaleBracket();
            OtherBracket();
            Literal();
            AtSign(text);
            if (FP == before)
                return text;
        }
        return FResult;
    }

    size_t& Position() { return FP; }

private:
    bool At(StringView text) const { return StringView(FSection).substr(FP, text.size()) == text; }

    // Whether an AM/PM or A/P marker comes later in the section, before another hour code.
    bool AmPmFollows(size_t from) const {
        bool quoted = false;
        for (size_t q = from; q < FSection.size(); ++q) {
            const Char c = Upper(FSection[q]);
            if (c == u'"')
                quoted = !quoted;
            else if (quoted)
                continue;
            else if (c == u'H')
                return false;
            else if (c == u'A' && (SameText(StringView(FSection).substr(q, 5), u"AM/PM") ||
                                   SameText(StringView(FSection).substr(q, 3), u"A/P")))
                return true;
        }
        return false;
    }

    // The same moment with its hour on the 12-hour clock: 13:00 shows as 1:00 and 0:30 as 12:30.
    static double TwelveHourClock(double value) {
        const double time = value - std::floor(value);
        if (time >= 0.5 + 1.0 / 24)
            return value - 0.5;
        if (time < 1.0 / 24)
            return value + 0.5;
        return value;
    }

    const String& FSection;
    double FValue;
    double FDateValue;
    bool FDropSign;
    const TFormatSettings& FDateSettings;
    bool& FHasDate;
    bool& FHasTime;
    size_t FP = 0;
    bool FAfterHour = false; // an hour code came last: the next run of M letters is minutes
    String FResult;
};

bool IsNumeric(TVarType type) {
    switch (type) {
    case varSmallint:
    case varInteger:
    case varDouble:
    case varCurrency:
    case varDate:
    case varInt64:
        return true;
    default:
        return false;
    }
}

String RenderNumber(const Variant& V, const String& Format, bool Dates1904, const TFormatSettings& settings,
                    bool& HasDate, bool& HasTime, TColor& Color) {
    const double x = V.AsDouble();
    const std::vector<Section> sections = SplitSections(Format, x);
    bool dropSign = false;
    const size_t chosen = ChooseSection(sections, x, dropSign);
    if (chosen >= sections.size())
        return kNoSection;
    if (V.VarType() == varDate && x < 0)
        return kNoSection;
    const String& section = sections[chosen].text;
    const double dateValue = Dates1904 ? x + 1462 : x;
    const String upper = UpperCase(section);
    if (upper.find(u"[$-F800]") != String::npos) {
        HasDate = true;
        return FormatDateTime(settings.LongDateFormat, dateValue, settings);
    }
    if (upper.find(u"[$-F400]") != String::npos) {
        HasTime = true;
        return FormatDateTime(settings.LongTimeFormat, dateValue, settings);
    }
    SectionRenderer renderer(section, x, dateValue, dropSign, settings, HasDate, HasTime);
    ReadColorWord(section, renderer.Position(), Color);
    return renderer.Render(V);
}

String RenderText(const String& text, const String& Format, const TFormatSettings& settings, TColor& Color) {
    const std::vector<Section> sections = SplitSections(Format, 0);
    const String& section = sections.size() > 3 ? sections[3].text : sections[0].text;
    bool hasDate = false;
    bool hasTime = false;
    SectionRenderer renderer(section, 0, 0, false, settings, hasDate, hasTime);
    if (section.find(u'@') == String::npos) {
        // Without a placeholder the text shows as it is, in the colour of a colour word alone.
        size_t p = 0;
        TColor color = Color;
        if (ReadColorWord(section, p, color)) {
            const String rest = UpperCase(StringView(section).substr(p));
            if (rest.empty() || rest == u"GENERAL")
                Color = color;
        }
        return text;
    }
    ReadColorWord(section, renderer.Position(), Color);
    return renderer.RenderText(text);
}

} // namespace

void XlsFormatValueFull(const Variant& V, const String& Format, bool Dates1904, String& Result,
                        const TFormatSettings* Settings, bool& HasDate, bool& HasTime, TColor& Color) {
    HasDate = false;
    HasTime = false;
    const TFormatSettings& settings = Settings ? *Settings : FormatSettings;
    const TVarType type = V.VarType();
    if (V.IsEmpty() || V.IsNull())
        Result.clear();
    else if (Format.empty())
        Result = VarToStr(V);
    else if (IsNumeric(type))
        Result = RenderNumber(V, Format, Dates1904, settings, HasDate, HasTime, Color);
    else if (type == varUString)
        Result = RenderText(V.AsStringRef(), Format, settings, Color);
    else if (type == varBoolean)
        Result = V.AsBoolean() ? u"TRUE" : u"FALSE";
    else
        Result = VarToStr(V);
}

void XlsFormatValue(const Variant& V, const String& Format, String& Result) {
    bool hasDate = false;
    bool hasTime = false;
    TColor color = 0;
    XlsFormatValueFull(V, Format, false, Result, nullptr, hasDate, hasTime, color);
}
