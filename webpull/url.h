// Splitting a command-line URL of the form [http://]site[:port][/path].
#pragma once

#include <string_view>

namespace webpull {

constexpr int kDefaultPort = 80;

struct UrlParts {
    std::string_view host;  // never includes the port
    int port;               // as typed (may be negative or above 65,535); 80 when absent or 0
    std::string_view path;  // begins with '/'
};

// Any scheme before "://" is accepted and ignored; the views point into `url`.
UrlParts parse_url(std::string_view url);

// The C library's atoi rules (leading white space, one sign, digits up to the first non-digit),
// but saturating at the 32-bit limits instead of overflowing.
int parse_port_number(std::string_view text);

}  // namespace webpull
