// Natural ("logical") comparison of text, as the shell orders file names: runs of digits compare as
// numbers, the text between them by the user's locale without regard to case.
#pragma once

#include "platform/rtl/Types.h"

// Compares two null-terminated strings piece by piece, a piece being a run of the digits 0-9 or a run
// of other characters. Two digit runs compare by their value, of any length ("a2" before "a10"; "007"
// and "7" are equal); any other pair of pieces compares by the locale without case. When every piece
// is equal, the string with fewer pieces comes first. Returns -1, 0 or 1. A null pointer reads as the
// empty string.
int StrCmpLogicalW(const Char* psz1, const Char* psz2);
