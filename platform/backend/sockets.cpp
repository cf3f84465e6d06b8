// TCP sockets on the POSIX socket calls.
#include "platform/backend/sockets.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace backend {

namespace {

int Fail(int* error, int fd = -1) {
    const int code = errno;
    if (fd >= 0)
        ::close(fd);
    if (error != nullptr)
        *error = code;
    return -1;
}

bool MakeNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

} // namespace

int ListenTcp(int port, int* error) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Fail(error);
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, SOMAXCONN) != 0 || !MakeNonBlocking(fd))
        return Fail(error, fd);
    return fd;
}

int LocalPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return -1;
    return ntohs(address.sin_port);
}

int ConnectTcp(const std::string& host, int port, int timeoutMilliseconds, int* error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    // Numeric addresses only: a name lookup could wait on the network far beyond the time-out.
    hints.ai_flags = AI_NUMERICHOST;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || found == nullptr) {
        if (error != nullptr)
            *error = EINVAL;
        return -1;
    }
    const int fd = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
    if (fd < 0) {
        ::freeaddrinfo(found);
        return Fail(error);
    }
    if (!MakeNonBlocking(fd)) {
        ::freeaddrinfo(found);
        return Fail(error, fd);
    }
    const int started = ::connect(fd, found->ai_addr, found->ai_addrlen);
    ::freeaddrinfo(found);
    if (started != 0 && errno != EINPROGRESS)
        return Fail(error, fd);
    if (started != 0) {
        pollfd waiting{fd, POLLOUT, 0};
        const int ready = ::poll(&waiting, 1, timeoutMilliseconds);
        if (ready <= 0) {
            if (ready == 0)
                errno = ETIMEDOUT;
            return Fail(error, fd);
        }
        int result = 0;
        socklen_t length = sizeof result;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length);
        if (result != 0) {
            errno = result;
            return Fail(error, fd);
        }
    }
    return fd;
}

void CloseSocket(int fd) {
    if (fd >= 0)
        ::close(fd);
}

} // namespace backend
