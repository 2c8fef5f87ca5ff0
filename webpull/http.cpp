#include "http.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace webpull {

namespace {

// Field names compare without regard to ASCII case (the C locale's tolower would depend on the
// locale and on the sign of char).
char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::optional<uint64_t> plain_decimal(std::string_view text) {
    if (text.empty()) return std::nullopt;
    uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const uint64_t units = static_cast<uint64_t>(c - '0');
        number = number > (UINT64_MAX - units) / 10 ? UINT64_MAX : number * 10 + units;
    }
    return number;
}

}  // namespace

std::optional<uint64_t> announced_body_size(std::string_view header) {
    std::optional<uint64_t> size;
    int fields = 0;
    // Field lines end in LF (CR LF or bare); the first line, the status line, is no field.
    for (size_t end = header.find('\n'); end != std::string_view::npos;) {
        const size_t start = end + 1;
        end = header.find('\n', start);
        const std::string_view line = header.substr(start, end - start);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || !same_name(line.substr(0, colon), "Content-Length"))
            continue;
        ++fields;
        size = plain_decimal(trim_blanks(line.substr(colon + 1)));
    }
    return fields == 1 ? size : std::nullopt;
}

size_t build_request(char (&out)[kRequestCapacity + 1], std::string_view host,
                     std::string_view path, bool http09) {
    const std::string_view parts09[] = {"GET ", path, "\r\n"};
    const std::string_view parts10[] = {"GET ", path, " HTTP/1.0\r\nContent-Encoding: token\r\nHost: ",
                                        host, "\r\n\r\n"};
    const std::string_view* begin = http09 ? std::begin(parts09) : std::begin(parts10);
    const std::string_view* end = http09 ? std::end(parts09) : std::end(parts10);

    size_t length = 0;
    for (const std::string_view* part = begin; part != end; ++part) length += part->size();
    out[0] = '\0';
    if (length > kRequestCapacity) return 0;

    char* at = out;
    for (const std::string_view* part = begin; part != end; ++part) {
        std::memcpy(at, part->data(), part->size());
        at += part->size();
    }
    *at = '\0';
    return length;
}

ResponseFilter::ResponseFilter(WorkBuffer& staging, OutputSink sink, bool headers_only, bool http09)
    : out_buffer_(staging.data()), sink_(sink), headers_only_(headers_only), http09_(http09) {}

void ResponseFilter::begin_transfer() {
    out_count_ = 0;
    in_header_ = !http09_;
    announced_.reset();
    body_written_ = 0;
}

FilterResult ResponseFilter::put_bytes(const char* data, size_t size) {
    while (size > 0) {
        if (!in_header_ && out_count_ == 0 && size >= kBlockSize) {
            // Past the header a full block is written as it stands: the same block the staging
            // copy would produce, without the copy.
            if (emit_body(data, kBlockSize) == FilterResult::WriteFailed)
                return FilterResult::WriteFailed;
            data += kBlockSize;
            size -= kBlockSize;
            continue;
        }
        size_t room = kBlockSize - out_count_;
        size_t take = size < room ? size : room;
        std::memcpy(out_buffer_ + out_count_, data, take);
        out_count_ += take;
        data += take;
        size -= take;
        if (out_count_ == kBlockSize) {
            const FilterResult result = filter_flush();
            if (result != FilterResult::More) return result;
        }
    }
    return FilterResult::More;
}

FilterResult ResponseFilter::filter_flush() {
    const size_t held = out_count_;
    out_count_ = 0;
    if (!in_header_) return emit_body(out_buffer_, held);
    if (!http09_ && held > 5 && std::memcmp(out_buffer_, "HTTP/", 5) != 0) {
        in_header_ = false;  // the reply has no header at all
        return emit_body(out_buffer_, held);
    }

    // CR LF CR LF wins wherever it is; LF LF counts only when there is no CR LF CR LF at all.
    const std::string_view block(out_buffer_, held);
    size_t separator = block.find("\r\n\r\n");
    size_t separator_size = 4;
    if (separator == std::string_view::npos) {
        separator = block.find("\n\n");
        separator_size = 2;
    }
    if (separator == std::string_view::npos) return FilterResult::More;  // block dropped

    const size_t header_size = separator + separator_size;
    if (headers_only_)
        return emit(out_buffer_, header_size) ? FilterResult::HeaderDone : FilterResult::WriteFailed;
    in_header_ = false;
    announced_ = announced_body_size(block.substr(0, header_size));
    return emit_body(out_buffer_ + header_size, held - header_size);
}

}  // namespace webpull
