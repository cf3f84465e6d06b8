// libFuzzer target of the component readers. Built as framework_fuzz_binary, which reads the input as a
// binary component stream (and converts it to text), and as framework_fuzz_text, which reads it as a
// text description and loads the result; both into a test form.
#include <cstddef>
#include <cstdint>

#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "tests/platform/framework/TestComponents.h"

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
        TTestForm form(nullptr);
        ReadComponent(binary, &form);
#else
        {
            TTestForm form(nullptr);
            ReadComponent(input, &form);
        }
        input.SetPosition(0);
        TMemoryStream text;
        ObjectBinaryToText(input, text);
#endif
    } catch (const Exception&) {
        // Malformed input is expected to raise the framework's errors; anything else is a finding.
    }
    return 0;
}
