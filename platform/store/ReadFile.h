#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// Reads everything from fd into out; sizeHint (the fstat size) saves regrowing. False on a read
// error.
bool ReadAllFromFd(int fd, std::size_t sizeHint, std::string& out);

// Reads a whole regular file in one go, under a shared lock of it: a save of ours holds the file
// locked, so a reader never sees an in-place save half done. lockWait bounds the wait for that
// lock; after it, or without flock, the file is read as it is. Only reads: whatever a save left
// beside the file is never looked at. A symbolic link is not followed (ResolveLinks first).
// False when it is missing, unreadable or not a regular file
// (a directory or a FIFO is never opened for reading, so nothing blocks); errno tells why.
bool ReadRegularFile(const std::string& path, std::string& out, std::chrono::milliseconds lockWait);
