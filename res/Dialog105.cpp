#include "res/Dialogs.h"
#include "res/WeaponItems.h"

namespace {
constexpr unsigned kCheck = WS_TABSTOP;
constexpr unsigned kList = WS_TABSTOP | WS_VSCROLL | CBS_SORT;

constexpr ControlTemplate kControls[] = {
    {1000, ControlKind::CheckBox, "Shotgun", 10, 15, 55, 15, kCheck},
    {1018, ControlKind::ComboBox, nullptr, 95, 15, 100, 70, kList, kWeaponItems,
     "Shotgun substitute"},
    {1012, ControlKind::CheckBox, "Super Shotgun", 10, 30, 55, 15, kCheck},
    {1002, ControlKind::ComboBox, nullptr, 95, 30, 100, 70, kList, kWeaponItems,
     "Super Shotgun substitute"},
    {1013, ControlKind::CheckBox, "Machingun", 10, 45, 55, 15, kCheck},
    {1019, ControlKind::ComboBox, nullptr, 95, 45, 100, 70, kList, kWeaponItems,
     "Machingun substitute"},
    {1011, ControlKind::CheckBox, "Chaingun", 10, 60, 55, 15, kCheck},
    {1020, ControlKind::ComboBox, nullptr, 95, 60, 100, 70, kList, kWeaponItems,
     "Chaingun substitute"},
    {1010, ControlKind::CheckBox, "Grenade Launcher", 10, 75, 70, 15, kCheck},
    {1022, ControlKind::ComboBox, nullptr, 95, 75, 100, 70, kList, kWeaponItems,
     "Grenade Launcher substitute"},
    {1009, ControlKind::CheckBox, "Rocket Launcher", 10, 90, 70, 15, kCheck},
    {1024, ControlKind::ComboBox, nullptr, 95, 90, 100, 70, kList, kWeaponItems,
     "Rocket Launcher substitute"},
    {1003, ControlKind::CheckBox, "HyperBlaster", 10, 105, 55, 15, kCheck},
    {1023, ControlKind::ComboBox, nullptr, 95, 105, 100, 70, kList, kWeaponItems,
     "HyperBlaster substitute"},
    {1015, ControlKind::CheckBox, "Railgun", 10, 120, 55, 15, kCheck},
    {1025, ControlKind::ComboBox, nullptr, 95, 120, 100, 70, kList, kWeaponItems,
     "Railgun substitute"},
    {1017, ControlKind::CheckBox, "BFG", 10, 135, 55, 15, kCheck},
    {1021, ControlKind::ComboBox, nullptr, 95, 135, 100, 70, kList, kWeaponItems, "BFG substitute"},
    {IDC_STATIC, ControlKind::GroupBox, "Enabled:", 5, 5, 80, 150, 0},
    {IDC_STATIC, ControlKind::GroupBox, "Substitute:", 90, 5, 110, 150, 0},
};
} // namespace

const DialogTemplate kDialog105{105, "Weapons", 204, 161, kControls};
