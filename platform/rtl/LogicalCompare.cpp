// Natural comparison of text: digit runs by value, everything else by the locale without case.
#include "platform/rtl/LogicalCompare.h"

#include "platform/rtl/SysStrings.h"

namespace {

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

// The piece starting at text: a run of digits or a run of other characters. Never empty unless
// text is at its end.
StringView NextPiece(const Char* text) {
    const Char* end = text;
    if (*end == 0)
        return {};
    const bool digits = IsDigit(*end);
    while (*end != 0 && IsDigit(*end) == digits)
        ++end;
    return StringView(text, static_cast<size_t>(end - text));
}

// Compares two digit runs by value without converting them, so that runs longer than any integer
// type still order correctly.
int CompareDigitRuns(StringView a, StringView b) {
    while (a.size() > 1 && a.front() == u'0')
        a.remove_prefix(1);
    while (b.size() > 1 && b.front() == u'0')
        b.remove_prefix(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

int StrCmpLogicalW(const Char* psz1, const Char* psz2) {
    const Char* a = psz1 ? psz1 : u"";
    const Char* b = psz2 ? psz2 : u"";
    for (;;) {
        const StringView pieceA = NextPiece(a);
        const StringView pieceB = NextPiece(b);
        if (pieceA.empty() || pieceB.empty()) {
            if (pieceA.empty() && pieceB.empty())
                return 0;
            return pieceA.empty() ? -1 : 1;
        }
        int order;
        if (IsDigit(pieceA.front()) && IsDigit(pieceB.front()))
            order = CompareDigitRuns(pieceA, pieceB);
        else
            order = AnsiCompareText(pieceA, pieceB);
        if (order != 0)
            return order < 0 ? -1 : 1;
        a += pieceA.size();
        b += pieceB.size();
    }
}
