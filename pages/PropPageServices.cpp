#include "pages/PropPageServices.h"

#include "res/Dialogs.h"

PropPageServices::PropPageServices() : SheetPage(kDialog135) {}
