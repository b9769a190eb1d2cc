#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

// Without Qt, for the tests of the Qt-free layers.

// Sets (or, given no value, unsets) an environment variable for the lifetime of the object.
class ScopedEnvVar {
public:
    ScopedEnvVar(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = ::getenv(name))
            m_old = old;
        set(value);
    }
    ~ScopedEnvVar() { set(m_old); }
    ScopedEnvVar(const ScopedEnvVar&) = delete;
    ScopedEnvVar& operator=(const ScopedEnvVar&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value)
            ::setenv(m_name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    std::string m_name;
    std::optional<std::string> m_old;
};

// A fresh temporary directory that is both the current directory and $GOMCFG_WINDIR for the
// lifetime of the object, so the settings file and the text files land in it.
class WorkDir {
public:
    WorkDir() : m_oldCwd(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "gomcfg-XXXXXX").string();
        EXPECT_NE(::mkdtemp(pattern.data()), nullptr);
        m_path = pattern;
        std::filesystem::current_path(m_path);
        m_winDir.emplace("GOMCFG_WINDIR", m_path);
    }
    ~WorkDir() {
        m_winDir.reset();
        std::filesystem::current_path(m_oldCwd);
        std::error_code ignored;
        // A test may leave a directory it made unreadable; give it back first.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(
                 m_path, std::filesystem::directory_options::skip_permission_denied, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string filePath(const std::string& name) const { return m_path + "/" + name; }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream file(filePath(name), std::ios::binary | std::ios::trunc);
        ASSERT_TRUE(file.is_open()) << name;
        file << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream file(filePath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    bool exists(const std::string& name) const {
        std::error_code error;
        return std::filesystem::exists(filePath(name), error);
    }

private:
    std::filesystem::path m_oldCwd;
    std::string m_path;
    std::optional<ScopedEnvVar> m_winDir;
};
