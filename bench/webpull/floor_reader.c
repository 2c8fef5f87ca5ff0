/* The platform's floor: the least a client can do to take a reply off a loopback socket.
 * Connects, sends a request, and reads into one 64 KiB buffer until the server closes.
 *   floor_reader PORT */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: floor_reader PORT\n");
        return 2;
    }
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in address = {0};
    address.sin_family = AF_INET;
    address.sin_port = htons((unsigned short)atoi(argv[1]));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, (struct sockaddr*)&address, sizeof address) != 0) {
        perror("floor_reader");
        return 1;
    }
    const char request[] = "GET / HTTP/1.0\r\n\r\n";
    if (send(fd, request, sizeof request - 1, 0) < 0) return 1;
    static char buffer[65536];
    long long total = 0;
    ssize_t got;
    while ((got = recv(fd, buffer, sizeof buffer, 0)) > 0) total += got;
    printf("%lld\n", total);
    return 0;
}
