#pragma once

#include <cstddef>
#include <string>

// Reads everything from fd into out; sizeHint (the fstat size) saves regrowing. False on a read
// error.
bool ReadAllFromFd(int fd, std::size_t sizeHint, std::string& out);

// Reads a whole regular file in one go, as a save left it: while a save rewrites it in place, or
// when one was interrupted part-way, its old bytes from the save's copy (see AtomicFile), so a
// reader never sees a mix. False when it is missing, unreadable or not a regular file (a
// directory or a FIFO is never opened for reading, so nothing blocks); errno tells why.
// interrupted, when given, tells whether an interrupted save's copy was found, which the next
// AtomicFile::open() puts right.
bool ReadRegularFile(const std::string& path, std::string& out, bool* interrupted = nullptr);
