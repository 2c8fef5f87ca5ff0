#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "http.h"

using webpull::FilterResult;
using webpull::kBlockSize;
using webpull::kBufferSize;
using webpull::kRequestCapacity;
using webpull::ResponseFilter;

namespace {

TEST(BuildRequest, ExactTexts) {
    char request[kRequestCapacity + 1];
    const std::string http10 =
        "GET /a/b HTTP/1.0\r\nContent-Encoding: token\r\nHost: example.org\r\n\r\n";
    EXPECT_EQ(webpull::build_request(request, "example.org", "/a/b", false), http10.size());
    EXPECT_EQ(std::string(request), http10);

    EXPECT_EQ(webpull::build_request(request, "example.org", "/a/b", true), 10u);
    EXPECT_EQ(std::string(request), "GET /a/b\r\n");
}

TEST(BuildRequest, RefusesWhatDoesNotFit) {
    char request[kRequestCapacity + 1];
    // The HTTP/1.0 form adds 50 characters to path and host, the HTTP/0.9 form 6 to the path.
    const std::string host = "h";
    std::string path = "/" + std::string(kRequestCapacity - 50 - host.size() - 1, 'p');
    EXPECT_EQ(webpull::build_request(request, host, path, false), kRequestCapacity);
    EXPECT_EQ(webpull::build_request(request, host, path + "p", false), 0u);
    EXPECT_EQ(request[0], '\0');

    path = "/" + std::string(kRequestCapacity - 6 - 1, 'p');
    EXPECT_EQ(webpull::build_request(request, host, path, true), kRequestCapacity);
    EXPECT_EQ(webpull::build_request(request, host, path + "p", true), 0u);
}

// Runs a reply through the filter in the given read sizes, recording every write.
struct FilterRun {
    std::string output;
    std::vector<size_t> writes;
    FilterResult result = FilterResult::More;
    bool in_header_at_end = false;
};

FilterRun run_filter(const std::string& reply, bool headers_only, bool http09,
                     std::vector<size_t> read_sizes = {}) {
    FilterRun run;
    auto staging = std::make_unique<webpull::WorkBuffer>();
    auto sink = [](void* context, const char* data, size_t size) {
        auto* r = static_cast<FilterRun*>(context);
        r->output.append(data, size);
        r->writes.push_back(size);
        return true;
    };
    ResponseFilter filter(*staging, {sink, &run}, headers_only, http09);
    filter.begin_transfer();
    size_t at = 0;
    for (size_t i = 0; at < reply.size(); ++i) {
        size_t size = read_sizes.empty() ? reply.size() : read_sizes[i % read_sizes.size()];
        size = std::min(size, reply.size() - at);
        run.result = filter.put_bytes(reply.data() + at, size);
        at += size;
        if (run.result == FilterResult::HeaderDone) return run;
    }
    run.result = filter.filter_flush();
    run.in_header_at_end = filter.in_header();
    return run;
}

struct FilterCase {
    const char* name;
    std::string reply;
    bool headers_only;
    bool http09;
    std::string output;
    FilterResult result;
};

TEST(ResponseFilter, SmallReplies) {
    const FilterCase cases[] = {
        {"crlf header", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nbody", false, false, "body",
         FilterResult::More},
        {"bare lf header", "HTTP/1.0 200 OK\nServer: x\n\nbody", false, false, "body",
         FilterResult::More},
        {"lf lf before crlf crlf", "HTTP/1.0 200\n\nX: y\r\n\r\nbody", false, false, "body",
         FilterResult::More},
        {"header only", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nbody", true, false,
         "HTTP/1.0 200 OK\r\nServer: x\r\n\r\n", FilterResult::HeaderDone},
        {"header only, lf", "HTTP/1.0 200\n\nbody", true, false, "HTTP/1.0 200\n\n",
         FilterResult::HeaderDone},
        {"no header", "<html>hello</html>", false, false, "<html>hello</html>", FilterResult::More},
        {"no header ignores -h", "<html>hello</html>", true, false, "<html>hello</html>",
         FilterResult::More},
        {"five bytes, no separator", "HELLO", false, false, "", FilterResult::More},
        {"four bytes with separator", "x\n\ny", false, false, "y", FilterResult::More},
        {"short reply is searched", "\r\n\r\na", false, false, "a", FilterResult::More},
        {"six bytes without HTTP/", "\r\n\r\nab", false, false, "\r\n\r\nab", FilterResult::More},
        {"header ends the reply", "HTTP/1.0 204\r\n\r\n", false, false, "", FilterResult::More},
        {"empty reply", "", false, false, "", FilterResult::More},
        {"status line, no separator", "HTTP/1.0 200 OK\r\nX: y\r\n", false, false, "",
         FilterResult::More},
        {"http/0.9 writes everything", "HTTP/1.0 200\r\n\r\nbody", false, true,
         "HTTP/1.0 200\r\n\r\nbody", FilterResult::More},
        {"http/0.9 ignores -h", "HTTP/1.0 200\r\n\r\nbody", true, true, "HTTP/1.0 200\r\n\r\nbody",
         FilterResult::More},
    };
    for (const FilterCase& c : cases) {
        for (size_t read_size : {size_t{1}, size_t{3}, kBufferSize}) {
            FilterRun run = run_filter(c.reply, c.headers_only, c.http09, {read_size});
            EXPECT_EQ(run.output, c.output) << c.name << ", reads of " << read_size;
            EXPECT_EQ(run.result, c.result) << c.name << ", reads of " << read_size;
        }
    }
}

TEST(ResponseFilter, HeaderWithoutSeparatorDropsTheWholeBlock) {
    // The first block holds no empty line: dropped, header still expected. The next block does
    // not begin with "HTTP/", so it is taken as a reply without header and written whole.
    std::string reply = "HTTP/1.0 200 OK\r\n" + std::string(kBlockSize - 17, 'h');
    std::string rest = "next block\r\n\r\nafter";
    FilterRun run = run_filter(reply + rest, false, false, {1000});
    EXPECT_EQ(run.output, rest);

    // A next block that begins like a status line is searched afresh.
    run = run_filter(reply + "HTTP/1.0 500\r\n\r\ntail", false, false, {4096});
    EXPECT_EQ(run.output, "tail");
}

TEST(ResponseFilter, SeparatorStraddlingTheBlockBoundaryIsMissed) {
    std::string header = "HTTP/1.0 200 OK\r\n";
    header += std::string(kBlockSize - header.size() - 2, 'x');
    std::string reply = header + "\r\n\r\nbody";  // "\r\n" ends block one, "\r\n" starts block two
    ASSERT_EQ(reply.substr(kBlockSize - 2, 4), "\r\n\r\n");
    // Block one is dropped; block two ("\r\nbody") has no header of its own and is written whole.
    FilterRun run = run_filter(reply, false, false, {kBufferSize});
    EXPECT_EQ(run.output, "\r\nbody");
    run = run_filter(reply, true, false, {7});
    EXPECT_EQ(run.output, "\r\nbody");
    EXPECT_EQ(run.result, FilterResult::More);
}

TEST(ResponseFilter, LargeBodyIsExactAndCutIntoFullBlocks) {
    const std::string header = "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n";
    std::string body(5 * 1024 * 1024 + 12345, '\0');
    uint32_t state = 12345;
    for (char& c : body) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    const std::string reply = header + body;

    // The writes follow the 32,767-byte blocks of the reply whatever the read sizes: the first
    // block minus the header, then full blocks, then the rest.
    std::vector<size_t> expected_writes{kBlockSize - header.size()};
    size_t left = reply.size() - kBlockSize;
    for (; left > kBlockSize; left -= kBlockSize) expected_writes.push_back(kBlockSize);
    expected_writes.push_back(left);

    const std::vector<std::vector<size_t>> chunkings = {
        {kBufferSize}, {1, kBufferSize}, {kBlockSize}, {kBlockSize + 1}, {4096, 77, 32768, 65535},
        {100000}, {reply.size()}};
    for (const std::vector<size_t>& chunking : chunkings) {
        FilterRun run = run_filter(reply, false, false, chunking);
        ASSERT_EQ(run.output.size(), body.size()) << "first read " << chunking[0];
        EXPECT_TRUE(run.output == body) << "first read " << chunking[0];
        EXPECT_EQ(run.writes, expected_writes) << "first read " << chunking[0];
    }
}

TEST(ResponseFilter, HeaderOnlyStopsAtTheFirstBlockWithAHeader) {
    std::string reply = "HTTP/1.0 200 OK\r\n\r\n" + std::string(3 * kBlockSize, 'b');
    FilterRun run = run_filter(reply, true, false, {kBufferSize});
    EXPECT_EQ(run.result, FilterResult::HeaderDone);
    EXPECT_EQ(run.output, "HTTP/1.0 200 OK\r\n\r\n");
}

TEST(ResponseFilter, EachTransferStartsAfresh) {
    auto staging = std::make_unique<webpull::WorkBuffer>();
    std::string output;
    auto sink = [](void* context, const char* data, size_t size) {
        static_cast<std::string*>(context)->append(data, size);
        return true;
    };
    ResponseFilter filter(*staging, {sink, &output}, false, false);
    filter.begin_transfer();
    filter.put_bytes("HTTP/1.0 200\r\nX: 1", 18);  // cut off before its empty line
    filter.filter_flush();
    EXPECT_TRUE(filter.in_header());
    filter.begin_transfer();
    filter.put_bytes("HTTP/1.0 200\r\n\r\nsecond", 22);
    filter.filter_flush();
    EXPECT_EQ(output, "second");
    EXPECT_EQ(filter.held(), 0u);
}

}  // namespace
