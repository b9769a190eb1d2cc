#pragma once

#include <functional>

// Runs body on a new detached thread with every signal blocked, so signals keep going to the
// user-interface thread. Such a thread never holds up the end of the process: it ends with it.
// Returns false when no thread could be created; body is then not run.
bool StartDetachedThread(std::function<void()> body);
