#pragma once

#include "model/SheetModel.h"
#include "platform/store/PrivateProfile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

// Without Qt: a scratch settings file and a sheet's prompts that answer from a script, for
// driving the page model as any front end does.

// Records messages and questions; answers questions from a queue, Cancel when it is empty.
class ScriptedPrompts : public SheetPrompts {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    Answer ask(const std::string& question) override {
        questions.push_back(question);
        if (answers.empty())
            return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<Answer> answers;
};

// A fresh directory of its own, holding the settings file, for one test.
class ScratchSettings {
public:
    ScratchSettings() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("gomcfg-model-" + std::to_string(getpid()) + "-" + test->test_suite_name() + "-" +
                 test->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_path = (m_dir / "GombleTroveII.ini").string();
    }
    ~ScratchSettings() { std::filesystem::remove_all(m_dir); }
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;

    const std::string& path() const { return m_path; }
    void write(const std::string& bytes) const { std::ofstream(m_path, std::ios::binary) << bytes; }
    std::string bytes() const {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::optional<std::string> stored(const char* key) const {
        return GetPrivateProfileValue("Gomcfg", key, m_path.c_str());
    }
    // Another program's write of one key.
    void writeElsewhere(const char* key, const char* value) const {
        const ProfileEdit edit{key, value, std::nullopt};
        ASSERT_EQ(WritePrivateProfileKeys("Gomcfg", {&edit, 1}, m_path.c_str()).status,
                  ProfileWriteResult::Status::Written);
    }

private:
    std::filesystem::path m_dir;
    std::string m_path;
};
