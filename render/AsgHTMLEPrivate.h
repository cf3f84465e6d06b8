// What the files of the mini-HTML unit share: the entity table and small ASCII string helpers.
#pragma once

#include "platform/rtl/Types.h"

namespace asghtmle {

struct TEntity {
    const char16_t* name;
    Char character;
};
inline constexpr int kEntityCount = 51;
extern const TEntity kEntities[kEntityCount];

Char UpAscii(Char c);
String UpperAscii(StringView s);
String ReplaceAll(StringView text, StringView pattern, StringView replacement);
// A number with nothing else around it (the framework's StrToInt rules).
bool IsCleanNumber(StringView text, Integer& value);

} // namespace asghtmle
