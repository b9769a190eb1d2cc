#include "settings/MotdText.h"

#include "platform/Utf8.h"
#include "platform/store/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace {
// 0x80 to 0x9F; the five unassigned bytes map to the C1 control of the same number, as the
// platform's own conversion does. Every other byte is its Latin-1 code point.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string fromWindows1252(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(text, byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
    }
    return text;
}

struct Utf8Scan {
    std::size_t validLength = 0; // whole, well-formed characters from the start
    bool incompleteTail = false; // the rest is a well-formed start of one character
};

Utf8Scan scanUtf8(std::string_view bytes) {
    Utf8Scan scan;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = Utf8SequenceLength(bytes, i, &scan.incompleteTail);
        if (length == 0)
            break;
        i += length;
    }
    scan.validLength = i;
    return scan;
}

std::string withLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
} // namespace

std::optional<MotdBytes> ReadMotdBytes(const char* path) {
    // A FIFO or device under the name must not block the user interface.
    const UniqueFd fd(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid())
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    // One byte more than shown, to tell a cut from a file that simply ends there.
    MotdBytes result;
    result.bytes.resize(kMotdPreviewBytes + 1);
    std::size_t filled = 0;
    while (filled < result.bytes.size()) {
        const ssize_t n =
            ::read(fd.get(), result.bytes.data() + filled, result.bytes.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    result.bytes.resize(filled);
    if (result.bytes.size() > kMotdPreviewBytes) {
        result.bytes.resize(kMotdPreviewBytes);
        result.cut = true;
    }
    if (const std::size_t nul = result.bytes.find('\0'); nul != std::string::npos) {
        result.bytes.resize(nul);
        result.cut = false;
    }
    return result;
}

std::string MotdUtf8FromBytes(std::string_view bytes, bool cut) {
    std::string_view utf8 = bytes;
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF")
        utf8.remove_prefix(3);
    const Utf8Scan scan = scanUtf8(utf8);
    if (scan.validLength == utf8.size() || (cut && scan.incompleteTail))
        return withLineBreaks(utf8.substr(0, scan.validLength));
    return withLineBreaks(fromWindows1252(bytes));
}
