#include "pages/PropPageCTF.h"

#include "res/Dialogs.h"

PropPageCTF::PropPageCTF() : SheetPage(kDialog136) {}
