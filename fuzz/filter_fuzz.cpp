// Feeds replies through the staging and response filter in random read sizes and compares the
// output with a byte-at-a-time reference model written from the rules, not from the code.
//
// Input: [flags] [pad offset: 2 bytes] [pad length: 3 bytes] [pad byte] [read-size seeds: 4]
//        then the reply. The pad inserts up to ~100 KB of one byte so that short inputs reach
//        the 32,767-byte block boundaries.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "http.h"

namespace {

constexpr size_t kBlock = 32767;

struct Model {
    bool headers_only, http09, in_header, done = false;
    std::string held, output;

    Model(bool h, bool nine) : headers_only(h), http09(nine), in_header(!nine) {}

    void flush() {
        if (done) return;
        std::string block;
        block.swap(held);
        if (!in_header) { output += block; return; }
        if (!http09 && block.size() > 5 && block.compare(0, 5, "HTTP/") != 0) {
            in_header = false;
            output += block;
            return;
        }
        size_t end = std::string::npos;
        for (size_t i = 0; i + 4 <= block.size() && end == std::string::npos; ++i)
            if (block[i] == '\r' && block[i + 1] == '\n' && block[i + 2] == '\r' && block[i + 3] == '\n')
                end = i + 4;
        for (size_t i = 0; i + 2 <= block.size() && end == std::string::npos; ++i)
            if (block[i] == '\n' && block[i + 1] == '\n') end = i + 2;
        if (end == std::string::npos) return;
        if (headers_only) {
            output += block.substr(0, end);
            done = true;
            return;
        }
        in_header = false;
        output += block.substr(end);
    }

    void put_byte(char c) {
        if (done) return;
        held += c;
        if (held.size() == kBlock) flush();
    }
};

bool append(void* context, const char* data, size_t size) {
    static_cast<std::string*>(context)->append(data, size);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 11) return 0;
    const bool headers_only = data[0] & 1, http09 = data[0] & 2;
    const size_t pad_at = data[1] | data[2] << 8;
    const size_t pad_length = (data[3] | data[4] << 8 | size_t{data[5]} << 16) % 100000;
    const char pad = static_cast<char>(data[6]);
    const uint8_t* seeds = data + 7;
    std::string reply(reinterpret_cast<const char*>(data + 11), size - 11);
    reply.insert(std::min(pad_at, reply.size()), pad_length, pad);

    Model model(headers_only, http09);
    for (char c : reply) model.put_byte(c);
    model.flush();

    webpull::WorkBuffer staging;
    std::string output;
    webpull::ResponseFilter filter(staging, {append, &output}, headers_only, http09);
    filter.begin_transfer();
    bool done = false;
    size_t at = 0;
    for (size_t i = 0; at < reply.size() && !done; ++i) {
        // Read sizes as recv gives them: 1 to 32,768 bytes.
        size_t n = 1 + (seeds[i % 4] * 2654435761u + i * 40503u) % webpull::kBufferSize;
        n = std::min(n, reply.size() - at);
        done = filter.put_bytes(reply.data() + at, n) == webpull::FilterResult::HeaderDone;
        at += n;
    }
    if (!done) done = filter.filter_flush() == webpull::FilterResult::HeaderDone;

    if (output != model.output || done != model.done) std::abort();
    return 0;
}
