#include "pages/WeaponsPageReal.h"

#include "platform/DDX.h"
#include "res/Dialogs.h"
#include "settings/WeaponCodec.h"

const std::array<WeaponsPageReal::Row, WeaponsPageReal::kRows> WeaponsPageReal::kRowTable = {{
    {7, &WeaponsPageReal::m_shotgunEnabled, &WeaponsPageReal::m_shotgunCombo},
    {8, &WeaponsPageReal::m_supershotgunEnabled, &WeaponsPageReal::m_supershotgunCombo},
    {4, &WeaponsPageReal::m_machinegunEnabled, &WeaponsPageReal::m_machinegunCombo},
    {1, &WeaponsPageReal::m_chaingunEnabled, &WeaponsPageReal::m_chaingunCombo},
    {2, &WeaponsPageReal::m_grenadesEnabled, &WeaponsPageReal::m_grenadesCombo},
    {6, &WeaponsPageReal::m_rocketsEnabled, &WeaponsPageReal::m_rocketsCombo},
    {3, &WeaponsPageReal::m_hyperblasterEnabled, &WeaponsPageReal::m_hyperblasterCombo},
    {5, &WeaponsPageReal::m_railgunEnabled, &WeaponsPageReal::m_railgunCombo},
    {0, &WeaponsPageReal::m_bfgEnabled, &WeaponsPageReal::m_bfgCombo},
}};

WeaponsPageReal::WeaponsPageReal() : CPropertyPage(kDialog105) {
    ON_BN_CLICKED(1017, &WeaponsPageReal::OnEnabledClicked<8>);
    ON_BN_CLICKED(1011, &WeaponsPageReal::OnEnabledClicked<3>);
    ON_BN_CLICKED(1010, &WeaponsPageReal::OnEnabledClicked<4>);
    ON_BN_CLICKED(1003, &WeaponsPageReal::OnEnabledClicked<6>);
    ON_BN_CLICKED(1013, &WeaponsPageReal::OnEnabledClicked<2>);
    ON_BN_CLICKED(1015, &WeaponsPageReal::OnEnabledClicked<7>);
    ON_BN_CLICKED(1009, &WeaponsPageReal::OnEnabledClicked<5>);
    ON_BN_CLICKED(1000, &WeaponsPageReal::OnEnabledClicked<0>);
    ON_BN_CLICKED(1012, &WeaponsPageReal::OnEnabledClicked<1>);
    ON_CBN_SELCHANGE(1021, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(1020, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(1022, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(1023, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(1019, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(1025, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(1024, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(1018, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(1002, &WeaponsPageReal::OnModified);
}

void WeaponsPageReal::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    // The lists' selections are the codec's business, not the data exchange's.
    DDX_Control(pDX, 1021, m_bfgCombo);
    DDX_Control(pDX, 1020, m_chaingunCombo);
    DDX_Control(pDX, 1022, m_grenadesCombo);
    DDX_Control(pDX, 1023, m_hyperblasterCombo);
    DDX_Control(pDX, 1019, m_machinegunCombo);
    DDX_Control(pDX, 1025, m_railgunCombo);
    DDX_Control(pDX, 1024, m_rocketsCombo);
    DDX_Control(pDX, 1002, m_supershotgunCombo);
    DDX_Control(pDX, 1018, m_shotgunCombo);
    DDX_Check(pDX, 1017, m_bfgEnabled);
    DDX_Check(pDX, 1011, m_chaingunEnabled);
    DDX_Check(pDX, 1010, m_grenadesEnabled);
    DDX_Check(pDX, 1003, m_hyperblasterEnabled);
    DDX_Check(pDX, 1013, m_machinegunEnabled);
    DDX_Check(pDX, 1015, m_railgunEnabled);
    DDX_Check(pDX, 1009, m_rocketsEnabled);
    DDX_Check(pDX, 1000, m_shotgunEnabled);
    DDX_Check(pDX, 1012, m_supershotgunEnabled);
}

BOOL WeaponsPageReal::OnSetActive() {
    if (!s_firstActivationDone) {
        for (const Row& row : kRowTable) {
            LoadDataThingy(row.weapon, this->*row.enabled, this->*row.list);
            StatusChecker(this->*row.enabled, &(this->*row.list));
        }
        UpdateData(FALSE);
        s_firstActivationDone = 1;
    }
    return CPropertyPage::OnSetActive();
}

BOOL WeaponsPageReal::OnApply() {
    UpdateData(TRUE);
    for (const Row& row : kRowTable)
        SaveWeaponSetting(this->*row.enabled, this->*row.list, int(row.weapon));
    return CPropertyPage::OnApply();
}

// Another first activation, in which the read codecs give only the keys the sheet kept.
void WeaponsPageReal::ReloadSettings() {
    // The dependent controls follow the check box from the value shown now.
    s_toggleStarted.fill(0);
    s_firstActivationDone = 0;
    OnSetActive();
}

void WeaponsPageReal::ToggleRow(std::size_t row) {
    const Row& r = kRowTable[row];
    if (!s_toggleStarted[row]) {
        s_toggleState[row] = this->*r.enabled;
        s_toggleStarted[row] = 1;
    }
    SetModified(TRUE);
    s_toggleState[row] = s_toggleState[row] ? 0 : 1;
    (this->*r.list).EnableWindow(s_toggleState[row]);
}
