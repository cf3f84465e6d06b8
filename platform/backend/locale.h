// The user's locale as the platform reports it: separators, date and time formats, names and currency,
// already in the framework's terms (format strings in its syntax, its currency layout codes).
#pragma once

#include <array>
#include <string>

namespace backend {

struct LocaleValues {
    char16_t decimalSeparator = u'.';
    char16_t thousandSeparator = u',';
    char16_t dateSeparator = u'/';
    char16_t timeSeparator = u':';
    char16_t listSeparator = u',';
    // In the framework's format syntax: '/' and ':' stand for the separators above and literal text is
    // quoted. The short date always shows four-digit years.
    std::u16string shortDateFormat = u"M/d/yyyy";
    std::u16string longDateFormat = u"dddd, MMMM d, yyyy";
    std::u16string shortTimeFormat = u"h:mm AMPM";
    std::u16string longTimeFormat = u"h:mm:ss AMPM";
    std::u16string amString = u"AM";
    std::u16string pmString = u"PM";
    std::array<std::u16string, 12> shortMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                      u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    std::array<std::u16string, 12> longMonthNames = {u"January",   u"February", u"March",    u"April",
                                                     u"May",       u"June",     u"July",     u"August",
                                                     u"September", u"October",  u"November", u"December"};
    // Sunday first.
    std::array<std::u16string, 7> shortDayNames = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    std::array<std::u16string, 7> longDayNames = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                                  u"Thursday", u"Friday", u"Saturday"};
    std::u16string currencyString = u"$";
    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int currencyFormat = 0;
    // 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-", 8 "-1 $", 9 "-$ 1",
    // 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
    int negCurrFormat = 0;
    int currencyDecimals = 2;
};

// The values of the user's locale (the environment's LC_ALL, LC_TIME, LANG ...). The C and POSIX
// locales give English (United States): the defaults above.
LocaleValues UserLocaleValues();
// The values of a named locale ("de_DE", "en_US", "C").
LocaleValues LocaleValuesFor(const std::string& name);

} // namespace backend
