#pragma once

#include "platform/dialog/MessageBox.h"

#include <QStringList>

#include <functional>
#include <vector>

// Records every message box shown while it lives, instead of blocking on it.
class MessageRecorder {
public:
    MessageRecorder() {
        m_previous = SetMessageBoxHandler([this](MessageBoxCall& call) {
            if (m_answer && (call.type & 0x000F) == MB_YESNOCANCEL)
                call.answer = m_answer;
            m_calls.push_back(call);
            if (m_onMessage)
                m_onMessage(call);
        });
    }
    ~MessageRecorder() { SetMessageBoxHandler(std::move(m_previous)); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QStringList texts() const {
        QStringList out;
        for (const MessageBoxCall& c : m_calls)
            out << c.text;
        return out;
    }
    const std::vector<MessageBoxCall>& calls() const { return m_calls; }
    std::vector<MessageBoxCall>& calls() { return m_calls; }
    int count() const { return int(m_calls.size()); }
    void clear() { m_calls.clear(); }
    // Runs while the box would be up, e.g. to look at focus or state at that moment.
    void onMessage(std::function<void(const MessageBoxCall&)> f) { m_onMessage = std::move(f); }
    // The button pressed in every Yes/No/Cancel question from now on (IDYES, IDNO, IDCANCEL).
    void answerQuestions(int answer) { m_answer = answer; }

private:
    std::vector<MessageBoxCall> m_calls;
    int m_answer = 0;
    MessageBoxHandler m_previous;
    std::function<void(const MessageBoxCall&)> m_onMessage;
};
