// Standard output, for data and messages alike. Every write goes straight to the descriptor in
// one piece: no stream buffer splits a block (the C runtime leaves a character device such as NUL
// or a console unbuffered and then writes a block's tail byte by byte), a console shows each block
// as it is written, and data and messages keep one order. The first failed write sticks: nothing
// is written after it, and the program ends with status 1.
#pragma once

#include <cstddef>

namespace webpull::output {

// Before the first fetch. On Windows, binary mode unless `text_mode` (-a): text mode turns every
// LF into CR LF. Elsewhere: descriptors 0 to 2 that are closed are taken by /dev/null (standard
// output read-only, so that writes to it still fail) before any socket can take them, and
// SIGPIPE is ignored so that a reader that went away fails a write like any other error.
void start(bool text_mode);

// Writes all `size` bytes. False when this or an earlier write failed.
bool write(const char* data, size_t size);

// A message, formatted as by printf and cut at 511 characters. False as for write.
bool print(const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 1, 2)))
#endif
    ;

bool failed();

}  // namespace webpull::output
