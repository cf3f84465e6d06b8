// TParser: tokens of text form descriptions.
#include "platform/framework/Parser.h"

#include <charconv>
#include <string>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"

namespace {

bool IsLetter(Char c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c >= 0x80;
}

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

bool IsHexDigit(Char c) {
    return IsDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

int HexValue(Char c) {
    if (IsDigit(c))
        return c - u'0';
    if (c >= u'a')
        return c - u'a' + 10;
    return c - u'A' + 10;
}

} // namespace

TParser::TParser(TStream& stream) {
    Int64 remaining = stream.Size() - stream.Position();
    std::string bytes(static_cast<std::size_t>(remaining > 0 ? remaining : 0), '\0');
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    FText = Utf8ToString(bytes);
    NextToken();
}

void TParser::Error(const String& message) {
    throw EParserError(Format(Consts::SParseError, {message, FTokenLine}), FTokenLine, FTokenColumn,
                       TokenString());
}

void TParser::CheckToken(Char t) {
    if (FToken == t)
        return;
    switch (t) {
    case toSymbol:
        Error(Consts::SIdentifierExpected);
    case toString:
    case toWString:
        Error(Consts::SStringExpected);
    case toInteger:
    case toFloat:
        Error(Consts::SNumberExpected);
    default:
        Error(Format(Consts::SCharExpected, {t}));
    }
}

void TParser::CheckTokenSymbol(StringView symbol) {
    if (!TokenSymbolIs(symbol))
        Error(Format(Consts::SSymbolExpected, {symbol}));
}

bool TParser::TokenSymbolIs(StringView symbol) const {
    return FToken == toSymbol && SameText(TokenString(), symbol);
}

String TParser::TokenString() const {
    if (FToken == toString || FToken == toWString)
        return FTokenText;
    return FText.substr(FTokenStart, FPos - FTokenStart);
}

String TParser::TokenComponentIdent() {
    CheckToken(toSymbol);
    while (Peek() == u'.' && IsLetter(Peek(1))) {
        ++FPos;
        while (IsLetter(Peek()) || IsDigit(Peek()))
            ++FPos;
    }
    return TokenString();
}

Int64 TParser::TokenInt() const {
    String text = TokenString();
    Int64 value;
    if (!TryStrToInt64(text, value))
        const_cast<TParser*>(this)->Error(Format(Consts::SInvalidInteger, {text}));
    return value;
}

Extended TParser::TokenFloat() const {
    String text = TokenString();
    if (FFloatType != 0)
        text.pop_back();
    std::string ascii = StringToUtf8(text);
    double value = 0;
    auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size())
        const_cast<TParser*>(this)->Error(Format(Consts::SInvalidFloat, {text}));
    return value;
}

void TParser::SkipBlanks() {
    while (FPos < FText.size()) {
        Char c = FText[FPos];
        if (c == u'\n') {
            ++FLine;
            FLineStart = FPos + 1;
        } else if (c > u' ') {
            return;
        }
        ++FPos;
    }
}

Char TParser::NextToken() {
    SkipBlanks();
    FTokenStart = FPos;
    FTokenLine = FLine;
    FTokenColumn = static_cast<Integer>(FPos - FLineStart) + 1;
    FFloatType = 0;
    FTokenText.clear();
    if (FPos >= FText.size()) {
        FToken = toEOF;
        return FToken;
    }
    Char c = FText[FPos];
    if (IsLetter(c)) {
        while (IsLetter(Peek()) || IsDigit(Peek()))
            ++FPos;
        FToken = toSymbol;
    } else if (c == u'#' || c == u'\'') {
        bool wide = false;
        for (;;) {
            if (Peek() == u'#') {
                ++FPos;
                UInt64 code = 0;
                bool any = false;
                if (Peek() == u'$') {
                    ++FPos;
                    while (IsHexDigit(Peek()) && code <= 0xFFFF) {
                        code = code * 16 + static_cast<UInt64>(HexValue(Peek()));
                        ++FPos;
                        any = true;
                    }
                } else {
                    while (IsDigit(Peek()) && code <= 0xFFFF) {
                        code = code * 10 + static_cast<UInt64>(Peek() - u'0');
                        ++FPos;
                        any = true;
                    }
                }
                if (!any || code > 0xFFFF)
                    Error(Consts::SInvalidString);
                FTokenText += static_cast<Char>(code);
                wide = wide || code > 0xFF;
            } else if (Peek() == u'\'') {
                ++FPos;
                for (;;) {
                    if (FPos >= FText.size() || Peek() == u'\n' || Peek() == u'\r')
                        Error(Consts::SInvalidString);
                    if (Peek() == u'\'') {
                        if (Peek(1) != u'\'')
                            break;
                        ++FPos;
                    }
                    wide = wide || Peek() > 0xFF;
                    FTokenText += Peek();
                    ++FPos;
                }
                ++FPos;
            } else {
                break;
            }
        }
        FToken = wide ? toWString : toString;
    } else if (c == u'$') {
        ++FPos;
        while (IsHexDigit(Peek()))
            ++FPos;
        FToken = toInteger;
    } else if (c == u'-' || IsDigit(c)) {
        ++FPos;
        while (IsDigit(Peek()))
            ++FPos;
        FToken = toInteger;
        while (IsDigit(Peek()) || Peek() == u'.' || Peek() == u'e' || Peek() == u'E' ||
               ((Peek() == u'+' || Peek() == u'-') && (FText[FPos - 1] == u'e' || FText[FPos - 1] == u'E'))) {
            ++FPos;
            FToken = toFloat;
        }
        Char suffix = Peek();
        if (suffix == u'c' || suffix == u'C' || suffix == u'd' || suffix == u'D' || suffix == u's' ||
            suffix == u'S' || suffix == u'f' || suffix == u'F') {
            FToken = toFloat;
            FFloatType = static_cast<Char>(suffix | 0x20);
            ++FPos;
        }
    } else {
        ++FPos;
        FToken = c;
    }
    return FToken;
}

void TParser::HexToBinary(TStream& stream) {
    // The value's bytes cannot outnumber the text's characters, so this never allocates beyond the input.
    std::vector<Byte> bytes;
    SkipBlanks();
    while (Peek() != u'}') {
        if (FPos >= FText.size())
            Error(Consts::SInvalidBinary);
        Char high = Peek();
        Char low = Peek(1);
        if (!IsHexDigit(high) || !IsHexDigit(low))
            Error(Consts::SInvalidBinary);
        bytes.push_back(static_cast<Byte>(HexValue(high) * 16 + HexValue(low)));
        FPos += 2;
        SkipBlanks();
    }
    ++FPos;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    NextToken();
}
