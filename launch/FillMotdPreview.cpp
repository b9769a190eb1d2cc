#include "launch/EditorLauncher.h"

#include "model/SheetModel.h"
#include "platform/dialog/CEdit.h"

void FillMotdPreview(CEdit& preview, const char* fallbackText) {
    preview.SetSel(0, -1);
    preview.ReplaceSel(QString::fromStdString(MotdPreviewText(fallbackText)), FALSE);
}
