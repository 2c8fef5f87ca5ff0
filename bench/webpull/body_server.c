/* A loopback HTTP server for the benchmark: answers every request with a generated body of the
 * size given, as fast as the socket takes it, one connection at a time.
 *   body_server PORTFILE SIZE    (writes the port it listens on to PORTFILE) */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

static char pattern[1 << 20];

static int send_all(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0) return -1;
        data += sent;
        size -= (size_t)sent;
    }
    return 0;
}

static void read_request(int fd) {
    char request[8192];
    size_t have = 0;
    while (have < sizeof request - 1) {
        ssize_t got = recv(fd, request + have, sizeof request - 1 - have, 0);
        if (got <= 0) return;
        have += (size_t)got;
        request[have] = '\0';
        if (strstr(request, "\r\n\r\n") || (strstr(request, "\r\n") && !strstr(request, " HTTP/")))
            return;
    }
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: body_server PORTFILE SIZE\n");
        return 2;
    }
    long long size = atoll(argv[2]);
    for (size_t i = 0; i < sizeof pattern; ++i) pattern[i] = (char)('a' + i % 26);
    signal(SIGPIPE, SIG_IGN);

    int listener = socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    struct sockaddr_in address = {0};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener, (struct sockaddr*)&address, sizeof address) != 0 || listen(listener, 16) != 0 ||
        getsockname(listener, (struct sockaddr*)&address, &length) != 0) {
        perror("body_server");
        return 1;
    }
    FILE* portfile = fopen(argv[1], "w");
    fprintf(portfile, "%d\n", ntohs(address.sin_port));
    fclose(portfile);

    for (;;) {
        int fd = accept(listener, NULL, NULL);
        if (fd < 0) continue;
        read_request(fd);
        char header[128];
        int header_size = snprintf(header, sizeof header,
                                   "HTTP/1.0 200 OK\r\nContent-Length: %lld\r\n\r\n", size);
        if (send_all(fd, header, (size_t)header_size) == 0) {
            for (long long left = size; left > 0; left -= (long long)sizeof pattern) {
                size_t chunk = left < (long long)sizeof pattern ? (size_t)left : sizeof pattern;
                if (send_all(fd, pattern, chunk) != 0) break;
            }
        }
        close(fd);
    }
}
