// String basics of the framework's System unit: conversions at the system edge and the 1-based
// string routines (Pos, Copy, Delete, Insert) the rest of the code is written against.
#pragma once

#include "platform/rtl/Types.h"

// UTF-8 is used only at the edge of the system (files, the backend, error texts of the C++ runtime).
// Decoding never loses a byte: a byte that does not start a valid UTF-8 sequence decodes as its
// Windows-1252 character. Encoding writes an unpaired surrogate in the three-byte form, so that
// every String survives a round trip.
String Utf8ToString(std::string_view utf8);
std::string StringToUtf8(StringView text);

// One UTF-8 sequence at the start of bytes: its length (1 to 4) with its code point, or 0 when the
// first byte starts no valid sequence (a stray continuation byte, a cut-off sequence, an overlong form
// or a value past U+10FFFF). A surrogate in the three-byte form is accepted; strict readers refuse it.
int DecodeUtf8Sequence(std::string_view bytes, char32_t& codePoint);
// Appends the UTF-8 form of a code point up to U+10FFFF; a surrogate takes the three-byte form.
void AppendUtf8(std::string& out, char32_t codePoint);

// The system ANSI code page is the locale's character set, UTF-8 on this platform.
String AnsiToString(std::string_view ansi);
AnsiString StringToAnsi(StringView text);

// Windows-1252 for single bytes that are not valid in the ANSI code page.
Char Windows1252ToChar(unsigned char byte);
// The Windows-1252 byte of a character, or -1 when the code page has none for it.
int CharToWindows1252(Char c);

inline Integer Length(StringView s) {
    return static_cast<Integer>(s.size());
}

// Position (from 1) of the first occurrence of sub in s at or after offset; 0 when there is none or
// when sub is empty.
Integer Pos(StringView sub, StringView s, Integer offset = 1);
// Up to count characters from index (1-based); out-of-range arguments are clipped as the framework does.
String Copy(StringView s, Integer index, Integer count);
// Copy from index to the end.
String Copy(StringView s, Integer index);
void Delete(String& s, Integer index, Integer count);
void Insert(StringView sub, String& s, Integer index);
String StringOfChar(Char c, Integer count);
void SetLength(String& s, Integer length);
// Upper case of a-z only; every other character is returned as it is.
Char UpCase(Char c);
String LowerASCII(StringView s);

// Shorthand for text known at compile time in ASCII.
String ToString(const char* ascii);
