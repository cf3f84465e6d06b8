// The caption panel's types that other styled controls share.
#pragma once

#include "platform/rtl/TypeInfo.h"

// Vertical place of a glyph or text within its control.
ZELMOR_ENUM(TTextVAlignment, tvaTop, tvaCenter, tvaBottom)
