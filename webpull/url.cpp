#include "url.h"

#include <climits>
#include <cstdint>

namespace webpull {

namespace {

bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int parse_port_number(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{INT_MAX} + 1) value = int64_t{INT_MAX} + 1;  // saturate, keep reading
    }
    if (negative) return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

UrlParts parse_url(std::string_view url) {
    size_t site = url.find("://");
    site = site == std::string_view::npos ? 0 : site + 3;

    UrlParts parts{{}, kDefaultPort, "/"};
    size_t host_end = url.size();
    size_t path_search = site;

    size_t colon = url.find(':', site);
    if (colon != std::string_view::npos) {
        host_end = colon;
        path_search = colon + 1;
        if (path_search < url.size()) {
            // Reading stops at the first non-digit, so a following "/path" does not disturb it.
            int port = parse_port_number(url.substr(path_search));
            if (port != 0) parts.port = port;
        }
    }

    size_t slash = url.find('/', path_search);
    if (slash != std::string_view::npos) {
        parts.path = url.substr(slash);
        if (colon == std::string_view::npos) host_end = slash;
    }
    parts.host = url.substr(site, host_end - site);
    return parts;
}

}  // namespace webpull
