// The framework's format settings: separators, date and time formats, currency, month and day names.
#pragma once

#include "platform/rtl/Types.h"

struct TFormatSettings {
    Byte CurrencyFormat = 0;
    Byte NegCurrFormat = 0;
    Byte CurrencyDecimals = 2;
    Char ThousandSeparator = u',';
    Char DecimalSeparator = u'.';
    Char DateSeparator = u'/';
    Char TimeSeparator = u':';
    Char ListSeparator = u',';
    String CurrencyString = u"$";
    String ShortDateFormat = u"M/d/yyyy";
    String LongDateFormat = u"dddd, MMMM d, yyyy";
    String TimeAMString = u"AM";
    String TimePMString = u"PM";
    String ShortTimeFormat = u"h:mm AMPM";
    String LongTimeFormat = u"h:mm:ss AMPM";
    String ShortMonthNames[12] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                  u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    String LongMonthNames[12] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                 u"July",    u"August",   u"September", u"October", u"November", u"December"};
    String ShortDayNames[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    String LongDayNames[7] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                              u"Thursday", u"Friday", u"Saturday"};
    Word TwoDigitYearCenturyWindow = 50;
};

// The settings every routine reads when it is not given settings of its own. Loaded from the user's
// locale at start-up; tests replace it.
extern TFormatSettings FormatSettings;

// Fixed settings of an English (United States) locale, the values above.
TFormatSettings DefaultFormatSettings();
// Settings of the user's locale, as the platform reports it.
TFormatSettings GetLocaleFormatSettings();
// FormatSettings := GetLocaleFormatSettings(); run once at start-up.
void LoadLocaleFormatSettings();
