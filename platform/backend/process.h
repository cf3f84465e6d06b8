// Child processes with their standard output on a pipe: tests run the tools (the module simulator)
// through this. Also the desktop's opener, which shows a link or a file in the program the user chose.
#pragma once

#include <string>
#include <vector>

namespace backend {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess(); // stops the child when it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv[0] (a path) with argv; false with *error set when it cannot start.
    bool Start(const std::vector<std::string>& argv, int* error);
    // The next line of the child's standard output, without its line break, waiting up to
    // milliseconds of real time; false at the time-out or the end of the output.
    bool ReadLine(std::string& line, int milliseconds);
    // Ends the child (SIGTERM) and waits for it.
    void Stop();
    bool Running() const { return FPid > 0; }

private:
    int FPid = -1;
    int FOutput = -1;
    std::string FBuffered; // output read past the last line handed out
};

// Starts the desktop's opener (xdg-open, found on the search path) with target as its one argument,
// without a command shell, and does not wait for it; false when it cannot be started.
bool OpenWithDesktop(const std::string& target);

} // namespace backend
