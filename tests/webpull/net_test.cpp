#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>
#else
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
    ASSERT_LT(net::receive_buffer_size(sock_), net::kReceiveBufferSize);
    net::raise_receive_buffer(sock_, net::kReceiveBufferSize);
    EXPECT_GE(net::receive_buffer_size(sock_), net::kReceiveBufferSize);
}

TEST_F(Net, ReceiveBufferIsNeverLowered) {
    force_receive_buffer(sock_, 4 * net::kReceiveBufferSize);
    const int before = net::receive_buffer_size(sock_);
    ASSERT_GT(before, net::kReceiveBufferSize);
    net::raise_receive_buffer(sock_, net::kReceiveBufferSize);
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

}  // namespace
