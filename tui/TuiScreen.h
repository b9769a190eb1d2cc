#pragma once

#include "tui/TuiKeys.h"
#include "tui/TuiLayout.h"
#include "tui/TuiSheet.h"

#include <string>
#include <vector>

class SettingsSession;
class TuiTerminal;

// The terminal sheet on the screen: draws the pages with ncurses, reads keys and mouse clicks and
// carries out what TuiKeys makes of them, and shows the sheet's messages and questions as boxes.
class TuiScreen : public TuiDialogs {
public:
    TuiScreen(SettingsSession& session, const TuiTerminal& terminal);

    // Runs until OK or Cancel; true for OK.
    bool run(int tab);

    void message(const std::string& text) override;
    Answer ask(const std::string& question) override;

private:
    enum class Outcome { Stay, Ok, Cancel };

    TuiKey readKey();
    Outcome handleKey(const TuiKey& key);
    FocusKind focusKind() const;
    Outcome handleMouse();
    Outcome press(SheetButton button);
    void activateFocused();
    void pickByLetter(TuiControl& list, int letter);
    void runEditor(const char* fileName);
    void switchTab(int tab);

    void draw();
    void drawTabs();
    void drawPage();
    void drawControl(const TuiControl& control, bool focused);
    void drawButtons();
    void drawStatus();
    // A modal box over the sheet; returns the chosen button's index.
    int box(const std::string& text, const std::vector<std::string>& buttons, int initial,
            int cancelIndex);

    const TuiTerminal& m_terminal;
    const bool m_utf8; // the locale's, read once: wide characters are drawn only then
    TuiKeyDecoder m_decoder;
    TuiSheet m_sheet;
    TuiLayout m_layout;
    std::string m_note; // one line for the status row, until the next key
    std::vector<CellRect> m_tabCells;
    std::vector<CellRect> m_buttonCells;
};
