// webpull: fetches URLs over HTTP/1.0 (or HTTP/0.9) and writes what the servers send to
// standard output, header stripped. Every message goes to standard output too.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "fetch.h"
#include "http.h"
#include "net.h"
#include "output.h"

namespace {

using namespace webpull;

void show_usage(const char* offending_argument) {
    if (offending_argument != nullptr) std::printf("Unknown option: \"%s\"\n\n", offending_argument);
    std::puts("webpull 1.05");
    std::puts("Fetches each URL over HTTP and writes the reply, header stripped, to standard output.");
    std::puts("Messages and errors are written to standard output as well.\n");
    std::puts("Usage: webpull [-h] [-a] [-9] URL [URL [...]]\n");
    std::puts("Supports URLs of the form:\n");
    std::puts("\t[http://]site[:port][/path]\n");
    std::puts("\t-h\tretrieve HTTP headers only");
    std::puts("\t-a\ttransfer in ASCII mode");
    std::puts("\t-9\tuse HTTP/0.9 protocol\n");
    std::puts("Examples:\n");
    std::puts("\twebpull http://www.example.com");
    std::puts("\twebpull -h www.example.com");
    std::puts("\twebpull www.example.com:80/index.html");
}

bool write_to_stdout(void*, const char* data, size_t size) { return output::write(data, size); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        show_usage(nullptr);
        return 1;
    }

    bool headers_only = false;
    bool ascii_mode = false;
    bool http09 = false;
    int first_url = 1;
    for (; first_url < argc && argv[first_url][0] == '-'; ++first_url) {
        const char* option = argv[first_url];
        if (std::strlen(option) > 2) {
            show_usage(option);
            return 1;
        }
        switch (std::tolower(static_cast<unsigned char>(option[1]))) {
        case '9': http09 = true; break;
        case 'a': ascii_mode = true; break;
        case 'h': headers_only = true; break;
        default: show_usage(option); return 1;
        }
        if (first_url + 1 == argc) {
            std::puts("Error: missing URL to retrieve\n");
            show_usage(nullptr);
            return 1;
        }
    }

    // Allocated once before the first fetch, kept until the program ends.
    std::unique_ptr<WorkBuffer> recv_buffer(new (std::nothrow) WorkBuffer);
    std::unique_ptr<WorkBuffer> out_buffer(new (std::nothrow) WorkBuffer);
    if (!recv_buffer || !out_buffer) {
        std::puts("cannot allocate working buffers, exiting");
        return 1;
    }

    // The banner and the option errors above go through the C stream, in the runtime's text
    // mode; from here on everything goes through output.
    output::start(ascii_mode);
    net::startup();
    ResponseFilter filter(*out_buffer, OutputSink{write_to_stdout, nullptr}, headers_only, http09);
    bool any_abandoned = false;
    for (int i = first_url; i < argc; ++i) {
        Transfer transfer;
        if (!prepare_transfer(argv[i], http09, transfer)) {
            any_abandoned = true;
            // Data has been lost once a write fails: no further URL is fetched.
            if (!output::print("webpull: URL too long: \"%.60s...\"\n", argv[i])) return 1;
            continue;
        }
        switch (fetch_url(transfer, filter, *recv_buffer)) {
        case FetchOutcome::Done: break;
        case FetchOutcome::Abandoned: any_abandoned = true; break;
        case FetchOutcome::Fatal: return 1;
        case FetchOutcome::HeaderDone: return 0;
        }
        if (output::failed()) return 1;
    }
    int status = net::cleanup();
    return any_abandoned ? 1 : status;
}
