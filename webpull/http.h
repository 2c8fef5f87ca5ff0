// The text side of one HTTP exchange: the request, the staging of received bytes into blocks,
// and the response filter that strips (or, with -h, keeps only) the reply's header.
// No sockets and no global state here: the program, the unit tests and the fuzzers share it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace webpull {

constexpr size_t kBufferSize = 0x8000;  // receive reads and the staging buffer
constexpr size_t kBlockSize = 0x7FFF;   // the staging buffer is flushed when it holds this many
constexpr size_t kHostCapacity = 127;
constexpr size_t kPathCapacity = 511;
constexpr size_t kRequestCapacity = 499;

// The receive buffer and the staging buffer. Whoever fills one takes its capacity from the type,
// never from a second constant.
using WorkBuffer = std::array<char, kBufferSize>;
static_assert(kBlockSize < kBufferSize);

// Writes the GET request for `path` on `host` (the host alone, never the port) into `out`,
// zero-terminated. Returns its length, or 0 when it would not fit kRequestCapacity (then `out`
// is left empty).
size_t build_request(char (&out)[kRequestCapacity + 1], std::string_view host,
                     std::string_view path, bool http09);

// The body size a header announces: its one Content-Length field, when the value is plain
// decimal digits. Nothing when the field is missing, repeated or anything but digits; a value
// too large for 64 bits is held at the largest.
std::optional<uint64_t> announced_body_size(std::string_view header);

// Where filtered bytes go. `write` returns false when the bytes could not be written.
struct OutputSink {
    bool (*write)(void* context, const char* data, size_t size);
    void* context;
};

enum class FilterResult {
    More,         // keep receiving
    HeaderDone,   // header-only mode has written the first header: the program ends now
    WriteFailed,  // the sink refused bytes: nothing more may be written
};

// Stages received bytes and filters them. The reply is cut into blocks of exactly kBlockSize
// bytes, whatever sizes the reads have, plus a shorter last block; each block goes through the
// filter as it fills, so where a header separator falls relative to a block boundary matters.
class ResponseFilter {
public:
    // `staging` must outlive the filter.
    ResponseFilter(WorkBuffer& staging, OutputSink sink, bool headers_only, bool http09);

    // Starts a transfer: nothing held, header expected unless the HTTP/0.9 form was used.
    void begin_transfer();

    FilterResult put_bytes(const char* data, size_t size);
    // Passes what is held through the filter; called when a block fills and at the end.
    FilterResult filter_flush();

    bool in_header() const { return in_header_; }
    size_t held() const { return out_count_; }
    // After the last flush: the header announced more body than was written.
    bool body_cut_short() const { return announced_ && body_written_ < *announced_; }

private:
    bool emit(const char* data, size_t size) {
        return size == 0 || sink_.write(sink_.context, data, size);
    }
    FilterResult emit_body(const char* data, size_t size) {
        body_written_ += size;
        return emit(data, size) ? FilterResult::More : FilterResult::WriteFailed;
    }

    char* out_buffer_;
    OutputSink sink_;
    bool headers_only_;
    bool http09_;
    bool in_header_ = false;
    size_t out_count_ = 0;
    std::optional<uint64_t> announced_;
    uint64_t body_written_ = 0;
};

}  // namespace webpull
