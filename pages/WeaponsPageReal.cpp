#include "pages/WeaponsPageReal.h"

#include "res/Dialogs.h"

WeaponsPageReal::WeaponsPageReal() : SheetPage(kDialog105) {}
