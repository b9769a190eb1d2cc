#include "res/ControlIds.h"
#include "res/Dialogs.h"

namespace {
constexpr unsigned kCheck = WS_TABSTOP;
constexpr unsigned kPort = WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL;

constexpr ControlTemplate kControls[] = {
    {IDC_ISC, ControlKind::CheckBox, "Inter-Server Chat (I.S.C.)", 10, 15, 90, 10, kCheck},
    {IDC_HTTP, ControlKind::CheckBox, "Web Server", 10, 30, 90, 10, kCheck},
    {IDC_HTTP_PORT, ControlKind::Edit, nullptr, 115, 30, 55, 10, kPort, {}, "Web Server port"},
    {IDC_FINGER, ControlKind::CheckBox, "Finger Service", 10, 45, 90, 10, kCheck},
    {IDC_FINGER_PORT,
     ControlKind::Edit,
     nullptr,
     115,
     45,
     55,
     10,
     kPort,
     {},
     "Finger Service port"},
    {IDC_SENDER, ControlKind::CheckBox, "Auto High Score Updater", 10, 60, 90, 10, kCheck},
    {IDC_BANNING, ControlKind::CheckBox, "Enable IP banning files?", 10, 110, 90, 10, kCheck},
    {IDC_EDIT_ALLOW_FILE, ControlKind::PushButton, "Edit Allow File", 110, 110, 60, 15, WS_TABSTOP},
    {IDC_EDIT_DENY_FILE, ControlKind::PushButton, "Edit Deny File", 110, 130, 60, 15, WS_TABSTOP},
    {IDC_STATIC, ControlKind::GroupBox, "Enabled:", 5, 5, 100, 90, 0},
    {IDC_STATIC, ControlKind::GroupBox, "Port: ", 110, 5, 65, 90, 0},
    {IDC_STATIC, ControlKind::Static, "N/A", 115, 15, 55, 10, WS_EX_STATICEDGE},
    {IDC_STATIC, ControlKind::Static, "N/A", 115, 60, 55, 10, WS_EX_STATICEDGE},
    {IDC_STATIC, ControlKind::GroupBox, "Banning: ", 5, 100, 170, 50, 0},
};
} // namespace

const DialogTemplate kDialog135{IDD_SERVICES, "Services", 219, 160, kControls};
