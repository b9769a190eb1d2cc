#include "platform/store/InPlaceBackup.h"

#include "platform/store/ReadFile.h"
#include "platform/store/SaveFileNames.h"
#include "platform/store/UniqueFd.h"

#include <fcntl.h>

#include <cerrno>
#include <charconv>
#include <iterator>

namespace {

constexpr std::string_view kMagic = "gomcfg-restore 1";

// Reads one space-led unsigned number from text, moving past it.
template <typename T> bool take(std::string_view& text, T& value, int base = 10) {
    if (!text.starts_with(' '))
        return false;
    text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end == text.data())
        return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

} // namespace

std::string InPlaceBackup::encode(const struct stat& file, std::string_view oldBytes,
                                  std::size_t newSize, std::uint64_t newSum) {
    std::string header;
    const auto put = [&](std::uint64_t value, int base) {
        char digits[24]; // 2^64 takes 20 decimal digits
        header += ' ';
        header.append(digits, std::to_chars(std::begin(digits), std::end(digits), value, base).ptr);
    };
    put(std::uint64_t(file.st_dev), 10);
    put(std::uint64_t(file.st_ino), 10);
    put(oldBytes.size(), 10);
    put(Checksum::of(oldBytes), 16);
    put(newSize, 10);
    put(newSum, 16);
    header += '\n';
    std::string out;
    out.reserve(kMagic.size() + header.size() + oldBytes.size());
    out.append(kMagic).append(header).append(oldBytes);
    return out;
}

std::optional<InPlaceBackup> InPlaceBackup::load(int dirFd, const std::string& path) {
    const UniqueFd fd(
        ::openat(dirFd, path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid())
        return std::nullopt;
    InPlaceBackup copy;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        !ReadAllFromFd(fd.get(), std::size_t(st.st_size), copy.m_raw))
        return std::nullopt;
    std::string_view header = copy.m_raw;
    std::uint64_t device = 0, inode = 0, oldSize = 0, newSize = 0;
    const bool parsed = header.starts_with(kMagic) && (header.remove_prefix(kMagic.size()), true) &&
                        take(header, device) && take(header, inode) && take(header, oldSize) &&
                        take(header, copy.m_oldSum, 16) && take(header, newSize) &&
                        take(header, copy.m_newSum, 16) && header.starts_with('\n');
    if (parsed) {
        copy.m_bodyOffset = copy.m_raw.size() - header.size() + 1;
        copy.m_device = static_cast<dev_t>(device);
        copy.m_inode = static_cast<ino_t>(inode);
        copy.m_newSize = static_cast<std::size_t>(newSize);
    }
    if (!parsed || copy.oldBytes().size() != oldSize ||
        Checksum::of(copy.oldBytes()) != copy.m_oldSum) {
        errno = EEXIST;
        return std::nullopt;
    }
    return copy;
}

bool InPlaceBackup::isFor(const struct stat& file) const {
    return file.st_dev == m_device && file.st_ino == m_inode;
}

bool InPlaceBackup::isWhole(std::string_view bytes) const {
    if (bytes.size() == m_newSize && Checksum::of(bytes) == m_newSum)
        return true;
    return bytes == oldBytes();
}
