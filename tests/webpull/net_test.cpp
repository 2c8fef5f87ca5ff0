#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include "net.h"

namespace net = webpull::net;

namespace {

void force_receive_buffer(net::Socket sock, int size) {
#ifdef _WIN32
    setsockopt(static_cast<SOCKET>(sock), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&size),
               sizeof size);
#else
    setsockopt(static_cast<int>(sock), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
#endif
}

// A loopback port that `server` listens on, or that refuses connections when it does not.
int loopback_port(net::Socket server, bool listening) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
#ifdef _WIN32
    int length = sizeof address;
#else
    socklen_t length = sizeof address;
#endif
    bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(server, reinterpret_cast<sockaddr*>(&address), &length);
    if (listening) listen(server, 1);
    return ntohs(address.sin_port);
}

class Net : public testing::Test {
protected:
    void SetUp() override {
        net::startup();
        sock_ = net::open_stream_socket();
        ASSERT_NE(sock_, net::kInvalidSocket);
    }
    void TearDown() override {
        net::close_socket(sock_);
        net::cleanup();
    }
    net::Socket sock_ = net::kInvalidSocket;
};

TEST_F(Net, ReceiveBufferIsRaisedWhenSmall) {
    force_receive_buffer(sock_, 4096);
    ASSERT_LT(net::receive_buffer_size(sock_), net::kSocketReceiveBufferSize);
    net::raise_receive_buffer(sock_, net::kSocketReceiveBufferSize);
    EXPECT_GE(net::receive_buffer_size(sock_), net::kSocketReceiveBufferSize);
}

TEST_F(Net, ReceiveBufferIsNeverLowered) {
    force_receive_buffer(sock_, 4 * net::kSocketReceiveBufferSize);
    const int before = net::receive_buffer_size(sock_);
    ASSERT_GT(before, net::kSocketReceiveBufferSize);
    net::raise_receive_buffer(sock_, net::kSocketReceiveBufferSize);
    EXPECT_EQ(net::receive_buffer_size(sock_), before);
}

TEST_F(Net, DottedAddressesResolveWithoutALookup) {
    uint32_t address = 0;
    ASSERT_TRUE(net::resolve_host("127.0.0.1", &address));
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&address);
    EXPECT_EQ(bytes[0], 127);
    EXPECT_EQ(bytes[3], 1);
    EXPECT_FALSE(net::resolve_host("no-such-host.invalid", &address));
}

TEST_F(Net, ConnectionUnderWayEndsConnectedOrWithItsCause) {
    for (bool listening : {true, false}) {
        const net::Socket server = net::open_stream_socket(), client = net::open_stream_socket();
        const int port = loopback_port(server, listening);
#ifdef _WIN32
        u_long on = 1;
        ioctlsocket(client, FIONBIO, &on);
#else
        fcntl(client, F_SETFL, O_NONBLOCK);
#endif
        // Loopback finishes the handshake after connect returns, so the wait is always taken.
        ASSERT_FALSE(net::connect_to(client, htonl(INADDR_LOOPBACK), port));
        ASSERT_EQ(net::last_error(), net::kWouldBlock);
        ASSERT_GT(net::wait_connect(client, 5), 0) << "listening " << listening;
        const bool connected = net::connect_succeeded(client);
        EXPECT_EQ(connected ? 0 : net::last_error(), listening ? 0 : net::kConnectionRefused);
        net::close_socket(client);
        net::close_socket(server);
    }
}

}  // namespace
