#include "cli/PageCommands.h"
#include "cli/PageFiles.h"
#include "platform/store/AtomicFile.h"
#include "platform/store/IniDocument.h"
#include "platform/store/PrivateProfile.h"
#include "platform/store/ReadFile.h"
#include "platform/store/SaveFileNames.h"
#include "settings/MotdText.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>

using Json = CliOutput::Json;

namespace {

// Larger texts are not what these files hold, and would not be edited in a text area.
constexpr std::size_t kLargestText = 1 << 20;

// Which state of the file the page opened: its bytes' hash and length, or "missing". Another
// program's save in between changes it, unless it wrote the very same bytes.
std::string versionOf(bool exists, std::string_view bytes) {
    if (!exists)
        return "missing";
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char text[40];
    std::snprintf(text, sizeof text, "%016llx-%zu", static_cast<unsigned long long>(hash),
                  bytes.size());
    return text;
}

bool validUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80                   ? 1
                                   : lead >= 0xC2 && lead < 0xE0 ? 2
                                   : lead >= 0xE0 && lead < 0xF0 ? 3
                                   : lead >= 0xF0 && lead < 0xF5 ? 4
                                                                 : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        const auto second = static_cast<unsigned char>(length > 1 ? bytes[i + 1] : 0);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
            return false; // overlong, surrogate or past U+10FFFF
        i += length;
    }
    return true;
}

// The text with every CR LF and lone CR as LF, as a text area holds it.
std::string withLfLines(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
            text += bytes[i];
        else if (i + 1 >= bytes.size() || bytes[i + 1] != '\n')
            text += '\n';
    }
    return text;
}

// LF text with the line ends the file has (IniDocument's rule: CR LF unless every line end is
// a lone LF, or every one a lone CR).
std::string withFileLines(std::string_view text, std::string_view old) {
    const std::string_view lineEnd = IniDocument::lineEndFor(
        old.find('\r') != std::string_view::npos, old.find('\n') != std::string_view::npos);
    if (lineEnd == "\n")
        return std::string(text);
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            bytes += lineEnd;
        else
            bytes += c;
    }
    return bytes;
}

std::string pathOf(const std::string& textDir, const std::string& name) {
    return textDir + "/" + name;
}

// Anyone who may add files to the directory could put a link there under the file's name, and
// an admin (often root) would then read and replace whatever it points at. As the kernel does in
// sticky directories, a link is followed only when its owner is the caller or owns the
// directory. The refusal, or nothing.
std::optional<std::string> strangersLink(const std::string& textDir, const std::string& path) {
    struct stat link {};
    struct stat dir {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode) ||
        ::stat(textDir.c_str(), &dir) != 0)
        return std::nullopt;
    if (link.st_uid == ::geteuid() || link.st_uid == dir.st_uid)
        return std::nullopt;
    return AbsolutePath(path) +
           " is a symbolic link made by another user; it is not followed, and nothing was "
           "read or written";
}

} // namespace

int RunTextRead(CliOutput& output, const std::string& textDir, const std::string& name) {
    const std::string path = pathOf(textDir, name);
    if (auto missing = MissingDirectoryMessage(textDir))
        return output.fail(kExitFile, *missing);
    if (auto refusal = strangersLink(textDir, path))
        return output.fail(kExitFile, *refusal);
    // The store's reads open the file itself, never a link: follow links as its saves do.
    std::string resolved = path;
    std::string bytes;
    const bool exists =
        ResolveLinks(resolved) && ReadRegularFile(resolved, bytes, kProfileLockWait);
    if (!exists && errno != ENOENT)
        return output.fail(kExitFile,
                           "cannot read " + AbsolutePath(path) + ": " + std::strerror(errno));
    if (bytes.size() > kLargestText)
        return output.fail(kExitFile, AbsolutePath(path) + " is larger than 1 MiB; edit it on the "
                                                           "server");
    if (!validUtf8(bytes) || bytes.find('\0') != std::string::npos)
        return output.fail(kExitFile, AbsolutePath(path) +
                                          " is not plain UTF-8 text; edit it on the server, "
                                          "where no byte of it is changed unseen");
    Json result = {{"name", name},
                   {"path", AbsolutePath(path)},
                   {"exists", exists},
                   {"text", withLfLines(bytes)},
                   {"version", versionOf(exists, bytes)}};
    const std::optional<std::string> notWritable = NotWritableMessage(path);
    result["writable"] = !notWritable;
    if (notWritable)
        result["notWritableMessage"] = *notWritable;
    output.result(result);
    return kExitDone;
}

int RunTextWrite(CliOutput& output, const std::string& textDir, const std::string& name,
                 const std::string& expected, std::istream& in) {
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (text.size() > kLargestText || !validUtf8(text) || text.find('\0') != std::string::npos)
        return output.fail(kExitUsage, "the new text of " + name +
                                           " is not UTF-8 text of at most 1 MiB; nothing was "
                                           "written");
    const std::string path = pathOf(textDir, name);
    if (auto missing = MissingDirectoryMessage(textDir))
        return output.fail(kExitFile, *missing);
    if (auto refusal = strangersLink(textDir, path))
        return output.fail(kExitFile, *refusal);
    AtomicFile file(path, kSystemFileOps, kProfileLockWait);
    if (!file.open()) {
        const int error = errno;
        return output.fail(kExitFile, "cannot write " + AbsolutePath(path) + ": " +
                                          (error == EWOULDBLOCK ? "another program kept it locked"
                                                                : std::strerror(error)));
    }
    if (versionOf(file.exists(), file.contents()) != expected)
        return output.fail(kExitFile, AbsolutePath(path) +
                                          " changed since it was opened here; nothing was "
                                          "written. Open it again to see what it holds now.");
    const std::string bytes = withFileLines(withLfLines(text), file.contents());
    if (!file.replace({bytes})) {
        const int error = errno;
        return output.fail(kExitFile,
                           "cannot write " + AbsolutePath(path) + ": " + std::strerror(error) +
                               (file.contentsWritten() ? "; the new text is in the file already"
                                                       : "; nothing was written"));
    }
    Json result = {{"name", name},
                   {"path", AbsolutePath(path)},
                   {"written", true},
                   {"version", versionOf(true, bytes)}};
    // The preview as the sheet fills it again once its editor is closed.
    if (name == kMotdFileName) {
        const auto motd = ReadMotdBytes(path.c_str());
        result["motd"] = {
            {"exists", motd.has_value()},
            {"text", motd ? Json(MotdUtf8FromBytes(motd->bytes, motd->cut)) : Json(nullptr)}};
    }
    output.result(result);
    return kExitDone;
}
