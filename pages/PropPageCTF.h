#pragma once

#include "pages/SheetPage.h"

// "C.T.F.": the capture-the-flag and teamplay switches; the rune controls are placeholders.
class PropPageCTF : public SheetPage {
    Q_OBJECT
public:
    PropPageCTF();
};
