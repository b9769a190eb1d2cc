#pragma once

#include "platform/dialog/CComboBox.h"
#include "platform/dialog/CPropertyPage.h"
#include "platform/dialog/DependentToggle.h"

#include <array>
#include <cstddef>

// "Weapons": per weapon, an enabled check box that gates the list of its substitute.
class WeaponsPageReal : public CPropertyPage {
    Q_OBJECT
public:
    WeaponsPageReal();

    BOOL OnSetActive() override;
    BOOL OnApply() override;
    void reloadSettings() override;

    static constexpr std::size_t kRows = 9;
    // Once per process: the rows are read on the first activation only.
    static inline int s_firstActivationDone = 0;
    // Per check-box handler, once per process: the state it last gave its list.
    static inline std::array<DependentToggle, kRows> s_toggles{};

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    struct Row {
        unsigned weapon;
        int WeaponsPageReal::*enabled;
        CComboBox WeaponsPageReal::*list;
    };
    // Top to bottom, which is also the order of loading and saving.
    static const std::array<Row, kRows> kRowTable;

    template <std::size_t row> void OnEnabledClicked() { toggleRow(row); }
    void toggleRow(std::size_t row);

    CComboBox m_bfgCombo;
    CComboBox m_chaingunCombo;
    CComboBox m_grenadesCombo;
    CComboBox m_hyperblasterCombo;
    CComboBox m_machinegunCombo;
    CComboBox m_railgunCombo;
    CComboBox m_rocketsCombo;
    CComboBox m_supershotgunCombo;
    CComboBox m_shotgunCombo;
    int m_bfgEnabled = 0;
    int m_chaingunEnabled = 0;
    int m_grenadesEnabled = 0;
    int m_hyperblasterEnabled = 0;
    int m_machinegunEnabled = 0;
    int m_railgunEnabled = 0;
    int m_rocketsEnabled = 0;
    int m_shotgunEnabled = 0;
    int m_supershotgunEnabled = 0;
};
