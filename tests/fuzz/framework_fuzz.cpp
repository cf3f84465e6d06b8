// libFuzzer target of the component readers. Built as framework_fuzz_binary, which reads the input as a
// binary component stream (and converts it to text), and as framework_fuzz_text, which reads it as a
// text description and loads the result; both into a test form, strictly and with errors skipped.
#include <cstddef>
#include <cstdint>

#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "tests/platform/framework/TestComponents.h"

namespace {

// Reads the stream into a test form twice: once failing at the first error, once with every error
// skipped, which walks the paths that recover from broken components and values.
void ReadBoth(TStream& stream) {
    Int64 start = stream.Position();
    try {
        TTestForm form(nullptr);
        ReadComponent(stream, &form);
    } catch (const Exception&) {
        // Expected for malformed input; the second read meets the same bytes with errors skipped.
    }
    stream.SetPosition(start);
    TTestForm form(nullptr);
    TReader reader(stream);
    reader.OnError = [](TReader*, const String&, bool& handled) { handled = true; };
    reader.ReadRootComponent(&form);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RegisterTestClasses();
    TestLog().clear(); // the test components' record would otherwise grow run after run
    TMemoryStream input;
    if (size > 0)
        input.WriteBuffer(data, static_cast<Integer>(size));
    input.SetPosition(0);
    try {
#ifdef ZELMOR_FUZZ_TEXT
        TMemoryStream binary;
        ObjectTextToBinary(input, binary);
        binary.SetPosition(0);
        ReadBoth(binary);
#else
        ReadBoth(input);
        input.SetPosition(0);
        TMemoryStream text;
        ObjectBinaryToText(input, text);
#endif
    } catch (const Exception&) {
        // Malformed input is expected to raise the framework's errors; anything else is a finding.
    }
    return 0;
}
