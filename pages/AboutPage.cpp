#include "pages/AboutPage.h"

#include "res/Dialogs.h"

AboutPage::AboutPage() : SheetPage(kDialog133) {}
