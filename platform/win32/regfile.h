// The registry's tree in memory and its file in the registry-export format, for the store alone.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/registry.h"
#include "platform/win32/regstore.h"

namespace win32 {

struct RegValue {
    String name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct RegNode {
    String name;
    String folded; // the name upper-cased: what keys are compared and sorted by
    RegKeyId id = 0;
    RegNode* parent = nullptr;
    ULONGLONG lastWrite = 0;
    bool reserved = false;                         // in the synthesised subtree: read-only, never saved
    RegistryStore::ValueSource source;             // set on a synthesised key
    std::vector<std::unique_ptr<RegNode>> subKeys; // sorted by folded
    std::vector<RegValue> values;                  // in creation order
};

// Registry names (keys and values) compare as Win32 compares them: each UTF-16 unit upper-cased.
String FoldRegName(StringView name);
bool EqualRegNames(StringView a, StringView b);

std::unique_ptr<RegNode> NewRegNode(StringView name, RegNode* parent);
// Where the subkey with this folded name is, or would go.
std::vector<std::unique_ptr<RegNode>>::iterator SubKeyPosition(RegNode& node, StringView folded);
RegNode* FindSubKey(RegNode& node, StringView name);
// Adds a subkey in its place; there must be none of that name yet.
RegNode* AddSubKey(RegNode& node, StringView name);
RegValue* FindRegValue(RegNode& node, StringView name);
// REG_SZ data of a text: its UTF-16 units, little-endian, then the terminating null.
std::vector<BYTE> RegStringData(StringView text);

// The file's contents for a tree; the reserved subtree is left out.
std::string SerializeRegistry(const RegNode& root, StringView rootName);
// The tree of a file's contents (its keys without identities, subkeys sorted), or nullptr with the
// line (from 1) and what is wrong there.
std::unique_ptr<RegNode> ParseRegistry(const std::string& bytes, StringView rootName, int& line,
                                       std::string& what);

} // namespace win32
