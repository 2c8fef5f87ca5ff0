// One URL's exchange: resolve, connect, send the request, receive through the response filter.
#pragma once

#include "http.h"

namespace webpull {

enum class FetchOutcome {
    Done,        // the server closed the connection; everything received was written
    Abandoned,   // this URL failed without ending the program (connect wait, send, receive,
                 // a body shorter than announced)
    Fatal,       // the program ends with status 1 (host unknown; socket, bind or connect failed;
                 // a write to standard output failed)
    HeaderDone,  // header-only mode wrote the first header: the program ends with status 0
};

struct Transfer {
    char host[kHostCapacity + 1];
    int port;
    char request[kRequestCapacity + 1];
    size_t request_size;
};

// Fills `transfer` from a command-line URL. False when the host, path or request text would not
// fit its field; nothing is written beyond a field either way.
bool prepare_transfer(const char* url, bool http09, Transfer& transfer);

// Messages go through output::print, the channel the filter's sink writes to, so data and
// messages keep one order. A failed message write shows in output::failed().
FetchOutcome fetch_url(const Transfer& transfer, ResponseFilter& filter, WorkBuffer& recv_buffer);

}  // namespace webpull
