// Times programs from exec to their window being mapped on the X display, alternating between
// them so both see the same machine.
//
//   startup_timer RUNS TITLE PROGRAM [ARGS...] [-- TITLE PROGRAM [ARGS...]]...
//
// Without a window manager a top-level window's MapNotify reaches the root window's
// substructure listeners, so no polling is needed. Prints one line per program: the minimum
// and median in milliseconds.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string title;
    std::vector<char*> argv;
    std::vector<double> times;
};

bool hasTitle(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    const bool match = XFetchName(display, window, &name) && name && title == name;
    if (name)
        XFree(name);
    return match;
}

// Milliseconds from exec to the window's map, or a negative number on a time-out.
double timeOnce(Display* display, Program& program) {
    XSync(display, True); // forget earlier events
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv(program.argv[0], program.argv.data());
        ::_exit(127);
    }
    double elapsed = -1;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (elapsed < 0) {
        if (!XPending(display) && ::poll(&fd, 1, 20000) <= 0)
            break;
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && hasTitle(display, event.xmap.window, program.title))
            elapsed =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    return elapsed;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_timer RUNS TITLE PROGRAM [ARGS...] [-- ...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Program> programs(1);
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            programs.emplace_back();
            continue;
        }
        if (programs.back().title.empty())
            programs.back().title = argv[i];
        else
            programs.back().argv.push_back(argv[i]);
    }
    for (Program& p : programs)
        p.argv.push_back(nullptr);

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_timer: no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    // One untimed start each, so every timed one finds the libraries in the page cache.
    for (Program& p : programs)
        timeOnce(display, p);
    for (int run = 0; run < runs; ++run)
        for (Program& p : programs) {
            const double ms = timeOnce(display, p);
            if (ms < 0) {
                std::fprintf(stderr, "startup_timer: no window \"%s\"\n", p.title.c_str());
                return 1;
            }
            p.times.push_back(ms);
        }
    for (Program& p : programs) {
        std::sort(p.times.begin(), p.times.end());
        std::printf("%s\t%.1f\t%.1f\n", p.title.c_str(), p.times.front(),
                    p.times[p.times.size() / 2]);
    }
    XCloseDisplay(display);
    return 0;
}
