// Format: the framework's formatting with its own syntax ("%d %u %x %s %f %g %n %e %m %p", width,
// precision, index and '*'). Arguments are typed values, so a pattern never reaches a C formatter and
// a mismatch raises EConvertError instead of reading garbage.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>

#include "platform/rtl/Types.h"

struct TFormatSettings;

// One argument of an "array of const".
struct TVarRec {
    enum class Kind { Integer, Int64, Extended, String, Char, AnsiChar, Boolean, Pointer };

    TVarRec(int v) : kind(Kind::Integer), intValue(v) {}
    TVarRec(unsigned v) : kind(Kind::Int64), intValue(static_cast<Int64>(v)) {}
    TVarRec(long v) : kind(Kind::Int64), intValue(v) {}
    TVarRec(unsigned long v) : kind(Kind::Int64), intValue(static_cast<Int64>(v)) {}
    TVarRec(long long v) : kind(Kind::Int64), intValue(v) {}
    TVarRec(unsigned long long v) : kind(Kind::Int64), intValue(static_cast<Int64>(v)) {}
    TVarRec(short v) : kind(Kind::Integer), intValue(v) {}
    TVarRec(unsigned short v) : kind(Kind::Integer), intValue(v) {}
    TVarRec(double v) : kind(Kind::Extended), floatValue(v) {}
    TVarRec(float v) : kind(Kind::Extended), floatValue(v) {}
    TVarRec(long double v) : kind(Kind::Extended), floatValue(static_cast<double>(v)) {}
    TVarRec(bool v) : kind(Kind::Boolean), intValue(v ? 1 : 0) {}
    TVarRec(Char v) : kind(Kind::Char), intValue(v) {}
    TVarRec(char v) : kind(Kind::AnsiChar), intValue(static_cast<unsigned char>(v)) {}
    TVarRec(const String& v) : kind(Kind::String), stringValue(v) {}
    TVarRec(StringView v) : kind(Kind::String), stringValue(v) {}
    TVarRec(const Char* v) : kind(Kind::String), stringValue(v ? v : u"") {}
    TVarRec(const void* v) : kind(Kind::Pointer), pointerValue(v) {}
    TVarRec(std::nullptr_t) : kind(Kind::Pointer), pointerValue(nullptr) {}

    Kind kind;
    Int64 intValue = 0;
    double floatValue = 0;
    String stringValue;
    const void* pointerValue = nullptr;
};

// Raises EConvertError "Format '%s' invalid or incompatible with argument" for a bad pattern or a
// wrong argument type, and "No argument for format '%s'" when an argument is missing.
String Format(StringView format, std::initializer_list<TVarRec> args);
String Format(StringView format, std::initializer_list<TVarRec> args, const TFormatSettings& settings);
String Format(StringView format, std::span<const TVarRec> args, const TFormatSettings& settings);
