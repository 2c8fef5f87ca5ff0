/* The Windows floor: the least a Winsock client does to copy a reply to standard output.
 * Connects to 127.0.0.1:PORT, sends a request, and writes what each receive into one 32 KiB
 * buffer brings (on loopback, as a rule, the whole 32 KiB) to standard output in binary mode.
 *   winsock_reader PORT */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <winsock2.h>

enum { kBlock = 32768 };

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: winsock_reader PORT\n");
        return 2;
    }
    WSADATA data;
    if (WSAStartup(0x0101, &data) != 0) return 1;
    _setmode(1, _O_BINARY);
    SOCKET sock = socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in address = {0};
    address.sin_family = AF_INET;
    address.sin_port = htons((unsigned short)atoi(argv[1]));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(sock, (struct sockaddr*)&address, sizeof address) != 0) return 1;
    static const char request[] = "GET / HTTP/1.0\r\n\r\n";
    if (send(sock, request, sizeof request - 1, 0) == SOCKET_ERROR) return 1;

    static char block[kBlock];
    int got;
    while ((got = recv(sock, block, kBlock, 0)) > 0)
        if (_write(1, block, got) != got) return 1;
    if (got < 0) return 1;
    closesocket(sock);
    WSACleanup();
    return 0;
}
