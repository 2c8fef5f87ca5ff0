// Splits random arguments and compares with a reference model that follows the URL rules on a
// zero-terminated copy with the C string functions, the way the argument arrives.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "url.h"

namespace {

struct Expected {
    std::string host;
    long long port;
    std::string path;
};

Expected model(const char* argument) {
    std::string copy = argument;
    char* site = copy.data();
    if (char* scheme_end = std::strstr(site, "://")) site = scheme_end + 3;
    char* path_search = site;
    long long port = 80;
    char* colon = std::strchr(site, ':');
    if (colon) {
        *colon = '\0';
        path_search = colon + 1;
        if (*path_search) {
            long long value = std::strtoll(path_search, nullptr, 10);
            // strtoll accepts what atoi does; saturate to 32 bits as the program does.
            if (value > 2147483647LL) value = 2147483647LL;
            if (value < -2147483648LL) value = -2147483648LL;
            // strtoll skips blanks, takes a sign and stops at a non-digit, like atoi; but it also
            // accepts nothing after the sign, which gives 0 either way.
            if (value != 0) port = value;
        }
    }
    std::string path = "/";
    if (char* slash = std::strchr(path_search, '/')) {
        path = slash;
        *slash = '\0';
    }
    return {site, port, path};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string argument(reinterpret_cast<const char*>(data), size);
    argument.resize(std::strlen(argument.c_str()));  // command-line arguments hold no zero byte
    webpull::UrlParts parts = webpull::parse_url(argument);
    Expected expected = model(argument.c_str());
    if (parts.host != expected.host || parts.port != expected.port || parts.path != expected.path)
        std::abort();
    return 0;
}
