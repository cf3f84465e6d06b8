// The grid's filter condition language: expressions of conditions joined by "&", "|", ";", "^" and
// parentheses, and conditions made of wildcards, negation, comparisons and the empty-cell test.
#include "grid/engine/AdvUtil.h"

#include <cmath>
#include <string>
#include <vector>

#include "platform/rtl/Convert.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysStrings.h"

namespace {

StringView NullTerminated(const Char* text) {
    return text ? StringView(text) : StringView();
}

String NormalizeNumber(StringView text) {
    const Char thousand = GetThousandSeparator();
    const Char decimal = GetDecimalSeparator();
    String out;
    out.reserve(text.size());
    for (Char c : text) {
        if (c == thousand)
            continue;
        out += c == decimal ? u'.' : c;
    }
    return out;
}

// Reads a number written with "." as decimal separator; the locale's own forms go through
// NormalizeNumber first.
bool TryNumber(StringView text, Extended& value) {
    static const TFormatSettings dotSettings = DefaultFormatSettings();
    return TryStrToFloat(NormalizeNumber(text), value, dotSettings) && std::isfinite(value);
}

// The comparison a condition asks for with its first ">" (or "<").
struct Comparison {
    bool present = false;
    bool inclusive = false; // ">=" or "<="
    String operand;
};

Comparison ReadComparison(StringView condition, Char op) {
    Comparison comparison;
    const size_t at = condition.find(op);
    if (at == StringView::npos)
        return comparison;
    comparison.present = true;
    size_t i = at + 1;
    if (i < condition.size() && condition[i] == u'=') {
        comparison.inclusive = true;
        ++i;
    }
    while (i < condition.size() && condition[i] == u' ')
        ++i;
    if (i < condition.size() && condition[i] == u'"')
        ++i;
    size_t quotes = 0; // double quotes before position end, for telling "&" and "|" inside quotes apart
    for (size_t k = 0; k < i; ++k)
        if (condition[k] == u'"')
            ++quotes;
    size_t end = i;
    while (end < condition.size()) {
        const Char c = condition[end];
        if (c == u' ' || ((c == u'&' || c == u'|') && quotes % 2 == 0))
            break;
        if (c == u'"')
            ++quotes;
        ++end;
    }
    comparison.operand = String(condition.substr(i, end - i));
    if (!comparison.operand.empty() && comparison.operand.back() == u'"')
        comparison.operand.pop_back();
    return comparison;
}

// Whether subject lies above (greater) or below the operand: as numbers when both are numbers and
// neither is a date, else as dates when both are, else as text on their first 255 characters.
bool CompareWith(StringView subject, const Comparison& comparison, bool greater) {
    const StringView operand = comparison.operand;
    auto decide = [&](int order) {
        if (greater)
            return comparison.inclusive ? order >= 0 : order > 0;
        return comparison.inclusive ? order <= 0 : order < 0;
    };
    auto orderOf = [](auto a, auto b) { return a < b ? -1 : (a > b ? 1 : 0); };

    TDateTime subjectDate = 0;
    TDateTime operandDate = 0;
    const bool subjectIsDate = ParseDateTimeText(subject, subjectDate);
    const bool operandIsDate = ParseDateTimeText(operand, operandDate);
    Extended subjectNumber = 0;
    Extended operandNumber = 0;
    if (TryNumber(subject, subjectNumber) && TryNumber(operand, operandNumber) && !subjectIsDate &&
        !operandIsDate)
        return decide(orderOf(subjectNumber, operandNumber));
    if (subjectIsDate && operandIsDate)
        return decide(orderOf(subjectDate, operandDate));
    return decide(CompareStr(subject.substr(0, 255), operand.substr(0, 255)));
}

// One condition against a subject. Every "*" tries the rest of the condition on each suffix of the rest
// of the subject; the answers are kept per star and suffix, so that conditions with several stars
// cost the product of the lengths once instead of again for every way of reaching the same place.
class PatternMatcher {
public:
    PatternMatcher(StringView condition, StringView subject) : FCondition(condition), FSubject(subject) {}

    // The whole procedure (comparisons, then wildcards) on the condition from conditionStart and the
    // subject from subjectStart.
    bool Match(size_t conditionStart, size_t subjectStart);

private:
    bool Wildcard(size_t ci, size_t si);
    bool MatchAfterStar(size_t conditionStart, size_t subjectStart);

    StringView FCondition;
    StringView FSubject;
    std::vector<size_t> FStarEnds;  // positions in the condition right after a run of "*"
    std::vector<signed char> FMemo; // per star end and subject start: -1 unknown, else the answer
};

bool PatternMatcher::Match(size_t conditionStart, size_t subjectStart) {
    const StringView condition = FCondition.substr(conditionStart);
    const StringView subject = FSubject.substr(subjectStart);
    const Comparison above = ReadComparison(condition, u'>');
    const Comparison below = ReadComparison(condition, u'<');
    const bool greater = above.present ? CompareWith(subject, above, true) : true;
    const bool less = below.present ? CompareWith(subject, below, false) : true;
    // A negation counts as a side of its own for the "^" and "&" rules.
    const bool negation = condition.find(u'!') != StringView::npos;
    const bool greaterSide = above.present || negation;
    const bool lessSide = below.present || negation;

    if (condition.find(u'^') != StringView::npos && (greaterSide || lessSide))
        return greater || less;
    if (condition.find(u'&') != StringView::npos && greaterSide && lessSide)
        return greater && less;
    if (above.present && greater)
        return true;
    if (below.present && less)
        return true;
    return Wildcard(conditionStart, subjectStart);
}

bool PatternMatcher::Wildcard(size_t ci, size_t si) {
    bool quoted = false;
    bool negated = false;
    bool matched;
    for (;;) {
        if (ci == FCondition.size()) {
            matched = si == FSubject.size();
            break;
        }
        const Char c = FCondition[ci];
        if (c == u'!') {
            negated = true;
            quoted = false;
            ++ci;
        } else if (c == u'"' && !quoted) {
            quoted = true;
            ++ci;
        } else if (c == u'*') {
            while (ci < FCondition.size() && FCondition[ci] == u'*')
                ++ci;
            matched = false;
            for (size_t start = FSubject.size() + 1; start-- > si;) {
                if (MatchAfterStar(ci, start)) {
                    matched = true;
                    break;
                }
            }
            break;
        } else {
            // "?" takes any character; a quote inside quotes matches a quote; anything else itself.
            if (si == FSubject.size() || (c != u'?' && FSubject[si] != c)) {
                matched = false;
                break;
            }
            quoted = false;
            ++ci;
            ++si;
        }
    }
    return negated ? !matched : matched;
}

bool PatternMatcher::MatchAfterStar(size_t conditionStart, size_t subjectStart) {
    size_t star = 0;
    while (star < FStarEnds.size() && FStarEnds[star] != conditionStart)
        ++star;
    if (star == FStarEnds.size())
        FStarEnds.push_back(conditionStart);
    const size_t width = FSubject.size() + 1;
    if (FMemo.size() < FStarEnds.size() * width)
        FMemo.resize(FStarEnds.size() * width, -1);
    signed char& known = FMemo[star * width + subjectStart];
    if (known < 0) {
        const bool answer = Match(conditionStart, subjectStart);
        // The memo may have grown (and moved) during the match.
        FMemo[star * width + subjectStart] = answer ? 1 : 0;
        return answer;
    }
    return known == 1;
}

} // namespace

bool MatchFilterExpr(StringView expression, StringView text, bool caseSensitive) {
    String rest = RemoveSpacesOutsideQuotes(Trim(expression));
    if (!rest.empty() && rest.front() == u'=')
        rest.erase(0, 1);

    bool result = true;
    Char pending = 0; // the operator before the next value; 0 before the first
    auto combine = [&](bool value) {
        switch (pending) {
        case 0:
            result = value;
            break;
        case u'&':
            result = result && value;
            break;
        case u';':
        case u'^':
        case u'|':
            result = result || value;
            break;
        default:
            // After a group, the piece up to the next operator is skipped.
            break;
        }
    };

    Integer position = 0;
    Char delimiter;
    while ((delimiter = FindFirstDelimiter(u"(;^&|", rest, position)) != 0) {
        bool value;
        if (rest.front() == u'(') {
            const Integer close = ClosingParenPos(rest);
            if (close == 0) {
                // A group never closed runs to the end, so that the evaluation still ends.
                value = MatchFilterExpr(StringView(rest).substr(1), text, caseSensitive);
                rest.clear();
            } else {
                value = MatchFilterExpr(StringView(rest).substr(1, static_cast<size_t>(close) - 2), text,
                                        caseSensitive);
                rest.erase(0, static_cast<size_t>(close));
            }
        } else {
            value = MatchFilterTerm(StringView(rest).substr(0, static_cast<size_t>(position) - 1), text,
                                    caseSensitive);
            rest.erase(0, static_cast<size_t>(position));
        }
        combine(value);
        pending = delimiter;
    }
    combine(MatchFilterTerm(rest, text, caseSensitive));
    return result;
}

bool MatchFilterTerm(StringView condition, StringView text, bool caseSensitive) {
    if (condition == u"\"\"")
        return text.empty();
    if (caseSensitive)
        return MatchFilterPattern(String(condition).c_str(), String(text).c_str());
    return MatchFilterPattern(AnsiUpperCase(condition).c_str(), AnsiUpperCase(text).c_str());
}

bool MatchFilterPattern(const Char* condition, const Char* subject) {
    PatternMatcher matcher(NullTerminated(condition), NullTerminated(subject));
    return matcher.Match(0, 0);
}

Char FindFirstDelimiter(StringView delimiters, StringView text, Integer& position) {
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && delimiters.find(c) != StringView::npos) {
            position = static_cast<Integer>(i) + 1;
            return c;
        }
    }
    position = -1;
    return 0;
}

String RemoveSpacesOutsideQuotes(StringView text) {
    String out;
    out.reserve(text.size());
    bool quoted = false;
    for (Char c : text) {
        if (c == u'"')
            quoted = !quoted;
        if (c != u' ' || quoted)
            out += c;
    }
    return out;
}

Integer ClosingParenPos(StringView text) {
    Integer opened = 0;
    Integer closed = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'(') {
            ++opened;
        } else if (text[i] == u')') {
            ++closed;
            if (opened == closed)
                return static_cast<Integer>(i) + 1;
        }
    }
    return 0;
}

String NormalizeNumberText(const Char* text) {
    return NormalizeNumber(NullTerminated(text));
}
