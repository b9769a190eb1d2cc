#include "pages/GomblePageReal.h"

#include "res/Dialogs.h"

GomblePageReal::GomblePageReal() : SheetPage(kDialog106) {}
