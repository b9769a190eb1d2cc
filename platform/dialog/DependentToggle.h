#pragma once

// The remembered state behind a check box that enables other controls. Each such click handler
// owns one for the whole process: the first click takes the state from the page member bound to
// the box, every click flips it, so it follows the box and outlives the page's window.
class DependentToggle {
public:
    // The state after this click: the negation of the remembered one. The dependent controls
    // are enabled exactly when it is non-zero.
    int click(int boundMember) {
        if (!m_started) {
            m_started = true;
            m_state = boundMember;
        }
        m_state = m_state ? 0 : 1;
        return m_state;
    }

    // Forgets the state, so the next click takes it from the member again: for a page that has
    // read its keys anew.
    void restart() { m_started = false; }

private:
    bool m_started = false;
    int m_state = 0;
};
