// The spreadsheet number-format renderer: a value shown through a spreadsheet-style format string, with
// its sections and conditions, colour words, literals, digit masks, percent, date and time codes,
// elapsed-time brackets, currency and locale brackets, "General" and the text placeholder "@".
#pragma once

#include "platform/framework/Idents.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Variants.h"

// Renders V with Format in the 1900 date system and the current locale's settings; the colour a format
// names is dropped.
void XlsFormatValue(const Variant& V, const String& Format, String& Result);

// The full form. Dates1904 shifts every date-time value by 1462 days before date or time codes format it.
// Settings null means the current locale's settings (FormatSettings). HasDate and HasTime answer whether
// date or time codes were used; Color takes the colour of a colour word that applies and is otherwise
// left as it is. Digit masks always format with the current locale's separators.
void XlsFormatValueFull(const Variant& V, const String& Format, bool Dates1904, String& Result,
                        const TFormatSettings* Settings, bool& HasDate, bool& HasTime, TColor& Color);
