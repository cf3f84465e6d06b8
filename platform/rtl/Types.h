// The framework's basic types as the rest of the code names them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

using Char = char16_t;         // one UTF-16 unit
using String = std::u16string; // the framework's string: UTF-16, counted, positions from 1
using StringView = std::u16string_view;
using AnsiChar = char;
using AnsiString = std::string; // bytes in the system ANSI code page (UTF-8 here)

using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongInt = std::int32_t;
using LongWord = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using SmallInt = std::int16_t;
using ShortInt = std::int8_t;
using Word = std::uint16_t;
using Byte = std::uint8_t;
using NativeInt = std::intptr_t;
using NativeUInt = std::uintptr_t;
using Extended = double;  // the framework's widest real; double is enough for every caller here
using TDateTime = double; // days since 1899-12-30, the fraction is the time of day
