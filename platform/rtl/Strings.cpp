// TStrings and TStringList: the framework's string lists, their text forms (lines, delimited text,
// name=value pairs), loading and saving in an encoding, and the sorted list.
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <exception>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Encoding.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IndexSort.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysStrings.h"

namespace {

// BeginUpdate ... EndUpdate around a block. When the block throws, the closing EndUpdate still runs,
// and an exception from its change event is dropped: the block's own exception is the one to report.
class TUpdateGuard {
public:
    explicit TUpdateGuard(TStrings& strings) : FStrings(strings), FExceptions(std::uncaught_exceptions()) {
        FStrings.BeginUpdate();
    }
    ~TUpdateGuard() noexcept(false) {
        if (std::uncaught_exceptions() == FExceptions) {
            FStrings.EndUpdate();
            return;
        }
        try {
            FStrings.EndUpdate();
        } catch (...) {
        }
    }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
    TStrings& FStrings;
    int FExceptions;
};

// Writes the whole buffer, in pieces that fit the stream's Integer counts.
void WriteAll(TStream& stream, const Byte* data, size_t size) {
    constexpr size_t kPiece = size_t(1) << 30;
    while (size > 0) {
        const size_t piece = std::min(size, kPiece);
        stream.WriteBuffer(data, static_cast<Integer>(piece));
        data += piece;
        size -= piece;
    }
}

// Everything from the stream's position to its end.
TBytes ReadRest(TStream& stream) {
    const Int64 size = std::max<Int64>(stream.Size() - stream.Position(), 0);
    TBytes buffer(static_cast<size_t>(size));
    size_t done = 0;
    while (done < buffer.size()) {
        const size_t piece = std::min(buffer.size() - done, size_t(1) << 30);
        const Integer n = stream.Read(buffer.data() + done, static_cast<Integer>(piece));
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    buffer.resize(done);
    return buffer;
}

} // namespace

// TStrings

DEFINE_CLASS(TStrings)
DEFINE_CLASS(TStringList)

TStrings::TStrings() = default;

TStrings::~TStrings() = default;

Integer TStrings::Add(const String& s) {
    const Integer index = GetCount();
    Insert(index, s);
    return index;
}

Integer TStrings::AddObject(const String& s, TObject* object) {
    const Integer index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::Append(const String& s) {
    Add(s);
}

void TStrings::AddStrings(const TStrings& strings) {
    TUpdateGuard update(*this);
    // Counted once, so that adding a list to itself doubles it instead of never ending.
    const Integer count = strings.GetCount();
    for (Integer i = 0; i < count; ++i)
        AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::Assign(TPersistent* source) {
    if (auto* strings = dynamic_cast<TStrings*>(source)) {
        Assign(*strings);
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::Assign(const TStrings& source) {
    // Clearing first would lose the strings of a list assigned to itself.
    if (&source == this)
        return;
    TUpdateGuard update(*this);
    Clear();
    FNameValueSeparator = source.FNameValueSeparator;
    FQuoteChar = source.FQuoteChar;
    FDelimiter = source.FDelimiter;
    FLineBreak = source.FLineBreak;
    FStrictDelimiter = source.FStrictDelimiter;
    AddStrings(source);
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    // An unmatched EndUpdate would otherwise silence the change events for good.
    if (FUpdateCount == 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

bool TStrings::Equals(const TStrings& strings) const {
    const Integer count = GetCount();
    if (count != strings.GetCount())
        return false;
    for (Integer i = 0; i < count; ++i)
        if (Get(i) != strings.Get(i))
            return false;
    return true;
}

void TStrings::Exchange(Integer index1, Integer index2) {
    TUpdateGuard update(*this);
    TObject* tempObject = GetObject(index1);
    String tempString = Get(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, tempString);
    PutObject(index2, tempObject);
}

Integer TStrings::IndexOf(const String& s) const {
    const Integer count = GetCount();
    for (Integer i = 0; i < count; ++i)
        if (CompareStrings(Get(i), s) == 0)
            return i;
    return -1;
}

Integer TStrings::IndexOfName(const String& name) const {
    const Integer count = GetCount();
    for (Integer i = 0; i < count; ++i) {
        const String s = Get(i);
        const size_t separator = s.find(FNameValueSeparator);
        if (separator != String::npos && CompareStrings(s.substr(0, separator), name) == 0)
            return i;
    }
    return -1;
}

Integer TStrings::IndexOfObject(const TObject* object) const {
    const Integer count = GetCount();
    for (Integer i = 0; i < count; ++i)
        if (GetObject(i) == object)
            return i;
    return -1;
}

void TStrings::InsertObject(Integer index, const String& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::LoadFromFile(const String& fileName, TEncoding* encoding) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream, encoding);
}

void TStrings::LoadFromStream(TStream& stream, TEncoding* encoding) {
    TUpdateGuard update(*this);
    const TBytes buffer = ReadRest(stream);
    const Integer preamble = TEncoding::GetBufferEncoding(buffer, encoding);
    // Kept so that saving writes the text back the way it came.
    FEncoding = encoding;
    SetTextStr(encoding->GetString(buffer.data() + preamble, buffer.size() - static_cast<size_t>(preamble)));
}

void TStrings::Move(Integer curIndex, Integer newIndex) {
    if (curIndex == newIndex)
        return;
    // Checked before the string leaves its place, so that a bad index loses nothing.
    if (newIndex < 0 || newIndex >= GetCount())
        Error(Consts::SListIndexError, newIndex);
    TUpdateGuard update(*this);
    const String tempString = Get(curIndex);
    TObject* tempObject = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, tempString, tempObject);
}

void TStrings::SaveToFile(const String& fileName, TEncoding* encoding) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream, encoding);
}

void TStrings::SaveToStream(TStream& stream, TEncoding* encoding) {
    if (!encoding)
        encoding = FEncoding ? FEncoding : TEncoding::Default();
    const TBytes buffer = encoding->GetBytes(GetTextStr());
    if (FWriteBOM) {
        const TBytes preamble = encoding->GetPreamble();
        WriteAll(stream, preamble.data(), preamble.size());
    }
    WriteAll(stream, buffer.data(), buffer.size());
}

void TStrings::SetCapacity(Integer) {}

String TStrings::CommaText() const {
    return DelimitedTextWith(u',', u'"', false);
}

void TStrings::SetCommaText(const String& text) {
    SetDelimitedTextWith(text, u',', u'"', false);
}

String TStrings::DelimitedText() const {
    return DelimitedTextWith(FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(const String& text) {
    SetDelimitedTextWith(text, FDelimiter, FQuoteChar, FStrictDelimiter);
}

String TStrings::DelimitedTextWith(Char delimiter, Char quoteChar, bool strict) const {
    const Integer count = GetCount();
    // A lone empty item is written as a pair of quotes, so that it does not read back as no item.
    if (count == 1 && Get(0).empty())
        return String(2, quoteChar);
    String text;
    for (Integer i = 0; i < count; ++i) {
        const String s = Get(i);
        const bool quote = std::any_of(s.begin(), s.end(), [&](Char c) {
            return c == quoteChar || c == delimiter || (!strict && c <= u' ');
        });
        if (i > 0)
            text.push_back(delimiter);
        text += quote ? AnsiQuotedStr(s, quoteChar) : s;
    }
    return text;
}

void TStrings::SetDelimitedTextWith(const String& text, Char delimiter, Char quoteChar, bool strict) {
    TUpdateGuard update(*this);
    Clear();
    // Without StrictDelimiter, blanks (every character up to the space) separate items as well.
    auto skipBlanks = [&](size_t& pos) {
        if (!strict)
            while (pos < text.size() && text[pos] <= u' ')
                ++pos;
    };
    size_t pos = 0;
    skipBlanks(pos);
    while (pos < text.size()) {
        String item;
        if (text[pos] == quoteChar) {
            StringView rest = StringView(text).substr(pos);
            item = AnsiExtractQuotedStr(rest, quoteChar);
            pos = std::max(pos + 1, text.size() - rest.size()); // past the opening quote at least
        } else {
            const size_t start = pos;
            while (pos < text.size() && text[pos] != delimiter && (strict || text[pos] > u' '))
                ++pos;
            item = text.substr(start, pos - start);
        }
        Add(item);
        skipBlanks(pos);
        if (pos < text.size() && text[pos] == delimiter) {
            // A delimiter at the very end stands before one more, empty, item.
            if (pos + 1 == text.size())
                Add(String());
            ++pos;
            skipBlanks(pos);
        }
    }
}

String TStrings::Names(Integer index) const {
    const String s = Get(index);
    const size_t separator = s.find(FNameValueSeparator);
    return separator == String::npos ? String() : s.substr(0, separator);
}

String TStrings::Values(const String& name) const {
    const Integer index = IndexOfName(name);
    return index < 0 ? String() : ValueFromIndex(index);
}

void TStrings::SetValues(const String& name, const String& value) {
    const Integer index = IndexOfName(name);
    if (!value.empty()) {
        const String line = name + FNameValueSeparator + value;
        // A new pair is added whole, so that a sorted list puts it in its place.
        if (index < 0)
            Add(line);
        else
            Put(index, line);
    } else if (index >= 0) {
        Delete(index);
    }
}

String TStrings::ValueFromIndex(Integer index) const {
    if (index < 0)
        return String();
    const String s = Get(index);
    const size_t separator = s.find(FNameValueSeparator);
    return separator == String::npos ? String() : s.substr(separator + 1);
}

void TStrings::SetValueFromIndex(Integer index, const String& value) {
    if (!value.empty()) {
        if (index < 0)
            Add(FNameValueSeparator + value);
        else
            Put(index, Names(index) + FNameValueSeparator + value);
    } else if (index >= 0) {
        Delete(index);
    }
}

TObject* TStrings::GetObject(Integer) const {
    return nullptr;
}

void TStrings::Put(Integer index, const String& s) {
    TObject* tempObject = GetObject(index);
    Delete(index);
    InsertObject(index, s, tempObject);
}

void TStrings::PutObject(Integer, TObject*) {}

Integer TStrings::GetCapacity() const {
    return GetCount();
}

String TStrings::GetTextStr() const {
    const Integer count = GetCount();
    String text;
    for (Integer i = 0; i < count; ++i) {
        text += Get(i);
        text += FLineBreak;
    }
    return text;
}

void TStrings::SetTextStr(const String& text) {
    TUpdateGuard update(*this);
    Clear();
    const size_t size = text.size();
    size_t pos = 0;
    if (FLineBreak == sLineBreak) {
        while (pos < size) {
            const size_t start = pos;
            while (pos < size && text[pos] != u'\r' && text[pos] != u'\n')
                ++pos;
            Add(text.substr(start, pos - start));
            if (pos < size && text[pos] == u'\r')
                ++pos;
            if (pos < size && text[pos] == u'\n')
                ++pos;
        }
        return;
    }
    if (FLineBreak.empty()) {
        if (!text.empty())
            Add(text);
        return;
    }
    while (pos < size) {
        size_t end = text.find(FLineBreak, pos);
        if (end == String::npos)
            end = size;
        Add(text.substr(pos, end - pos));
        pos = end == size ? size : end + FLineBreak.size();
    }
}

void TStrings::SetUpdateState(bool) {}

Integer TStrings::CompareStrings(const String& s1, const String& s2) const {
    return AnsiCompareText(s1, s2);
}

void TStrings::Error(const Char* message, Integer data) const {
    throw EStringListError(message, {data});
}

// TStringList

TStringList::TStringList() = default;

TStringList::~TStringList() = default;

Integer TStringList::Add(const String& s) {
    return AddObject(s, nullptr);
}

Integer TStringList::AddObject(const String& s, TObject* object) {
    Integer index = GetCount();
    if (FSorted && Find(s, index)) {
        switch (FDuplicates) {
        case dupIgnore:
            return index;
        case dupError:
            throw EStringListError(Consts::SDuplicateString);
        case dupAccept:
            break;
        }
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Clear() {
    if (FList.empty())
        return;
    Changing();
    std::vector<TStringItem>().swap(FList);
    Changed();
}

void TStringList::Delete(Integer index) {
    CheckIndex(index);
    Changing();
    FList.erase(FList.begin() + index);
    Changed();
}

void TStringList::Exchange(Integer index1, Integer index2) {
    if (FSorted)
        throw EStringListError(Consts::SSortedListError);
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    ExchangeItems(index1, index2);
    Changed();
}

bool TStringList::Find(const String& s, Integer& index) const {
    bool found = false;
    Integer low = 0;
    Integer high = GetCount() - 1;
    while (low <= high) {
        const Integer i = low + (high - low) / 2;
        const Integer c = CompareStrings(FList[static_cast<size_t>(i)].text, s);
        if (c < 0) {
            low = i + 1;
        } else {
            high = i - 1;
            if (c == 0) {
                found = true;
                // With duplicates accepted the search goes on to the first of the equal strings.
                if (FDuplicates != dupAccept)
                    low = i;
            }
        }
    }
    index = low;
    return found;
}

Integer TStringList::IndexOf(const String& s) const {
    if (!FSorted)
        return TStrings::IndexOf(s);
    Integer index;
    return Find(s, index) ? index : -1;
}

void TStringList::Insert(Integer index, const String& s) {
    InsertObject(index, s, nullptr);
}

void TStringList::InsertObject(Integer index, const String& s, TObject* object) {
    if (FSorted)
        throw EStringListError(Consts::SSortedListError);
    if (index < 0 || index > GetCount())
        Error(Consts::SListIndexError, index);
    InsertItem(index, s, object);
}

void TStringList::Move(Integer curIndex, Integer newIndex) {
    if (curIndex == newIndex)
        return;
    if (FSorted)
        throw EStringListError(Consts::SSortedListError);
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    Changing();
    auto from = FList.begin() + curIndex;
    auto to = FList.begin() + newIndex;
    if (curIndex < newIndex)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
    Changed();
}

void TStringList::Sort() {
    if (FSorted || GetCount() < 2)
        return;
    Changing();
    index_sort::Sort(
        0, GetCount() - 1,
        [this](Integer i, Integer j) {
            return CompareStrings(FList[static_cast<size_t>(i)].text, FList[static_cast<size_t>(j)].text);
        },
        [this](Integer i, Integer j) { ExchangeItems(i, j); });
    Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (FSorted || GetCount() < 2 || !compare)
        return;
    Changing();
    index_sort::Sort(
        0, GetCount() - 1, [&](Integer i, Integer j) { return compare(this, i, j); },
        [this](Integer i, Integer j) { ExchangeItems(i, j); });
    Changed();
}

void TStringList::SetCapacity(Integer newCapacity) {
    if (newCapacity < GetCount())
        Error(Consts::SListCapacityError, newCapacity);
    FList.reserve(static_cast<size_t>(newCapacity));
}

void TStringList::SetSorted(bool sorted) {
    if (FSorted == sorted)
        return;
    if (sorted)
        Sort();
    FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (FCaseSensitive == caseSensitive)
        return;
    FCaseSensitive = caseSensitive;
    // The order changes with the comparison: sort again.
    if (FSorted) {
        FSorted = false;
        SetSorted(true);
    }
}

String TStringList::Get(Integer index) const {
    CheckIndex(index);
    return FList[static_cast<size_t>(index)].text;
}

Integer TStringList::GetCount() const {
    return static_cast<Integer>(FList.size());
}

TObject* TStringList::GetObject(Integer index) const {
    CheckIndex(index);
    return FList[static_cast<size_t>(index)].object;
}

void TStringList::Put(Integer index, const String& s) {
    if (FSorted)
        throw EStringListError(Consts::SSortedListError);
    CheckIndex(index);
    Changing();
    FList[static_cast<size_t>(index)].text = s;
    Changed();
}

void TStringList::PutObject(Integer index, TObject* object) {
    CheckIndex(index);
    Changing();
    FList[static_cast<size_t>(index)].object = object;
    Changed();
}

Integer TStringList::GetCapacity() const {
    return static_cast<Integer>(FList.capacity());
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

Integer TStringList::CompareStrings(const String& s1, const String& s2) const {
    return FCaseSensitive ? AnsiCompareStr(s1, s2) : AnsiCompareText(s1, s2);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::InsertItem(Integer index, const String& s, TObject* object) {
    Changing();
    FList.insert(FList.begin() + index, TStringItem{s, object});
    Changed();
}

void TStringList::CheckIndex(Integer index) const {
    if (index < 0 || index >= GetCount())
        Error(Consts::SListIndexError, index);
}

void TStringList::ExchangeItems(Integer index1, Integer index2) {
    if (index1 != index2)
        std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
}
