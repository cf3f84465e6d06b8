// Message texts of the framework, exactly as it shows them. Each is a Format pattern where it has
// arguments.
#pragma once

#include "platform/rtl/Types.h"

namespace Consts {
inline constexpr const Char* SInvalidInteger = u"'%s' is not a valid integer value";
inline constexpr const Char* SInvalidFloat = u"'%s' is not a valid floating point value";
inline constexpr const Char* SInvalidBoolean = u"'%s' is not a valid boolean value";
inline constexpr const Char* SInvalidDate = u"'%s' is not a valid date";
inline constexpr const Char* SInvalidTime = u"'%s' is not a valid time";
inline constexpr const Char* SInvalidDateTime = u"'%s' is not a valid date and time";
inline constexpr const Char* SDateEncodeError = u"Invalid argument to date encode";
inline constexpr const Char* STimeEncodeError = u"Invalid argument to time encode";
inline constexpr const Char* SInvalidFormat = u"Format '%s' invalid or incompatible with argument";
inline constexpr const Char* SArgumentMissing = u"No argument for format '%s'";
inline constexpr const Char* SListIndexError = u"List index out of bounds (%d)";
inline constexpr const Char* SListCapacityError = u"List capacity out of bounds (%d)";
inline constexpr const Char* SListCountError = u"List count out of bounds (%d)";
inline constexpr const Char* SSortedListError = u"Operation not allowed on sorted list";
inline constexpr const Char* SDuplicateString = u"String list does not allow duplicates";
inline constexpr const Char* SInvalidCast = u"Invalid class typecast";
inline constexpr const Char* SFCreateError = u"Cannot create file %s";
inline constexpr const Char* SFCreateErrorEx = u"Cannot create file \"%s\". %s";
inline constexpr const Char* SFOpenError = u"Cannot open file %s";
inline constexpr const Char* SFOpenErrorEx = u"Cannot open file \"%s\". %s";
inline constexpr const Char* SReadError = u"Stream read error";
inline constexpr const Char* SWriteError = u"Stream write error";
inline constexpr const Char* SMemoryStreamError = u"Out of memory while expanding memory stream";
inline constexpr const Char* SOSError = u"System Error.  Code: %d.\r\n%s";
inline constexpr const Char* SUnkOSError = u"A call to an OS function failed";
inline constexpr const Char* SDivByZero = u"Division by zero";
inline constexpr const Char* SRangeError = u"Range check error";
inline constexpr const Char* SIntOverflow = u"Integer overflow";
inline constexpr const Char* SRegCreateFailed = u"Failed to create key %s";
inline constexpr const Char* SRegGetDataFailed = u"Failed to get data for '%s'";
inline constexpr const Char* SRegSetDataFailed = u"Failed to set data for '%s'";
inline constexpr const Char* SInvalidRegType = u"Invalid data type for '%s'";
inline constexpr const Char* SIniFileWriteError = u"Unable to write to %s";
} // namespace Consts
