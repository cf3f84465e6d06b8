// TCP sockets of the operating system, for the framework's socket components. Every call that can fail
// returns -1 (or false) and stores the errno value of the failure in *error when it is given.
#pragma once

#include <cstdint>
#include <string>

namespace backend {

// A non-blocking socket listening on every local address at port; the descriptor or -1.
int ListenTcp(int port, int* error);
// The port a socket is bound to, or -1.
int LocalPort(int fd);
// Connects to host:port, waiting at most timeoutMilliseconds; the descriptor or -1.
int ConnectTcp(const std::string& host, int port, int timeoutMilliseconds, int* error);
void CloseSocket(int fd);

} // namespace backend
