// The socket operations one transfer needs, in the shape of Windows Sockets 1.1. The shipped
// build maps them straight onto Winsock (net_win32.cpp); the native build onto BSD sockets
// (net_posix.cpp), translating errno into the matching Winsock code so both print the same.
#pragma once

#include <cstddef>
#include <cstdint>

namespace webpull::net {

using Socket = uintptr_t;
constexpr Socket kInvalidSocket = ~Socket{0};

// Winsock error codes that the program tells apart.
constexpr int kWouldBlock = 10035;
constexpr int kNetUnreachable = 10051;
constexpr int kTimedOut = 10060;
constexpr int kConnectionRefused = 10061;

// What the socket's own receive buffer (SO_RCVBUF) is raised to; not the size of a recv.
constexpr int kSocketReceiveBufferSize = 0x8000;

void startup();           // WSAStartup 1.1; its result is not looked at
int cleanup();            // WSACleanup: 0, or -1 when it fails

// Dotted address first, then a name lookup; the first address found. False when neither works.
bool resolve_host(const char* host, uint32_t* address_network_order);

Socket open_stream_socket();                 // kInvalidSocket on failure
bool bind_any(Socket sock);                  // 0.0.0.0, port chosen by the system
// Raises the receive buffer to `size` bytes when the system gives it less; never lowers it.
void raise_receive_buffer(Socket sock, int size);
int receive_buffer_size(Socket sock);       // as the system reports it; -1 on failure
// Only the low 16 bits of `port` reach the address. A non-blocking socket whose connection is
// under way fails with kWouldBlock.
bool connect_to(Socket sock, uint32_t address_network_order, int port);
// Waits for a connection under way to end, either way (Winsock shows a failed one in the except
// set, not as writable): the ready count, 0 on time-out, -1 when the wait itself fails.
int wait_connect(Socket sock, int seconds);
// After wait_connect: true when the connection was made; otherwise false, with the cause
// (SO_ERROR) in last_error().
bool connect_succeeded(Socket sock);
bool send_text(Socket sock, const char* text, size_t size);  // one send call
// Bytes received (> 0), 0 when the peer closed, -1 on failure.
int receive(Socket sock, char* buffer, int capacity);
void close_socket(Socket sock);
int last_error();  // the Winsock code of the last failed operation

}  // namespace webpull::net
