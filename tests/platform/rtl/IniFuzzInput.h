// One fuzz input of the INI files, shared by the fuzz target and the test that replays its kept crash
// inputs: the bytes are a file that both kinds of INI file read, every section and key is read in each
// typed way, and a file rewritten after a change must read back as the memory saw it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/UString.h"

namespace ini_fuzz {

// Every section with its "name=value" lines, each key read as text, number, flag and float too.
inline std::string Dump(TCustomIniFile& ini) {
    std::string out;
    TStringList sections;
    ini.ReadSections(sections);
    for (Integer s = 0; s < sections.Count(); ++s) {
        const String section = sections.Strings(s);
        out += "[" + StringToUtf8(section) + "]\n";
        TStringList values;
        ini.ReadSectionValues(section, values);
        for (Integer v = 0; v < values.Count(); ++v)
            out += StringToUtf8(values.Strings(v)) + "\n";
        TStringList keys;
        ini.ReadSection(section, keys);
        for (Integer k = 0; k < keys.Count(); ++k) {
            const String key = keys.Strings(k);
            out += StringToUtf8(ini.ReadString(section, key, u"?")) + " " +
                   std::to_string(ini.ReadInteger(section, key, -1)) + " " +
                   std::to_string(ini.ReadBool(section, key, false)) + " " +
                   std::to_string(static_cast<double>(ini.ReadFloat(section, key, -1.5))) + " " +
                   std::to_string(ini.ValueExists(section, key)) + "\n";
        }
    }
    return out;
}

// Reads the input; false when the files broke one of their promises. folder is an empty folder the
// file is written in; it is emptied again before the call returns.
inline bool ReadIniFuzzInput(const std::uint8_t* data, std::size_t size, const std::string& folder) {
    const std::string path = folder + "/fuzz.ini";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const String name = Utf8ToString(path);
    bool kept = true;
    {
        TMemIniFile memory(name);
        TIniFile file(name);
        const std::string read = Dump(memory);
        kept = Dump(file) == read;
        // One change, written back: the file must now read as the memory sees it, and as it was besides.
        memory.WriteString(u"Fuzz", u"Key", u"value");
        memory.UpdateFile();
        const std::string changed = Dump(memory);
        TMemIniFile reread(name);
        kept = kept && Dump(reread) == changed && Dump(file) == changed;
        // Deleting a key takes every line of it, however many the input had.
        memory.DeleteKey(u"Fuzz", u"Key");
        kept = kept && memory.ReadString(u"Fuzz", u"Key", u"?") == u"?";
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        std::filesystem::remove_all(entry.path(), error);
    return kept;
}

} // namespace ini_fuzz
