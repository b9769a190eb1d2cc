#include "launch/EditorLauncher.h"
#include "launch/MotdText.h"

#include "platform/dialog/CEdit.h"

void FillMotdPreview(CEdit& preview, const char* fallbackText) {
    const std::optional<MotdBytes> file = ReadMotdBytes(kMotdFileName);
    const QString text = file ? MotdTextFromBytes(file->bytes, file->cut)
                              : MotdTextFromBytes(fallbackText ? fallbackText : "", false);
    preview.SetSel(0, -1);
    preview.ReplaceSel(text, FALSE);
}
