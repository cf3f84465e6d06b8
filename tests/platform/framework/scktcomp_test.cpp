// The TCP socket components on the loopback address: a server listening, a client connecting with its
// events, a port that cannot be had, and a server switched on by a form description.
#include <gtest/gtest.h>

#include "platform/framework/FormResources.h"
#include "platform/framework/ScktComp.h"
#include "platform/rtl/Classes.h"

namespace {

TEST(Sockets, AClientConnectsToAListeningServer) {
    auto* server = new TServerSocket(nullptr);
    server->SetActive(true); // port 0: any free port
    ASSERT_TRUE(server->Active());
    const Integer port = server->Socket()->LocalPort();
    EXPECT_GT(port, 0);

    auto* client = new TClientSocket(nullptr);
    client->SetAddress(u"127.0.0.1");
    client->SetPort(port);
    std::vector<std::string> events;
    client->OnConnect = [&](TObject* sender, TCustomWinSocket* socket) {
        EXPECT_EQ(sender, client);
        EXPECT_TRUE(socket->Connected());
        events.push_back("connect");
    };
    client->OnDisconnect = [&](TObject*, TCustomWinSocket* socket) {
        EXPECT_TRUE(socket->Connected()) << "told before the socket closes";
        events.push_back("disconnect");
    };
    client->SetActive(true);
    EXPECT_TRUE(client->Active());
    client->SetActive(false);
    EXPECT_FALSE(client->Socket()->Connected());
    EXPECT_EQ(events, (std::vector<std::string>{"connect", "disconnect"}));
    client->Free();
    server->Free();
}

TEST(Sockets, APortInUseOrRefusedRaisesAndStaysInactive) {
    auto* first = new TServerSocket(nullptr);
    first->SetActive(true);
    const Integer port = first->Socket()->LocalPort();
    auto* second = new TServerSocket(nullptr);
    second->SetPort(port);
    try {
        second->SetActive(true);
        ADD_FAILURE() << "no error";
    } catch (const ESocketError& e) {
        EXPECT_EQ(e.Message(), u"Windows socket error: Address already in use. (10048), on API 'bind'");
    }
    EXPECT_FALSE(second->Active());
    first->Free();

    auto* client = new TClientSocket(nullptr);
    client->SetAddress(u"127.0.0.1");
    client->SetPort(port); // nobody listens there any more
    bool connected = false;
    client->OnConnect = [&](TObject*, TCustomWinSocket*) { connected = true; };
    EXPECT_THROW(client->SetActive(true), ESocketError);
    EXPECT_FALSE(client->Active());
    EXPECT_FALSE(connected);
    client->Free();
    second->Free();
}

// A form that switches a server on must open even when the port cannot be had.
TEST(Sockets, ADescriptionsServerOnATakenPortLoadsInactive) {
    RegisterClasses({TServerSocket::StaticClass()});
    auto* taken = new TServerSocket(nullptr);
    taken->SetActive(true);
    const std::string text = "object Server: TServerSocket\n  Active = True\n  Port = " +
                             std::to_string(taken->Socket()->LocalPort()) + "\nend\n";
    TComponent* loaded = nullptr;
    EXPECT_NO_THROW(loaded = ReadComponentText(text, nullptr));
    auto* server = dynamic_cast<TServerSocket*>(loaded);
    ASSERT_NE(server, nullptr);
    EXPECT_FALSE(server->Active());
    server->Free();
    taken->Free();
}

} // namespace
