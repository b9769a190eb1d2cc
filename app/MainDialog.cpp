#include "app/MainDialog.h"

#include "res/Strings.h"

#include <QIcon>

// The resources live in a static library; nothing else would pull them into the program.
static void registerResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

MainDialog::MainDialog(QWidget* parent, UINT selectPage)
    : CPropertySheet(QString::fromLatin1(kSheetCaption), parent, selectPage) {
    registerResources();
    setObjectName(QStringLiteral("MainDialog"));
    setWindowIcon(QIcon(QStringLiteral(":/gomcfg2.png")));
}
