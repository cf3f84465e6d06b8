// Opening xlsx workbooks: the zip container through minizip over the file's bytes in memory, each part
// streamed through libxml2's reader, so a sheet is never held whole as a document tree.
#include <libxml/xmlreader.h>
#include <minizip/unzip.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string_view>

#include "platform/framework/ComObj.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/servers/Workbook.h"

namespace servers {

namespace {

[[noreturn]] void Corrupt(const String& detail) {
    throw EOleException(u"The file is not a workbook or is damaged (" + detail + u").", kDispEException,
                        kSpreadsheetSource);
}

// ---- The zip container over bytes in memory --------------------------------------------------------

struct MemoryFile {
    const std::string* bytes;
    ZPOS64_T position = 0;
};

voidpf ZCALLBACK MemoryOpen(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_WRITE) != 0)
        return nullptr;
    return new MemoryFile{static_cast<const std::string*>(opaque)};
}

uLong ZCALLBACK MemoryRead(voidpf, voidpf stream, void* buffer, uLong size) {
    auto* file = static_cast<MemoryFile*>(stream);
    const ZPOS64_T available = file->bytes->size() - std::min<ZPOS64_T>(file->position, file->bytes->size());
    const uLong count = uLong(std::min<ZPOS64_T>(available, size));
    std::memcpy(buffer, file->bytes->data() + file->position, count);
    file->position += count;
    return count;
}

uLong ZCALLBACK MemoryWrite(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T ZCALLBACK MemoryTell(voidpf, voidpf stream) {
    return static_cast<MemoryFile*>(stream)->position;
}

long ZCALLBACK MemorySeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* file = static_cast<MemoryFile*>(stream);
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = file->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = file->bytes->size();
    if (offset > file->bytes->size() || base + offset > file->bytes->size())
        return -1;
    file->position = base + offset;
    return 0;
}

int ZCALLBACK MemoryClose(voidpf, voidpf stream) {
    delete static_cast<MemoryFile*>(stream);
    return 0;
}

int ZCALLBACK MemoryError(voidpf, voidpf) {
    return 0;
}

class Archive {
public:
    explicit Archive(const std::string& bytes) {
        zlib_filefunc64_def functions{};
        functions.zopen64_file = MemoryOpen;
        functions.zread_file = MemoryRead;
        functions.zwrite_file = MemoryWrite;
        functions.ztell64_file = MemoryTell;
        functions.zseek64_file = MemorySeek;
        functions.zclose_file = MemoryClose;
        functions.zerror_file = MemoryError;
        functions.opaque = const_cast<std::string*>(&bytes);
        FZip = unzOpen2_64("", &functions);
        if (!FZip)
            Corrupt(u"no zip container");
    }
    ~Archive() {
        if (FOpen)
            unzCloseCurrentFile(FZip);
        unzClose(FZip);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool Has(const std::string& name) { return unzLocateFile(FZip, name.c_str(), 0) == UNZ_OK; }
    // Opens a part for Read; false when the archive has no such part.
    bool Open(const std::string& name) {
        Close();
        if (unzLocateFile(FZip, name.c_str(), 0) != UNZ_OK)
            return false;
        if (unzOpenCurrentFile(FZip) != UNZ_OK)
            Corrupt(u"unreadable part " + Utf8ToString(name));
        FOpen = true;
        return true;
    }
    int Read(char* buffer, int size) { return unzReadCurrentFile(FZip, buffer, unsigned(size)); }
    void Close() {
        if (FOpen) {
            const bool damaged = unzCloseCurrentFile(FZip) == UNZ_CRCERROR;
            FOpen = false;
            if (damaged)
                Corrupt(u"checksum");
        }
    }

private:
    unzFile FZip = nullptr;
    bool FOpen = false;
};

// ---- One XML part, streamed ------------------------------------------------------------------------

int ReadPart(void* context, char* buffer, int size) {
    return static_cast<Archive*>(context)->Read(buffer, size);
}

int ClosePart(void*) {
    return 0;
}

class XmlPart {
public:
    XmlPart(Archive& archive, const std::string& name) : FName(name) {
        if (!archive.Open(name))
            Corrupt(u"missing part " + Utf8ToString(name));
        FReader = xmlReaderForIO(ReadPart, ClosePart, &archive, nullptr, nullptr,
                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        if (!FReader)
            Corrupt(u"unreadable part " + Utf8ToString(name));
    }
    ~XmlPart() { xmlFreeTextReader(FReader); }
    XmlPart(const XmlPart&) = delete;
    XmlPart& operator=(const XmlPart&) = delete;

    // The next node; false at the end of the part.
    bool Next() {
        const int result = xmlTextReaderRead(FReader);
        if (result < 0)
            Corrupt(u"bad XML in " + Utf8ToString(FName));
        return result == 1;
    }
    bool IsStart(const char* localName) const {
        return Type() == XML_READER_TYPE_ELEMENT && NameIs(localName);
    }
    bool IsEnd(const char* localName) const {
        return (Type() == XML_READER_TYPE_END_ELEMENT || (Type() == XML_READER_TYPE_ELEMENT && IsEmpty())) &&
               NameIs(localName);
    }
    bool IsEmpty() const { return xmlTextReaderIsEmptyElement(FReader) == 1; }
    int Type() const { return xmlTextReaderNodeType(FReader); }
    bool NameIs(const char* localName) const {
        const xmlChar* name = xmlTextReaderConstLocalName(FReader);
        return name && std::strcmp(reinterpret_cast<const char*>(name), localName) == 0;
    }
    // An attribute by qualified name, or by local name within a namespace; empty when absent.
    std::string Attribute(const char* name, const char* nameSpace = nullptr) const {
        xmlChar* value = nameSpace ? xmlTextReaderGetAttributeNs(FReader, BAD_CAST name, BAD_CAST nameSpace)
                                   : xmlTextReaderGetAttribute(FReader, BAD_CAST name);
        return Take(value);
    }
    bool HasAttribute(const char* name) const {
        xmlChar* value = xmlTextReaderGetAttribute(FReader, BAD_CAST name);
        const bool has = value != nullptr;
        xmlFree(value);
        return has;
    }
    // The text content of the current element.
    std::string Text() const { return Take(xmlTextReaderReadString(FReader)); }

private:
    static std::string Take(xmlChar* value) {
        if (!value)
            return {};
        std::string text(reinterpret_cast<const char*>(value));
        xmlFree(value);
        return text;
    }

    std::string FName;
    xmlTextReaderPtr FReader = nullptr;
};

// ---- Values ----------------------------------------------------------------------------------------

constexpr const char* kRelationshipsNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kStrictRelationshipsNs = "http://purl.oclc.org/ooxml/officeDocument/relationships";

bool ParseUnsigned(std::string_view text, Int64& value) {
    if (text.empty() || text.size() > 18)
        return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= 0;
}

// A cell reference such as "B12" into its column and row.
bool ParseReference(std::string_view text, Integer& row, Integer& col) {
    size_t i = 0;
    Int64 column = 0;
    while (i < text.size() && text[i] >= 'A' && text[i] <= 'Z' && column <= kMaxSheetCols)
        column = column * 26 + (text[i++] - 'A' + 1);
    Int64 number = 0;
    if (column < 1 || column > kMaxSheetCols || !ParseUnsigned(text.substr(i), number) || number < 1 ||
        number > kMaxSheetRows)
        return false;
    row = Integer(number);
    col = Integer(column);
    return true;
}

// Text with the file form's escapes of characters XML cannot hold ("_x000D_") decoded.
String SheetText(const std::string& utf8) {
    String text = Utf8ToString(utf8);
    size_t at = text.find(u"_x");
    if (at == String::npos)
        return text;
    String out;
    size_t from = 0;
    for (; at != String::npos; at = text.find(u"_x", at + 1)) {
        if (at + 7 > text.size() || text[at + 6] != u'_')
            continue;
        unsigned code = 0;
        bool hex = true;
        for (size_t k = at + 2; k < at + 6 && hex; ++k) {
            const Char c = text[k];
            const int digit = c >= u'0' && c <= u'9'   ? c - u'0'
                              : c >= u'A' && c <= u'F' ? c - u'A' + 10
                              : c >= u'a' && c <= u'f' ? c - u'a' + 10
                                                       : -1;
            hex = digit >= 0;
            code = code * 16 + unsigned(std::max(digit, 0));
        }
        if (!hex)
            continue;
        out.append(text, from, at - from);
        out += Char(code);
        from = at + 7;
        at += 6;
    }
    out.append(text, from, String::npos);
    return out;
}

Integer ErrorCodeOf(std::string_view text) {
    static const std::pair<std::string_view, Integer> kErrors[] = {
        {"#NULL!", kErrorNull}, {"#DIV/0!", kErrorDiv0}, {"#VALUE!", kErrorValue}, {"#REF!", kErrorRef},
        {"#NAME?", kErrorName}, {"#NUM!", kErrorNum},    {"#N/A", kErrorNA}};
    for (const auto& [name, code] : kErrors)
        if (name == text)
            return code;
    return kErrorNA;
}

// Whether a number format shows a date or time: a day, month, year, hour or second code outside quotes,
// escapes and brackets other than elapsed-time ones.
bool IsDateFormat(std::string_view code) {
    bool inQuotes = false;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (inQuotes) {
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            const size_t end = code.find(']', i);
            if (end == std::string_view::npos)
                return false;
            const std::string_view inside = code.substr(i + 1, end - i - 1);
            if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos)
                return true;
            i = end;
        } else if (std::strchr("dDmMyYhHsS", c) && c != '\0') {
            return true;
        } else if (c == ';') {
            return false;
        }
    }
    return false;
}

bool IsBuiltInDateFormat(Int64 id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

// ---- Parts -----------------------------------------------------------------------------------------

// The folder of a part name, with its trailing slash.
std::string FolderOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship target relative to the folder of the part that names it, normalised.
std::string ResolveTarget(const std::string& folder, const std::string& target) {
    std::string path = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t slash = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, slash - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string out;
    for (const std::string& segment : segments)
        out += (out.empty() ? "" : "/") + segment;
    return out;
}

// Relationship ids to targets of a part, from its relationships part; empty when it has none.
std::map<std::string, std::string> ReadRelationships(Archive& archive, const std::string& part,
                                                     std::string* officeDocument = nullptr) {
    std::map<std::string, std::string> targets;
    const std::string folder = FolderOf(part);
    const std::string relsName = folder + "_rels/" + part.substr(folder.size()) + ".rels";
    if (!archive.Has(relsName))
        return targets;
    XmlPart xml(archive, relsName);
    while (xml.Next()) {
        if (!xml.IsStart("Relationship"))
            continue;
        const std::string target = ResolveTarget(folder, xml.Attribute("Target"));
        targets[xml.Attribute("Id")] = target;
        const std::string type = xml.Attribute("Type");
        if (officeDocument && type.size() >= 15 && type.compare(type.size() - 15, 15, "/officeDocument") == 0)
            *officeDocument = target;
    }
    archive.Close();
    return targets;
}

std::vector<String> ReadSharedStrings(Archive& archive, const std::string& name) {
    std::vector<String> strings;
    if (name.empty() || !archive.Has(name))
        return strings;
    XmlPart xml(archive, name);
    std::string current;
    bool inItem = false;
    Integer phonetic = 0; // inside a phonetic run, whose text is no part of the string
    while (xml.Next()) {
        if (xml.IsStart("si")) {
            current.clear();
            inItem = !xml.IsEmpty();
            if (!inItem)
                strings.push_back({});
        } else if (inItem && xml.IsStart("rPh") && !xml.IsEmpty()) {
            ++phonetic;
        } else if (inItem && xml.Type() == XML_READER_TYPE_END_ELEMENT && xml.NameIs("rPh")) {
            --phonetic;
        } else if (inItem && phonetic == 0 && xml.IsStart("t")) {
            current += xml.Text();
        } else if (inItem && xml.Type() == XML_READER_TYPE_END_ELEMENT && xml.NameIs("si")) {
            strings.push_back(SheetText(current));
            inItem = false;
        }
    }
    archive.Close();
    return strings;
}

// For each cell style, whether it shows dates.
std::vector<bool> ReadDateStyles(Archive& archive, const std::string& name) {
    std::vector<bool> dateStyles;
    if (name.empty() || !archive.Has(name))
        return dateStyles;
    XmlPart xml(archive, name);
    std::map<Int64, bool> customFormats;
    bool inCellXfs = false;
    while (xml.Next()) {
        if (xml.IsStart("numFmt")) {
            Int64 id = 0;
            if (ParseUnsigned(xml.Attribute("numFmtId"), id))
                customFormats[id] = IsDateFormat(xml.Attribute("formatCode"));
        } else if (xml.IsStart("cellXfs")) {
            inCellXfs = !xml.IsEmpty();
        } else if (xml.Type() == XML_READER_TYPE_END_ELEMENT && xml.NameIs("cellXfs")) {
            inCellXfs = false;
        } else if (inCellXfs && xml.IsStart("xf")) {
            Int64 id = 0;
            ParseUnsigned(xml.Attribute("numFmtId"), id);
            const auto custom = customFormats.find(id);
            dateStyles.push_back(custom != customFormats.end() ? custom->second : IsBuiltInDateFormat(id));
        }
    }
    archive.Close();
    return dateStyles;
}

struct CellSource {
    const std::vector<String>& sharedStrings;
    const std::vector<bool>& dateStyles;
};

Variant CellValue(const std::string& type, const std::string& value, const std::string& inlineText,
                  bool hasValue, Int64 style, const CellSource& source) {
    if (type == "inlineStr")
        return SheetText(inlineText);
    if (!hasValue)
        return {};
    if (type == "s") {
        Int64 index = 0;
        if (!ParseUnsigned(value, index) || size_t(index) >= source.sharedStrings.size())
            Corrupt(u"shared string index");
        return source.sharedStrings[size_t(index)];
    }
    if (type == "str" || type == "d")
        return SheetText(value);
    if (type == "b")
        return Variant(value == "1" || value == "true");
    if (type == "e")
        return Variant::FromError(ErrorCodeOf(value));
    double number = 0;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), number);
    if (result.ec != std::errc() || result.ptr != value.data() + value.size() || !std::isfinite(number))
        Corrupt(u"number");
    if (style >= 0 && size_t(style) < source.dateStyles.size() && source.dateStyles[size_t(style)] &&
        number >= 0)
        return Variant::FromDate(number);
    return number;
}

void ReadSheet(Archive& archive, const std::string& name, TSheetData& sheet, const CellSource& source) {
    XmlPart xml(archive, name);
    Integer row = 0;
    Integer col = 0;
    bool inCell = false;
    bool hasValue = false;
    Integer cellRow = 0;
    Integer cellCol = 0;
    Int64 style = -1;
    std::string type;
    std::string value;
    std::string inlineText;
    auto finishCell = [&] {
        sheet.SetCell(cellRow, cellCol, CellValue(type, value, inlineText, hasValue, style, source));
        inCell = false;
    };
    while (xml.Next()) {
        if (xml.IsStart("row")) {
            Int64 number = 0;
            const std::string r = xml.Attribute("r");
            if (r.empty())
                number = Int64(row) + 1;
            else if (!ParseUnsigned(r, number))
                Corrupt(u"row number");
            if (number < 1 || number > kMaxSheetRows)
                Corrupt(u"row number");
            row = Integer(number);
            col = 0;
        } else if (xml.IsStart("c")) {
            if (row == 0)
                Corrupt(u"cell outside a row");
            const std::string reference = xml.Attribute("r");
            if (reference.empty()) {
                cellRow = row;
                cellCol = col + 1;
                if (cellCol > kMaxSheetCols)
                    Corrupt(u"cell reference");
            } else if (!ParseReference(reference, cellRow, cellCol)) {
                Corrupt(u"cell reference");
            }
            col = cellCol;
            type = xml.Attribute("t");
            style = -1;
            const std::string s = xml.Attribute("s");
            if (!s.empty() && !ParseUnsigned(s, style))
                Corrupt(u"cell style");
            value.clear();
            inlineText.clear();
            hasValue = false;
            inCell = true;
            if (xml.IsEmpty())
                finishCell();
        } else if (inCell && xml.IsStart("v")) {
            value = xml.Text();
            hasValue = true;
        } else if (inCell && xml.IsStart("t")) {
            inlineText += xml.Text();
        } else if (inCell && xml.Type() == XML_READER_TYPE_END_ELEMENT && xml.NameIs("c")) {
            finishCell();
        }
    }
    archive.Close();
}

} // namespace

std::unique_ptr<TWorkbookData> ReadWorkbookBytes(const std::string& bytes) {
    Archive archive(bytes);
    std::string workbookPart;
    ReadRelationships(archive, "", &workbookPart);
    if (workbookPart.empty())
        workbookPart = "xl/workbook.xml";
    const std::map<std::string, std::string> targets = ReadRelationships(archive, workbookPart);

    struct SheetEntry {
        String name;
        std::string part;
    };
    std::vector<SheetEntry> entries;
    Int64 activeTab = 0;
    {
        XmlPart xml(archive, workbookPart);
        while (xml.Next()) {
            if (xml.IsStart("workbookView")) {
                const std::string tab = xml.Attribute("activeTab");
                if (!tab.empty() && !ParseUnsigned(tab, activeTab))
                    activeTab = 0;
            } else if (xml.IsStart("sheet")) {
                std::string id = xml.Attribute("id", kRelationshipsNs);
                if (id.empty())
                    id = xml.Attribute("id", kStrictRelationshipsNs);
                if (id.empty())
                    id = xml.Attribute("r:id");
                const auto target = targets.find(id);
                if (target == targets.end())
                    Corrupt(u"sheet without a part");
                entries.push_back({Utf8ToString(xml.Attribute("name")), target->second});
            }
        }
        archive.Close();
    }
    if (entries.empty())
        Corrupt(u"no sheets");

    std::string sharedStringsPart;
    std::string stylesPart;
    for (const auto& [id, target] : targets) {
        const std::string file = target.substr(target.rfind('/') + 1);
        if (file == "sharedStrings.xml")
            sharedStringsPart = target;
        else if (file == "styles.xml")
            stylesPart = target;
    }
    const std::vector<String> sharedStrings = ReadSharedStrings(archive, sharedStringsPart);
    const std::vector<bool> dateStyles = ReadDateStyles(archive, stylesPart);
    const CellSource source{sharedStrings, dateStyles};

    auto workbook = std::make_unique<TWorkbookData>();
    for (const SheetEntry& entry : entries) {
        auto sheet = std::make_shared<TSheetData>(entry.name);
        ReadSheet(archive, entry.part, *sheet, source);
        workbook->sheets.push_back(std::move(sheet));
    }
    workbook->activeSheet = size_t(activeTab) < workbook->sheets.size() ? size_t(activeTab) : 0;
    return workbook;
}

std::unique_ptr<TWorkbookData> ReadWorkbookFile(const String& fileName) {
    std::string bytes;
    try {
        TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
        const Int64 size = file.Size();
        bytes.resize(size_t(size));
        if (size > 0)
            file.ReadBuffer(bytes.data(), Integer(size));
    } catch (const EOleException&) {
        throw;
    } catch (const Exception& e) {
        throw EOleException(u"Cannot open the workbook \"" + fileName + u"\". " + e.Message(),
                            kDispEException, kSpreadsheetSource);
    }
    try {
        return ReadWorkbookBytes(bytes);
    } catch (const EOleException& e) {
        throw EOleException(u"Cannot open the workbook \"" + fileName + u"\". " + e.Message(),
                            kDispEException, kSpreadsheetSource);
    }
}

} // namespace servers
