#pragma once

#include "pages/SheetPage.h"

// "Services": the network services, their ports and IP banning with its two list files.
class PropPageServices : public SheetPage {
    Q_OBJECT
public:
    PropPageServices();
};
