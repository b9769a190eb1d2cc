#pragma once

#include "pages/SheetPage.h"

// "Server Options": three rule switches and the frag and time limits.
class ServerPage : public SheetPage {
    Q_OBJECT
public:
    ServerPage();
};
