// Format: walks the pattern in the framework's syntax and converts each typed argument itself.
#include "platform/rtl/Format.h"

#include <limits>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"

namespace {

// One conversion of a pattern: what the text between '%' and the type character asked for.
struct Spec {
    bool leftJustify = false;
    Integer width = 0;      // 0 when not given; a negative width from '*' pads nothing
    Integer precision = -1; // -1 when not given; a negative precision from '*' counts as not given
    Char type = 0;          // upper case
};

class Formatter {
public:
    Formatter(StringView format, std::span<const TVarRec> args, const TFormatSettings& settings)
        : FFormat(format), FArgs(args), FSettings(settings) {}

    String Run();

private:
    [[noreturn]] void InvalidFormat() const { throw EConvertError(Consts::SInvalidFormat, {FFormat}); }
    [[noreturn]] void ArgumentMissing() const { throw EConvertError(Consts::SArgumentMissing, {FFormat}); }

    const TVarRec& NextArgument() {
        if (FArgIndex >= FArgs.size())
            ArgumentMissing();
        return FArgs[FArgIndex++];
    }
    bool AtEnd() const { return FPos >= FFormat.size(); }
    Char Peek() const { return AtEnd() ? Char(0) : FFormat[FPos]; }
    // Digits or '*' (the next argument, which must be an Integer); false when neither is there.
    bool ParseNumber(Integer& number);
    void ParseSpec(Spec& spec);
    String Convert(const Spec& spec, const TVarRec& arg) const;
    String ConvertInteger(const Spec& spec, const TVarRec& arg) const;
    String ConvertFloat(const Spec& spec, const TVarRec& arg) const;
    String ConvertString(const Spec& spec, const TVarRec& arg) const;

    StringView FFormat;
    std::span<const TVarRec> FArgs;
    const TFormatSettings& FSettings;
    size_t FPos = 0;
    size_t FArgIndex = 0;
};

bool ParseDigits(StringView text, size_t& pos, Integer& number) {
    if (pos >= text.size() || text[pos] < u'0' || text[pos] > u'9')
        return false;
    Int64 value = 0;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
        value = value * 10 + (text[pos] - u'0');
        if (value > std::numeric_limits<Integer>::max())
            return false;
        ++pos;
    }
    number = static_cast<Integer>(value);
    return true;
}

} // namespace

bool Formatter::ParseNumber(Integer& number) {
    if (Peek() == u'*') {
        ++FPos;
        const TVarRec& arg = NextArgument();
        if (arg.kind != TVarRec::Kind::Integer)
            InvalidFormat();
        number = static_cast<Integer>(arg.intValue);
        return true;
    }
    if (Peek() < u'0' || Peek() > u'9')
        return false;
    // An index, width or precision too large for an Integer is a broken pattern, not a huge allocation.
    if (!ParseDigits(FFormat, FPos, number))
        InvalidFormat();
    return true;
}

void Formatter::ParseSpec(Spec& spec) {
    Integer number = 0;
    bool haveNumber = ParseNumber(number);
    if (haveNumber && Peek() == u':') {
        ++FPos;
        if (number < 0)
            InvalidFormat();
        FArgIndex = static_cast<size_t>(number);
        haveNumber = false;
    }
    if (!haveNumber) {
        if (Peek() == u'-') {
            spec.leftJustify = true;
            ++FPos;
        }
        haveNumber = ParseNumber(number);
    }
    if (haveNumber)
        spec.width = number;
    if (Peek() == u'.') {
        ++FPos;
        Integer precision = 0;
        ParseNumber(precision);
        spec.precision = precision < 0 ? -1 : precision;
    }
    if (AtEnd())
        InvalidFormat();
    Char type = FFormat[FPos++];
    if (type >= u'a' && type <= u'z')
        type = static_cast<Char>(type - 32);
    if (StringView(u"DUXEFGNMPS").find(type) == StringView::npos)
        InvalidFormat();
    spec.type = type;
}

String Formatter::ConvertInteger(const Spec& spec, const TVarRec& arg) const {
    if (arg.kind != TVarRec::Kind::Integer && arg.kind != TVarRec::Kind::Int64)
        InvalidFormat();
    const bool is32 = arg.kind == TVarRec::Kind::Integer;
    // u and x read an Integer as its 32 bits and an Int64 as its 64 bits.
    const UInt64 bits = is32 ? static_cast<Cardinal>(arg.intValue) : static_cast<UInt64>(arg.intValue);
    const bool negative = spec.type == u'D' && arg.intValue < 0;
    String digits;
    if (spec.type == u'X')
        digits = IntToHex(bits, 1);
    else if (spec.type == u'U' || !negative)
        digits = IntToStr(bits);
    else
        digits = IntToStr(0 - static_cast<UInt64>(arg.intValue));
    if (spec.precision > Length(digits))
        digits.insert(0, static_cast<size_t>(spec.precision - Length(digits)), u'0');
    if (negative)
        digits.insert(0, 1, u'-');
    return digits;
}

String Formatter::ConvertFloat(const Spec& spec, const TVarRec& arg) const {
    if (arg.kind != TVarRec::Kind::Extended)
        InvalidFormat();
    const double value = arg.floatValue;
    const Integer precision = spec.precision;
    switch (spec.type) {
    case u'E':
        return FloatToStrF(value, ffExponent, precision < 0 ? 15 : precision, 3, FSettings);
    case u'F':
        return FloatToStrF(value, ffFixed, 18, precision < 0 ? 2 : precision, FSettings);
    case u'G':
        return FloatToStrF(value, ffGeneral, precision < 0 ? 15 : precision, 3, FSettings);
    case u'N':
        return FloatToStrF(value, ffNumber, 18, precision < 0 ? 2 : precision, FSettings);
    default: // 'M'
        return FloatToStrF(value, ffCurrency, 18, precision < 0 ? FSettings.CurrencyDecimals : precision,
                           FSettings);
    }
}

String Formatter::ConvertString(const Spec& spec, const TVarRec& arg) const {
    String text;
    switch (arg.kind) {
    case TVarRec::Kind::String:
        text = arg.stringValue;
        break;
    case TVarRec::Kind::Char:
        text.assign(1, static_cast<Char>(arg.intValue));
        break;
    case TVarRec::Kind::AnsiChar: {
        const char byte = static_cast<char>(arg.intValue);
        text = AnsiToString(std::string_view(&byte, 1));
        break;
    }
    default:
        InvalidFormat();
    }
    if (spec.precision >= 0 && spec.precision < Length(text))
        text.resize(static_cast<size_t>(spec.precision));
    return text;
}

String Formatter::Convert(const Spec& spec, const TVarRec& arg) const {
    switch (spec.type) {
    case u'D':
    case u'U':
    case u'X':
        return ConvertInteger(spec, arg);
    case u'E':
    case u'F':
    case u'G':
    case u'N':
    case u'M':
        return ConvertFloat(spec, arg);
    case u'S':
        return ConvertString(spec, arg);
    case u'P':
        if (arg.kind != TVarRec::Kind::Pointer)
            InvalidFormat();
        return IntToHex(static_cast<UInt64>(reinterpret_cast<std::uintptr_t>(arg.pointerValue)),
                        static_cast<Integer>(sizeof(void*) * 2));
    default:
        InvalidFormat();
    }
}

String Formatter::Run() {
    String out;
    out.reserve(FFormat.size() + 16);
    while (!AtEnd()) {
        const size_t percent = FFormat.find(u'%', FPos);
        if (percent == StringView::npos) {
            out.append(FFormat.substr(FPos));
            break;
        }
        out.append(FFormat.substr(FPos, percent - FPos));
        FPos = percent + 1;
        if (Peek() == u'%') {
            out.push_back(u'%');
            ++FPos;
            continue;
        }
        Spec spec;
        ParseSpec(spec);
        String text = Convert(spec, NextArgument());
        const Integer padding = spec.width - Length(text);
        if (padding > 0 && !spec.leftJustify)
            out.append(static_cast<size_t>(padding), u' ');
        out.append(text);
        if (padding > 0 && spec.leftJustify)
            out.append(static_cast<size_t>(padding), u' ');
    }
    return out;
}

String Format(StringView format, std::initializer_list<TVarRec> args) {
    return Format(format, std::span<const TVarRec>(args.begin(), args.size()), FormatSettings);
}

String Format(StringView format, std::initializer_list<TVarRec> args, const TFormatSettings& settings) {
    return Format(format, std::span<const TVarRec>(args.begin(), args.size()), settings);
}

String Format(StringView format, std::span<const TVarRec> args, const TFormatSettings& settings) {
    return Formatter(format, args, settings).Run();
}
