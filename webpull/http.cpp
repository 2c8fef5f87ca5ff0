#include "http.h"

#include <cstring>
#include <iterator>

namespace webpull {

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
    return emit_body(out_buffer_ + header_size, held - header_size);
}

}  // namespace webpull
