#include "res/ControlIds.h"
#include "res/Dialogs.h"

namespace {
constexpr unsigned kCheck = WS_TABSTOP;
constexpr unsigned kPlaceholder = WS_TABSTOP | WS_DISABLED;
constexpr unsigned kRuneList = WS_TABSTOP | WS_DISABLED | WS_VSCROLL | CBS_SORT;

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::GroupBox, "Settings: ", 5, 5, 75, 150, 0},
    {IDC_CTF, ControlKind::CheckBox, "C.T.F. ", 10, 20, 65, 10, kCheck},
    {IDC_STATIC, ControlKind::GroupBox, "Runes: ", 85, 5, 145, 150, WS_DISABLED},
    {IDC_QUICKFIRE, ControlKind::CheckBox, "QuickFire", 90, 20, 70, 10, kPlaceholder},
    {IDC_SHARE_THE_DAMAGE, ControlKind::CheckBox, "Share the Damage", 90, 35, 70, 10, kPlaceholder},
    {IDC_GRAV_DISTORTION, ControlKind::CheckBox, "Grav-Distortion", 90, 50, 70, 10, kPlaceholder},
    {IDC_HEAL_O_MATIC, ControlKind::CheckBox, "Heal-O-Matic", 90, 65, 70, 10, kPlaceholder},
    {IDC_EXTRA_POWER, ControlKind::CheckBox, "Extra Power", 90, 80, 70, 10, kPlaceholder},
    {IDC_CTF_MORE_1, ControlKind::CheckBox, "more later...", 90, 95, 70, 10, kPlaceholder},
    {IDC_TEAMPLAY, ControlKind::CheckBox, "Teamplay", 10, 35, 65, 10, kCheck},
    {IDC_CTF_MORE_2, ControlKind::CheckBox, "more later...", 10, 50, 65, 10, kPlaceholder},
    {IDC_RUNE_LIST_1, ControlKind::ComboBox, nullptr, 165, 15, 60, 12, kRuneList},
    {IDC_RUNE_LIST_2, ControlKind::ComboBox, nullptr, 165, 30, 60, 12, kRuneList},
    {IDC_RUNE_LIST_3, ControlKind::ComboBox, nullptr, 165, 45, 60, 12, kRuneList},
    {IDC_RUNE_LIST_4, ControlKind::ComboBox, nullptr, 165, 60, 60, 12, kRuneList},
    {IDC_RUNE_LIST_5, ControlKind::ComboBox, nullptr, 165, 75, 60, 12, kRuneList},
    {IDC_RUNE_LIST_6, ControlKind::ComboBox, nullptr, 165, 90, 60, 12, kRuneList},
};
} // namespace

const DialogTemplate kDialog136{IDD_CTF, "C.T.F.", 234, 160, kControls};
