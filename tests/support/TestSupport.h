// What every test program shares: the private settings folder of this run and small helpers.
#pragma once

#include <string>

#include "platform/rtl/Types.h"

namespace testing_support {

// The private ZELMOR_HOME of this test run (removed when the program ends).
const std::string& TestHome();
// A new empty folder inside TestHome() for one test.
std::string MakeTestFolder(const std::string& name);
// The manual clock's starting point: 2026-01-15 10:30:00.
TDateTime TestEpoch();

} // namespace testing_support
