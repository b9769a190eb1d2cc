#pragma once

#include <cstddef>
#include <string>

// Reads everything from fd into out; sizeHint (the fstat size) saves regrowing. False on a read
// error.
bool ReadAllFromFd(int fd, std::size_t sizeHint, std::string& out);

// Reads a whole regular file in one go. False when it is missing, unreadable or not a regular
// file (a directory or a FIFO is never opened for reading, so nothing blocks); errno tells why.
bool ReadRegularFile(const std::string& path, std::string& out);
