// INI files: TCustomIniFile with its typed reads and writes, TIniFile (every write on disk at once)
// and TMemIniFile (changes held until UpdateFile).
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/Types.h"

class TEncoding;
class TStrings;

namespace ini_detail {
class TIniContents;
}

// Section and key names compare without case and are trimmed of blanks; values are trimmed too, and a
// value in matching double or single quotes reads without them. Lines starting with ';' are comments.
// Comments, blank lines and lines that are not entries are kept when the file is rewritten, and the
// file keeps the encoding it was read in (ANSI without a byte-order mark for a new file).
//
// A write raises EIniFileException "Unable to write to %s" when the file cannot be written, when an
// existing file could not be read (writing would replace what could not be read), and when the text
// cannot be stored as one line: a line break in any text, ']' in a section name, '=' in a key name or
// a key name starting with '[' or ';'.
class TCustomIniFile {
public:
    explicit TCustomIniFile(const String& fileName);
    virtual ~TCustomIniFile();
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const String& FileName() const { return FFileName; }

    // Whether the section holds at least one key.
    bool SectionExists(const String& section);
    virtual bool ValueExists(const String& section, const String& ident);
    virtual String ReadString(const String& section, const String& ident, const String& defaultValue) = 0;
    virtual void WriteString(const String& section, const String& ident, const String& value) = 0;
    // Decimal, or hex after "$" or "0x"; defaultValue when missing or not a number.
    virtual Integer ReadInteger(const String& section, const String& ident, Integer defaultValue);
    virtual void WriteInteger(const String& section, const String& ident, Integer value);
    // A number, non-zero being true; written as "1" or "0".
    virtual bool ReadBool(const String& section, const String& ident, bool defaultValue);
    virtual void WriteBool(const String& section, const String& ident, bool value);
    // In the format settings' decimal separator.
    virtual Extended ReadFloat(const String& section, const String& ident, Extended defaultValue);
    virtual void WriteFloat(const String& section, const String& ident, Extended value);
    // The key names of the section (the list is cleared first).
    virtual void ReadSection(const String& section, TStrings& strings) = 0;
    virtual void ReadSections(TStrings& strings) = 0;
    // "name=value" lines of the section, values as ReadString gives them.
    virtual void ReadSectionValues(const String& section, TStrings& strings) = 0;
    virtual void EraseSection(const String& section) = 0;
    virtual void DeleteKey(const String& section, const String& ident) = 0;
    virtual void UpdateFile() = 0;

protected:
    [[noreturn]] void RaiseWriteError() const;

private:
    String FFileName;
};

// Reads see the file as it is now; each write rewrites the file atomically before it returns. A file
// name without a folder is the file of that name in the settings folder (ZELMOR_HOME).
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const String& fileName);
    ~TIniFile() override;

    String ReadString(const String& section, const String& ident, const String& defaultValue) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    void ReadSection(const String& section, TStrings& strings) override;
    void ReadSections(TStrings& strings) override;
    void ReadSectionValues(const String& section, TStrings& strings) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    // Nothing to do: every write is already on disk.
    void UpdateFile() override;

private:
    // Reloads when the file changed since it was last read or written.
    void Refresh();
    // Refresh for a change; raises when the file exists but could not be read.
    void PrepareWrite();
    void Save();

    std::string FPath;
    bool FInSettingsFolder = false; // the folder is created on the first write
    bool FLoaded = false;
    bool FReadFailed = false;
    std::unique_ptr<ini_detail::TIniContents> FContents;
};

// Reads the file once, at construction (raising EFOpenError when it exists but cannot be read); writes
// change only the memory until UpdateFile writes the whole file atomically.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const String& fileName, TEncoding* encoding = nullptr);
    ~TMemIniFile() override;

    String ReadString(const String& section, const String& ident, const String& defaultValue) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    void ReadSection(const String& section, TStrings& strings) override;
    void ReadSections(TStrings& strings) override;
    void ReadSectionValues(const String& section, TStrings& strings) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    void UpdateFile() override;

private:
    std::unique_ptr<ini_detail::TIniContents> FContents;
};
