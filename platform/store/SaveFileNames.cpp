#include "platform/store/SaveFileNames.h"

#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMaxLinkHops = 40;
constexpr std::size_t kMaxBaseLength = 100; // keeps our names within NAME_MAX
constexpr std::string_view kTempMark = "gomcfg-";
constexpr std::string_view kTempEnd = ".tmp";
constexpr std::string_view kCopyEnd = ".copy";
constexpr std::size_t kRandomDigits = 16;
constexpr std::size_t kCheckDigits = 8;

std::string stemOf(const std::string& baseName) {
    return "." + baseName.substr(0, kMaxBaseLength) + ".";
}

std::string hex(std::uint64_t value, std::size_t digits) {
    std::string out(digits, '0');
    for (std::size_t i = digits; i-- > 0; value >>= 4)
        out[i] = "0123456789abcdef"[value & 0xf];
    return out;
}

std::string checkOf(std::string_view random, const std::string& baseName) {
    Checksum sum;
    sum.add(baseName);
    sum.add("/");
    sum.add(random);
    return hex(sum.value(), kCheckDigits);
}

std::uint64_t randomBits() {
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == sizeof bits)
        return bits;
    // Early in boot: still unique enough, since the name is created with O_EXCL and retried.
    static std::atomic<std::uint64_t> counter{0};
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    Checksum sum;
    for (const std::uint64_t part : {std::uint64_t(::getpid()), std::uint64_t(now.tv_nsec),
                                     std::uint64_t(now.tv_sec), counter++})
        sum.add(std::string_view(reinterpret_cast<const char*>(&part), sizeof part));
    return sum.value();
}

} // namespace

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

namespace {

bool trustedLink(const struct stat& link, const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0)
        return false;
    return (st.st_mode & S_ISVTX) == 0 || link.st_uid == ::geteuid() || link.st_uid == st.st_uid;
}

bool readLink(const std::string& path, std::string& target) {
    target.assign(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return false;
        if (static_cast<std::size_t>(n) < target.size()) {
            target.resize(static_cast<std::size_t>(n));
            return true;
        }
        target.resize(target.size() * 2);
    }
}

// Pushes the names of path onto todo so that the first is taken first.
void pushComponents(std::string_view path, std::vector<std::string>& todo) {
    std::vector<std::string> names;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        names.emplace_back(path.substr(0, slash));
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
    }
    todo.insert(todo.end(), names.rbegin(), names.rend());
}

} // namespace

std::optional<UntrustedLink> UntrustedLinkOn(const std::string& path) {
    // walked holds only names that are not links; "" is the root.
    std::string walked = path.starts_with('/') ? "" : ".";
    std::vector<std::string> todo;
    pushComponents(path, todo);
    for (int links = 0; !todo.empty();) {
        const std::string name = std::move(todo.back());
        todo.pop_back();
        if (name.empty() || name == ".")
            continue;
        const std::string next = walked + "/" + name;
        struct stat st {};
        if (name == ".." || (::lstat(next.c_str(), &st) == 0 && !S_ISLNK(st.st_mode))) {
            walked = next;
            continue;
        }
        // Missing or unreadable: whoever opens it next gets the error.
        if (!S_ISLNK(st.st_mode))
            return std::nullopt;
        if (!trustedLink(st, walked.empty() ? "/" : walked))
            return UntrustedLink{next, st.st_uid};
        std::string target;
        if (++links > kMaxLinkHops || !readLink(next, target))
            return std::nullopt;
        if (target.starts_with('/'))
            walked.clear();
        pushComponents(target, todo);
    }
    return std::nullopt;
}

bool ResolveLinks(std::string& path) {
    if (UntrustedLinkOn(path)) {
        errno = EACCES;
        return false;
    }
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return errno == ENOENT;
        if (!S_ISLNK(st.st_mode))
            return true;
        // Checked again: a link may have been put where the walk above found nothing.
        if (!trustedLink(st, DirectoryOf(path))) {
            errno = EACCES;
            return false;
        }
        std::string target;
        if (!readLink(path, target))
            return false;
        if (target.empty()) {
            errno = ENOENT;
            return false;
        }
        path = target.front() == '/' ? target : DirectoryOf(path) + "/" + target;
    }
    errno = ELOOP;
    return false;
}

namespace {

// stem, mark, random digits, a check of them against the whole base name, end.
std::string markedName(const std::string& baseName, std::string_view end) {
    const std::string random = hex(randomBits(), kRandomDigits);
    return stemOf(baseName) + std::string(kTempMark) + random + checkOf(random, baseName) +
           std::string(end);
}

bool isMarkedName(std::string_view name, const std::string& baseName, std::string_view end) {
    const std::string stem = stemOf(baseName) + std::string(kTempMark);
    if (name.size() != stem.size() + kRandomDigits + kCheckDigits + end.size() ||
        !name.starts_with(stem) || !name.ends_with(end))
        return false;
    const std::string_view random = name.substr(stem.size(), kRandomDigits);
    return name.substr(stem.size() + kRandomDigits, kCheckDigits) == checkOf(random, baseName);
}

} // namespace

std::string TempFileName(const std::string& baseName) {
    return markedName(baseName, kTempEnd);
}

bool IsTempFileName(std::string_view name, const std::string& baseName) {
    return isMarkedName(name, baseName, kTempEnd);
}

std::string SaveCopyFileName(const std::string& baseName) {
    return markedName(baseName, kCopyEnd);
}

bool IsSaveCopyFileName(std::string_view name, const std::string& baseName) {
    return isMarkedName(name, baseName, kCopyEnd);
}
