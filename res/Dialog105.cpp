#include "res/ControlIds.h"
#include "res/Dialogs.h"
#include "res/WeaponItems.h"

namespace {
constexpr unsigned kCheck = WS_TABSTOP;
constexpr unsigned kList = WS_TABSTOP | WS_VSCROLL | CBS_SORT;

constexpr ControlTemplate kControls[] = {
    {IDC_SHOTGUN, ControlKind::CheckBox, "Shotgun", 10, 15, 55, 15, kCheck},
    {IDC_SHOTGUN_LIST, ControlKind::ComboBox, nullptr, 95, 15, 100, 70, kList, kWeaponItems,
     "Shotgun substitute"},
    {IDC_SUPERSHOTGUN, ControlKind::CheckBox, "Super Shotgun", 10, 30, 55, 15, kCheck},
    {IDC_SUPERSHOTGUN_LIST, ControlKind::ComboBox, nullptr, 95, 30, 100, 70, kList, kWeaponItems,
     "Super Shotgun substitute"},
    {IDC_MACHINEGUN, ControlKind::CheckBox, "Machingun", 10, 45, 55, 15, kCheck},
    {IDC_MACHINEGUN_LIST, ControlKind::ComboBox, nullptr, 95, 45, 100, 70, kList, kWeaponItems,
     "Machingun substitute"},
    {IDC_CHAINGUN, ControlKind::CheckBox, "Chaingun", 10, 60, 55, 15, kCheck},
    {IDC_CHAINGUN_LIST, ControlKind::ComboBox, nullptr, 95, 60, 100, 70, kList, kWeaponItems,
     "Chaingun substitute"},
    {IDC_GRENADES, ControlKind::CheckBox, "Grenade Launcher", 10, 75, 70, 15, kCheck},
    {IDC_GRENADES_LIST, ControlKind::ComboBox, nullptr, 95, 75, 100, 70, kList, kWeaponItems,
     "Grenade Launcher substitute"},
    {IDC_ROCKETS, ControlKind::CheckBox, "Rocket Launcher", 10, 90, 70, 15, kCheck},
    {IDC_ROCKETS_LIST, ControlKind::ComboBox, nullptr, 95, 90, 100, 70, kList, kWeaponItems,
     "Rocket Launcher substitute"},
    {IDC_HYPERBLASTER, ControlKind::CheckBox, "HyperBlaster", 10, 105, 55, 15, kCheck},
    {IDC_HYPERBLASTER_LIST, ControlKind::ComboBox, nullptr, 95, 105, 100, 70, kList, kWeaponItems,
     "HyperBlaster substitute"},
    {IDC_RAILGUN, ControlKind::CheckBox, "Railgun", 10, 120, 55, 15, kCheck},
    {IDC_RAILGUN_LIST, ControlKind::ComboBox, nullptr, 95, 120, 100, 70, kList, kWeaponItems,
     "Railgun substitute"},
    {IDC_BFG, ControlKind::CheckBox, "BFG", 10, 135, 55, 15, kCheck},
    {IDC_BFG_LIST, ControlKind::ComboBox, nullptr, 95, 135, 100, 70, kList, kWeaponItems,
     "BFG substitute"},
    {IDC_STATIC, ControlKind::GroupBox, "Enabled:", 5, 5, 80, 150, 0},
    {IDC_STATIC, ControlKind::GroupBox, "Substitute:", 90, 5, 110, 150, 0},
};
} // namespace

const DialogTemplate kDialog105{IDD_WEAPONS, "Weapons", 204, 161, kControls};
