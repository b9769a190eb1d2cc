#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A started program, owned by its process id. A child that is neither waited for nor detached
// when the object goes is detached then, so no child is ever left unreaped.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv[0], looked up on $PATH, with argv as given: no shell. The child gets the
    // current directory, the environment and the standard input, output and error, but no
    // other descriptor; its signal mask is empty, every signal has its default action, and it
    // leads a session of its own, so it outlives this process and no terminal signal reaches it.
    // The result is not valid when the program could not be started.
    static ChildProcess start(const std::vector<std::string>& argv);
    // As start(), but the child stays in this process's session and process group, so a
    // program that works in the terminal (a text editor) gets it as its controlling terminal.
    static ChildProcess startInTerminal(const std::vector<std::string>& argv);

    bool isValid() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }

    // Blocks until the child has ended and reaps it. Returns its wait status, or -1 when there is
    // no child to wait for.
    int wait();

    // Lets the child run on: a background thread reaps it when it ends.
    void detach();

private:
    explicit ChildProcess(pid_t pid) : m_pid(pid) {}
    static ChildProcess spawn(const std::vector<std::string>& argv, bool ownSession);

    pid_t m_pid = -1;
};
