#include "res/Dialogs.h"

namespace {
constexpr unsigned kCheck = WS_TABSTOP;
constexpr unsigned kPlaceholder = WS_TABSTOP | WS_DISABLED;
constexpr unsigned kRuneList = WS_TABSTOP | WS_DISABLED | WS_VSCROLL | CBS_SORT;

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::GroupBox, "Settings: ", 5, 5, 75, 150, 0},
    {1055, ControlKind::CheckBox, "C.T.F. ", 10, 20, 65, 10, kCheck},
    {IDC_STATIC, ControlKind::GroupBox, "Runes: ", 85, 5, 145, 150, WS_DISABLED},
    {1057, ControlKind::CheckBox, "QuickFire", 90, 20, 70, 10, kPlaceholder},
    {1058, ControlKind::CheckBox, "Share the Damage", 90, 35, 70, 10, kPlaceholder},
    {1059, ControlKind::CheckBox, "Grav-Distortion", 90, 50, 70, 10, kPlaceholder},
    {1060, ControlKind::CheckBox, "Heal-O-Matic", 90, 65, 70, 10, kPlaceholder},
    {1061, ControlKind::CheckBox, "Extra Power", 90, 80, 70, 10, kPlaceholder},
    {1045, ControlKind::CheckBox, "more later...", 90, 95, 70, 10, kPlaceholder},
    {1068, ControlKind::CheckBox, "Teamplay", 10, 35, 65, 10, kCheck},
    {1047, ControlKind::CheckBox, "more later...", 10, 50, 65, 10, kPlaceholder},
    {1062, ControlKind::ComboBox, nullptr, 165, 15, 60, 12, kRuneList},
    {1063, ControlKind::ComboBox, nullptr, 165, 30, 60, 12, kRuneList},
    {1064, ControlKind::ComboBox, nullptr, 165, 45, 60, 12, kRuneList},
    {1065, ControlKind::ComboBox, nullptr, 165, 60, 60, 12, kRuneList},
    {1066, ControlKind::ComboBox, nullptr, 165, 75, 60, 12, kRuneList},
    {1067, ControlKind::ComboBox, nullptr, 165, 90, 60, 12, kRuneList},
};
} // namespace

const DialogTemplate kDialog136{136, "C.T.F.", 234, 160, kControls};
