#include "net.h"

#include <cstring>

#include <winsock2.h>

namespace webpull::net {

void startup() {
    WSADATA data;
    WSAStartup(0x0101, &data);
}

int cleanup() { return WSACleanup(); }

bool resolve_host(const char* host, uint32_t* address) {
    unsigned long dotted = inet_addr(host);
    if (dotted != INADDR_NONE) {
        *address = dotted;
        return true;
    }
    hostent* entry = gethostbyname(host);
    if (entry == nullptr || entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr ||
        entry->h_length != 4)
        return false;
    std::memcpy(address, entry->h_addr_list[0], 4);
    return true;
}

Socket open_stream_socket() {
    SOCKET sock = socket(AF_INET, SOCK_STREAM, 0);
    return sock == INVALID_SOCKET ? kInvalidSocket : static_cast<Socket>(sock);
}

bool bind_any(Socket sock) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = 0;
    local.sin_addr.s_addr = INADDR_ANY;
    return bind(static_cast<SOCKET>(sock), reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
}

int receive_buffer_size(Socket sock) {
    int size = 0;
    int length = sizeof size;
    if (getsockopt(static_cast<SOCKET>(sock), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&size),
                   &length) != 0)
        return -1;
    return size;
}

void raise_receive_buffer(Socket sock, int size) {
    int current = receive_buffer_size(sock);
    if (current >= size) return;
    setsockopt(static_cast<SOCKET>(sock), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size),
               sizeof size);
}

bool connect_to(Socket sock, uint32_t address, int port) {
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<u_short>(port));
    remote.sin_addr.s_addr = address;
    return connect(static_cast<SOCKET>(sock), reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0;
}

int wait_connect(Socket sock, int seconds) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(static_cast<SOCKET>(sock), &writable);
    FD_SET(static_cast<SOCKET>(sock), &failed);
    timeval limit{seconds, 0};
    int ready = select(1, nullptr, &writable, &failed, &limit);
    return ready == SOCKET_ERROR ? -1 : ready;
}

bool connect_succeeded(Socket sock) {
    int error = 0;
    int length = sizeof error;
    if (getsockopt(static_cast<SOCKET>(sock), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                   &length) != 0)
        return false;
    if (error == 0) return true;
    WSASetLastError(error);
    return false;
}

bool send_text(Socket sock, const char* text, size_t size) {
    return send(static_cast<SOCKET>(sock), text, static_cast<int>(size), 0) != SOCKET_ERROR;
}

int receive(Socket sock, char* buffer, int capacity) {
    int got = recv(static_cast<SOCKET>(sock), buffer, capacity, 0);
    return got == SOCKET_ERROR ? -1 : got;
}

void close_socket(Socket sock) { closesocket(static_cast<SOCKET>(sock)); }

int last_error() { return WSAGetLastError(); }

}  // namespace webpull::net
