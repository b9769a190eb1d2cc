#include "res/ControlIds.h"
#include "res/Dialogs.h"

namespace {
constexpr unsigned kCheck = WS_TABSTOP;
constexpr unsigned kPlaceholder = WS_TABSTOP | WS_DISABLED;
constexpr unsigned kLimit = WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL;

constexpr ControlTemplate kControls[] = {
    {IDC_NO_EXIT, ControlKind::CheckBox, "No exit", 10, 20, 60, 10, kCheck},
    {IDC_CHEATING, ControlKind::CheckBox, "Cheating", 10, 35, 60, 10, kCheck},
    {IDC_SAME_MAP, ControlKind::CheckBox, "Same Map", 10, 50, 60, 10, kCheck},
    {IDC_FRAG_LIMIT, ControlKind::Edit, nullptr, 165, 30, 60, 10, kLimit, {}, "Frag Limit"},
    {IDC_TIME_LIMIT, ControlKind::Edit, nullptr, 165, 55, 60, 10, kLimit, {}, "Time Limit"},
    {IDC_STATIC, ControlKind::GroupBox, "Enabled:", 5, 5, 150, 150, 0},
    {IDC_BREAKABLE_ITEMS, ControlKind::CheckBox, "Breakable Items", 10, 65, 60, 10, kPlaceholder},
    {IDC_DEATH_MESSAGES, ControlKind::CheckBox, "Death Messages", 10, 80, 65, 10, kPlaceholder},
    {IDC_SHOW_HIGHS, ControlKind::CheckBox, "Show High's", 10, 95, 60, 10, kPlaceholder},
    {IDC_STATIC, ControlKind::Static, "Frag Limit:", 165, 20, 50, 10, 0},
    {IDC_STATIC, ControlKind::Static, "Time Limit:", 165, 45, 50, 10, 0},
    {IDC_STATIC, ControlKind::GroupBox, "Other Settings:", 160, 5, 70, 150, 0},
    {IDC_SERVER_MORE_1, ControlKind::CheckBox, "more later...", 90, 20, 60, 10, kPlaceholder},
    {IDC_SERVER_MORE_2, ControlKind::CheckBox, "more later...", 90, 35, 60, 10, kPlaceholder},
    {IDC_SERVER_MORE_3, ControlKind::CheckBox, "more later...", 90, 50, 60, 10, kPlaceholder},
    {IDC_SERVER_MORE_4, ControlKind::CheckBox, "more later...", 90, 65, 60, 10, kPlaceholder},
    {IDC_SERVER_MORE_5, ControlKind::CheckBox, "more later...", 90, 80, 60, 10, kPlaceholder},
    {IDC_SERVER_MORE_6, ControlKind::CheckBox, "more later...", 90, 95, 60, 10, kPlaceholder},
    {IDC_SERVER_MORE_7, ControlKind::CheckBox, "more later...", 90, 110, 60, 10, kPlaceholder},
    {IDC_SERVER_MORE_8, ControlKind::CheckBox, "more later...", 10, 110, 60, 10, kPlaceholder},
};
} // namespace

const DialogTemplate kDialog134{IDD_SERVER_OPTIONS, "Server Options", 234, 160, kControls};
