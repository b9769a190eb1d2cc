#pragma once

#include "settings/KeyTable.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// Settings files for the benchmarks. One grown by a server admin over the years: many sections
// of other tools first, then [Gomcfg] with every key of the utility last, so that finding a
// key means passing over the whole file.

enum class Values { Defaults, Changed };

inline std::string GomcfgSection(std::string_view eol, Values values) {
    std::string text = "[Gomcfg]" + std::string(eol);
    for (const SettingKey& key : SettingKeys()) {
        std::string value = key.defaultText;
        if (values == Values::Changed) {
            switch (key.type) {
            case SettingType::Boolean:
                value = value == "true" ? "false" : "true";
                break;
            case SettingType::Integer:
                value = std::to_string(std::stoi(value) + 1);
                break;
            case SettingType::WeaponToken:
                value = value == "railgun" ? "bfg" : "railgun";
                break;
            }
        }
        text.append(key.key).append("=").append(value).append(eol);
    }
    return text;
}

inline std::string SettingsText(std::size_t size, std::string_view eol,
                                Values values = Values::Defaults) {
    const std::string tail = GomcfgSection(eol, values);
    std::string text = "; Gomble Trove II server" + std::string(eol);
    for (int section = 0; text.size() + tail.size() < size; ++section) {
        text.append("[map").append(std::to_string(section)).append("]").append(eol);
        for (int key = 0; key < 20 && text.size() + tail.size() < size; ++key)
            text.append("spawn")
                .append(std::to_string(key))
                .append(" = ")
                .append("\"info_player_deathmatch 128 -256 24\"")
                .append(eol);
    }
    return text + tail;
}

// A fresh directory on the disk where settings files normally live (not a tmpfs), removed
// with everything in it when the object goes.
class BenchDir {
public:
    BenchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "gomcfg-bench-XXXXXX");
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
    }
    ~BenchDir() { std::filesystem::remove_all(m_path); }
    BenchDir(const BenchDir&) = delete;
    BenchDir& operator=(const BenchDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string put(const std::string& name, const std::string& bytes) const {
        const std::string file = m_path + "/" + name;
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        return file;
    }

private:
    std::string m_path;
};

struct FileSize {
    const char* name;
    std::size_t bytes;
};
inline constexpr FileSize kFileSizes[] = {{"2KB", 2 << 10}, {"1MB", 1 << 20}, {"10MB", 10 << 20}};

struct LineEnd {
    const char* name;
    const char* eol;
};
inline constexpr LineEnd kLineEnds[] = {{"crlf", "\r\n"}, {"lf", "\n"}};
