#include "app/MainDialog.h"

#include "res/Strings.h"

MainDialog::MainDialog(QWidget* parent, UINT selectPage)
    : CPropertySheet(QString::fromLatin1(kSheetCaption), parent, selectPage) {
    setObjectName(QStringLiteral("MainDialog"));
}
