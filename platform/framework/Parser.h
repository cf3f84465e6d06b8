// TParser: the tokens of the text form of component descriptions (identifiers, numbers, strings with
// #nn characters, symbols) with the line of each, for converting text forms to the binary stream.
#pragma once

#include "platform/framework/Forward.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"

// A malformed text form: the message ends "on line N"; the line, the column and the token read last
// are kept as well.
class EParserError : public Exception {
public:
    EParserError(const String& message, Integer line, Integer column, const String& token)
        : Exception(message), FErrorLine(line), FErrorColumn(column), FErrorToken(token) {}
    String ClassName() const override { return u"EParserError"; }
    Integer ErrorLine() const { return FErrorLine; }
    Integer ErrorColumn() const { return FErrorColumn; }
    const String& ErrorToken() const { return FErrorToken; }

private:
    Integer FErrorLine;
    Integer FErrorColumn;
    String FErrorToken;
};

inline constexpr Char toEOF = 0;
inline constexpr Char toSymbol = 1;
inline constexpr Char toString = 2;
inline constexpr Char toInteger = 3;
inline constexpr Char toFloat = 4;
inline constexpr Char toWString = 5;

class TParser {
public:
    // Reads the rest of stream as text: UTF-8 (with or without its byte-order mark), bytes that are not
    // UTF-8 as Windows-1252. The first token is read at once.
    explicit TParser(TStream& stream);

    // Raises EParserError when the token is not t (a toXxx kind or a symbol character).
    void CheckToken(Char t);
    // Raises EParserError "'%s' expected" unless the token is that identifier (case-insensitive).
    void CheckTokenSymbol(StringView symbol);
    [[noreturn]] void Error(const String& message);
    // The next token's kind: toEOF, toSymbol, toString, toWString, toInteger, toFloat or the symbol char.
    Char NextToken();
    // Reads hex digits up to the closing '}' into stream (a binary value "{0A1B...}").
    void HexToBinary(TStream& stream);
    Char Token() const { return FToken; }
    // The token as written (for strings: the decoded text).
    String TokenString() const;
    String TokenWideString() const { return TokenString(); }
    // An identifier with following ".Name" parts, as component references are written.
    String TokenComponentIdent();
    Int64 TokenInt() const;
    Extended TokenFloat() const;
    // The suffix of a float token: 's' single, 'c' currency, 'd' date, or 0.
    Char FloatType() const { return FFloatType; }
    bool TokenSymbolIs(StringView symbol) const;
    Integer SourceLine() const { return FTokenLine; }
    // Offset of the token from the start of the text.
    Integer SourcePos() const { return static_cast<Integer>(FTokenStart); }

private:
    void SkipBlanks();
    Char Peek(std::size_t offset = 0) const {
        return FPos + offset < FText.size() ? FText[FPos + offset] : Char(0);
    }

    String FText;
    std::size_t FPos = 0;
    std::size_t FTokenStart = 0;
    Integer FLine = 1;
    Integer FTokenLine = 1;
    std::size_t FLineStart = 0;
    Integer FTokenColumn = 1;
    Char FToken = toEOF;
    Char FFloatType = 0;
    String FTokenText; // the decoded text of a string token
};
