#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// A graphical text editor and the options that keep its process alive until its window is
// closed (so the wait and the one-editor-per-file rule hold).
struct KnownEditor {
    const char* program;
    std::vector<const char*> options;
};

// The editors tried in this order when $GOMCFG_EDITOR is not set.
std::span<const KnownEditor> KnownEditors();

// The editor's argv for fileName: the words of $GOMCFG_EDITOR when it is set and not blank,
// else the first of KnownEditors() found on $PATH; the file name last. Empty when there is no
// editor, or $GOMCFG_EDITOR has an unclosed quote.
std::vector<std::string> EditorCommand(const char* fileName);

// The terminal editor's argv for fileName: the words of $VISUAL, else of $EDITOR (the first that
// is set and not blank), else "editor" where Debian's alternative exists, else "vi"; the file
// name last. Empty when that variable has an unclosed quote.
std::vector<std::string> TerminalEditorCommand(const char* fileName);

// Only these URL schemes are handed to the opener, in any letter case.
bool IsOpenableUrl(std::string_view url);

// The opener's argv for url: the words of $GOMCFG_URL_OPENER when it is set and not blank, else
// xdg-open; the URL last, as one word. Empty when $GOMCFG_URL_OPENER has an unclosed quote.
std::vector<std::string> UrlOpenerCommand(const std::string& url);
