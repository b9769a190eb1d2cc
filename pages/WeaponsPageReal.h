#pragma once

#include "pages/SheetPage.h"

// "Weapons": per weapon, an enabled check box that gates the list of its substitute.
class WeaponsPageReal : public SheetPage {
    Q_OBJECT
public:
    WeaponsPageReal();
};
