// Serial devices from the kernel's tty class in sysfs.
#include "platform/backend/devices.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace backend {

namespace {

// A tty is a port of real hardware when it has a device behind it: consoles, pseudo-terminals and
// other virtual ttys have none. The serial core also registers every legacy 8250 port whether a UART
// answers or not; those report the port type 0 (unknown) when nothing is there.
bool IsSerialPort(const std::filesystem::path& entry) {
    std::error_code error;
    if (!std::filesystem::exists(entry / "device", error))
        return false;
    std::ifstream typeFile(entry / "type");
    if (!typeFile)
        return true; // USB and ACM adapters are not serial-core ports and have no type
    std::string type;
    typeFile >> type;
    return !type.empty() && type != "0";
}

// Splits "ttyUSB10" into "ttyUSB" and 10, so that numbers sort as numbers.
std::pair<std::string, unsigned long> SortKey(const std::string& name) {
    size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
        --digits;
    unsigned long number = digits < name.size() ? std::strtoul(name.c_str() + digits, nullptr, 10) : 0;
    return {name.substr(0, digits), number};
}

} // namespace

std::vector<std::string> ListSerialDevices() {
    return ListSerialDevices("/sys/class/tty");
}

std::vector<std::string> ListSerialDevices(const std::string& ttyClassFolder) {
    std::vector<std::string> names;
    std::error_code error;
    // Without sysfs (some containers) there are no serial ports to offer, which is not an error.
    for (std::filesystem::directory_iterator it(ttyClassFolder, error), end; !error && it != end;
         it.increment(error)) {
        if (IsSerialPort(it->path()))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return SortKey(a) < SortKey(b); });
    return names;
}

} // namespace backend
