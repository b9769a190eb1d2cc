// Times programs from exec to their window being mapped on the X display, alternating between
// them so both see the same machine.
//
//   startup_timer RUNS TITLE PROGRAM [ARGS...] [-- TITLE PROGRAM [ARGS...]]...
//
// Without a window manager a top-level window's MapNotify reaches the root window's
// substructure listeners, so no polling is needed. Prints one line per program: its title and
// the minimum, median and maximum in milliseconds. With two programs a last line "ratio" gives
// the same three of the first program's time over the second's, run by run: the two starts of
// a run follow each other, so a ratio sees one state of a shared machine. Then, per program,
// "cpu TITLE" with the same three of the CPU time it used until its window was mapped.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
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
    std::vector<double> times; // ms from exec to map
    std::vector<double> cpu;   // ms of CPU the process used by then, user and system
};

bool hasTitle(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    const bool match = XFetchName(display, window, &name) && name && title == name;
    if (name)
        XFree(name);
    return match;
}

struct Start {
    double ms = -1; // negative on a time-out
    double cpuMs = 0;
};

// From exec to the window's map. The CPU time does not depend on what else the machine runs.
Start timeOnce(Display* display, Program& program) {
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
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return {elapsed, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

// One line: the title, then the minimum, median and maximum, tab-separated.
void printSummary(const char* title, std::vector<double> values, const char* format) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    std::printf("%s", title);
    for (const double v : {values.front(), median, values.back()}) {
        std::printf("\t");
        std::printf(format, v);
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_timer RUNS TITLE PROGRAM [ARGS...] [-- ...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    if (runs < 1) {
        std::fprintf(stderr, "startup_timer: RUNS must be at least 1\n");
        return 2;
    }
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
            const Start start = timeOnce(display, p);
            if (start.ms < 0) {
                std::fprintf(stderr, "startup_timer: no window \"%s\"\n", p.title.c_str());
                return 1;
            }
            p.times.push_back(start.ms);
            p.cpu.push_back(start.cpuMs);
        }
    for (const Program& p : programs)
        printSummary(p.title.c_str(), p.times, "%.1f");
    if (programs.size() == 2) {
        std::vector<double> ratios;
        for (int run = 0; run < runs; ++run)
            ratios.push_back(programs[0].times[run] / programs[1].times[run]);
        printSummary("ratio", ratios, "%.3f");
    }
    for (const Program& p : programs)
        printSummary(("cpu " + p.title).c_str(), p.cpu, "%.1f");
    XCloseDisplay(display);
    return 0;
}
