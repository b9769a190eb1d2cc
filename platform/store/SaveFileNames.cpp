#include "platform/store/SaveFileNames.h"

#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

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

bool ResolveLinks(std::string& path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return errno == ENOENT;
        if (!S_ISLNK(st.st_mode))
            return true;
        std::string target(256, '\0');
        for (;;) {
            const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
            if (n < 0)
                return false;
            if (static_cast<std::size_t>(n) < target.size()) {
                target.resize(static_cast<std::size_t>(n));
                break;
            }
            target.resize(target.size() * 2);
        }
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
