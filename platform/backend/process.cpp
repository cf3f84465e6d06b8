// Child processes on posix_spawn, with a pipe for their standard output.
#include "platform/backend/process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace backend {

ChildProcess::~ChildProcess() {
    Stop();
}

bool ChildProcess::Start(const std::vector<std::string>& argv, int* error) {
    if (argv.empty() || FPid > 0) {
        *error = EINVAL;
        return false;
    }
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0) {
        *error = errno;
        return false;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int result = ::posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, args.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (result != 0) {
        ::close(output[0]);
        *error = result;
        return false;
    }
    FPid = pid;
    FOutput = output[0];
    return true;
}

bool ChildProcess::ReadLine(std::string& line, int milliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        const std::size_t end = FBuffered.find('\n');
        if (end != std::string::npos) {
            line = FBuffered.substr(0, end);
            FBuffered.erase(0, end + 1);
            return true;
        }
        if (FOutput < 0)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd entry{FOutput, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char chunk[512];
        const ssize_t got = ::read(FOutput, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        FBuffered.append(chunk, static_cast<std::size_t>(got));
    }
}

void ChildProcess::Stop() {
    if (FPid > 0) {
        ::kill(FPid, SIGTERM);
        int status;
        while (::waitpid(FPid, &status, 0) < 0 && errno == EINTR) {
        }
        FPid = -1;
    }
    if (FOutput >= 0) {
        ::close(FOutput);
        FOutput = -1;
    }
}

bool OpenWithDesktop(const std::string& target) {
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "xdg-open";
    std::string argument = target;
    char* args[] = {program.data(), argument.data(), nullptr};
    pid_t pid = -1;
    const int result = ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, args, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (result != 0)
        return false;
    // The opener hands the target on and ends; reap it so that it leaves no zombie behind.
    std::thread([pid] {
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace backend
