// The framework's string lists: TStrings, the abstract list of strings with attached objects that list
// boxes, memos and grid rows derive from, and TStringList, the stored list with sorting and change events.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/Persistent.h"
#include "platform/rtl/Types.h"

// The lists never own or free the objects attached to their strings.
class TEncoding;
class TStream;
class TStringList;

// An event that only names its sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// The line break Text uses by default.
inline constexpr const Char* sLineBreak = u"\r\n";

class TStrings : public TPersistent {
    DECLARE_CLASS(TStrings, TPersistent)

public:
    TStrings();
    ~TStrings() override;

    // Index of the new string.
    virtual Integer Add(const String& s);
    virtual Integer AddObject(const String& s, TObject* object);
    void Append(const String& s);
    // Adds every string (with its object) of strings, including when strings is this list.
    virtual void AddStrings(const TStrings& strings);
    // Copies the strings, objects and the separators, quote character and line break of source.
    virtual void Assign(const TStrings& source);
    // From another string list as above; any other source as TPersistent does.
    void Assign(TPersistent* source) override;
    // Changes between the first BeginUpdate and the last EndUpdate are announced once.
    void BeginUpdate();
    void EndUpdate();
    virtual void Clear() = 0;
    virtual void Delete(Integer index) = 0;
    // Same count and the same strings, compared exactly.
    virtual bool Equals(const TStrings& strings) const;
    virtual void Exchange(Integer index1, Integer index2);
    // First index whose string CompareStrings finds equal to s, or -1.
    virtual Integer IndexOf(const String& s) const;
    // First index of a "name=value" line whose name CompareStrings finds equal to name, or -1.
    virtual Integer IndexOfName(const String& name) const;
    virtual Integer IndexOfObject(const TObject* object) const;
    virtual void Insert(Integer index, const String& s) = 0;
    virtual void InsertObject(Integer index, const String& s, TObject* object);
    // Reading detects a byte-order mark when encoding is null; without one the text is read in the ANSI
    // code page. Raise EFOpenError or EReadError.
    virtual void LoadFromFile(const String& fileName, TEncoding* encoding = nullptr);
    virtual void LoadFromStream(TStream& stream, TEncoding* encoding = nullptr);
    virtual void Move(Integer curIndex, Integer newIndex);
    // Writing with a null encoding keeps the encoding the text was loaded with, else ANSI without a
    // byte-order mark. Raise EFCreateError or EWriteError.
    virtual void SaveToFile(const String& fileName, TEncoding* encoding = nullptr);
    virtual void SaveToStream(TStream& stream, TEncoding* encoding = nullptr);

    Integer Count() const { return GetCount(); }
    Integer Capacity() const { return GetCapacity(); }
    virtual void SetCapacity(Integer newCapacity);
    String Strings(Integer index) const { return Get(index); }
    void SetStrings(Integer index, const String& s) { Put(index, s); }
    TObject* Objects(Integer index) const { return GetObject(index); }
    void SetObjects(Integer index, TObject* object) { PutObject(index, object); }

    // Every string followed by LineBreak. Setting splits at CR, LF and CR LF (or at LineBreak when it
    // was changed).
    String Text() const { return GetTextStr(); }
    void SetText(const String& text) { SetTextStr(text); }
    // DelimitedText with ',' and '"', blanks also separating.
    String CommaText() const;
    void SetCommaText(const String& text);
    // Items joined by Delimiter, quoted with QuoteChar where they hold a blank (unless StrictDelimiter),
    // the delimiter or the quote character.
    String DelimitedText() const;
    void SetDelimitedText(const String& text);
    Char Delimiter() const { return FDelimiter; }
    void SetDelimiter(Char delimiter) { FDelimiter = delimiter; }
    Char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(Char quoteChar) { FQuoteChar = quoteChar; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool strict) { FStrictDelimiter = strict; }
    const String& LineBreak() const { return FLineBreak; }
    void SetLineBreak(const String& lineBreak) { FLineBreak = lineBreak; }

    // The name part of line index ("" when the line has no separator).
    String Names(Integer index) const;
    // The value of the first line named name ("" when there is none).
    String Values(const String& name) const;
    // Replaces the value of the line named name, adds a line when there is none, and deletes the line
    // when value is empty.
    void SetValues(const String& name, const String& value);
    // The text after the separator of line index ("" when the line has no separator or index < 0).
    String ValueFromIndex(Integer index) const;
    void SetValueFromIndex(Integer index, const String& value);
    Char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(Char separator) { FNameValueSeparator = separator; }

    // The encoding of the last load (null before one).
    TEncoding* Encoding() const { return FEncoding; }
    // Whether saving writes the encoding's byte-order mark.
    bool WriteBOM() const { return FWriteBOM; }
    void SetWriteBOM(bool writeBOM) { FWriteBOM = writeBOM; }
    Integer UpdateCount() const { return FUpdateCount; }

protected:
    virtual String Get(Integer index) const = 0;
    virtual Integer GetCount() const = 0;
    virtual TObject* GetObject(Integer index) const;
    virtual void Put(Integer index, const String& s);
    virtual void PutObject(Integer index, TObject* object);
    virtual Integer GetCapacity() const;
    virtual String GetTextStr() const;
    virtual void SetTextStr(const String& text);
    // Called with true at the first BeginUpdate and with false at the last EndUpdate.
    virtual void SetUpdateState(bool updating);
    // Case-insensitive in the user's locale; TStringList can make it case-sensitive.
    virtual Integer CompareStrings(const String& s1, const String& s2) const;
    // Raises EStringListError with Format(message, [data]).
    [[noreturn]] void Error(const Char* message, Integer data) const;

private:
    String DelimitedTextWith(Char delimiter, Char quoteChar, bool strict) const;
    void SetDelimitedTextWith(const String& text, Char delimiter, Char quoteChar, bool strict);

    Integer FUpdateCount = 0;
    Char FDelimiter = u',';
    Char FQuoteChar = u'"';
    Char FNameValueSeparator = u'=';
    bool FStrictDelimiter = false;
    bool FWriteBOM = true;
    String FLineBreak = sLineBreak;
    TEncoding* FEncoding = nullptr; // not owned: encodings are shared instances
};

// Negative when the string at index1 goes before the one at index2.
using TStringListSortCompare = std::function<Integer(TStringList* list, Integer index1, Integer index2)>;

class TStringList : public TStrings {
    DECLARE_CLASS(TStringList, TStrings)

public:
    TStringList();
    ~TStringList() override;

    Integer Add(const String& s) override;
    // On a sorted list the string goes to its place; a duplicate is skipped (dupIgnore, answering the
    // index of the string already there), added (dupAccept) or refused with EStringListError (dupError).
    Integer AddObject(const String& s, TObject* object) override;
    void Clear() override;
    void Delete(Integer index) override;
    // EStringListError "Operation not allowed on sorted list" on a sorted list.
    void Exchange(Integer index1, Integer index2) override;
    // Binary search of a sorted list: true when s is there; index is where it is or would go.
    virtual bool Find(const String& s, Integer& index) const;
    Integer IndexOf(const String& s) const override;
    // EStringListError "Operation not allowed on sorted list" on a sorted list.
    void Insert(Integer index, const String& s) override;
    void InsertObject(Integer index, const String& s, TObject* object) override;
    void Move(Integer curIndex, Integer newIndex) override;
    // Sorts with CompareStrings; does nothing on a list that is already Sorted.
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& compare);
    void SetCapacity(Integer newCapacity) override;

    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool caseSensitive);

    // Fired around every change, but not between BeginUpdate and EndUpdate: then OnChanging fires at the
    // first BeginUpdate and OnChange at the last EndUpdate.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    String Get(Integer index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer index) const override;
    void Put(Integer index, const String& s) override;
    void PutObject(Integer index, TObject* object) override;
    Integer GetCapacity() const override;
    void SetUpdateState(bool updating) override;
    Integer CompareStrings(const String& s1, const String& s2) const override;
    virtual void Changed();
    virtual void Changing();
    virtual void InsertItem(Integer index, const String& s, TObject* object);

private:
    struct TStringItem {
        String text;
        TObject* object = nullptr;
    };

    void CheckIndex(Integer index) const;
    void ExchangeItems(Integer index1, Integer index2);

    std::vector<TStringItem> FList;
    TDuplicates FDuplicates = dupIgnore;
    bool FSorted = false;
    bool FCaseSensitive = false;
};
