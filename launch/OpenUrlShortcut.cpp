#include "launch/OpenUrlShortcut.h"

#include "platform/process/ChildProcess.h"
#include "platform/process/LaunchCommands.h"
#include "platform/store/PrivateProfile.h"

#include <string>

void OpenUrlShortcut(const UrlShortcut& shortcut) {
    if (!shortcut.fileName)
        return;
    // The shortcut lies in the current directory, not where the settings file is kept.
    const std::string path = std::string("./") + shortcut.fileName;
    std::string url(32768, '\0');
    const DWORD length = GetPrivateProfileString("InternetShortcut", "URL", "", url.data(),
                                                 DWORD(url.size()), path.c_str());
    // A value that fills the buffer may have been cut: never open part of an address.
    if (length == 0 || length >= url.size() - 1)
        return;
    url.resize(length);
    if (!IsOpenableUrl(url))
        return;
    ChildProcess::start(UrlOpenerCommand(url)).detach();
}
