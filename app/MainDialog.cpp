#include "app/MainDialog.h"

#include "pages/SheetPage.h"
#include "platform/dialog/MessageBox.h"
#include "res/Strings.h"
#include "settings/SettingsFile.h"

#include <QIcon>

// The resources live in a static library; nothing else would pull them into the program.
static void registerResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

void MainDialog::MessageBoxPrompts::message(const std::string& text) {
    AfxMessageBox(QString::fromStdString(text), MB_OK | MB_ICONEXCLAMATION);
}

SheetPrompts::Answer MainDialog::MessageBoxPrompts::ask(const std::string& question) {
    switch (AfxMessageBox(QString::fromStdString(question),
                          MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON3)) {
    case IDYES:
        return Answer::Yes;
    case IDNO:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

MainDialog::MainDialog(QWidget* parent, UINT selectPage, const ProfileIo& io)
    : CPropertySheet(QString::fromLatin1(kSheetCaption), parent, selectPage),
      m_session(SettingsFilePath(), io), m_model(m_session, m_prompts) {
    registerResources();
    setObjectName(QStringLiteral("MainDialog"));
    setWindowIcon(QIcon(QStringLiteral(":/gomcfg2.png")));
}

void MainDialog::AddPage(CPropertyPage* page) {
    if (auto* shown = qobject_cast<SheetPage*>(page))
        shown->bindModel(m_model);
    CPropertySheet::AddPage(page);
}

bool MainDialog::applyPages() {
    // Each created page hands the model what its controls hold.
    const bool applied = CPropertySheet::applyPages();
    if (!m_model.apply())
        return false;
    for (const int tab : m_model.reshownPages()) {
        const int dialogId = m_model.pages()[std::size_t(tab)].dialog().id;
        for (int i = 0; i < GetPageCount(); ++i) {
            auto* page = qobject_cast<SheetPage*>(GetPage(i));
            if (page && page->dialogTemplate().id == dialogId && page->isWindowCreated())
                page->showKeptKeys();
        }
    }
    return applied;
}
