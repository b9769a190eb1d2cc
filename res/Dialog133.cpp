#include "res/ControlIds.h"
#include "res/Dialogs.h"

namespace {
constexpr ControlTemplate kControls[] = {
    {IDC_GOTO_HOME_PAGE, ControlKind::PushButton, "Goto Home Page", 115, 85, 70, 20, WS_TABSTOP},
    {IDC_STATIC, ControlKind::Picture, ":/about.bmp", 5, 50, 66, 66, WS_BORDER | WS_EX_CLIENTEDGE},
    {IDC_STATIC, ControlKind::Static, "Gomcfg team", 5, 40, 50, 8, 0},
    {IDC_STATIC, ControlKind::Static, "Gomble Trove II Configuration Utility", 60, 5, 105, 10, 0},
    {IDC_STATIC, ControlKind::Static, "For more information or other neat", 100, 50, 111, 10, 0},
    {IDC_STATIC, ControlKind::Static, "programs by me, visit my home page", 100, 60, 111, 10, 0},
    {IDC_STATIC, ControlKind::Static, "gomcfg.example.org", 115, 70, 75, 10, 0},
    {IDC_HELP_FILES, ControlKind::PushButton, "Help Files", 75, 20, 70, 15, WS_TABSTOP},
};
} // namespace

const DialogTemplate kDialog133{IDD_ABOUT, "About", 214, 130, kControls};
