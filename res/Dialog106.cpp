#include "res/ControlIds.h"
#include "res/Dialogs.h"

namespace {
constexpr unsigned kCheck = WS_TABSTOP;
constexpr unsigned kPlaceholder = WS_TABSTOP | WS_DISABLED;
constexpr unsigned kPreview = WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL;

constexpr const char* kPreviewName = "Message of the day preview";

constexpr ControlTemplate kControls[] = {
    {IDC_MOTD_ENABLED, ControlKind::CheckBox, "Motd Enabled", 10, 20, 55, 10, kCheck},
    {IDC_GRAPPLE, ControlKind::CheckBox, "Grapple", 10, 35, 55, 10, kCheck},
    {IDC_CHOKER, ControlKind::CheckBox, "Choker", 10, 50, 55, 10, kCheck},
    {IDC_CHAIN_RAILGUN, ControlKind::CheckBox, "ChainRailGun", 10, 65, 55, 10, kCheck},
    {IDC_EDIT_MOTD, ControlKind::PushButton, "Edit Motd", 95, 130, 115, 20, WS_TABSTOP},
    {IDC_MOTD_PREVIEW, ControlKind::Edit, nullptr, 95, 20, 115, 105, kPreview, {}, kPreviewName},
    {IDC_STATIC, ControlKind::GroupBox, "Motd: ", 90, 5, 125, 150, 0},
    {IDC_STATIC, ControlKind::GroupBox, "Enabled:", 5, 5, 80, 150, 0},
    {IDC_DISTORTION_FIELD, ControlKind::CheckBox, "Distortion  Field", 10, 80, 65, 10,
     kPlaceholder},
    {IDC_ION_BLASTER, ControlKind::CheckBox, "Ion Blaster", 10, 95, 60, 10, kPlaceholder},
    {IDC_LAZER_GUIDED, ControlKind::CheckBox, "Lazer Guided", 10, 110, 60, 10, kPlaceholder},
    {IDC_STATIC, ControlKind::Static, "Missiles", 20, 120, 55, 10, WS_DISABLED},
    {IDC_BAG, ControlKind::CheckBox, "B.A.G.", 10, 130, 65, 10, kPlaceholder},
};
} // namespace

const DialogTemplate kDialog106{IDD_GOMBLE_STUFF, "Gomble Stuff", 219, 160, kControls};
