#include "app/CommandLine.h"
#include "app/ConfigApp.h"
#include "app/DisplayCheck.h"
#include "res/Strings.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace {

// --help and --version must fail when their text cannot be written (a full disk, a closed pipe).
int Print(const std::string& text) {
    if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "%s: write error\n", kExecutableName);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine = ParseCommandLine(argc, argv);
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        return Print(HelpText());
    case CommandLine::Action::Version:
        return Print(VersionText());
    case CommandLine::Action::Error:
        std::fputs(UsageErrorText(commandLine.error).c_str(), stderr);
        return 2;
    case CommandLine::Action::Run:
        break;
    }

    // Qt opens the display; when it cannot, the guard says why and exits.
    std::unique_ptr<QApplication> app;
    {
        const PlatformStartGuard guard;
        app = std::make_unique<QApplication>(argc, argv);
    }
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));

    ConfigApp theApp;
    theApp.InitInstance();
    return 0;
}
