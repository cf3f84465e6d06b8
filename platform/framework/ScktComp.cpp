// The socket components over the backend's TCP sockets.
#include "platform/framework/ScktComp.h"

#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Trace.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winsock.h"

namespace {

constexpr Trace::Channel socketChannel("socket");
constexpr int kConnectTimeoutMilliseconds = 5000;

} // namespace

DEFINE_CLASS(TAbstractSocket, PROPERTY(Active).Default(false), PROPERTY(Port).Default(0))
DEFINE_CLASS(TClientSocket, PROPERTY(Address), PROPERTY(Host), EVENT(OnConnect), EVENT(OnDisconnect))
DEFINE_CLASS(TServerSocket)

TCustomWinSocket::~TCustomWinSocket() {
    Close();
}

Integer TCustomWinSocket::LocalPort() const {
    return win32::SocketLocalPort(FHandle);
}

void TCustomWinSocket::Close() {
    if (FHandle != INVALID_SOCKET)
        closesocket(FHandle);
    FHandle = INVALID_SOCKET;
}

TAbstractSocket::TAbstractSocket(TComponent* owner)
    : TComponent(owner), FSocket(std::make_unique<TCustomWinSocket>()) {}

TAbstractSocket::~TAbstractSocket() {
    // The component is going: its events are not fired any more.
    FSocket->Close();
}

void TAbstractSocket::SetActive(bool value) {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) {
        FStreamedActive = value;
        return;
    }
    if (value != FActive)
        DoActivate(value);
}

void TAbstractSocket::SetPort(Integer value) {
    if (FActive && value != FPort)
        throw ESocketError(u"Cannot change the port of an active socket");
    FPort = value;
}

void TAbstractSocket::Loaded() {
    TComponent::Loaded();
    if (!FStreamedActive || ComponentState().Contains(csDesigning))
        return;
    // A socket a form description switches on must not stop the form from opening: a port that cannot
    // be had (taken, or privileged) is reported on the trace channel and the socket stays inactive.
    try {
        DoActivate(true);
    } catch (const ESocketError& e) {
        ZWARN(socketChannel, "%s: %s", StringToUtf8(Name()).c_str(), e.what());
    }
}

void TAbstractSocket::DoActivate(bool value) {
    if (!value) {
        BeforeClose();
        FSocket->Close();
        FActive = false;
        return;
    }
    const char* call = "socket";
    const SOCKET handle = OpenEndpoint(call);
    if (handle == INVALID_SOCKET) {
        const int error = WSAGetLastError();
        throw ESocketError(u"Windows socket error: %s (%d), on API '%s'",
                           {win32::SocketErrorText(error), error, Utf8ToString(call)});
    }
    FSocket->FHandle = handle;
    FActive = true;
    ZTRACE(socketChannel, "%s open on port %d", StringToUtf8(Name()).c_str(), FSocket->LocalPort());
    AfterOpen();
}

SOCKET TClientSocket::OpenEndpoint(const char*& call) {
    call = "connect";
    return win32::ConnectTcp(FAddress.empty() ? FHost : FAddress, Port(), kConnectTimeoutMilliseconds);
}

void TClientSocket::AfterOpen() {
    if (OnConnect)
        OnConnect(this, Socket());
}

void TClientSocket::BeforeClose() {
    if (Socket()->Connected() && OnDisconnect)
        OnDisconnect(this, Socket());
}

SOCKET TServerSocket::OpenEndpoint(const char*& call) {
    call = "bind";
    return win32::ListenTcp(Port());
}
