// Unicode character properties and normalisation for text routines above the backend.
#pragma once

#include <string>
#include <string_view>

namespace backend {

// The canonical decomposition of the text: every precomposed character becomes its base character
// followed by its combining marks ('é' becomes 'e' and U+0301). Characters without a decomposition,
// and unpaired surrogates, pass through.
std::u16string DecomposeText(std::u16string_view text);

// Whether the code point is a number: a decimal digit, a letter number (Roman numerals) or another
// number (superscripts, fractions). False for values that are no code point.
bool IsNumberCodePoint(char32_t c);

} // namespace backend
