#include "res/Dialogs.h"

namespace {
constexpr unsigned kCheck = WS_TABSTOP;
constexpr unsigned kPlaceholder = WS_TABSTOP | WS_DISABLED;
constexpr unsigned kLimit = WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL;

constexpr ControlTemplate kControls[] = {
    {1036, ControlKind::CheckBox, "No exit", 10, 20, 60, 10, kCheck},
    {1038, ControlKind::CheckBox, "Cheating", 10, 35, 60, 10, kCheck},
    {1041, ControlKind::CheckBox, "Same Map", 10, 50, 60, 10, kCheck},
    {1043, ControlKind::Edit, nullptr, 165, 30, 60, 10, kLimit, {}, "Frag Limit"},
    {1044, ControlKind::Edit, nullptr, 165, 55, 60, 10, kLimit, {}, "Time Limit"},
    {IDC_STATIC, ControlKind::GroupBox, "Enabled:", 5, 5, 150, 150, 0},
    {1037, ControlKind::CheckBox, "Breakable Items", 10, 65, 60, 10, kPlaceholder},
    {1039, ControlKind::CheckBox, "Death Messages", 10, 80, 65, 10, kPlaceholder},
    {1040, ControlKind::CheckBox, "Show High's", 10, 95, 60, 10, kPlaceholder},
    {IDC_STATIC, ControlKind::Static, "Frag Limit:", 165, 20, 50, 10, 0},
    {IDC_STATIC, ControlKind::Static, "Time Limit:", 165, 45, 50, 10, 0},
    {IDC_STATIC, ControlKind::GroupBox, "Other Settings:", 160, 5, 70, 150, 0},
    {1045, ControlKind::CheckBox, "more later...", 90, 20, 60, 10, kPlaceholder},
    {1046, ControlKind::CheckBox, "more later...", 90, 35, 60, 10, kPlaceholder},
    {1047, ControlKind::CheckBox, "more later...", 90, 50, 60, 10, kPlaceholder},
    {1048, ControlKind::CheckBox, "more later...", 90, 65, 60, 10, kPlaceholder},
    {1049, ControlKind::CheckBox, "more later...", 90, 80, 60, 10, kPlaceholder},
    {1050, ControlKind::CheckBox, "more later...", 90, 95, 60, 10, kPlaceholder},
    {1051, ControlKind::CheckBox, "more later...", 90, 110, 60, 10, kPlaceholder},
    {1052, ControlKind::CheckBox, "more later...", 10, 110, 60, 10, kPlaceholder},
};
} // namespace

const DialogTemplate kDialog134{134, "Server Options", 234, 160, kControls};
