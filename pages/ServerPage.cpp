#include "pages/ServerPage.h"

#include "res/Dialogs.h"

ServerPage::ServerPage() : SheetPage(kDialog134) {}
