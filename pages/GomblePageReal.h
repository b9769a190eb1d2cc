#pragma once

#include "pages/SheetPage.h"

// "Gomble Stuff": the mod's feature switches and a read-only preview of the message of the day.
class GomblePageReal : public SheetPage {
    Q_OBJECT
public:
    GomblePageReal();
};
