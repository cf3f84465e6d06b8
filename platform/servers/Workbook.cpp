// The in-memory workbook's sheets and the typing of entered text.
#include "platform/servers/Workbook.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

namespace servers {

const Char* const kSpreadsheetSource = u"Spreadsheet";

const Variant* TSheetData::Cell(Integer row, Integer col) const {
    const auto rowIt = FRows.find(row);
    if (rowIt == FRows.end())
        return nullptr;
    const TRow& cells = rowIt->second;
    const auto it =
        std::lower_bound(cells.begin(), cells.end(), col,
                         [](const std::pair<Integer, Variant>& cell, Integer c) { return cell.first < c; });
    return it != cells.end() && it->first == col ? &it->second : nullptr;
}

void TSheetData::SetCell(Integer row, Integer col, Variant value) {
    auto rowIt = FRows.find(row);
    if (rowIt == FRows.end()) {
        if (value.IsEmpty())
            return;
        rowIt = FRows.emplace(row, TRow()).first;
    }
    TRow& cells = rowIt->second;
    // Rows are mostly filled from left to right, so the end is the usual place.
    auto it = !cells.empty() && cells.back().first < col
                  ? cells.end()
                  : std::lower_bound(
                        cells.begin(), cells.end(), col,
                        [](const std::pair<Integer, Variant>& cell, Integer c) { return cell.first < c; });
    if (it != cells.end() && it->first == col) {
        if (value.IsEmpty())
            cells.erase(it);
        else
            it->second = std::move(value);
    } else if (!value.IsEmpty()) {
        cells.emplace(it, col, std::move(value));
    }
    if (cells.empty())
        FRows.erase(rowIt);
}

bool TSheetData::UsedBlock(TCellBlock& block) const {
    if (FRows.empty())
        return false;
    block.firstRow = FRows.begin()->first;
    block.lastRow = FRows.rbegin()->first;
    block.firstCol = kMaxSheetCols;
    block.lastCol = 1;
    for (const auto& [row, cells] : FRows) {
        block.firstCol = std::min(block.firstCol, cells.front().first);
        block.lastCol = std::max(block.lastCol, cells.back().first);
    }
    return true;
}

namespace {

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

// A number as a spreadsheet takes one typed: sign, digits, the locale's decimal separator and digits, an
// exponent; no blanks, no group separators, no leading zero before another digit and at most 15
// significant digits, so that the number shows again as it was typed.
bool TypedNumber(const String& text, double& value) {
    const Char separator = FormatSettings.DecimalSeparator;
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    const size_t intStart = i;
    while (i < n && IsDigit(text[i]))
        ++i;
    const size_t intDigits = i - intStart;
    if (intDigits > 1 && text[intStart] == u'0')
        return false;
    size_t fracDigits = 0;
    size_t fracStart = i;
    if (i < n && text[i] == separator) {
        fracStart = ++i;
        while (i < n && IsDigit(text[i]))
            ++i;
        fracDigits = i - fracStart;
    }
    if (intDigits + fracDigits == 0)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'-' || text[i] == u'+'))
            ++i;
        const size_t expStart = i;
        while (i < n && IsDigit(text[i]))
            ++i;
        if (i == expStart)
            return false;
    }
    if (i != n)
        return false;
    // Significant digits: from the first non-zero digit on, the fraction's trailing zeros not counted.
    String digits = text.substr(intStart, intDigits) + text.substr(fracStart, fracDigits);
    const size_t first = digits.find_first_not_of(u'0');
    if (first != String::npos) {
        const size_t last = digits.find_last_not_of(u'0');
        const size_t significant = std::max(last + 1, std::min(digits.size(), intDigits)) - first;
        if (significant > 15)
            return false;
    }
    Extended parsed = 0;
    if (!TryStrToFloat(text, parsed) || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool TypedDate(const String& text, double& value) {
    TDateTime parsed = 0;
    if (TryStrToDate(text, parsed) && std::trunc(parsed) == parsed &&
        FormatDateTime(FormatSettings.ShortDateFormat, parsed) == text) {
        value = parsed;
        return true;
    }
    if (TryStrToTime(text, parsed) && parsed >= 0 && parsed < 1 &&
        FormatDateTime(FormatSettings.LongTimeFormat, parsed) == text) {
        value = parsed;
        return true;
    }
    for (size_t blank = text.find(u' '); blank != String::npos; blank = text.find(u' ', blank + 1)) {
        TDateTime date = 0;
        TDateTime time = 0;
        const String datePart = text.substr(0, blank);
        const String timePart = text.substr(blank + 1);
        if (TryStrToDate(datePart, date) &&
            FormatDateTime(FormatSettings.ShortDateFormat, date) == datePart &&
            TryStrToTime(timePart, time) && time >= 0 && time < 1 &&
            FormatDateTime(FormatSettings.LongTimeFormat, time) == timePart && date >= 0) {
            value = date + time;
            return true;
        }
    }
    return false;
}

} // namespace

Variant TypedEntry(const String& text) {
    if (text.empty())
        return {};
    if (std::none_of(text.begin(), text.end(), IsDigit))
        return text;
    double value = 0;
    if (TypedNumber(text, value))
        return value;
    if (TypedDate(text, value))
        return Variant::FromDate(value);
    return text;
}

} // namespace servers
