#include "tui/TuiLayout.h"

#include <algorithm>

TuiLayout::TuiLayout(int lines, int columns, std::span<const DialogTemplate* const> pages)
    : m_lines(lines), m_columns(columns), m_fits(lines >= kMinLines && columns >= kMinColumns) {
    // One unit more than the largest page, so its far edges still land inside the area.
    for (const DialogTemplate* page : pages) {
        m_unitsAcross = std::max(m_unitsAcross, page->cx + 1);
        m_unitsDown = std::max(m_unitsDown, page->cy + 1);
    }
}

int TuiLayout::column(int x) const {
    return pageArea().col + x * pageArea().width / m_unitsAcross;
}

int TuiLayout::row(int y) const {
    return pageArea().row + y * pageArea().height / m_unitsDown;
}

CellRect TuiLayout::place(const ControlTemplate& control) const {
    CellRect cells;
    cells.row = row(control.y);
    cells.col = column(control.x);
    cells.width = std::max(1, column(control.x + control.cx) - cells.col);
    const int bottom = row(control.y + control.cy);
    if (control.kind == ControlKind::GroupBox || control.kind == ControlKind::Picture) {
        // A frame's bottom edge rounds up into the frame by half a line, so a frame that
        // starts a few units below another's end still gets a line of its own.
        const int h = pageArea().height;
        const int edge =
            pageArea().row + (2 * (control.y + control.cy) * h - m_unitsDown) / (2 * m_unitsDown);
        cells.height = std::max(2, edge - cells.row + 1);
    } else if (control.kind == ControlKind::Edit && (control.style & ES_MULTILINE)) {
        cells.height = std::max(1, bottom - cells.row); // ends above whatever follows it
    } else {
        cells.height = 1;
    }
    return cells;
}

int BoxTextWidth(int columns) {
    return std::max(1, std::min(columns - 4, 72) - 4);
}

BoxPlacement PlaceBox(int lines, int columns, int textLines) {
    BoxPlacement box;
    box.textWidth = BoxTextWidth(columns);
    const int width = std::max(1, std::min(box.textWidth + 4, columns));
    box.shownLines = std::max(1, std::min(textLines, lines - 6));
    const int height = std::max(1, std::min(box.shownLines + 4, lines));
    box.frame = {std::max(0, (lines - height) / 2), std::max(0, (columns - width) / 2), height,
                 width};
    return box;
}

GreyedLook GreyedLookFor(int colours, bool colourWanted) {
    if (!colourWanted || colours < 8)
        return GreyedLook::Underlined;
    return colours >= 16 ? GreyedLook::BrightBlack : GreyedLook::BoldBlack;
}
