#pragma once

#include "platform/DialogTemplate.h"

#include <span>

// Where things go on a terminal: the tab row on the first line, the page below it, the sheet's
// buttons and a status line at the bottom. Pages are laid out from their templates, with dialog
// units scaled to character cells so that the largest page fills an 80x24 terminal and grows
// with a larger one.
inline constexpr int kMinColumns = 80;
inline constexpr int kMinLines = 24;

struct CellRect {
    int row = 0;
    int col = 0;
    int height = 0;
    int width = 0;
    bool contains(int r, int c) const {
        return r >= row && r < row + height && c >= col && c < col + width;
    }
};

class TuiLayout {
public:
    // lines x columns: the terminal; pages: every template the sheet shows.
    TuiLayout(int lines, int columns, std::span<const DialogTemplate* const> pages);

    bool fits() const { return m_fits; }

    int tabRow() const { return 0; }
    // The page's area: below the tab row, above the buttons and the status line.
    CellRect pageArea() const { return {1, 0, m_lines - 3, m_columns}; }
    int buttonRow() const { return m_lines - 2; }
    int statusRow() const { return m_lines - 1; }

    // A control's cells, in screen coordinates. Frames (group boxes, pictures) and the
    // multi-line preview cover all their rows; every other control is one line high.
    CellRect place(const ControlTemplate& control) const;

private:
    int column(int x) const;
    int row(int y) const;

    int m_lines;
    int m_columns;
    int m_unitsAcross = 1; // dialog units that map to the page's width
    int m_unitsDown = 1;   // and to its height
    bool m_fits;
};

// A message box over the sheet: at most 72 columns, centred, and never wider or taller than the
// terminal; text is wrapped to textWidth (at least one column, however narrow the terminal).
struct BoxPlacement {
    CellRect frame;
    int textWidth = 1;
    int shownLines = 1; // the text's lines that fit; the rest scroll
};
int BoxTextWidth(int columns);
BoxPlacement PlaceBox(int lines, int columns, int textLines);

// How a greyed control is set apart. Faint text (SGR 2) alone is not enough: stock xterm draws it
// like any other text. With 16 colours or more it is bright black (grey); with 8, bold black, which
// xterm, the Linux console and the terminals under tmux and screen show as grey; without colour
// it is underlined as well as faint, which every terminal shows.
enum class GreyedLook { BrightBlack, BoldBlack, Underlined };
GreyedLook GreyedLookFor(int colours, bool colourWanted);
