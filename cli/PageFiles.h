#pragma once

#include <optional>
#include <string>

// What the page's commands say about a file on the server.

// path made absolute, as the page names the file to the admin.
std::string AbsolutePath(const std::string& path);

// Why the store would refuse to save path ("cannot write PATH: Permission denied"); nothing when
// it would save it, or when only another writer's lock is in the way for now.
std::optional<std::string> NotWritableMessage(const std::string& path);

// A missing directory named as such: "cannot use directory DIR: REASON"; nothing when it is one.
std::optional<std::string> MissingDirectoryMessage(const std::string& dir);
