#include "app/MainDialog.h"

#include "pages/SettingsAccess.h"
#include "platform/AsciiCase.h"
#include "platform/dialog/MessageBox.h"
#include "res/PageKeys.h"
#include "res/Strings.h"

#include <QIcon>

#include <algorithm>

namespace {

// A value as the question shows it: a long one cut short, an empty one named.
QString ShownText(const std::string& text) {
    constexpr qsizetype kLongest = 60;
    const QString shown = QString::fromStdString(text);
    if (shown.isEmpty())
        return QStringLiteral("(empty)");
    return shown.size() <= kLongest ? shown : shown.left(kLongest) + QStringLiteral("...");
}

QString ConflictQuestion(const std::vector<SettingsSession::Conflict>& conflicts) {
    QString list;
    for (const SettingsSession::Conflict& c : conflicts) {
        const QString inFile = c.inFile ? ShownText(*c.inFile) + QStringLiteral(" in the file")
                                        : QStringLiteral("not in the file");
        list += QStringLiteral("%1: %2, %3 here\n")
                    .arg(QString::fromStdString(c.key), inFile, ShownText(c.here));
    }
    return QStringLiteral("Another program changed these settings in %1 after they were read, "
                          "and they were changed here too:\n\n%2\n"
                          "Overwrite them with the values here?\n"
                          "Yes saves the values here, No keeps the file's values, Cancel saves "
                          "nothing.")
        .arg(QLatin1String(kSettingsFileName), list);
}

} // namespace

// The resources live in a static library; nothing else would pull them into the program.
static void registerResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

MainDialog::MainDialog(QWidget* parent, UINT selectPage)
    : CPropertySheet(QString::fromLatin1(kSheetCaption), parent, selectPage),
      m_session(SettingsFilePath()), m_previousSession(SetSettingsSession(&m_session)) {
    registerResources();
    setObjectName(QStringLiteral("MainDialog"));
    setWindowIcon(QIcon(QStringLiteral(":/gomcfg2.png")));
}

MainDialog::~MainDialog() {
    SetSettingsSession(m_previousSession);
}

bool MainDialog::applyPages() {
    const bool applied = CPropertySheet::applyPages();
    if (const auto conflicts = m_session.sortWrites(); !conflicts.empty()) {
        const int answer = AfxMessageBox(ConflictQuestion(conflicts),
                                         MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON3);
        if (answer == IDCANCEL) {
            m_session.discardWrites();
            return false;
        }
        m_session.settle(answer == IDYES);
    }
    const std::vector<SettingsSession::KeptKey> kept = m_session.commit();
    if (kept.empty())
        return applied;
    m_session.beginShowingKept(kept);
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* page = GetPage(i);
        const auto shown = PageKeys(page->dialogTemplate().id);
        const bool showsKept =
            std::any_of(kept.begin(), kept.end(), [&](const SettingsSession::KeptKey& k) {
                return std::any_of(shown.begin(), shown.end(), [&](const PageKey& key) {
                    return EqualsIgnoringAsciiCase(key.key, k.key);
                });
            });
        if (showsKept && page->isWindowCreated())
            page->reloadSettings();
    }
    m_session.endShowingKept();
    return applied;
}
