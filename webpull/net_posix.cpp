#include "net.h"

#include <cstring>

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace webpull::net {

namespace {

int g_last_error = 0;

// errno to the Winsock code of the same cause (WSABASEERR + the BSD number for most).
int winsock_code(int error) {
    switch (error) {
    case EWOULDBLOCK: return 10035;
    case EINPROGRESS: return 10036;
    case EALREADY: return 10037;
    case ENOTSOCK: return 10038;
    case EMSGSIZE: return 10040;
    case EPROTONOSUPPORT: return 10043;
    case EAFNOSUPPORT: return 10047;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ENETRESET: return 10052;
    case ECONNABORTED: return 10053;
    case ECONNRESET: return 10054;
    case EPIPE: return 10054;  // Winsock reports a write to a reset connection as a reset
    case ENOBUFS: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    case ETIMEDOUT: return 10060;
    case ECONNREFUSED: return 10061;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    case EMFILE: return 10024;
    case EACCES: return 10013;
    case EINVAL: return 10022;
    case EBADF: return 10009;
    default: return error;
    }
}

bool fail() {
    g_last_error = winsock_code(errno);
    return false;
}

int as_fd(Socket sock) { return static_cast<int>(sock); }

}  // namespace

void startup() {}

int cleanup() { return 0; }

bool resolve_host(const char* host, uint32_t* address) {
    in_addr_t dotted = inet_addr(host);
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
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        fail();
        return kInvalidSocket;
    }
    return static_cast<Socket>(fd);
}

bool bind_any(Socket sock) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = 0;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    return bind(as_fd(sock), reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 || fail();
}

int receive_buffer_size(Socket sock) {
    int size = 0;
    socklen_t length = sizeof size;
    if (getsockopt(as_fd(sock), SOL_SOCKET, SO_RCVBUF, &size, &length) != 0) return -1;
    return size;
}

void raise_receive_buffer(Socket sock, int size) {
    int current = receive_buffer_size(sock);
    if (current >= size) return;
    setsockopt(as_fd(sock), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

bool connect_to(Socket sock, uint32_t address, int port) {
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<uint16_t>(port));
    remote.sin_addr.s_addr = address;
    int result;
    do {
        result = connect(as_fd(sock), reinterpret_cast<sockaddr*>(&remote), sizeof remote);
    } while (result != 0 && errno == EINTR);
    if (result == 0) return true;
    fail();
    if (errno == EINPROGRESS) g_last_error = kWouldBlock;  // Winsock's code for the same state
    return false;
}

int wait_connect(Socket sock, int seconds) {
    // poll, not select: a descriptor above FD_SETSIZE must not write past an fd_set. A failed
    // connection shows as POLLERR or POLLHUP, which poll reports whatever was asked.
    pollfd entry{as_fd(sock), POLLOUT, 0};
    int ready = poll(&entry, 1, seconds * 1000);
    if (ready < 0) {
        fail();
        return -1;
    }
    return ready;
}

bool connect_succeeded(Socket sock) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(as_fd(sock), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return fail();
    if (error == 0) return true;
    g_last_error = winsock_code(error);
    return false;
}

bool send_text(Socket sock, const char* text, size_t size) {
    // MSG_NOSIGNAL: a peer that closed early must give an error, not kill the program.
    return send(as_fd(sock), text, size, MSG_NOSIGNAL) >= 0 || fail();
}

int receive(Socket sock, char* buffer, int capacity) {
    ssize_t got;
    do {
        got = recv(as_fd(sock), buffer, static_cast<size_t>(capacity), 0);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        fail();
        return -1;
    }
    return static_cast<int>(got);
}

void close_socket(Socket sock) { close(as_fd(sock)); }

int last_error() { return g_last_error; }

}  // namespace webpull::net
