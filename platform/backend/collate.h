// Locale-aware comparison and case mapping of UTF-16 text, for the framework's Ansi* string routines.
#pragma once

#include <string>
#include <string_view>

namespace backend {

// Compares by the collation of the user's locale, or of English (United States) when the process runs
// in the C/POSIX locale, so that results do not depend on the machine. Returns -1, 0 or 1.
// ignoreCase compares letters that differ only in case as equal. Allocates nothing after a thread's
// first call, so sorting may call it freely.
int CollateCompare(std::u16string_view a, std::u16string_view b, bool ignoreCase);

// Upper or lower case of every letter, one character for one (a letter with no single-character
// counterpart is kept), so positions in the result match positions in the text.
std::u16string UpperCaseText(std::u16string_view text);
std::u16string LowerCaseText(std::u16string_view text);

} // namespace backend
