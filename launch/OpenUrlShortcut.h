#pragma once

// A URL shortcut file of the current directory, opened in the desktop's browser.
struct UrlShortcut {
    const char* fileName;
};

inline constexpr UrlShortcut HomePageShortcut{"gthome.url"};
inline constexpr UrlShortcut HelpFilesShortcut{"gthelp.url"};

// Starts the opener on the shortcut's URL and returns at once; reports nothing.
void OpenUrlShortcut(const UrlShortcut& shortcut);
