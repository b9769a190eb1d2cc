#include "pages/WeaponsPageReal.h"

#include "pages/WeaponCodec.h"
#include "platform/dialog/DDX.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"

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
    ON_BN_CLICKED(IDC_BFG, &WeaponsPageReal::OnEnabledClicked<8>);
    ON_BN_CLICKED(IDC_CHAINGUN, &WeaponsPageReal::OnEnabledClicked<3>);
    ON_BN_CLICKED(IDC_GRENADES, &WeaponsPageReal::OnEnabledClicked<4>);
    ON_BN_CLICKED(IDC_HYPERBLASTER, &WeaponsPageReal::OnEnabledClicked<6>);
    ON_BN_CLICKED(IDC_MACHINEGUN, &WeaponsPageReal::OnEnabledClicked<2>);
    ON_BN_CLICKED(IDC_RAILGUN, &WeaponsPageReal::OnEnabledClicked<7>);
    ON_BN_CLICKED(IDC_ROCKETS, &WeaponsPageReal::OnEnabledClicked<5>);
    ON_BN_CLICKED(IDC_SHOTGUN, &WeaponsPageReal::OnEnabledClicked<0>);
    ON_BN_CLICKED(IDC_SUPERSHOTGUN, &WeaponsPageReal::OnEnabledClicked<1>);
    ON_CBN_SELCHANGE(IDC_BFG_LIST, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(IDC_CHAINGUN_LIST, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(IDC_GRENADES_LIST, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(IDC_HYPERBLASTER_LIST, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(IDC_MACHINEGUN_LIST, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(IDC_RAILGUN_LIST, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(IDC_ROCKETS_LIST, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(IDC_SHOTGUN_LIST, &WeaponsPageReal::OnModified);
    ON_CBN_SELCHANGE(IDC_SUPERSHOTGUN_LIST, &WeaponsPageReal::OnModified);
}

void WeaponsPageReal::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    // The lists' selections are the codec's business, not the data exchange's.
    DDX_Control(pDX, IDC_BFG_LIST, m_bfgCombo);
    DDX_Control(pDX, IDC_CHAINGUN_LIST, m_chaingunCombo);
    DDX_Control(pDX, IDC_GRENADES_LIST, m_grenadesCombo);
    DDX_Control(pDX, IDC_HYPERBLASTER_LIST, m_hyperblasterCombo);
    DDX_Control(pDX, IDC_MACHINEGUN_LIST, m_machinegunCombo);
    DDX_Control(pDX, IDC_RAILGUN_LIST, m_railgunCombo);
    DDX_Control(pDX, IDC_ROCKETS_LIST, m_rocketsCombo);
    DDX_Control(pDX, IDC_SUPERSHOTGUN_LIST, m_supershotgunCombo);
    DDX_Control(pDX, IDC_SHOTGUN_LIST, m_shotgunCombo);
    DDX_Check(pDX, IDC_BFG, m_bfgEnabled);
    DDX_Check(pDX, IDC_CHAINGUN, m_chaingunEnabled);
    DDX_Check(pDX, IDC_GRENADES, m_grenadesEnabled);
    DDX_Check(pDX, IDC_HYPERBLASTER, m_hyperblasterEnabled);
    DDX_Check(pDX, IDC_MACHINEGUN, m_machinegunEnabled);
    DDX_Check(pDX, IDC_RAILGUN, m_railgunEnabled);
    DDX_Check(pDX, IDC_ROCKETS, m_rocketsEnabled);
    DDX_Check(pDX, IDC_SHOTGUN, m_shotgunEnabled);
    DDX_Check(pDX, IDC_SUPERSHOTGUN, m_supershotgunEnabled);
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
void WeaponsPageReal::reloadSettings() {
    // The dependent controls follow the check box from the value shown now.
    for (DependentToggle& toggle : s_toggles)
        toggle.restart();
    s_firstActivationDone = 0;
    OnSetActive();
}

void WeaponsPageReal::toggleRow(std::size_t row) {
    const Row& r = kRowTable[row];
    SetModified(TRUE);
    (this->*r.list).EnableWindow(s_toggles[row].click(this->*r.enabled));
}
