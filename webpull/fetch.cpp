#include "fetch.h"

#include <climits>
#include <cstring>

#include "net.h"
#include "output.h"
#include "url.h"

namespace webpull {

namespace {

// Writes the error report and closes the socket; callers decide whether the program ends.
void report_winsock_error(net::Socket sock, const char* operation) {
    output::print("winsock error on %s (error=%d)\n", operation, net::last_error());
    net::close_socket(sock);
}

}  // namespace

bool prepare_transfer(const char* url, bool http09, Transfer& transfer) {
    UrlParts parts = parse_url(url);
    if (parts.host.size() > kHostCapacity || parts.path.size() > kPathCapacity) return false;
    std::memcpy(transfer.host, parts.host.data(), parts.host.size());
    transfer.host[parts.host.size()] = '\0';
    transfer.port = parts.port;
    transfer.request_size = build_request(transfer.request, parts.host, parts.path, http09);
    return transfer.request_size > 0;
}

FetchOutcome fetch_url(const Transfer& transfer, ResponseFilter& filter, WorkBuffer& recv_buffer) {
    const char* host = transfer.host;
    uint32_t address = 0;
    if (!net::resolve_host(host, &address)) {
        output::print("cannot locate host \"%s\"\n", host);
        return FetchOutcome::Fatal;
    }

    net::Socket sock = net::open_stream_socket();
    if (sock == net::kInvalidSocket) {
        report_winsock_error(sock, "socket");
        return FetchOutcome::Fatal;
    }
    if (!net::bind_any(sock)) {
        report_winsock_error(sock, "bind");
        return FetchOutcome::Fatal;
    }
    net::raise_receive_buffer(sock, net::kSocketReceiveBufferSize);

    bool connected = net::connect_to(sock, address, transfer.port);
    if (!connected && net::last_error() == net::kWouldBlock) {
        // Only a non-blocking socket gets here (ours blocks); its refusal is then reported below
        // like any other.
        if (net::wait_connect(sock, 1) <= 0) {
            report_winsock_error(sock, "select");
            return FetchOutcome::Abandoned;
        }
        connected = net::connect_succeeded(sock);
    }
    if (!connected) {
        switch (net::last_error()) {
        case net::kNetUnreachable:
            output::print("host \"%s\" is unreachable\n", host);
            net::close_socket(sock);
            return FetchOutcome::Fatal;
        case net::kTimedOut:
            output::print("connection to host \"%s\" timed out\n", host);
            net::close_socket(sock);
            return FetchOutcome::Fatal;
        case net::kConnectionRefused:
            output::print("host \"%s\" refused \"http\" connection on port %d\n", host, transfer.port);
            net::close_socket(sock);
            return FetchOutcome::Fatal;
        default:
            report_winsock_error(sock, "connect");
            return FetchOutcome::Fatal;
        }
    }

    filter.begin_transfer();
    if (!net::send_text(sock, transfer.request, transfer.request_size)) {
        report_winsock_error(sock, "send");
        return FetchOutcome::Abandoned;
    }

    static_assert(std::tuple_size_v<WorkBuffer> <= INT_MAX, "recv takes an int capacity");
    int got = 0;
    FilterResult result = FilterResult::More;
    while (result == FilterResult::More &&
           (got = net::receive(sock, recv_buffer.data(), static_cast<int>(recv_buffer.size()))) > 0)
        result = filter.put_bytes(recv_buffer.data(), static_cast<size_t>(got));
    // A failed receive ends the reply like a close does; what came is still written.
    if (result == FilterResult::More) result = filter.filter_flush();
    // The socket stays open on the way out: the process ends right after the header.
    if (result == FilterResult::HeaderDone) return FetchOutcome::HeaderDone;
    net::close_socket(sock);
    if (result == FilterResult::WriteFailed) return FetchOutcome::Fatal;
    // A body shorter than its header announced was cut off: the server died or a proxy gave up.
    return got < 0 || filter.body_cut_short() ? FetchOutcome::Abandoned : FetchOutcome::Done;
}

}  // namespace webpull
