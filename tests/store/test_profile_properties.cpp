#include "support/StoreSupport.h"

#include "platform/store/IniDocument.h"

#include <cstdlib>
#include <optional>
#include <random>
#include <string_view>

// Random settings files and random writes, checked against a plain line-by-line model of the
// format: a write changes one line or inserts one block, the key reads back, other keys keep
// their values. GOMCFG_PROPERTY_ITERATIONS scales the run; GOMCFG_PROPERTY_SEED picks another.

namespace {

struct TextLine {
    std::string content;
    std::string eol;
};

std::vector<TextLine> linesOf(std::string_view text) {
    std::vector<TextLine> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = begin;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        std::size_t next = end;
        if (next < text.size())
            next += text.compare(next, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back({std::string(text.substr(begin, end - begin)),
                         std::string(text.substr(end, next - end))});
        begin = next;
    }
    return lines;
}

std::string_view trim(std::string_view s, std::string_view blanks) {
    while (!s.empty() && blanks.find(s.front()) != std::string_view::npos)
        s.remove_prefix(1);
    while (!s.empty() && blanks.find(s.back()) != std::string_view::npos)
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string_view> headerOf(std::string_view content) {
    const std::string_view t = trim(content, " \t");
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const std::string_view name = t.substr(1);
    return trim(name.substr(0, name.find(']')), " \t");
}

// A value as a reader sees it: trimmed, then one outer pair of matching quotes removed.
std::string readerValue(std::string_view raw) {
    std::string_view value = trim(raw, " \t\v");
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\''))
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// What the model knows about one key: where its section and line are.
struct Lookup {
    std::optional<std::size_t> header;
    std::optional<std::size_t> line;   // the first line naming the key in that section
    std::optional<std::size_t> anchor; // the last entry line before line (or section end)
    std::optional<std::string> value;  // as a reader sees it
    std::string spelling;              // of the key in the file
};

Lookup lookUp(const std::vector<TextLine>& lines, std::string_view section, std::string_view key) {
    Lookup found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto header = headerOf(lines[i].content);
        if (header) {
            if (found.header)
                break;
            if (sameName(*header, section))
                found.header = i;
            continue;
        }
        if (!found.header)
            continue;
        const std::string_view entry = trim(lines[i].content, " \t\v");
        if (entry.empty() || entry.front() == ';')
            continue;
        found.anchor = i;
        const std::size_t eq = entry.find('=');
        const std::string_view name = trim(entry.substr(0, eq), " \t\v");
        if (!sameName(name, key))
            continue;
        found.line = i;
        found.spelling = name;
        if (eq != std::string_view::npos)
            found.value = readerValue(entry.substr(eq + 1));
        break;
    }
    return found;
}

std::string styleOf(std::string_view text) {
    const bool cr = text.find('\r') != std::string_view::npos;
    const bool lf = text.find('\n') != std::string_view::npos;
    return cr == lf ? "\r\n" : lf ? "\n" : "\r";
}

std::string escaped(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (u >= 0x20 && u < 0x7F)
            out += c;
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        }
    }
    return out;
}

const char* const kSections[] = {"Gomcfg", "gomcfg", "GOMCFG", "Other", "s", "x y", ""};
const char* const kKeys[] = {"shotgun", "ShotGun", "Nfraglimit", "a", "A", "b", "x y", "k"};

class FileGenerator {
public:
    explicit FileGenerator(std::uint64_t seed) : m_rng(seed) {}

    std::string file() {
        static const char* const kEols[] = {"\r\n", "\n", "\r"};
        const char* eol = kEols[pick(3)];
        const bool mixed = chance(10);
        std::string text;
        if (chance(30))
            text += preamble() + eol;
        const int lines = int(pick(40));
        for (int i = 0; i < lines; ++i) {
            text += line();
            text += mixed ? kEols[pick(3)] : eol;
        }
        if (!text.empty() && chance(25)) // no line end after the last line
            text.resize(text.find_last_not_of("\r\n") + 1);
        return text;
    }

    const char* section() { return kSections[pick(std::size(kSections))]; }
    const char* key() { return kKeys[pick(std::size(kKeys))]; }

    // A value to write: no line breaks or NULs, but blanks and quotes that reading strips.
    std::string value() {
        static constexpr std::string_view kChars = "abcXYZ019 \t\v=;#[]\"'\xE9\xFF";
        std::string v;
        for (std::size_t n = pick(12); n > 0; --n)
            v += kChars[pick(kChars.size())];
        if (chance(15))
            v = "\"" + v + "\"";
        return v;
    }

    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_rng);
    }
    bool chance(int percent) { return int(pick(100)) < percent; }

private:
    std::string blanks() {
        static const char* const kBlanks[] = {"", "", " ", "\t", "  \t", "\v", " \v "};
        return kBlanks[pick(std::size(kBlanks))];
    }

    std::string word(std::string_view chars, std::size_t max) {
        std::string w;
        for (std::size_t n = pick(max + 1); n > 0; --n)
            w += chars[pick(chars.size())];
        return w;
    }

    // Bytes before the first section, which may be anything but a line break.
    std::string preamble() {
        std::string p;
        for (std::size_t n = pick(20); n > 0; --n) {
            char c = static_cast<char>(pick(256));
            if (c != '\r' && c != '\n')
                p += c;
        }
        return p;
    }

    std::string line() {
        switch (pick(10)) {
        case 0:
        case 1: {
            std::string header = blanks() + "[" + blanks() + section() + blanks();
            if (!chance(10))
                header += "]";
            return chance(20) ? header + blanks() + word("x]=; ", 5) : header;
        }
        case 2:
            return blanks() + ";" + word("comment = [x] ;", 12);
        case 3:
            return chance(50) ? "" : blanks();
        case 4:
            return blanks() + key(); // no '='
        default: {
            std::string value = word("abcXYZ019 \t=;#\"'[]", 8);
            if (chance(20))
                value = (chance(50) ? "\"" : "'") + value + (chance(80) ? "\"" : "'");
            return blanks() + key() + blanks() + "=" + blanks() + value + blanks();
        }
        }
    }

    std::mt19937_64 m_rng;
};

std::uint64_t envNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// Checks that after differs from before only by the write of section/key, and returns why not.
std::string checkEdit(const std::string& before, const std::string& after, std::string_view section,
                      std::string_view key, const std::optional<std::string>& value) {
    const auto old = linesOf(before);
    const auto now = linesOf(after);
    const Lookup target = lookUp(old, section, key);
    const std::string eol = styleOf(before);
    // A last line without a line end may gain one; nothing else about kept lines may change.
    const auto kept = [&](std::size_t o, std::size_t n) {
        return old[o].content == now[n].content &&
               (old[o].eol == now[n].eol ||
                (old[o].eol.empty() && o + 1 == old.size() && now[n].eol == eol));
    };
    const auto keptRange = [&](std::size_t o, std::size_t oEnd, std::size_t n) {
        for (; o < oEnd; ++o, ++n)
            if (n >= now.size() || !kept(o, n))
                return false;
        return true;
    };

    if (!value) {
        if (!target.line)
            return after == before ? "" : "removing a missing key changed the file";
        const std::size_t i = *target.line;
        if (now.size() + 1 != old.size() || !keptRange(0, i, 0) || !keptRange(i + 1, old.size(), i))
            return "removal changed more than the key's line";
        return "";
    }
    const std::string keyText(key);
    if (target.line) {
        const std::size_t i = *target.line;
        const std::string expected = target.spelling + "=" + *value;
        if (now.size() != old.size() || !keptRange(0, i, 0) || !keptRange(i + 1, old.size(), i + 1))
            return "rewriting the key's line touched other lines";
        if (now[i].content != expected)
            return "key line is '" + escaped(now[i].content) + "', expected '" + escaped(expected) +
                   "'";
        if (now[i].eol != (old[i].eol.empty() ? eol : old[i].eol))
            return "key line's end changed";
        return "";
    }
    std::vector<std::string> inserted;
    std::size_t at = old.size();
    if (target.header)
        at = (target.anchor ? *target.anchor : *target.header) + 1;
    else
        inserted.push_back("[" + std::string(section) + "]");
    inserted.push_back(keyText + "=" + *value);
    if (now.size() != old.size() + inserted.size() || !keptRange(0, at, 0) ||
        !keptRange(at, old.size(), at + inserted.size()))
        return "insertion moved or changed other lines";
    for (std::size_t j = 0; j < inserted.size(); ++j)
        if (now[at + j].content != inserted[j] || now[at + j].eol != eol)
            return "inserted '" + escaped(now[at + j].content + now[at + j].eol) + "', expected '" +
                   escaped(inserted[j] + eol) + "'";
    return "";
}

// Every name pair the generator uses, once whatever the case, and one it never uses.
std::vector<std::pair<std::string, std::string>> namesToRead() {
    std::vector<std::pair<std::string, std::string>> names;
    for (const char* s : kSections)
        for (const char* k : kKeys) {
            const bool seen = std::any_of(names.begin(), names.end(), [&](const auto& name) {
                return sameName(name.first, s) && sameName(name.second, k);
            });
            if (!seen)
                names.emplace_back(s, k);
        }
    names.emplace_back("Gomcfg", "missing");
    return names;
}

struct PropertyRun {
    std::uint64_t seed = envNumber("GOMCFG_PROPERTY_SEED", 20240611);
    std::uint64_t scale = envNumber("GOMCFG_PROPERTY_ITERATIONS", 1);
};

} // namespace

TEST(ProfileProperties, ModelAgreesWithTheReaderOnGeneratedFiles) {
    const PropertyRun run;
    FileGenerator gen(run.seed);
    const auto names = namesToRead();
    for (std::uint64_t n = 0; n < 3000 * run.scale; ++n) {
        const std::string text = gen.file();
        const auto lines = linesOf(text);
        const IniDocument doc(text);
        for (const auto& [section, key] : names) {
            const auto got = doc.value(section, key);
            const auto expected = lookUp(lines, section, key).value;
            ASSERT_EQ(got.has_value(), expected.has_value())
                << "seed " << run.seed << " file " << n << " [" << section << "] " << key << "\n"
                << escaped(text);
            if (got) {
                ASSERT_EQ(std::string(*got), *expected) << "seed " << run.seed << " file " << n
                                                        << " [" << section << "] " << key << "\n"
                                                        << escaped(text);
            }
        }
    }
}

TEST(ProfileProperties, WriteChangesOnlyItsKeyAndReadsBack) {
    const PropertyRun run;
    FileGenerator gen(run.seed + 1);
    const auto names = namesToRead();
    for (std::uint64_t n = 0; n < 2000 * run.scale; ++n) {
        std::string text = gen.file();
        for (int w = 0; w < 6; ++w) {
            const std::string section = gen.section();
            const std::string key = gen.key();
            const auto value = gen.chance(5) ? std::nullopt : std::optional(gen.value());
            const auto edit = IniDocument(text).edit(section, key, value);
            const std::string after = edit ? edit->appliedTo(text) : text;
            const std::string context =
                "seed " + std::to_string(run.seed + 1) + " file " + std::to_string(n) + " write [" +
                section + "] " + key + "=" + escaped(value.value_or("<null>")) +
                "\nbefore: " + escaped(text) + "\nafter:  " + escaped(after);
            ASSERT_EQ(checkEdit(text, after, section, key, value), "") << context;

            const IniDocument oldDoc(text), newDoc(after);
            const auto readBack = newDoc.value(section, key);
            if (value) {
                ASSERT_TRUE(readBack.has_value()) << context;
                ASSERT_EQ(*readBack, readerValue(*value)) << context;
            } else {
                // A later duplicate of the removed key, if any, is what reads now.
                const auto next = lookUp(linesOf(after), section, key).value;
                ASSERT_EQ(readBack.has_value(), next.has_value()) << context;
            }
            for (const auto& [s, k] : names) {
                if (sameName(s, section) && sameName(k, key))
                    continue;
                ASSERT_EQ(newDoc.value(s, k), oldDoc.value(s, k))
                    << context << "\nother key [" << s << "] " << k;
            }
            text = after;
        }
    }
}

// The same through the file API: arguments padded with spaces, the file on disk, reads through
// the 1024-byte buffer, and no temporary file left behind.
TEST(ProfileProperties, WritesThroughTheFileApiKeepEveryOtherKey) {
    const PropertyRun run;
    FileGenerator gen(run.seed + 2);
    const auto names = namesToRead();
    WorkDir dir;
    const auto readAll = [&] {
        std::vector<std::string> values;
        for (const auto& [s, k] : names)
            values.push_back(profileString(s.c_str(), k.c_str()));
        return values;
    };
    for (std::uint64_t n = 0; n < 100 * run.scale; ++n) {
        std::string text = gen.file();
        putBytes(dir, text);
        for (int w = 0; w < 3; ++w) {
            const std::string section = gen.section();
            const std::string key = gen.key();
            const std::string value = gen.value();
            const auto before = readAll();
            const std::string pad(gen.pick(3), ' ');
            ASSERT_EQ(WritePrivateProfileString((pad + section + pad).c_str(), (pad + key).c_str(),
                                                value.c_str(), kIni),
                      TRUE);
            const std::string after = bytesOf(dir);
            const std::string context = "seed " + std::to_string(run.seed + 2) + " file " +
                                        std::to_string(n) + " write [" + section + "] " + key +
                                        "=" + escaped(value) + "\nbefore: " + escaped(text) +
                                        "\nafter:  " + escaped(after);
            ASSERT_EQ(checkEdit(text, after, section, key, value), "") << context;
            ASSERT_EQ(profileString(section.c_str(), key.c_str()), readerValue(value)) << context;
            const auto now = readAll();
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (!sameName(names[i].first, section) || !sameName(names[i].second, key)) {
                    ASSERT_EQ(now[i], before[i])
                        << context << "\nother key [" << names[i].first << "] " << names[i].second;
                }
            }
            text = after;
        }
        ASSERT_EQ(entriesOf(dir.path()), std::set<std::string>{kIni});
    }
}
