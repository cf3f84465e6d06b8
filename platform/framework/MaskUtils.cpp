// The edit-mask routines: classifying mask characters, mapping between mask and text offsets, and
// laying values into a mask.
#include "platform/framework/Mask.h"

#include <algorithm>
#include <vector>

#include "platform/rtl/FormatSettings.h"

namespace {

Integer MaskLength(StringView editMask) {
    return static_cast<Integer>(editMask.size());
}

Char MaskCharAt(StringView editMask, Integer maskOffset) {
    return editMask[static_cast<size_t>(maskOffset - 1)];
}

bool IsTextChar(TMaskCharType type) {
    return type == mcLiteral || type == mcIntlLiteral || type == mcMask || type == mcMaskOpt;
}

bool IsLiteralType(TMaskCharType type) {
    return type == mcLiteral || type == mcIntlLiteral;
}

// One position of the formatted text: its literal, or 0 for a field position.
struct MaskPosition {
    Char literal = 0;
};

std::vector<MaskPosition> TextPositions(StringView editMask) {
    std::vector<MaskPosition> positions;
    for (Integer i = 1; i <= MaskLength(editMask); ++i) {
        TMaskCharType type = MaskGetCharType(editMask, i);
        if (IsLiteralType(type))
            positions.push_back({MaskIntlLiteralToChar(MaskCharAt(editMask, i))});
        else if (type == mcMask || type == mcMaskOpt)
            positions.push_back({0});
    }
    return positions;
}

bool IsReversed(StringView editMask) {
    return MaskGetCurrentDirectives(editMask, 1).Contains(mdReverseDir);
}

} // namespace

TMaskCharType MaskGetCharType(StringView editMask, Integer maskOffset) {
    Integer length = MaskLength(editMask);
    if (maskOffset < 1 || maskOffset > length)
        return mcNone;
    Char c = MaskCharAt(editMask, maskOffset);
    // A backslash makes the next character literal, unless it is itself an escaped backslash.
    if (maskOffset > 1 && MaskCharAt(editMask, maskOffset - 1) == mDirLiteral &&
        !(maskOffset > 2 && MaskCharAt(editMask, maskOffset - 2) == mDirLiteral))
        return mcLiteral;
    // The save flag and the blank only ever sit in the last four characters.
    bool inTail = length >= 4 && maskOffset > length - 4;
    if (inTail && c == MaskFieldSeparator)
        return mcFieldSeparator;
    if (inTail && maskOffset > 1 && MaskCharAt(editMask, maskOffset - 1) == MaskFieldSeparator &&
        !(maskOffset > 2 && MaskCharAt(editMask, maskOffset - 2) == mDirLiteral))
        return mcField;
    switch (c) {
    case mMskTimeSeparator:
    case mMskDateSeparator:
        return mcIntlLiteral;
    case mDirReverse:
    case mDirUpperCase:
    case mDirLowerCase:
    case mDirLiteral:
        return mcDirective;
    case mMskAlphaOpt:
    case mMskAlphaNumOpt:
    case mMskAsciiOpt:
    case mMskNumSymOpt:
    case mMskNumericOpt:
        return mcMaskOpt;
    case mMskAlpha:
    case mMskAlphaNum:
    case mMskAscii:
    case mMskNumeric:
        return mcMask;
    default:
        return mcLiteral;
    }
}

TMaskDirectives MaskGetCurrentDirectives(StringView editMask, Integer maskOffset) {
    TMaskDirectives result;
    for (Integer i = 1; i <= MaskLength(editMask); ++i) {
        // An escaped '!', '>' or '<' is a literal and directs nothing.
        if (MaskGetCharType(editMask, i) != mcDirective)
            continue;
        Char c = MaskCharAt(editMask, i);
        if (c == mDirReverse) {
            result.Include(mdReverseDir);
        } else if (c == mDirUpperCase && i < maskOffset) {
            result.Exclude(mdLowerCase);
            // "<>" switches case conversion off.
            if (!(i > 1 && MaskCharAt(editMask, i - 1) == mDirLowerCase))
                result.Include(mdUpperCase);
        } else if (c == mDirLowerCase && i < maskOffset) {
            result.Exclude(mdUpperCase);
            result.Include(mdLowerCase);
        }
    }
    if (MaskGetCharType(editMask, maskOffset) == mcLiteral)
        result.Include(mdLiteralChar);
    return result;
}

Char MaskIntlLiteralToChar(Char iChar) {
    if (iChar == mMskTimeSeparator)
        return FormatSettings.TimeSeparator;
    if (iChar == mMskDateSeparator)
        return FormatSettings.DateSeparator;
    return iChar;
}

Integer MaskOffsetToOffset(StringView editMask, Integer maskOffset) {
    Integer result = 0;
    Integer last = std::min(maskOffset, MaskLength(editMask));
    for (Integer i = 1; i <= last; ++i)
        if (IsTextChar(MaskGetCharType(editMask, i)))
            ++result;
    return result;
}

Integer OffsetToMaskOffset(StringView editMask, Integer offset) {
    if (offset < 0)
        return -1;
    Integer count = offset;
    for (Integer i = 1; i <= MaskLength(editMask); ++i) {
        if (IsTextChar(MaskGetCharType(editMask, i)) && --count < 0)
            return i;
    }
    return -1;
}

bool IsLiteralChar(StringView editMask, Integer offset) {
    Integer maskOffset = OffsetToMaskOffset(editMask, offset);
    return maskOffset > 0 && IsLiteralType(MaskGetCharType(editMask, maskOffset));
}

Integer MaskGetFldSeparator(StringView editMask) {
    for (Integer i = 1; i <= MaskLength(editMask); ++i)
        if (MaskGetCharType(editMask, i) == mcFieldSeparator)
            return i;
    return -1;
}

bool MaskGetMaskSave(StringView editMask) {
    Integer separator = MaskGetFldSeparator(editMask);
    if (separator < 0 || separator >= MaskLength(editMask))
        return true;
    return !(MaskCharAt(editMask, separator + 1) == MaskNoSave &&
             MaskGetCharType(editMask, separator + 1) == mcField);
}

Char MaskGetMaskBlank(StringView editMask) {
    Integer length = MaskLength(editMask);
    if (length < 4 || MaskGetCharType(editMask, length - 1) != mcFieldSeparator)
        return DefaultBlank;
    // A blank counts only after a save flag: ";1;_" or ";;_".
    if (MaskGetCharType(editMask, length - 2) == mcField ||
        MaskGetCharType(editMask, length - 3) == mcFieldSeparator)
        return MaskCharAt(editMask, length);
    return DefaultBlank;
}

// A value longer than the mask is cut to it: an edit never holds more than the mask's positions.
String MaskDoFormatText(StringView editMask, StringView value, Char blank) {
    if (editMask.empty())
        return String(value);
    std::vector<MaskPosition> positions = TextPositions(editMask);
    String result(positions.size(), blank);
    if (!IsReversed(editMask)) {
        size_t next = 0;
        for (size_t i = 0; i < positions.size(); ++i) {
            if (positions[i].literal != 0)
                result[i] = positions[i].literal;
            else if (next < value.size())
                result[i] = value[next++];
        }
    } else {
        size_t remaining = value.size();
        for (size_t i = positions.size(); i-- > 0;) {
            if (positions[i].literal != 0)
                result[i] = positions[i].literal;
            else if (remaining > 0)
                result[i] = value[--remaining];
        }
    }
    return result;
}

String PadInputLiterals(StringView editMask, StringView value, Char blank) {
    if (editMask.empty())
        return String(value);
    std::vector<MaskPosition> positions = TextPositions(editMask);
    bool reversed = IsReversed(editMask);
    String result;
    result.reserve(positions.size());
    size_t next = 0;
    size_t i = 0;
    while (i < positions.size()) {
        if (positions[i].literal != 0) {
            result += positions[i].literal;
            if (next < value.size() && value[next] == positions[i].literal)
                ++next;
            ++i;
            continue;
        }
        // A field runs to the next literal; value's part of it ends at that literal or at the width.
        size_t end = i;
        while (end < positions.size() && positions[end].literal == 0)
            ++end;
        Char closing = end < positions.size() ? positions[end].literal : Char(0);
        size_t width = end - i;
        String part;
        while (part.size() < width && next < value.size() && !(closing != 0 && value[next] == closing))
            part += value[next++];
        String padding(width - part.size(), blank);
        result += reversed ? padding + part : part + padding;
        i = end;
    }
    return result;
}

String FormatMaskText(StringView editMask, StringView value) {
    if (MaskGetMaskSave(editMask))
        return PadInputLiterals(editMask, value, u' ');
    return MaskDoFormatText(editMask, value, u' ');
}
