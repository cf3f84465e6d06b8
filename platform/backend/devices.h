// The machine's serial devices, as the names that "\\.\" + name opens ("ttyUSB0", "ttyACM0", "ttyS0").
#pragma once

#include <string>
#include <vector>

namespace backend {

// Serial ports of this machine: USB and modem (ACM) adapters, platform UARTs, and a legacy ttyS*
// port only when its UART is really there. Sorted by kind, then by number (ttyUSB2 before ttyUSB10).
std::vector<std::string> ListSerialDevices();
// The same, read from another tree laid out like /sys/class/tty (for tests).
std::vector<std::string> ListSerialDevices(const std::string& ttyClassFolder);

} // namespace backend
