// INI files: the lines of a file kept as they are, with the sections and entries found in them, and
// the two ways of keeping them in step with the disk (TIniFile, TMemIniFile).
#include "platform/rtl/IniFiles.h"

#include <vector>

#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Encoding.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"

namespace ini_detail {

// The lines of an INI file. Every line is kept; headers and entries also carry their folded name
// (trimmed, upper case) for lookups. Entries before the first header belong to no section and are
// kept but never read.
class TIniContents {
public:
    // Identity of the file the lines were last read from or written to (TIniFile).
    const backend::FileStamp& Stamp() const { return FStamp; }
    void SetStamp(const backend::FileStamp& stamp) { FStamp = stamp; }

    void Clear(TEncoding* encoding) {
        FLines.clear();
        FEncoding = encoding ? encoding : TEncoding::Default();
    }

    void Load(const std::string& bytes, TEncoding* encoding) {
        const auto* data = reinterpret_cast<const Byte*>(bytes.data());
        const Integer preamble = TEncoding::GetBufferEncoding(data, bytes.size(), encoding);
        FEncoding = encoding;
        TStringList lines;
        lines.SetText(encoding->GetString(data + preamble, bytes.size() - static_cast<size_t>(preamble)));
        FLines.clear();
        FLines.reserve(static_cast<size_t>(lines.Count()));
        for (Integer i = 0; i < lines.Count(); ++i)
            FLines.push_back(ParseLine(lines.Strings(i)));
    }

    // The file's bytes: the lines with CR LF, in the encoding the file was read in, with its mark.
    std::string Save() const {
        String text;
        for (const TLine& line : FLines) {
            text += line.text;
            text += sLineBreak;
        }
        TBytes bytes = FEncoding->GetPreamble();
        const TBytes body = FEncoding->GetBytes(text);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return std::string(bytes.begin(), bytes.end());
    }

    bool Read(const String& section, const String& ident, String& value) const {
        const TRange range = FindSection(Fold(section));
        const size_t at = FindEntry(range, Fold(ident));
        if (at == kNone)
            return false;
        value = Unquoted(FLines[at].value);
        return true;
    }

    void Write(const String& section, const String& ident, const String& value) {
        const String name = Trim(ident);
        TLine entry{TLine::Entry, name + u'=' + value, Fold(ident), Trim(value)};
        const TRange range = FindSection(Fold(section));
        if (range.header == kNone) {
            if (!FLines.empty() && !Trim(FLines.back().text).empty())
                FLines.push_back(TLine{TLine::Other, String(), String(), String()});
            const String header = u'[' + Trim(section) + u']';
            FLines.push_back(TLine{TLine::Header, header, Fold(section), String()});
            FLines.push_back(std::move(entry));
            return;
        }
        const size_t at = FindEntry(range, entry.key);
        if (at != kNone) {
            // The key keeps the spelling the file gave it.
            const String& text = FLines[at].text;
            FLines[at].text = Trim(text.substr(0, text.find(u'='))) + u'=' + value;
            FLines[at].value = entry.value;
            return;
        }
        // After the section's last entry; in a section without entries, after its last non-blank line,
        // so that comments under the header stay above and blank lines before the next section stay below.
        size_t lastEntry = kNone;
        size_t lastText = range.header;
        for (size_t i = range.header + 1; i < range.end; ++i) {
            if (FLines[i].kind == TLine::Entry)
                lastEntry = i;
            if (!Trim(FLines[i].text).empty())
                lastText = i;
        }
        const size_t insertAt = (lastEntry != kNone ? lastEntry : lastText) + 1;
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
    }

    // The section's key names, each once, in the file's order and spelling.
    std::vector<String> Keys(const String& section) const {
        std::vector<String> keys;
        const TRange range = FindSection(Fold(section));
        for (size_t i = range.header + 1; range.header != kNone && i < range.end; ++i) {
            const TLine& line = FLines[i];
            if (line.kind != TLine::Entry || FindEntry(range, line.key) != i)
                continue;
            keys.push_back(Trim(line.text.substr(0, line.text.find(u'='))));
        }
        return keys;
    }

    std::vector<String> Sections() const {
        std::vector<String> names;
        for (size_t i = 0; i < FLines.size(); ++i)
            if (FLines[i].kind == TLine::Header && FindSection(FLines[i].key).header == i)
                names.push_back(SectionName(FLines[i].text));
        return names;
    }

    // Removes every section of that name with all its lines; false when there was none.
    bool EraseSection(const String& section) {
        const String key = Fold(section);
        bool erased = false;
        for (TRange range = FindSection(key); range.header != kNone; range = FindSection(key)) {
            FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(range.header),
                         FLines.begin() + static_cast<std::ptrdiff_t>(range.end));
            erased = true;
        }
        return erased;
    }

    // Removes the key (every line of it) from the section; false when it was not there.
    bool DeleteKey(const String& section, const String& ident) {
        const String key = Fold(ident);
        bool deleted = false;
        for (TRange range = FindSection(Fold(section));;) {
            const size_t at = FindEntry(range, key);
            if (at == kNone)
                return deleted;
            FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(at));
            --range.end;
            deleted = true;
        }
    }

private:
    struct TLine {
        enum Kind { Other, Header, Entry };
        Kind kind;
        String text;  // the line as it stands in the file
        String key;   // folded name of a header or an entry
        String value; // trimmed value of an entry, with any quotes
    };
    // A section: its header line and the index after its last line.
    struct TRange {
        size_t header;
        size_t end;
    };
    static constexpr size_t kNone = static_cast<size_t>(-1);

    static String Fold(const String& name) { return AnsiUpperCase(Trim(name)); }

    static String SectionName(const String& headerText) {
        const String text = Trim(headerText);
        const size_t close = text.find(u']');
        return Trim(text.substr(1, close == String::npos ? String::npos : close - 1));
    }

    static TLine ParseLine(const String& text) {
        const String trimmed = Trim(text);
        if (trimmed.empty() || trimmed.front() == u';')
            return TLine{TLine::Other, text, String(), String()};
        if (trimmed.front() == u'[')
            return TLine{TLine::Header, text, AnsiUpperCase(SectionName(text)), String()};
        const size_t equals = text.find(u'=');
        if (equals == String::npos)
            return TLine{TLine::Other, text, String(), String()};
        return TLine{TLine::Entry, text, Fold(text.substr(0, equals)), Trim(text.substr(equals + 1))};
    }

    // As the Windows profile functions read it: without one pair of matching quotes around it.
    static String Unquoted(const String& value) {
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            return value.substr(1, value.size() - 2);
        return value;
    }

    TRange FindSection(const String& key) const {
        for (size_t i = 0; i < FLines.size(); ++i) {
            if (FLines[i].kind != TLine::Header || FLines[i].key != key)
                continue;
            size_t end = i + 1;
            while (end < FLines.size() && FLines[end].kind != TLine::Header)
                ++end;
            return TRange{i, end};
        }
        return TRange{kNone, kNone};
    }

    size_t FindEntry(const TRange& range, const String& key) const {
        if (range.header == kNone)
            return kNone;
        for (size_t i = range.header + 1; i < range.end; ++i)
            if (FLines[i].kind == TLine::Entry && FLines[i].key == key)
                return i;
        return kNone;
    }

    std::vector<TLine> FLines;
    TEncoding* FEncoding = TEncoding::Default();
    backend::FileStamp FStamp;
};

} // namespace ini_detail

using ini_detail::TIniContents;

namespace {

bool HasLineBreak(const String& s) {
    return s.find_first_of(u"\r\n") != String::npos;
}

// Whether the names and the value can be written as one entry that reads back as the same entry.
bool Storable(const String& section, const String& ident, const String& value) {
    const String key = Trim(ident);
    return !HasLineBreak(section) && !HasLineBreak(ident) && !HasLineBreak(value) &&
           section.find(u']') == String::npos && ident.find(u'=') == String::npos &&
           (key.empty() || (key.front() != u'[' && key.front() != u';'));
}

void FillList(TStrings& strings, const std::vector<String>& items) {
    strings.BeginUpdate();
    try {
        strings.Clear();
        for (const String& item : items)
            strings.Add(item);
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}

std::vector<String> SectionValues(TIniContents& contents, const String& section) {
    std::vector<String> lines = contents.Keys(section);
    for (String& line : lines) {
        String value;
        contents.Read(section, line, value);
        line += u'=' + value;
    }
    return lines;
}

} // namespace

// TCustomIniFile

TCustomIniFile::TCustomIniFile(const String& fileName) : FFileName(fileName) {}

TCustomIniFile::~TCustomIniFile() = default;

bool TCustomIniFile::SectionExists(const String& section) {
    TStringList keys;
    ReadSection(section, keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& section, const String& ident) {
    TStringList keys;
    ReadSection(section, keys);
    return keys.IndexOf(Trim(ident)) >= 0;
}

Integer TCustomIniFile::ReadInteger(const String& section, const String& ident, Integer defaultValue) {
    String text = ReadString(section, ident, String());
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text = u'$' + text.substr(2);
    return StrToIntDef(text, defaultValue);
}

void TCustomIniFile::WriteInteger(const String& section, const String& ident, Integer value) {
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const String& section, const String& ident, bool defaultValue) {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& section, const String& ident, bool value) {
    WriteString(section, ident, value ? u"1" : u"0");
}

Extended TCustomIniFile::ReadFloat(const String& section, const String& ident, Extended defaultValue) {
    const String text = ReadString(section, ident, String());
    Extended value;
    return !text.empty() && TryStrToFloat(text, value) ? value : defaultValue;
}

void TCustomIniFile::WriteFloat(const String& section, const String& ident, Extended value) {
    WriteString(section, ident, FloatToStr(value));
}

void TCustomIniFile::RaiseWriteError() const {
    throw EIniFileException(Consts::SIniFileWriteError, {FFileName});
}

// TIniFile

TIniFile::TIniFile(const String& fileName)
    : TCustomIniFile(fileName), FContents(std::make_unique<TIniContents>()) {
    // A name holding a character 0 would name another file at the system edge: it names none.
    if (fileName.find(u'\0') != String::npos)
        return;
    if (fileName.find(PathDelim) == String::npos) {
        FPath = backend::ZelmorHome() + "/" + StringToUtf8(fileName);
        FInSettingsFolder = true;
    } else {
        FPath = StringToUtf8(fileName);
    }
}

TIniFile::~TIniFile() = default;

String TIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
    Refresh();
    String value;
    return FContents->Read(section, ident, value) ? value : defaultValue;
}

void TIniFile::WriteString(const String& section, const String& ident, const String& value) {
    if (!Storable(section, ident, value))
        RaiseWriteError();
    PrepareWrite();
    FContents->Write(section, ident, value);
    Save();
}

void TIniFile::ReadSection(const String& section, TStrings& strings) {
    Refresh();
    FillList(strings, FContents->Keys(section));
}

void TIniFile::ReadSections(TStrings& strings) {
    Refresh();
    FillList(strings, FContents->Sections());
}

void TIniFile::ReadSectionValues(const String& section, TStrings& strings) {
    Refresh();
    FillList(strings, SectionValues(*FContents, section));
}

void TIniFile::EraseSection(const String& section) {
    PrepareWrite();
    if (FContents->EraseSection(section))
        Save();
}

void TIniFile::DeleteKey(const String& section, const String& ident) {
    PrepareWrite();
    if (FContents->DeleteKey(section, ident))
        Save();
}

void TIniFile::UpdateFile() {}

void TIniFile::Refresh() {
    const backend::FileStamp stamp = FPath.empty() ? backend::FileStamp() : backend::StatFile(FPath);
    if (FLoaded && stamp == FContents->Stamp())
        return;
    FLoaded = true;
    FContents->SetStamp(stamp);
    FReadFailed = false;
    if (!stamp.exists) {
        FContents->Clear(nullptr);
        return;
    }
    std::string bytes;
    if (!backend::ReadWholeFile(FPath, bytes, nullptr)) {
        FContents->Clear(nullptr);
        FReadFailed = true;
        return;
    }
    FContents->Load(bytes, nullptr);
}

void TIniFile::PrepareWrite() {
    Refresh();
    if (FReadFailed || FPath.empty())
        RaiseWriteError();
}

void TIniFile::Save() {
    // The settings folder stands in for the Windows folder, which always exists.
    if (FInSettingsFolder)
        backend::ForceDirectories(backend::ZelmorHome(), nullptr);
    if (!backend::WriteFileAtomically(FPath, FContents->Save(), nullptr)) {
        // The memory now differs from the disk: read the disk again next time.
        FLoaded = false;
        RaiseWriteError();
    }
    FContents->SetStamp(backend::StatFile(FPath));
}

// TMemIniFile

TMemIniFile::TMemIniFile(const String& fileName, TEncoding* encoding)
    : TCustomIniFile(fileName), FContents(std::make_unique<TIniContents>()) {
    FContents->Clear(encoding);
    if (fileName.empty() || !FileExists(fileName))
        return;
    std::string bytes;
    int error = 0;
    if (!backend::ReadWholeFile(StringToUtf8(fileName), bytes, &error))
        throw EFOpenError(Consts::SFOpenErrorEx,
                          {ExpandFileName(fileName), SysErrorMessage(Win32ErrorFromErrno(error))});
    FContents->Load(bytes, encoding);
}

TMemIniFile::~TMemIniFile() = default;

String TMemIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
    String value;
    return FContents->Read(section, ident, value) ? value : defaultValue;
}

void TMemIniFile::WriteString(const String& section, const String& ident, const String& value) {
    if (!Storable(section, ident, value))
        RaiseWriteError();
    FContents->Write(section, ident, value);
}

void TMemIniFile::ReadSection(const String& section, TStrings& strings) {
    FillList(strings, FContents->Keys(section));
}

void TMemIniFile::ReadSections(TStrings& strings) {
    FillList(strings, FContents->Sections());
}

void TMemIniFile::ReadSectionValues(const String& section, TStrings& strings) {
    FillList(strings, SectionValues(*FContents, section));
}

void TMemIniFile::EraseSection(const String& section) {
    FContents->EraseSection(section);
}

void TMemIniFile::DeleteKey(const String& section, const String& ident) {
    FContents->DeleteKey(section, ident);
}

void TMemIniFile::UpdateFile() {
    if (FileName().empty() || FileName().find(u'\0') != String::npos)
        RaiseWriteError();
    if (!backend::WriteFileAtomically(StringToUtf8(FileName()), FContents->Save(), nullptr))
        RaiseWriteError();
}
