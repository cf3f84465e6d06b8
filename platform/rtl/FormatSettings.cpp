// The global format settings, the fixed settings tests start from, and the settings of the user's locale.
#include "platform/rtl/FormatSettings.h"

#include "platform/backend/locale.h"

TFormatSettings FormatSettings;

TFormatSettings DefaultFormatSettings() {
    return TFormatSettings();
}

TFormatSettings GetLocaleFormatSettings() {
    backend::LocaleValues values = backend::UserLocaleValues();
    TFormatSettings settings;
    settings.CurrencyFormat = static_cast<Byte>(values.currencyFormat);
    settings.NegCurrFormat = static_cast<Byte>(values.negCurrFormat);
    settings.CurrencyDecimals = static_cast<Byte>(values.currencyDecimals);
    settings.ThousandSeparator = values.thousandSeparator;
    settings.DecimalSeparator = values.decimalSeparator;
    settings.DateSeparator = values.dateSeparator;
    settings.TimeSeparator = values.timeSeparator;
    settings.ListSeparator = values.listSeparator;
    settings.CurrencyString = values.currencyString;
    settings.ShortDateFormat = values.shortDateFormat;
    settings.LongDateFormat = values.longDateFormat;
    settings.TimeAMString = values.amString;
    settings.TimePMString = values.pmString;
    settings.ShortTimeFormat = values.shortTimeFormat;
    settings.LongTimeFormat = values.longTimeFormat;
    for (int i = 0; i < 12; ++i) {
        settings.ShortMonthNames[i] = values.shortMonthNames[i];
        settings.LongMonthNames[i] = values.longMonthNames[i];
    }
    for (int i = 0; i < 7; ++i) {
        settings.ShortDayNames[i] = values.shortDayNames[i];
        settings.LongDayNames[i] = values.longDayNames[i];
    }
    return settings;
}

void LoadLocaleFormatSettings() {
    FormatSettings = GetLocaleFormatSettings();
}
