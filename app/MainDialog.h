#pragma once

#include "platform/dialog/CPropertySheet.h"

// The configuration sheet: the whole user interface.
class MainDialog : public CPropertySheet {
    Q_OBJECT
public:
    explicit MainDialog(QWidget* parent = nullptr, UINT selectPage = 0);

protected:
    // The pages' writes, minding what another program wrote since the pages read their keys.
    bool applyPages() override;
};
