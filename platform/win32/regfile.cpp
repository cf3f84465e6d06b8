// The registry's file, and the tree it is read into.
//
// The file is in the registry-export format, written as UTF-8 (read also with a UTF-8 BOM, or as
// UTF-16 LE with a BOM):
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_CURRENT_USER\Software\Zelmor]
//     @="the default value"
//     "Text"="C:\\Data \"quoted\""
//     "Count"=dword:0000002a
//     "Bytes"=hex:01,02,03
//     "List"=hex(7):41,00,00,00,00,00
//
// REG_SZ data go out as quoted text, REG_DWORD of four bytes as dword:, REG_BINARY as hex: and every
// other type (or a REG_SZ / REG_DWORD that the short forms cannot carry) as hex(type): bytes. Lines of
// bytes are wrapped with a trailing "\" as the format does. Lines starting with ';' are comments.
//
// Our escapes, so that every name and text round-trips (the format has only \\ and \" in quotes):
//   - A control character (U+0000-U+001F, U+007F-U+009F) or an unpaired surrogate in a quoted value
//     name is written \xHHHH (four hex digits). A backslash followed by anything else than \, " or
//     x and four hex digits reads as a backslash, so hand-written paths survive.
//   - Key names cannot hold a backslash, so in a section line the same characters, and '%' itself, are
//     written %HHHH; a '%' not followed by four hex digits reads as itself.
//   - REG_SZ text holding such characters, an embedded null, or no terminating null goes out as
//     hex(1): bytes, the format's own way.
// Deletion entries ([-key], "name"=-) belong in files to import, not in the store: they do not parse.
#include "platform/win32/regfile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "platform/rtl/UString.h"
#include "platform/win32/registry.h"

namespace win32 {

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00";

// Upper case of one UTF-16 unit, as Win32 compares registry names: one unit at a time. Covers Latin,
// Greek and Cyrillic letters and the full-width Latin ones; other characters compare as they are.
Char FoldChar(Char c) {
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 0x20) : c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A))
        return static_cast<Char>(c - 0x20);
    if (c == 0xFF)
        return 0x178;
    if (c == 0x3C2)
        return 0x3A3; // final sigma
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<Char>(c - 0x50);
    if (c == 0x131)
        return u'I';
    if (((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x4BF) ||
         (c >= 0x4D0 && c <= 0x52F)) &&
        (c & 1))
        return static_cast<Char>(c - 1);
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x4C1 && c <= 0x4CE)) && !(c & 1))
        return static_cast<Char>(c - 1);
    return c;
}

} // namespace

String FoldRegName(StringView s) {
    String out(s);
    for (Char& c : out)
        c = FoldChar(c);
    return out;
}

bool EqualRegNames(StringView a, StringView b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldChar(a[i]) != FoldChar(b[i]))
            return false;
    return true;
}

std::unique_ptr<RegNode> NewRegNode(StringView name, RegNode* parent) {
    auto node = std::make_unique<RegNode>();
    node->name = String(name);
    node->folded = FoldRegName(name);
    node->parent = parent;
    return node;
}

std::vector<std::unique_ptr<RegNode>>::iterator SubKeyPosition(RegNode& node, StringView folded) {
    return std::lower_bound(
        node.subKeys.begin(), node.subKeys.end(), folded,
        [](const std::unique_ptr<RegNode>& n, StringView f) { return StringView(n->folded) < f; });
}

RegNode* FindSubKey(RegNode& node, StringView name) {
    String folded = FoldRegName(name);
    auto it = SubKeyPosition(node, folded);
    return it != node.subKeys.end() && (*it)->folded == folded ? it->get() : nullptr;
}

RegNode* AddSubKey(RegNode& node, StringView name) {
    std::unique_ptr<RegNode> child = NewRegNode(name, &node);
    auto it = SubKeyPosition(node, child->folded);
    return node.subKeys.insert(it, std::move(child))->get();
}

RegValue* FindRegValue(RegNode& node, StringView name) {
    for (RegValue& value : node.values)
        if (EqualRegNames(value.name, name))
            return &value;
    return nullptr;
}

std::vector<BYTE> RegStringData(StringView text) {
    std::vector<BYTE> data;
    data.reserve((text.size() + 1) * 2);
    for (Char c : text) {
        data.push_back(static_cast<BYTE>(c & 0xFF));
        data.push_back(static_cast<BYTE>(c >> 8));
    }
    data.push_back(0);
    data.push_back(0);
    return data;
}

namespace {

bool IsControl(Char c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}
bool IsHighSurrogate(Char c) {
    return c >= 0xD800 && c < 0xDC00;
}
bool IsLowSurrogate(Char c) {
    return c >= 0xDC00 && c < 0xE000;
}

// True when s[i] must be escaped: a control character or half of a surrogate pair without its other half.
bool NeedsEscape(StringView s, size_t i) {
    Char c = s[i];
    if (IsControl(c))
        return true;
    if (IsHighSurrogate(c))
        return i + 1 >= s.size() || !IsLowSurrogate(s[i + 1]);
    if (IsLowSurrogate(c))
        return i == 0 || !IsHighSurrogate(s[i - 1]);
    return false;
}

int HexDigit(Char c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// The four hex digits at s[at], or -1.
int Hex4(StringView s, size_t at) {
    if (at + 4 > s.size())
        return -1;
    int value = 0;
    for (size_t i = at; i < at + 4; ++i) {
        int digit = HexDigit(s[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool IsBlank(Char c) {
    return c == u' ' || c == u'\t';
}

StringView TrimLeft(StringView s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

bool IsBlankText(StringView s) {
    return TrimLeft(s).empty();
}

// ---- Writing ----

void AppendHexDigits(std::string& out, unsigned value, int digits) {
    static const char kDigits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.push_back(kDigits[(value >> shift) & 0xF]);
}

void AppendEscapedUnit(std::string& out, char lead, Char c) {
    out.push_back(lead);
    AppendHexDigits(out, c, 4);
}

// Quoted text: \\ and \" as the format has them, and our \xHHHH when escapeControls.
void AppendQuoted(std::string& out, StringView text, bool escapeControls) {
    out.push_back('"');
    size_t plainStart = 0;
    auto flush = [&](size_t end) { out += StringToUtf8(text.substr(plainStart, end - plainStart)); };
    for (size_t i = 0; i < text.size(); ++i) {
        Char c = text[i];
        bool escape = escapeControls && NeedsEscape(text, i);
        if (c != u'\\' && c != u'"' && !escape)
            continue;
        flush(i);
        if (escape) {
            out += '\\';
            AppendEscapedUnit(out, 'x', c);
        } else {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        }
        plainStart = i + 1;
    }
    flush(text.size());
    out.push_back('"');
}

void AppendKeyName(std::string& out, StringView name) {
    size_t plainStart = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] != u'%' && !NeedsEscape(name, i))
            continue;
        out += StringToUtf8(name.substr(plainStart, i - plainStart));
        AppendEscapedUnit(out, '%', name[i]);
        plainStart = i + 1;
    }
    out += StringToUtf8(name.substr(plainStart));
}

// The text of REG_SZ data when the quoted form carries it exactly: UTF-16 units ending in one null,
// with nothing that would need an escape.
bool AsQuotableText(const std::vector<BYTE>& data, String& text) {
    if (data.size() < 2 || data.size() % 2 != 0)
        return false;
    text.clear();
    for (size_t i = 0; i + 1 < data.size(); i += 2)
        text.push_back(static_cast<Char>(data[i] | (data[i + 1] << 8)));
    if (text.back() != 0)
        return false;
    text.pop_back();
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == 0 || NeedsEscape(text, i))
            return false;
    return true;
}

void AppendBytes(std::string& out, size_t lineStart, const std::vector<BYTE>& data) {
    size_t column = out.size() - lineStart;
    for (size_t i = 0; i < data.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
            ++column;
            if (column > 76) {
                out += "\\\n  ";
                column = 2;
            }
        }
        AppendHexDigits(out, data[i], 2);
        column += 2;
    }
}

void AppendValue(std::string& out, const RegValue& value) {
    size_t lineStart = out.size();
    if (value.name.empty())
        out.push_back('@');
    else
        AppendQuoted(out, value.name, true);
    out.push_back('=');
    String text;
    if (value.type == REG_SZ && AsQuotableText(value.data, text)) {
        AppendQuoted(out, text, false);
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        out += "dword:";
        AppendHexDigits(out,
                        value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                            (static_cast<unsigned>(value.data[3]) << 24),
                        8);
    } else {
        if (value.type == REG_BINARY) {
            out += "hex:";
        } else {
            char type[16];
            std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(value.type));
            out += type;
        }
        AppendBytes(out, lineStart, value.data);
    }
    out.push_back('\n');
}

void AppendKey(std::string& out, const RegNode& node, std::string& path) {
    if (node.reserved)
        return;
    if (node.parent || !node.values.empty()) {
        out += '[';
        out += path;
        out += "]\n";
        for (const RegValue& value : node.values)
            AppendValue(out, value);
        out.push_back('\n');
    }
    for (const auto& child : node.subKeys) {
        size_t length = path.size();
        path.push_back('\\');
        AppendKeyName(path, child->name);
        AppendKey(out, *child, path);
        path.resize(length);
    }
}

} // namespace

std::string SerializeRegistry(const RegNode& root, StringView rootName) {
    std::string out = kHeader;
    out += "\n\n";
    std::string path = StringToUtf8(rootName);
    AppendKey(out, root, path);
    return out;
}

namespace {

// ---- Reading ----

class Parser {
public:
    Parser(StringView text, StringView rootName) : FText(text), FRootName(rootName) {}

    std::unique_ptr<RegNode> Run(int& line, std::string& what);

private:
    bool NextLine(StringView& line);
    bool Fail(std::string what);
    bool ParseSection(StringView line);
    bool ParseValue(StringView line);
    bool ReadQuoted(StringView& s, String& out);
    bool ReadBytes(StringView rest, std::vector<BYTE>& out);
    RegNode* SubKey(RegNode& node, const String& name);

    StringView FText;
    StringView FRootName;
    size_t FPos = 0;
    int FLine = 0;
    std::string FWhat;
    std::unique_ptr<RegNode> FRoot;
    RegNode* FCurrent = nullptr;
    // Lookups while reading, so that a file of many siblings or values reads in linear time; children
    // are sorted once at the end.
    std::unordered_map<const RegNode*, std::unordered_map<String, RegNode*>> FSubKeys;
    std::unordered_map<const RegNode*, std::unordered_map<String, size_t>> FValues;
};

bool Parser::NextLine(StringView& line) {
    if (FPos >= FText.size())
        return false;
    size_t end = FText.find(u'\n', FPos);
    if (end == StringView::npos)
        end = FText.size();
    line = FText.substr(FPos, end - FPos);
    if (!line.empty() && line.back() == u'\r')
        line.remove_suffix(1);
    FPos = end + 1;
    ++FLine;
    return true;
}

bool Parser::Fail(std::string what) {
    FWhat = std::move(what);
    return false;
}

void SortSubKeys(RegNode& node) {
    std::sort(node.subKeys.begin(), node.subKeys.end(),
              [](const std::unique_ptr<RegNode>& a, const std::unique_ptr<RegNode>& b) {
                  return a->folded < b->folded;
              });
    for (auto& child : node.subKeys)
        SortSubKeys(*child);
}

std::unique_ptr<RegNode> Parser::Run(int& line, std::string& what) {
    FRoot = NewRegNode(FRootName, nullptr);
    bool headerSeen = false;
    StringView text;
    bool ok = true;
    while (ok && NextLine(text)) {
        text = TrimLeft(text);
        if (text.empty() || text[0] == u';')
            continue;
        if (!headerSeen) {
            while (!text.empty() && IsBlank(text.back()))
                text.remove_suffix(1);
            headerSeen = text == ToString(kHeader);
            if (!headerSeen)
                ok = Fail(std::string("the first line is not \"") + kHeader + "\"");
        } else if (text[0] == u'[') {
            ok = ParseSection(text);
        } else if (text[0] == u'"' || text[0] == u'@') {
            ok = ParseValue(text);
        } else {
            ok = Fail("a line that is neither a key nor a value");
        }
    }
    if (!ok) {
        line = FLine;
        what = FWhat;
        return nullptr;
    }
    SortSubKeys(*FRoot);
    return std::move(FRoot);
}

RegNode* Parser::SubKey(RegNode& node, const String& name) {
    String folded = FoldRegName(name);
    auto& index = FSubKeys[&node];
    auto it = index.find(folded);
    if (it != index.end())
        return it->second;
    std::unique_ptr<RegNode> child = NewRegNode(name, &node);
    RegNode* raw = child.get();
    node.subKeys.push_back(std::move(child));
    index.emplace(std::move(folded), raw);
    return raw;
}

bool Parser::ParseSection(StringView line) {
    size_t close = line.rfind(u']');
    if (close == StringView::npos)
        return Fail("a key without its closing ']'");
    if (!IsBlankText(line.substr(close + 1)))
        return Fail("text after a key's closing ']'");
    StringView path = line.substr(1, close - 1);
    if (!path.empty() && path[0] == u'-')
        return Fail("a deletion entry, which belongs in a file to import");
    std::vector<StringView> parts;
    size_t start = 0;
    for (;;) {
        size_t end = path.find(u'\\', start);
        parts.push_back(path.substr(start, end == StringView::npos ? StringView::npos : end - start));
        if (end == StringView::npos)
            break;
        start = end + 1;
    }
    if (!EqualRegNames(parts[0], FRootName))
        return Fail("a key outside " + StringToUtf8(FRootName));
    if (parts.size() - 1 > kMaxKeyDepth)
        return Fail("keys nested deeper than " + std::to_string(kMaxKeyDepth) + " levels");
    RegNode* node = FRoot.get();
    for (size_t i = 1; i < parts.size(); ++i) {
        String name;
        StringView part = parts[i];
        for (size_t k = 0; k < part.size(); ++k) {
            int escaped = part[k] == u'%' ? Hex4(part, k + 1) : -1;
            if (escaped < 0) {
                name.push_back(part[k]);
            } else {
                name.push_back(static_cast<Char>(escaped));
                k += 4;
            }
        }
        if (name.empty())
            return Fail("an empty key name");
        if (name.size() > kMaxKeyNameLength)
            return Fail("a key name longer than " + std::to_string(kMaxKeyNameLength) + " characters");
        if (name.find(u'\\') != String::npos)
            return Fail("a key name holding a backslash");
        node = SubKey(*node, name);
    }
    FCurrent = node;
    return true;
}

bool Parser::ReadQuoted(StringView& s, String& out) {
    out.clear();
    for (size_t i = 1; i < s.size(); ++i) {
        Char c = s[i];
        if (c == u'"') {
            s.remove_prefix(i + 1);
            return true;
        }
        if (c == u'\\' && i + 1 < s.size()) {
            Char next = s[i + 1];
            if (next == u'\\' || next == u'"') {
                out.push_back(next);
                ++i;
                continue;
            }
            int escaped = next == u'x' ? Hex4(s, i + 2) : -1;
            if (escaped >= 0) {
                out.push_back(static_cast<Char>(escaped));
                i += 5;
                continue;
            }
        }
        out.push_back(c);
    }
    return Fail("a text without its closing quote");
}

bool Parser::ReadBytes(StringView rest, std::vector<BYTE>& out) {
    for (;;) {
        rest = TrimLeft(rest);
        if (rest.empty())
            return true;
        if (rest[0] == u'\\' && IsBlankText(rest.substr(1))) {
            if (!NextLine(rest))
                return Fail("the file ends after a line continuation");
            continue;
        }
        int high = HexDigit(rest[0]);
        if (high < 0)
            return Fail("a byte that is not written in hex");
        int value = high;
        size_t used = 1;
        if (rest.size() > 1 && HexDigit(rest[1]) >= 0) {
            value = value * 16 + HexDigit(rest[1]);
            used = 2;
        }
        out.push_back(static_cast<BYTE>(value));
        rest = TrimLeft(rest.substr(used));
        if (rest.empty())
            return true;
        if (rest[0] == u',')
            rest.remove_prefix(1);
        else if (!(rest[0] == u'\\' && IsBlankText(rest.substr(1))))
            return Fail("bytes not separated by commas");
    }
}

bool Parser::ParseValue(StringView line) {
    if (!FCurrent)
        return Fail("a value before the first key");
    String name;
    if (line[0] == u'@') {
        line.remove_prefix(1);
    } else if (!ReadQuoted(line, name)) {
        return false;
    }
    line = TrimLeft(line);
    if (line.empty() || line[0] != u'=')
        return Fail("no '=' after the value's name");
    line = TrimLeft(line.substr(1));

    RegValue value;
    value.name = name;
    auto startsWith = [&](const char* prefix) {
        size_t n = std::strlen(prefix);
        if (line.size() < n)
            return false;
        for (size_t i = 0; i < n; ++i)
            if (line[i] != static_cast<Char>(prefix[i]))
                return false;
        line.remove_prefix(n);
        return true;
    };
    if (!line.empty() && line[0] == u'"') {
        String text;
        if (!ReadQuoted(line, text))
            return false;
        if (!IsBlankText(line))
            return Fail("text after a value's closing quote");
        value.type = REG_SZ;
        value.data = RegStringData(text);
    } else if (startsWith("dword:")) {
        DWORD number = 0;
        size_t digits = 0;
        while (digits < line.size() && HexDigit(line[digits]) >= 0 && digits < 9)
            number = number * 16 + static_cast<DWORD>(HexDigit(line[digits++]));
        if (digits == 0 || digits > 8 || !IsBlankText(line.substr(digits)))
            return Fail("a dword that is not up to eight hex digits");
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8)
            value.data.push_back(static_cast<BYTE>(number >> shift));
    } else if (startsWith("hex:")) {
        value.type = REG_BINARY;
        if (!ReadBytes(line, value.data))
            return false;
    } else if (startsWith("hex(")) {
        DWORD type = 0;
        size_t digits = 0;
        while (digits < line.size() && HexDigit(line[digits]) >= 0 && digits < 9)
            type = type * 16 + static_cast<DWORD>(HexDigit(line[digits++]));
        if (digits == 0 || digits > 8 || line.size() < digits + 2 || line[digits] != u')' ||
            line[digits + 1] != u':')
            return Fail("a value type that is not hex(type):");
        value.type = type;
        if (!ReadBytes(line.substr(digits + 2), value.data))
            return false;
    } else if (!line.empty() && line[0] == u'-') {
        return Fail("a deletion entry, which belongs in a file to import");
    } else {
        return Fail("a value of unknown type");
    }

    auto& index = FValues[FCurrent];
    auto [it, added] = index.emplace(FoldRegName(value.name), FCurrent->values.size());
    if (added) {
        FCurrent->values.push_back(std::move(value));
    } else {
        // A repeated name replaces the data and keeps its place, as importing the file would.
        RegValue& existing = FCurrent->values[it->second];
        existing.type = value.type;
        existing.data = std::move(value.data);
    }
    return true;
}

bool Decode(const std::string& bytes, String& text, std::string& what) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        if (bytes.size() % 2 != 0) {
            what = "the UTF-16 text ends in the middle of a character";
            return false;
        }
        text.clear();
        text.reserve(bytes.size() / 2 - 1);
        for (size_t i = 2; i < bytes.size(); i += 2)
            text.push_back(static_cast<Char>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        return true;
    }
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
        static_cast<unsigned char>(bytes[1]) == 0xFF) {
        what = "UTF-16 big-endian text, which is not read";
        return false;
    }
    std::string_view utf8(bytes);
    if (utf8.size() >= 3 && utf8.substr(0, 3) == "\xEF\xBB\xBF")
        utf8.remove_prefix(3);
    text = Utf8ToString(utf8);
    return true;
}

} // namespace

std::unique_ptr<RegNode> ParseRegistry(const std::string& bytes, StringView rootName, int& line,
                                       std::string& what) {
    String text;
    if (!Decode(bytes, text, what)) {
        line = 1;
        return nullptr;
    }
    Parser parser(text, rootName);
    return parser.Run(line, what);
}

} // namespace win32
