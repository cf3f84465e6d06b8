// Windows sockets over the backend's TCP sockets; errno values become sockets error codes.
#include "platform/win32/winsock.h"

#include <cerrno>

#include "platform/backend/sockets.h"

namespace {

thread_local int lastSocketError = 0;

int SocketErrorOf(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return WSAEACCES;
    case EADDRINUSE:
        return WSAEADDRINUSE;
    case ECONNREFUSED:
        return WSAECONNREFUSED;
    case ETIMEDOUT:
        return WSAETIMEDOUT;
    case ENETUNREACH:
    case EHOSTUNREACH:
        return WSAENETUNREACH;
    default:
        return WSAEINVAL;
    }
}

SOCKET Result(int fd, int error) {
    if (fd < 0) {
        lastSocketError = SocketErrorOf(error);
        return INVALID_SOCKET;
    }
    return static_cast<SOCKET>(fd);
}

} // namespace

int WSAGetLastError() {
    return lastSocketError;
}

int closesocket(SOCKET s) {
    if (s == INVALID_SOCKET)
        return -1;
    backend::CloseSocket(static_cast<int>(s));
    return 0;
}

namespace win32 {

SOCKET ListenTcp(int port) {
    int error = 0;
    const int fd = backend::ListenTcp(port, &error);
    return Result(fd, error);
}

SOCKET ConnectTcp(const String& address, int port, int timeoutMilliseconds) {
    int error = 0;
    const int fd = backend::ConnectTcp(StringToUtf8(address), port, timeoutMilliseconds, &error);
    return Result(fd, error);
}

int SocketLocalPort(SOCKET s) {
    return s == INVALID_SOCKET ? -1 : backend::LocalPort(static_cast<int>(s));
}

String SocketErrorText(int code) {
    switch (code) {
    case WSAEACCES:
        return u"Permission denied.";
    case WSAEADDRINUSE:
        return u"Address already in use.";
    case WSAECONNREFUSED:
        return u"Connection refused.";
    case WSAETIMEDOUT:
        return u"Connection timed out.";
    case WSAENETUNREACH:
        return u"Network is unreachable.";
    default:
        return u"Invalid argument.";
    }
}

} // namespace win32
