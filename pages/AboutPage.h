#pragma once

#include "platform/dialog/CPropertyPage.h"

// "About": who made the utility, and shortcuts to its home page and help files. It has no
// settings, so activation and apply are the base behaviour.
class AboutPage : public CPropertyPage {
    Q_OBJECT
public:
    AboutPage();

private:
    void OnGotoHomePage();
    void OnHelpFiles();
};
