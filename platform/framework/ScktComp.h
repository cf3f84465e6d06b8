// The framework's TCP socket components: a client that connects to a host and a server that listens on
// a port. Both are non-blocking towards the GUI thread except the client's connect, which waits at most
// a few seconds.
#pragma once

#include <functional>
#include <memory>

#include "platform/framework/Component.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win32/winsock.h"

ZELMOR_DECLARE_EXCEPTION(ESocketError, Exception)

// One connection or listening endpoint.
class TCustomWinSocket : public TObject {
public:
    ~TCustomWinSocket() override;
    bool Connected() const { return FHandle != INVALID_SOCKET; }
    SOCKET SocketHandle() const { return FHandle; }
    // The local port of the endpoint; -1 when closed.
    Integer LocalPort() const;
    void Close();

private:
    friend class TAbstractSocket;
    SOCKET FHandle = INVALID_SOCKET;
};

using TSocketNotifyEvent = std::function<void(TObject* Sender, TCustomWinSocket* Socket)>;

class TAbstractSocket : public TComponent {
    DECLARE_CLASS(TAbstractSocket, TComponent)

public:
    explicit TAbstractSocket(TComponent* owner);
    ~TAbstractSocket() override;

    bool Active() const { return FActive; }
    // Opens or closes the endpoint; a failure to open raises ESocketError "Windows socket error: %s (%d),
    // on API '%s'" and leaves the socket inactive. While a form description is read the value is only
    // kept, and the socket opens once loading ends.
    void SetActive(bool value);
    Integer Port() const { return FPort; }
    void SetPort(Integer value);
    TCustomWinSocket* Socket() const { return FSocket.get(); }

protected:
    void Loaded() override;
    // Opens the endpoint; INVALID_SOCKET with the failing call named and WSAGetLastError set.
    virtual SOCKET OpenEndpoint(const char*& call) = 0;
    virtual void AfterOpen() {}
    virtual void BeforeClose() {}

private:
    void DoActivate(bool value);
    bool FActive = false;
    bool FStreamedActive = false;
    Integer FPort = 0;
    std::unique_ptr<TCustomWinSocket> FSocket;
};

// Connects to Address (or Host, numeric) at Port when activated; OnConnect follows a connect and
// OnDisconnect the closing of a connected socket.
class TClientSocket : public TAbstractSocket {
    DECLARE_CLASS(TClientSocket, TAbstractSocket)

public:
    using TAbstractSocket::TAbstractSocket;
    const String& Address() const { return FAddress; }
    void SetAddress(const String& value) { FAddress = value; }
    const String& Host() const { return FHost; }
    void SetHost(const String& value) { FHost = value; }

    TSocketNotifyEvent OnConnect;
    TSocketNotifyEvent OnDisconnect;

protected:
    SOCKET OpenEndpoint(const char*& call) override;
    void AfterOpen() override;
    void BeforeClose() override;

private:
    String FAddress;
    String FHost;
};

// Listens on Port on every local address while active. Connections it has no handlers for wait in the
// listen queue and receive nothing.
class TServerSocket : public TAbstractSocket {
    DECLARE_CLASS(TServerSocket, TAbstractSocket)

public:
    using TAbstractSocket::TAbstractSocket;

protected:
    SOCKET OpenEndpoint(const char*& call) override;
};
