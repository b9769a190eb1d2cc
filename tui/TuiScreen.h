#pragma once

#include "tui/TuiLayout.h"
#include "tui/TuiSheet.h"

#include <string>
#include <vector>

class SettingsSession;

// The terminal sheet on the screen: draws the pages with ncurses, turns keys and mouse clicks
// into what the sheet does, and shows its messages and questions as boxes. The terminal must
// be set up (TuiTerminal) while it runs.
class TuiScreen : public TuiDialogs {
public:
    explicit TuiScreen(SettingsSession& session);

    // Runs until OK or Cancel; true for OK.
    bool run(int tab);

    void message(const std::string& text) override;
    Answer ask(const std::string& question) override;

private:
    enum class Outcome { Stay, Ok, Cancel };

    int readKey();
    Outcome handleKey(int key);
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

    TuiSheet m_sheet;
    TuiLayout m_layout;
    std::string m_note; // one line for the status row, until the next key
    std::vector<CellRect> m_tabCells;
    std::vector<CellRect> m_buttonCells;
};
