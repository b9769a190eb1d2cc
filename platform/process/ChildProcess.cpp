#include "platform/process/ChildProcess.h"

#include "platform/process/DetachedThread.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

extern char** environ;

namespace {
int waitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}
} // namespace

ChildProcess::~ChildProcess() {
    detach();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : m_pid(std::exchange(other.m_pid, -1)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        detach();
        m_pid = std::exchange(other.m_pid, -1);
    }
    return *this;
}

ChildProcess ChildProcess::start(const std::vector<std::string>& argv) {
    return spawn(argv, true);
}

ChildProcess ChildProcess::startInTerminal(const std::vector<std::string>& argv) {
    return spawn(argv, false);
}

ChildProcess ChildProcess::spawn(const std::vector<std::string>& argv, bool ownSession) {
    if (argv.empty() || argv.front().empty())
        return {};
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0)
        return {};
    const auto destroyAttributes = [](posix_spawnattr_t* a) { posix_spawnattr_destroy(a); };
    const std::unique_ptr<posix_spawnattr_t, decltype(destroyAttributes)> attributesGuard(
        &attributes, destroyAttributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    if (posix_spawnattr_setsigmask(&attributes, &none) != 0 ||
        posix_spawnattr_setsigdefault(&attributes, &all) != 0 ||
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                  (ownSession ? POSIX_SPAWN_SETSID : 0)) != 0)
        return {};

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return {};
    const auto destroyActions = [](posix_spawn_file_actions_t* a) {
        posix_spawn_file_actions_destroy(a);
    };
    const std::unique_ptr<posix_spawn_file_actions_t, decltype(destroyActions)> actionsGuard(
        &actions, destroyActions);
    // Descriptors opened without close-on-exec, by us or a library, stay with us.
    if (posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1) != 0)
        return {};

    pid_t pid = -1;
    if (posix_spawnp(&pid, args.front(), &actions, &attributes, args.data(), environ) != 0)
        return {};
    return ChildProcess(pid);
}

int ChildProcess::wait() {
    if (!isValid())
        return -1;
    return waitForExit(std::exchange(m_pid, -1));
}

void ChildProcess::detach() {
    if (!isValid())
        return;
    const pid_t pid = std::exchange(m_pid, -1);
    // Without a thread the child is reaped only when this process ends.
    StartDetachedThread([pid] { waitForExit(pid); });
}
