#include <gtest/gtest.h>

#include <climits>

#include "url.h"

using webpull::parse_port_number;
using webpull::parse_url;

namespace {

struct UrlCase {
    const char* url;
    const char* host;
    int port;
    const char* path;
};

const UrlCase kUrlCases[] = {
    {"www.example.com", "www.example.com", 80, "/"},
    {"http://www.example.com", "www.example.com", 80, "/"},
    {"http://host:8080/a/b.html", "host", 8080, "/a/b.html"},
    {"host:/x", "host", 80, "/x"},              // colon, no digits
    {"host:", "host", 80, "/"},                 // colon alone
    {"host:abc", "host", 80, "/"},              // colon and letters
    {"host:0/z", "host", 80, "/z"},             // port 0 means the default
    {"ftp://host/p", "host", 80, "/p"},         // any scheme is ignored
    {"host:70000/", "host", 70000, "/"},        // kept whole; only the low 16 bits are dialled
    {"host:-5/", "host", -5, "/"},
    {"host: 81/", "host", 81, "/"},             // atoi skips leading blanks
    {"host/a:b", "host/a", 80, "/"},            // a colon in the path ends the host there
    {"host/a:8/c", "host/a", 8, "/c"},
    {"host/x://other/y", "other", 80, "/y"},    // "://" anywhere starts the site
    {"http://", "", 80, "/"},
    {"h:1:2/q", "h", 1, "/q"},
    {"-dash/path", "-dash", 80, "/path"},
};

}  // namespace

TEST(ParseUrl, SplitsHostPortAndPath) {
    for (const UrlCase& c : kUrlCases) {
        webpull::UrlParts parts = parse_url(c.url);
        EXPECT_EQ(parts.host, c.host) << c.url;
        EXPECT_EQ(parts.port, c.port) << c.url;
        EXPECT_EQ(parts.path, c.path) << c.url;
    }
}

TEST(ParseUrl, PortNumberFollowsAtoiAndSaturates) {
    EXPECT_EQ(parse_port_number("8080/index.html"), 8080);
    EXPECT_EQ(parse_port_number(" \t+12x"), 12);
    EXPECT_EQ(parse_port_number("-65536"), -65536);
    EXPECT_EQ(parse_port_number("+-1"), 0);
    EXPECT_EQ(parse_port_number(""), 0);
    EXPECT_EQ(parse_port_number("2147483647"), INT_MAX);
    EXPECT_EQ(parse_port_number("2147483648"), INT_MAX);
    EXPECT_EQ(parse_port_number("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(parse_port_number("-2147483648"), INT_MIN);
    EXPECT_EQ(parse_port_number("-99999999999999999999999"), INT_MIN);
}
