#include "res/Dialogs.h"

namespace {
constexpr unsigned kCheck = WS_TABSTOP;
constexpr unsigned kPlaceholder = WS_TABSTOP | WS_DISABLED;
constexpr unsigned kPreview = WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL;

constexpr const char* kPreviewName = "Message of the day preview";

constexpr ControlTemplate kControls[] = {
    {1018, ControlKind::CheckBox, "Motd Enabled", 10, 20, 55, 10, kCheck},
    {1029, ControlKind::CheckBox, "Grapple", 10, 35, 55, 10, kCheck},
    {1031, ControlKind::CheckBox, "Choker", 10, 50, 55, 10, kCheck},
    {1030, ControlKind::CheckBox, "ChainRailGun", 10, 65, 55, 10, kCheck},
    {1022, ControlKind::PushButton, "Edit Motd", 95, 130, 115, 20, WS_TABSTOP},
    {1021, ControlKind::Edit, nullptr, 95, 20, 115, 105, kPreview, {}, kPreviewName},
    {IDC_STATIC, ControlKind::GroupBox, "Motd: ", 90, 5, 125, 150, 0},
    {IDC_STATIC, ControlKind::GroupBox, "Enabled:", 5, 5, 80, 150, 0},
    {1032, ControlKind::CheckBox, "Distortion  Field", 10, 80, 65, 10, kPlaceholder},
    {1033, ControlKind::CheckBox, "Ion Blaster", 10, 95, 60, 10, kPlaceholder},
    {1034, ControlKind::CheckBox, "Lazer Guided", 10, 110, 60, 10, kPlaceholder},
    {IDC_STATIC, ControlKind::Static, "Missiles", 20, 120, 55, 10, WS_DISABLED},
    {1035, ControlKind::CheckBox, "B.A.G.", 10, 130, 65, 10, kPlaceholder},
};
} // namespace

const DialogTemplate kDialog106{106, "Gomble Stuff", 219, 160, kControls};
