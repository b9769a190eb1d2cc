#include "platform/store/PrivateProfile.h"

#include "platform/store/AtomicFile.h"
#include "platform/store/IniDocument.h"
#include "platform/store/ReadFile.h"
#include "platform/store/SaveFileNames.h"
#include "platform/store/Utf16Le.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <string_view>

namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

// Section and key arguments lose spaces only; a tab is part of the name.
std::string_view trimmedOfSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// What readers see of a file's bytes: a UTF-16LE file as UTF-8, decoded into storage.
std::string_view readableText(std::string_view bytes, std::string& storage) {
    if (!bytes.starts_with(kUtf16LeMark))
        return bytes;
    storage = Utf16LeToUtf8(bytes.substr(kUtf16LeMark.size()), false);
    return storage;
}

// A file as readers see it, once a save under way is done. A read never writes, and takes
// nothing through a link it would not save through.
bool readProfileFile(const std::string& path, std::string& bytes, const ProfileIo& io) {
    std::string resolved = path;
    return ResolveLinks(resolved) && ReadRegularFile(resolved, bytes, io.lockWait);
}

// Nothing when the file is missing or unreadable, or holds no such key.
std::optional<std::string> readValue(LPCSTR section, LPCSTR key, LPCSTR fileName,
                                     const ProfileIo& io) {
    std::string bytes;
    if (!section || !key || !fileName || !readProfileFile(fileName, bytes, io))
        return std::nullopt;
    std::string utf8;
    const auto value = IniDocument(readableText(bytes, utf8))
                           .value(trimmedOfSpaces(section), trimmedOfSpaces(key));
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

std::optional<std::string_view> valueView(const std::optional<std::string>& value) {
    return value ? std::optional<std::string_view>(*value) : std::nullopt;
}

// The text after the edits. A change stays a splice of the original, so a large file is not
// copied to change its lines.
struct EditedText {
    bool changed = false;
    std::optional<IniDocument::Edit> splice;
    std::string whole;

    std::string wholeText(std::string_view original) const {
        return splice ? splice->appliedTo(original) : whole;
    }
};

bool contains(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

// Each edit as a single write would make it, one after the other. Every edit changes only the
// section's lines, once it exists: they are made to a copy of the section alone, with new lines
// ending as they would in the whole text, so the file is searched once and not copied.
EditedText applyEdits(std::string_view original, std::string_view section,
                      std::span<const ProfileEdit> edits) {
    EditedText out;
    std::string_view text = original;
    // Until an edit sets a key the section may be missing; that edit adds it at the end.
    std::optional<IniDocument::Edit> firstAdded;
    int added = 0;
    auto part = IniDocument(text).sectionText(section);
    while (!part && !edits.empty()) {
        const ProfileEdit& e = edits.front();
        edits = edits.subspan(1);
        auto edit = IniDocument(text).edit(section, trimmedOfSpaces(e.key), valueView(e.value));
        if (!edit)
            continue;
        out.whole = edit->appliedTo(text);
        text = out.whole;
        if (added++ == 0)
            firstAdded = std::move(edit);
        part = IniDocument(text).sectionText(section); // a name that never reads back stays missing
    }
    out.changed = added > 0;

    std::string lines;
    std::size_t offset = 0, size = 0;
    bool linesChanged = false;
    if (part) {
        offset = std::size_t(part->data() - text.data());
        size = part->size();
        const std::string_view before = text.substr(0, offset);
        const std::string_view after = text.substr(offset + size);
        const bool crOutside = contains(before, '\r') || contains(after, '\r');
        const bool lfOutside = contains(before, '\n') || contains(after, '\n');
        lines = *part;
        for (const ProfileEdit& e : edits) {
            const std::string_view eol = IniDocument::lineEndFor(
                crOutside || contains(lines, '\r'), lfOutside || contains(lines, '\n'));
            const auto edit =
                IniDocument(lines).edit(section, trimmedOfSpaces(e.key), valueView(e.value), eol);
            if (!edit)
                continue;
            lines.replace(edit->offset, edit->removed, edit->inserted);
            linesChanged = true;
        }
    }
    if (linesChanged) {
        out.changed = true;
        if (added == 0)
            out.splice = IniDocument::Edit{offset, size, std::move(lines)};
        else
            out.whole.replace(offset, size, lines);
    } else if (added == 1) {
        // One change in all: still a splice of the original.
        out.splice = std::move(firstAdded);
        out.whole.clear();
    }
    return out;
}

ProfileWriteResult failed(int error) {
    ProfileWriteResult result;
    result.status = ProfileWriteResult::Status::Failed;
    result.error = error;
    return result;
}

ProfileWriteResult writeKeys(std::string_view section, std::span<const ProfileEdit> edits,
                             LPCSTR fileName, ProfileWriteMode mode, const ProfileIo& io) {
    using Status = ProfileWriteResult::Status;
    AtomicFile file(fileName, *io.ops, io.lockWait);
    if (!file.open())
        return failed(errno);
    section = trimmedOfSpaces(section);
    const std::string_view bytes = file.contents();

    ProfileWriteResult result;
    // Checked under the lock, against what a reader of the file sees; the section is looked for
    // once.
    std::string seenStorage;
    std::optional<IniDocument> seen;
    for (const ProfileEdit& e : edits) {
        if (!e.expected)
            continue;
        if (!seen)
            seen.emplace(
                IniDocument(readableText(bytes, seenStorage)).sectionText(section).value_or(""));
        const auto current = seen->value(section, trimmedOfSpaces(e.key));
        if (current != valueView(*e.expected))
            result.stale.push_back(
                {e.key, current ? std::optional<std::string>(*current) : std::nullopt});
    }
    if (!result.stale.empty()) {
        result.status = Status::Stale;
        return result;
    }

    const bool utf16 = bytes.starts_with(kUtf16LeMark);
    // Lone surrogates survive the trip to UTF-8 and back, so untouched lines keep their units.
    std::string utf8;
    std::string_view text = bytes;
    if (utf16) {
        utf8 = Utf16LeToUtf8(bytes.substr(kUtf16LeMark.size()), true);
        // Windows takes a lone mark for text without a line end: a new section goes on a new line.
        if (utf8.empty())
            utf8 = "\r\n";
        text = utf8;
    }
    const EditedText edited = applyEdits(text, section, edits);
    const bool removes =
        std::any_of(edits.begin(), edits.end(), [](const ProfileEdit& e) { return !e.value; });
    if (!edited.changed && (file.exists() || !removes)) {
        result.status = Status::Unchanged;
        return result;
    }
    if (mode == ProfileWriteMode::DryRun) {
        result.status = Status::Written;
        return result;
    }
    bool written;
    if (!edited.changed) {
        written = file.replace({}); // removing from a missing file leaves an empty one
    } else if (!utf16) {
        written =
            edited.splice
                ? file.replace({bytes.substr(0, edited.splice->offset), edited.splice->inserted,
                                bytes.substr(edited.splice->offset + edited.splice->removed)})
                : file.replace({edited.whole});
    } else {
        std::string out(kUtf16LeMark);
        out += Utf8ToUtf16Le(edited.wholeText(text));
        const std::string_view halfUnit =
            bytes.size() % 2 != 0 ? bytes.substr(bytes.size() - 1) : std::string_view();
        written = file.replace({out, halfUnit}); // half a unit at the end stays where it was
    }
    if (!written) {
        result = failed(errno);
        result.contentsWritten = file.contentsWritten();
        return result;
    }
    result.status = Status::Written;
    return result;
}

} // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                              DWORD size, LPCSTR fileName) {
    if (!buffer || size == 0)
        return 0;
    return CopyPrivateProfileValue(GetPrivateProfileValue(section, key, fileName), defaultValue,
                                   buffer, size);
}

std::optional<std::string> GetPrivateProfileValue(LPCSTR section, LPCSTR key, LPCSTR fileName,
                                                  const ProfileIo& io) {
    try {
        return readValue(section, key, fileName, io);
    } catch (const std::bad_alloc&) {
        return std::nullopt; // a file too big for memory reads as missing
    }
}

DWORD CopyPrivateProfileValue(const std::optional<std::string>& stored, LPCSTR defaultValue,
                              LPSTR buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    std::string_view result;
    if (stored) {
        result = *stored;
        result = result.substr(0, result.find('\0')); // the caller sees a C string
    } else if (defaultValue) {
        result = defaultValue;
        result = result.substr(0, result.find_last_not_of(' ') + 1);
    }
    const std::size_t length = std::min<std::size_t>(result.size(), size - 1);
    std::copy_n(result.begin(), length, buffer);
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName,
                               const ProfileIo& io) {
    if (!section || !key || !fileName)
        return FALSE;
    try {
        const ProfileEdit edit{key, value ? std::optional<std::string>(value) : std::nullopt, {}};
        const auto status =
            WritePrivateProfileKeys(section, {&edit, 1}, fileName, ProfileWriteMode::Write, io)
                .status;
        return status == ProfileWriteResult::Status::Written ||
                       status == ProfileWriteResult::Status::Unchanged
                   ? TRUE
                   : FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

ProfileWriteResult WritePrivateProfileKeys(std::string_view section,
                                           std::span<const ProfileEdit> edits, LPCSTR fileName,
                                           ProfileWriteMode mode, const ProfileIo& io) {
    if (!fileName)
        return failed(EINVAL);
    try {
        return writeKeys(section, edits, fileName, mode, io);
    } catch (const std::bad_alloc&) {
        return failed(ENOMEM);
    }
}

ProfileText ReadPrivateProfileText(LPCSTR fileName, const ProfileIo& io) {
    ProfileText result;
    if (!fileName) {
        result.error = EINVAL;
        return result;
    }
    try {
        std::string bytes;
        if (!readProfileFile(fileName, bytes, io)) {
            result.error = errno == ENOENT ? 0 : errno;
            return result;
        }
        result.exists = true;
        std::string utf8;
        const std::string_view text = readableText(bytes, utf8);
        result.text = text.data() == bytes.data() ? std::move(bytes) : std::move(utf8);
    } catch (const std::bad_alloc&) {
        result.error = ENOMEM;
    }
    return result;
}

std::vector<std::string> LeftoverSaveCopies(LPCSTR fileName) {
    std::vector<std::string> copies;
    std::string path = fileName ? fileName : "";
    if (path.empty() || !ResolveLinks(path))
        return copies;
    const std::string dir = DirectoryOf(path);
    const std::string baseName = BaseNameOf(path);
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(dir.c_str()), &::closedir);
    if (!listing)
        return copies;
    while (const dirent* entry = ::readdir(listing.get()))
        if (IsSaveCopyFileName(entry->d_name, baseName))
            copies.push_back(dir + "/" + entry->d_name);
    std::sort(copies.begin(), copies.end());
    return copies;
}
