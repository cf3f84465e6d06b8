// The part of the Windows sockets API that the framework's socket components call: TCP endpoints that
// listen on a port or connect to a numeric address. Failures return INVALID_SOCKET and set the error
// that WSAGetLastError reads (WSAEADDRINUSE, WSAEACCES, WSAECONNREFUSED, WSAETIMEDOUT ...).
#pragma once

#include "platform/rtl/UString.h"
#include "platform/win32/wintypes.h"

using SOCKET = UINT_PTR;
inline constexpr SOCKET INVALID_SOCKET = ~SOCKET(0);

inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEACCES = 10013;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAENETUNREACH = 10051;

int WSAGetLastError();
int closesocket(SOCKET s);

namespace win32 {

// A non-blocking socket listening on every local IPv4 address at port (0: any free port).
SOCKET ListenTcp(int port);
// Connects to a numeric IPv4 address, waiting at most timeoutMilliseconds.
SOCKET ConnectTcp(const String& address, int port, int timeoutMilliseconds);
// The local port of a socket, or -1.
int SocketLocalPort(SOCKET s);
// The text of a sockets error code.
String SocketErrorText(int code);

} // namespace win32
