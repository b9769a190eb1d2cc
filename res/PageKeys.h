#pragma once

#include <span>

// Which page shows which settings key, and with which control. No Qt: the command-line and
// terminal front ends share it with the sheet.
struct PageKey {
    const char* key;
    int controlId;
};

// The keys the page built on dialogId reads and writes, in the order its OnApply writes them,
// each with the control that shows it (for a weapon row: the enabled flag's check box and the
// substitute's combo box). Empty for a page without keys or an unknown template.
std::span<const PageKey> PageKeys(int dialogId);
