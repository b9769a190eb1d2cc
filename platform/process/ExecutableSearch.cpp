#include "platform/process/ExecutableSearch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace {
bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}
} // namespace

bool IsExecutableOnPath(const std::string& name) {
    if (name.empty())
        return false;
    if (name.find('/') != std::string::npos)
        return isExecutableFile(name);
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/bin:/usr/bin";
    while (true) {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        // An empty entry means the current directory.
        const std::string candidate = dir.empty() ? name : std::string(dir) + '/' + name;
        if (isExecutableFile(candidate))
            return true;
        if (colon == std::string_view::npos)
            return false;
        dirs.remove_prefix(colon + 1);
    }
}
