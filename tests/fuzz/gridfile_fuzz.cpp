// libFuzzer target of the grid's native text file: the input is loaded once as a file and once as the
// stream form; the loaders may raise their errors but must never crash. Crash inputs are kept under
// tests/fuzz/corpus/gridfile.
#include <cstdlib>
#include <string>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "tests/fuzz/ScratchFolder.h"

namespace {

const std::string& Folder() {
    static const fuzz_support::ScratchFolder folder("gridfile");
    return folder.path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    if (!backend::StartPlatform(*argc, *argv))
        return 1;
    std::atexit([] { backend::StopPlatform(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = Folder() + "/input.log";
    if (!backend::WriteFileAtomically(path, std::string(reinterpret_cast<const char*>(data), size), nullptr))
        std::abort();
    {
        TAdvStringGrid grid(nullptr);
        grid.SetMultilineCells(size % 2 == 0);
        try {
            grid.LoadFromFile(Utf8ToString(path));
        } catch (const Exception&) {
        }
    }
    {
        TAdvStringGrid grid(nullptr);
        TMemoryStream stream;
        stream.WriteBuffer(data, static_cast<Integer>(size));
        stream.SetPosition(0);
        try {
            grid.LoadFromStream(stream);
        } catch (const Exception&) {
        }
    }
    return 0;
}
