// The layer table and the scan of the tree's include lines against it.
#include "tools/layer-check/LayerCheck.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <string_view>
#include <utility>

namespace layercheck {

namespace {

namespace fs = std::filesystem;

// A folder of the tree and what its files may include. Layers are listed from the bottom up.
struct Layer {
    Layer(std::string name, std::vector<std::string> folders, std::vector<std::string> mayInclude,
          std::vector<std::string> headers = {}, std::vector<std::string> libraries = {},
          bool anySystemHeader = false)
        : name(std::move(name)), folders(std::move(folders)), mayInclude(std::move(mayInclude)),
          headers(std::move(headers)), libraries(std::move(libraries)), anySystemHeader(anySystemHeader) {}

    std::string name;                    // the layer, as messages name it
    std::vector<std::string> folders;    // folders whose files belong to it
    std::vector<std::string> mayInclude; // layers (by name) whose headers it may include, itself included
    std::vector<std::string> headers;    // single headers of other layers it may include as well
    std::vector<std::string> libraries;  // system headers beyond the standard library, by name or "dir/"
    bool anySystemHeader;                // Qt, POSIX and the rest: the backend alone
};

const std::vector<Layer>& Layers() {
    static const std::vector<Layer> layers = {
        {"platform/backend", {"platform/backend"}, {"platform/backend"}, {}, {}, true},
        // rtl calls the backend for files, time, locale and collation, and win32 only for the services
        // the framework's run-time library calls there: the registry and the error codes of files.
        {"platform/rtl",
         {"platform/rtl"},
         {"platform/rtl", "platform/backend"},
         {"platform/win32/registry.h", "platform/win32/winerror.h"},
         {}},
        {"platform/codecs",
         {"platform/codecs"},
         {"platform/rtl", "platform/codecs"},
         {},
         {"png.h", "pngconf.h", "jpeglib.h", "jerror.h", "zlib.h"}},
        {"platform/win32",
         {"platform/win32"},
         {"platform/rtl", "platform/codecs", "platform/win32", "platform/backend"}},
        {"platform/framework",
         {"platform/framework"},
         {"platform/rtl", "platform/codecs", "platform/win32", "platform/framework"}},
        {"platform/servers",
         {"platform/servers"},
         {"platform/rtl", "platform/codecs", "platform/win32", "platform/framework", "platform/servers"},
         {},
         {"xlsxwriter.h", "xlsxwriter/", "minizip/", "libxml/", "sqlite3.h"}},
        {"serial",
         {"serial"},
         {"platform/rtl", "platform/codecs", "platform/win32", "platform/framework", "serial"}},
        {"render",
         {"render"},
         {"platform/rtl", "platform/codecs", "platform/win32", "platform/framework", "serial", "render"}},
        {"components",
         {"grid", "controls", "dropdown"},
         {"platform/rtl", "platform/codecs", "platform/win32", "platform/framework", "serial", "render",
          "components"}},
        // main() starts the platform's connection to the desktop and registers the automation servers.
        {"app",
         {"app"},
         {"platform/rtl", "platform/codecs", "platform/win32", "platform/framework", "platform/servers",
          "serial", "render", "components", "app"},
         {"platform/backend/platform.h"}},
    };
    return layers;
}

// Top folders whose files are checked; platform/ holds one layer per folder.
const std::vector<std::string> kLayeredTops = {"platform", "serial",   "render", "grid",
                                               "controls", "dropdown", "app"};

const std::set<std::string_view> kStandardHeaders = {
    // C++
    "algorithm", "any", "array", "atomic", "barrier", "bit", "bitset", "charconv", "chrono", "codecvt",
    "compare", "complex", "concepts", "condition_variable", "coroutine", "deque", "exception", "execution",
    "expected", "filesystem", "format", "forward_list", "fstream", "functional", "future", "initializer_list",
    "iomanip", "ios", "iosfwd", "iostream", "istream", "iterator", "latch", "limits", "list", "locale", "map",
    "memory", "memory_resource", "mutex", "new", "numbers", "numeric", "optional", "ostream", "queue",
    "random", "ranges", "ratio", "regex", "scoped_allocator", "semaphore", "set", "shared_mutex",
    "source_location", "span", "sstream", "stack", "stdexcept", "stop_token", "streambuf", "string",
    "string_view", "syncstream", "system_error", "thread", "tuple", "type_traits", "typeindex", "typeinfo",
    "unordered_map", "unordered_set", "utility", "valarray", "variant", "vector", "version",
    // C, in both spellings
    "cassert", "cctype", "cerrno", "cfenv", "cfloat", "cinttypes", "climits", "clocale", "cmath", "csetjmp",
    "csignal", "cstdarg", "cstddef", "cstdint", "cstdio", "cstdlib", "cstring", "ctime", "cuchar", "cwchar",
    "cwctype", "assert.h", "ctype.h", "errno.h", "fenv.h", "float.h", "inttypes.h", "limits.h", "locale.h",
    "math.h", "setjmp.h", "signal.h", "stdarg.h", "stddef.h", "stdint.h", "stdio.h", "stdlib.h", "string.h",
    "time.h", "uchar.h", "wchar.h", "wctype.h"};

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool InFolder(std::string_view path, std::string_view folder) {
    return StartsWith(path, folder) && path.size() > folder.size() && path[folder.size()] == '/';
}

// The layer a path of the tree belongs to, or null.
const Layer* LayerOf(std::string_view path) {
    for (const Layer& layer : Layers())
        for (const std::string& folder : layer.folders)
            if (InFolder(path, folder))
                return &layer;
    return nullptr;
}

// The library a system header belongs to, for the message; empty when no layer wraps it.
std::string WrappingLayer(std::string_view header) {
    for (const Layer& layer : Layers())
        for (const std::string& library : layer.libraries)
            if (library.back() == '/' ? StartsWith(header, library) : header == library)
                return layer.name;
    return {};
}

// The include's target relative to the root: project headers are named from the root, except a plain
// file name, which is beside the including file.
std::string ResolveQuoted(const std::string& file, const std::string& target) {
    if (target.find('/') != std::string::npos && target.substr(0, 2) != "./" && target.substr(0, 3) != "../")
        return target;
    fs::path resolved = (fs::path(file).parent_path() / target).lexically_normal();
    return resolved.generic_string();
}

void CheckInclude(const std::string& file, const Layer& layer, int lineNumber, const std::string& text,
                  char open, const std::string& target, std::vector<Offence>& offences) {
    if (open == '<') {
        if (layer.anySystemHeader || kStandardHeaders.count(target) != 0)
            return;
        for (const std::string& library : layer.libraries)
            if (library.back() == '/' ? StartsWith(target, library) : target == library)
                return;
        std::string wrapper = WrappingLayer(target);
        std::string why = wrapper.empty()
                              ? "only platform/backend includes Qt, POSIX and other system headers"
                              : "only " + wrapper + " includes that library";
        offences.push_back({file, lineNumber, text, why});
        return;
    }
    const std::string path = ResolveQuoted(file, target);
    if (std::find(layer.headers.begin(), layer.headers.end(), path) != layer.headers.end())
        return;
    const Layer* to = LayerOf(path);
    if (to == nullptr) {
        offences.push_back(
            {file, lineNumber, text, layer.name + " includes a header from outside the layers"});
        return;
    }
    if (std::find(layer.mayInclude.begin(), layer.mayInclude.end(), to->name) == layer.mayInclude.end())
        offences.push_back({file, lineNumber, text, layer.name + " may not include " + to->name});
}

// Parses "#include <x>" or "#include "x"", with any spacing; false for any other line.
bool ParseInclude(const std::string& line, char& open, std::string& target) {
    std::size_t pos = line.find_first_not_of(" \t");
    if (pos == std::string::npos || line[pos] != '#')
        return false;
    pos = line.find_first_not_of(" \t", pos + 1);
    if (pos == std::string::npos || line.compare(pos, 7, "include") != 0)
        return false;
    pos = line.find_first_not_of(" \t", pos + 7);
    if (pos == std::string::npos || (line[pos] != '<' && line[pos] != '"'))
        return false;
    open = line[pos];
    std::size_t end = line.find(open == '<' ? '>' : '"', pos + 1);
    if (end == std::string::npos)
        return false;
    target = line.substr(pos + 1, end - pos - 1);
    return true;
}

bool IsSource(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".h" || extension == ".cpp" || extension == ".inc";
}

void CheckFile(const fs::path& root, const fs::path& path, std::vector<Offence>& offences) {
    const std::string file = path.lexically_relative(root).generic_string();
    const Layer* layer = LayerOf(file);
    if (layer == nullptr) {
        offences.push_back({file, 0, "", "this folder has no layer; give it one in tools/layer-check"});
        return;
    }
    std::ifstream in(path);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        char open = 0;
        std::string target;
        if (ParseInclude(line, open, target))
            CheckInclude(file, *layer, lineNumber, line, open, target, offences);
    }
}

} // namespace

std::vector<Offence> CheckLayers(const fs::path& root) {
    std::vector<fs::path> files;
    for (const std::string& top : kLayeredTops) {
        if (!fs::is_directory(root / top))
            continue;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / top))
            if (entry.is_regular_file() && IsSource(entry.path()))
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<Offence> offences;
    for (const fs::path& path : files)
        CheckFile(root, path, offences);
    return offences;
}

std::string Describe(const Offence& offence) {
    if (offence.line == 0)
        return offence.file + ": " + offence.why;
    return offence.file + ":" + std::to_string(offence.line) + ": " + offence.text + " -- " + offence.why;
}

} // namespace layercheck
