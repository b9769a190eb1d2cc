#pragma once

#include "pages/SheetPage.h"

// "About": who made the utility, and shortcuts to its home page and help files.
class AboutPage : public SheetPage {
    Q_OBJECT
public:
    AboutPage();
};
